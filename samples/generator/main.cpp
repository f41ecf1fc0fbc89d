// demo_generator FOLDER: writes the demo data set into FOLDER.
#include <cstdio>
#include <filesystem>
#include <string>

#include "DemoData.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo_generator FOLDER\n");
    return 2;
  }
  std::string error;
  if (!demo::GenerateDemoData(std::filesystem::u8path(argv[1]), &error)) {
    std::fprintf(stderr, "demo_generator: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
