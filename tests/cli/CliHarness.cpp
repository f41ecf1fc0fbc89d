#include "CliHarness.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace cli_testing {

namespace {

std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

::testing::AssertionResult Contains(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "missing: [" << part << "]\nin:\n" << text;
}

std::string LineStarting(const std::string& text, const std::string& prefix) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos && line.compare(first, prefix.size(), prefix) == 0) return line.substr(first);
    start = end + 1;
  }
  return "";
}

CliResult RunGridmoor(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {GRIDMOOR_CLI};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv);
}

CliResult RunProgram(std::vector<std::string> argv) {
  ScratchDir capture;
  const std::string outPath = capture.Write("stdout", {});
  const std::string errPath = capture.Write("stderr", {});

  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_TRUNC, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + argv[0]);

  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("cannot wait for " + argv[0]);
  }
  CliResult result;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.out = Slurp(outPath);
  result.err = Slurp(errPath);
  return result;
}

std::map<std::string, long long> GeoPackageLayers(const std::filesystem::path& gpkg) {
  std::map<std::string, long long> counts;
  if (!std::filesystem::exists(gpkg)) return counts;
  GDALAllRegister();
  const char* const drivers[] = {"GPKG", nullptr};
  GDALDatasetUniquePtr ds(GDALDataset::Open(gpkg.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, drivers));
  OGRLayer* check = ds ? ds->ExecuteSQL("PRAGMA integrity_check", nullptr, nullptr) : nullptr;
  std::unique_ptr<OGRFeature> verdict(check ? check->GetNextFeature() : nullptr);
  if (!verdict || std::string(verdict->GetFieldAsString(0)) != "ok") counts["!"] = 1;
  if (check) ds->ReleaseResultSet(check);
  if (!ds) return counts;
  // layer_styles holds the styles of the layers, not a result of its own.
  for (OGRLayer* layer : ds->GetLayers()) {
    if (std::string(layer->GetName()) != "layer_styles") counts[layer->GetName()] = layer->GetFeatureCount(TRUE);
  }
  return counts;
}

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "gridmoor-cli-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ScratchDir::CopySample(const std::string& relative) const {
  const auto from = std::filesystem::u8path(GRIDMOOR_REAL_SAMPLES) / std::filesystem::u8path(relative);
  const auto to = path_ / from.filename();
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::permissions(to, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  return to.u8string();
}

std::string ScratchDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  const auto p = path_ / std::filesystem::u8path(name);
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + p.string());
  return p.u8string();
}

}  // namespace cli_testing
