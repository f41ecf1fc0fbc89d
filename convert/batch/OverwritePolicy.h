#pragma once
// The six name-clash flags of a batch and how the answers of the
// duplicate-name question set them.
struct OverwritePolicy {
  bool overwriteThis = false;
  bool skipThis = false;
  bool renameThis = false;
  bool overwriteAll = false;
  bool skipAll = false;
  bool renameAll = false;

  void Clear() { *this = OverwritePolicy{}; }

  // Sets the flags an answer code (12 to 18) stands for.
  void Apply(int answer) {
    switch (answer) {
      case 13: skipAll = true; [[fallthrough]];
      case 12: skipThis = true; break;
      case 15: overwriteAll = true; [[fallthrough]];
      case 14: overwriteThis = true; break;
      case 18: renameAll = true; [[fallthrough]];
      case 17: renameThis = true; break;
      default: break;
    }
  }

  // After each file: a "this file" flag lasts only while its "all" partner holds.
  void AfterFile() {
    if (!overwriteAll) overwriteThis = false;
    if (!skipAll) skipThis = false;
    if (!renameAll) renameThis = false;
  }
};
