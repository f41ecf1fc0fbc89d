#include "DemoData.h"

#include <exception>
#include <system_error>

#include "DemoCommon.h"
#include "DemoLayers.h"

namespace demo {

bool GenerateDemoData(const std::filesystem::path& folder, std::string* error) {
  try {
    std::error_code ec;
    std::filesystem::create_directories(folder / "sub", ec);
    if (ec) throw DemoError("cannot create " + (folder / "sub").u8string() + ": " + ec.message());
    WriteColorLib(folder);
    WriteAnnotations(folder);
    WriteRoads(folder);
    WriteRiver(folder);
    WriteLanduse(folder);
    WritePipes(folder);
    WriteParcels(folder);
    WriteProject(folder);
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
  return true;
}

}  // namespace demo
