#include "MapGisProjectPaths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "MapGisCodePage.h"

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const std::wstring& w) { return fs::u8path(MapGis::WideToUtf8(w)); }
std::wstring FromPath(const fs::path& p) { return MapGis::Utf8ToWide(p.u8string()); }

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// ASCII letters folded to lower case; Windows names differ in nothing else
// that a project stores.
std::wstring Fold(std::wstring s) {
  for (wchar_t& c : s) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return s;
}

std::wstring Trim(const std::wstring& s) {
  const size_t start = s.find_first_not_of(L' ');
  if (start == std::wstring::npos) return std::wstring();
  return s.substr(start, s.find_last_not_of(L' ') - start + 1);
}

// Components of a stored name; both kinds of slash separate them.
std::vector<std::wstring> Components(const std::wstring& name) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (wchar_t c : name) {
    if (c == L'\\' || c == L'/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool HasDrive(const std::wstring& name) {
  return name.size() >= 2 && name[1] == L':' &&
         ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'a' && name[0] <= L'z'));
}

bool IsRooted(const std::wstring& name) { return !name.empty() && (name[0] == L'\\' || name[0] == L'/'); }

// The entry of `dir` called `name`: the exact name when it exists, else the
// first entry (in name order) that differs from it only in letter case.
fs::path MatchEntry(const fs::path& dir, const std::wstring& name) {
  const fs::path exact = dir / ToPath(name);
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact;
  const std::wstring wanted = Fold(name);
  std::vector<fs::path> matches;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (Fold(FromPath(it->path().filename())) == wanted) matches.push_back(it->path());
  }
  if (matches.empty()) return fs::path();
  return *std::min_element(matches.begin(), matches.end());
}

// Follows `parts` from `start`; "." stays, ".." goes up. Empty when a
// component is missing or the end is not a file.
fs::path Walk(fs::path at, const std::vector<std::wstring>& parts) {
  for (const std::wstring& part : parts) {
    if (part == L".") continue;
    if (part == L"..") {
      at = at.parent_path();
      continue;
    }
    at = MatchEntry(at, part);
    if (at.empty()) return at;
  }
  return IsFile(at) ? at : fs::path();
}

// Where `parts` lead from `start` by name alone.
fs::path Expected(fs::path at, const std::vector<std::wstring>& parts) {
  for (const std::wstring& part : parts) {
    if (part == L".") continue;
    at = part == L".." ? at.parent_path() : at / ToPath(part);
  }
  return at;
}

struct Lookup {
  fs::path found;     // the file, or empty
  fs::path expected;  // where it was looked for first
};

Lookup Find(const fs::path& projectDir, const std::wstring& name) {
  const std::vector<std::wstring> parts = Components(name);
  Lookup result;
  if (parts.empty()) return result;
  const std::vector<std::wstring> fileName(1, parts.back());
  if (HasDrive(name)) {
    // A drive letter never names anything here: the project's folder may
    // hold the file that was next to it on the Windows system.
    result.found = Walk(projectDir, fileName);
    result.expected = Expected(projectDir, fileName);
    return result;
  }
  if (IsRooted(name)) {
    result.found = Walk(fs::path("/"), parts);
    result.expected = Expected(fs::path("/"), parts);
    if (result.found.empty()) {
      result.found = Walk(projectDir, fileName);
      result.expected = Expected(projectDir, fileName);
    }
    return result;
  }
  result.found = Walk(projectDir, parts);
  result.expected = Expected(projectDir, parts);
  return result;
}

}  // namespace

namespace MapGis {

std::wstring ResolveProjectItem(const std::wstring& projectFile, const std::wstring& storedName) {
  const std::wstring name = Trim(storedName);
  if (name.empty()) return std::wstring();
  // An absolute folder, so ".." can climb above a relative project path.
  std::error_code ec;
  fs::path projectDir = fs::absolute(ToPath(projectFile), ec).parent_path();
  if (ec) projectDir = ToPath(projectFile).parent_path();

  const Lookup whole = Find(projectDir, name);
  if (!whole.found.empty()) return FromPath(whole.found);
  const size_t space = name.find(L' ');
  if (space != std::wstring::npos) {
    const Lookup token = Find(projectDir, name.substr(0, space));
    if (!token.found.empty()) return FromPath(token.found);
  }
  return FromPath(whole.expected);
}

}  // namespace MapGis
