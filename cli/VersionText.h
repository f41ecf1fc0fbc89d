#pragma once
// What `gridmoor --version` prints: the program, the library it runs with and
// what it was built against, one line each.
#include <string>

std::string VersionText();
