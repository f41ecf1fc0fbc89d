#include "ResultStaging.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>

#include "DiskWait.h"
#include "GeoPackageModule.h"
#include "HeldFiles.h"
#include "MapGisCodePage.h"

namespace fs = std::filesystem;

namespace {

constexpr char kLogUnit[] = "ResultStaging";

constexpr char kPrefix[] = ".gridmoor-";

// Every file a result of any kind may consist of.
const char* const kResultExtensions[] = {".shp", ".shx", ".dbf", ".cpg", ".prj", ".avl", ".qml", ".sld", ".CSV"};

std::wstring Wide(const std::string& utf8) { return MapGis::Utf8ToWide(utf8); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether a hidden folder name of ours belongs to a process that is gone.
bool Abandoned(const std::string& name) {
  if (name.compare(0, sizeof kPrefix - 1, kPrefix) != 0) return false;
  const long pid = std::strtol(name.c_str() + sizeof kPrefix - 1, nullptr, 10);
  if (pid <= 0) return false;
  return kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes the temporaries a killed run left in `folder`, once per folder
// and process.
void RemoveAbandoned(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> swept;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!swept.insert(folder).second) return;
  }
  std::error_code ec;
  for (fs::directory_iterator it(fs::u8path(folder), ec), end; !ec && it != end; it.increment(ec)) {
    if (Abandoned(it->path().filename().u8string())) {
      std::error_code ignored;
      fs::remove_all(it->path(), ignored);
    }
  }
}

// Files of the result `name` in `folder`: "name.ext" for any extension,
// ordered so that the .shp (what a program opens) comes last, the .dbf before it.
std::vector<std::string> ResultFiles(const std::string& folder, const std::string& name) {
  std::vector<std::string> files;
  std::error_code ec;
  const std::string prefix = name + ".";
  for (fs::directory_iterator it(fs::u8path(folder), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().u8string();
    if (file.compare(0, prefix.size(), prefix) == 0) files.push_back(file);
  }
  auto rank = [&](const std::string& f) {
    const std::string ext = f.substr(prefix.size() - 1);
    return ext == ".shp" ? 2 : ext == ".dbf" ? 1 : 0;
  };
  std::sort(files.begin(), files.end(), [&](const std::string& a, const std::string& b) {
    return rank(a) != rank(b) ? rank(a) < rank(b) : a < b;
  });
  return files;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::u8path(path), ec);
}

}  // namespace

ResultStaging::ResultStaging(bool replace) : replace_(replace) {}

ResultStaging::~ResultStaging() { Discard(); }

std::string ResultStaging::HiddenFolder(const std::string& folder, int* error) {
  auto found = folders_.find(folder);
  if (found == folders_.end()) {
    RemoveAbandoned(folder);
    std::string pattern = folder + "/" + kPrefix + std::to_string(getpid()) + "-XXXXXX";
    if (!mkdtemp(&pattern[0])) {
      if (error) *error = errno;
      return std::string();
    }
    found = folders_.emplace(folder, pattern).first;
  }
  return found->second;
}

GeoPackageCommit& ResultStaging::GeoPackage(const std::string& file) {
  std::unique_ptr<GeoPackageCommit>& target = geoPackages_[file];
  if (!target) target = GeoPackageModule::Get().NewTarget(*this, file, replace_);
  return *target;
}

std::string ResultStaging::Stage(const std::string& finalBase, int* error) {
  const std::string hidden = HiddenFolder(FolderOf(finalBase), error);
  if (hidden.empty()) return std::string();
  const std::string tempBase = hidden + "/" + NameOf(finalBase);
  for (Result& r : results_) {
    if (r.finalBase == finalBase) {
      r.dropped = false;
      return r.tempBase;
    }
  }
  results_.push_back(Result{finalBase, tempBase, false});
  return tempBase;
}

void ResultStaging::Drop(const std::string& finalBase) {
  for (Result& r : results_) {
    if (r.finalBase != finalBase) continue;
    r.dropped = true;
    for (const std::string& f : ResultFiles(FolderOf(r.tempBase), NameOf(r.tempBase))) {
      std::remove((FolderOf(r.tempBase) + "/" + f).c_str());
    }
  }
}

void ResultStaging::RemoveOldFiles(const std::string& finalBase, const std::vector<std::string>& kept,
                                   ConversionLog& log, HeldFiles& held) {
  for (const char* ext : kResultExtensions) {
    const std::string path = finalBase + ext;
    if (std::find(kept.begin(), kept.end(), ext) != kept.end() || !Exists(path)) continue;
    held.Hold(path);
    if (std::remove(path.c_str()) == 0) CONVERT_LOG(log, L"------I__删除原结果文件[%ls]", Wide(path).c_str());
  }
}

bool ResultStaging::Commit(ConversionLog& log, WriteFailure* failure, std::vector<std::string>* placed) {
  bool ok = true;
  HeldFiles held;  // the files this commit replaces, freed after the last rename
  for (auto& target : geoPackages_) ok = ok && target.second->Commit(log, failure);
  // The files of every kept result, listed once.
  std::vector<std::vector<std::string>> files(results_.size());
  for (size_t i = 0; i < results_.size(); ++i) {
    const Result& r = results_[i];
    if (!r.dropped) files[i] = ResultFiles(FolderOf(r.tempBase), NameOf(r.tempBase));
  }
  // Every file's bytes are on the disk before any file is put in place: a
  // result must never be found short after a power cut.
  for (size_t i = 0; i < results_.size() && ok; ++i) {
    const std::string tempFolder = FolderOf(results_[i].tempBase);
    for (const std::string& f : files[i]) {
      const int error = WaitForDisk(tempFolder + "/" + f);
      if (error == 0) continue;
      ok = false;
      if (failure) *failure = WriteFailure{Wide(FolderOf(results_[i].finalBase) + "/" + f), Wide(std::strerror(error))};
      break;
    }
  }
  for (size_t i = 0; i < results_.size() && ok; ++i) {
    const Result& r = results_[i];
    const std::string tempFolder = FolderOf(r.tempBase);
    const std::string name = NameOf(r.tempBase);
    if (replace_) {
      std::vector<std::string> kept;
      for (const std::string& f : files[i]) kept.push_back(f.substr(name.size()));
      RemoveOldFiles(r.finalBase, kept, log, held);
    }
    for (const std::string& f : files[i]) {
      const std::string target = FolderOf(r.finalBase) + "/" + f;
      held.Hold(target);
      if (std::rename((tempFolder + "/" + f).c_str(), target.c_str()) != 0) {
        ok = false;
        if (failure) *failure = WriteFailure{Wide(target), Wide(std::strerror(errno))};
        break;
      } else if (placed) {
        placed->push_back(target);
      }
    }
  }
  Discard();
  return ok;
}

void ResultStaging::Discard() {
  // GeoPackages first: a new one is still in the hidden folder.
  geoPackages_.clear();
  HeldFiles held;
  for (const auto& folder : folders_) {
    held.Hold(folder.second);
    std::error_code ec;
    fs::remove_all(fs::u8path(folder.second), ec);
  }
  folders_.clear();
  results_.clear();
}
