#pragma once
// Files an entry is about to replace or remove, kept open until Release().
// Freeing a file's blocks happens when its last reference goes; on file
// systems mounted with `discard` that is a synchronous wait for the device,
// and when it happens inside rename() or rmdir() it runs under the locks of
// the output folder, so every other entry renaming into that folder waits
// too. Held open, the old file is freed at Release(), outside those locks.
#include <string>
#include <vector>

class HeldFiles {
 public:
  HeldFiles() = default;
  ~HeldFiles() { Release(); }
  HeldFiles(const HeldFiles&) = delete;
  HeldFiles& operator=(const HeldFiles&) = delete;

  // Keeps the file or folder at `path` (UTF-8) alive; nothing when there is none.
  void Hold(const std::string& path);
  // Lets every held file go.
  void Release();

 private:
  std::vector<int> fds_;
};
