#include "FileList.h"

#include <sys/stat.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>

#include "ConvertHost.h"
#include "ConversionLog.h"
#include "MapGis.h"
#include "MapGisProjectPaths.h"

namespace fs = std::filesystem;

const wchar_t* const FileList::kColumnTitles[5] = {L"文件名称", L"文件路径", L"文件大小", L"状态", L"结果名称"};

namespace {

std::wstring UpperExtension(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'/');
  const size_t dot = path.find_last_of(L'.');
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return std::wstring();
  std::wstring ext = path.substr(dot);
  for (wchar_t& c : ext) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return ext;
}

std::wstring FileNamePart(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'/');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

fs::path ToPath(const std::wstring& p) { return fs::u8path(MapGis::WideToUtf8(p)); }

// "%dKB" of the low 32 bits of the size / 1024, at least 1; 0 for a missing file.
std::wstring SizeText(const std::wstring& path, bool* found) {
  std::error_code ec;
  const uintmax_t size = fs::file_size(ToPath(path), ec);
  *found = !ec;
  if (ec) return L"0KB";
  uint32_t kb = static_cast<uint32_t>(size & 0xFFFFFFFFu) / 1024;
  if (kb < 1) kb = 1;
  return std::to_wstring(kb) + L"KB";
}

// A field of the exported list, quoted when it holds a comma or a quote.
std::string CsvField(const std::wstring& text) {
  std::string s = MapGis::WideToUtf8(text);
  if (s.find_first_of(",\"\n") == std::string::npos) return s;
  std::string quoted = "\"";
  for (char c : s) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// The form in which paths are compared: "a/./b" and "a//b" are "a/b".
// Most paths are clean already and are taken as they are.
std::string PathKey(const std::wstring& path) {
  std::string utf8 = MapGis::WideToUtf8(path);
  const bool clean = utf8.find("//") == std::string::npos && utf8.find("/./") == std::string::npos &&
                     utf8.find("/../") == std::string::npos;
  if (clean) return utf8;
  return fs::u8path(utf8).lexically_normal().string();
}

}  // namespace

int FileList::KindOf(const std::wstring& path) {
  const std::wstring ext = UpperExtension(path);
  if (ext == L".MPJ") return kKindProject;
  if (ext == L".WT") return kKindPoint;
  if (ext == L".WL") return kKindLine;
  if (ext == L".WP") return kKindPolygon;
  if (ext == L".WB") return kKindTable;
  if (ext == L".WN") return kKindNetwork;
  return kKindNone;
}

FileNode* FileList::Insert(const std::wstring& path, int image, FileNode* parent) {
  auto node = std::make_unique<FileNode>();
  node->name = FileNamePart(path);
  node->path = path;
  node->image = image;
  node->parent = parent;
  FileNode* raw = node.get();
  (parent ? parent->children : nodes_).push_back(std::move(node));
  if (!parent) paths_.insert(PathKey(path));
  ++count_;
  return raw;
}

int FileList::AddFile(const std::wstring& path, FileNode* parent) {
  const int kind = KindOf(path);
  if (kind == kKindNone || kind == kKindProject) return 0;
  if (!parent && Contains(path)) {
    ++ignored_;
    return 0;
  }
  FileNode* node = Insert(path, kind, parent);
  bool found = false;
  node->size = SizeText(path, &found);
  node->status = L" ";
  node->result = L" ";
  const int count = Count();
  if (host_ && count % 10 == 0) host_->SetStatusText(FormatText(L"已搜索到[%d]个待转换文件...", count));
  return kind;
}

int FileList::AddProject(const std::wstring& path) {
  if (KindOf(path) != kKindProject) return -1;
  if (Contains(path)) {
    ++ignored_;
    return 0;
  }
  FileNode* node = Insert(path, kKindProject, nullptr);
  node->expanded = true;
  bool found = false;
  const std::wstring size = SizeText(path, &found);
  node->size = found ? size : L"-";
  node->status = L" ";
  node->result = L" ";
  if (!found) return 0;
  MapGis::MapGis_Prj project;
  const long count = project.LoadProject(path.c_str());
  for (long i = 0; i < count; ++i) {
    wchar_t stored[2600] = {0};
    if (project.GetItemFileName(static_cast<int>(i), stored) != 0 || stored[0] == L'\0') continue;
    AddFile(MapGis::ResolveProjectItem(path, stored), node);
  }
  return 0;
}

void FileList::AddPath(const std::wstring& path) {
  if (KindOf(path) == kKindProject) {
    AddProject(path);
  } else {
    AddFile(path, nullptr);
  }
}

int FileList::SearchFolder(const std::wstring& dir, bool recursive) {
  std::vector<std::pair<uint64_t, uint64_t>> visited;
  return SearchDirectory(MapGis::WideToUtf8(dir), recursive, visited);
}

int FileList::SearchDirectory(const std::string& dir, bool recursive,
                              std::vector<std::pair<uint64_t, uint64_t>>& visited) {
  // A folder reached again through a link is not searched twice.
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0) return 0;
  const std::pair<uint64_t, uint64_t> id{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  if (std::find(visited.begin(), visited.end(), id) != visited.end()) return 0;
  visited.push_back(id);

  std::vector<fs::directory_entry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(fs::u8path(dir), ec), end; !ec && it != end; it.increment(ec)) {
    entries.push_back(*it);
  }
  // Entries in name order, so a search gives the same list every time.
  std::sort(entries.begin(), entries.end(),
            [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });
  for (const fs::directory_entry& entry : entries) {
    if (host_ && host_->CancelRequested() && host_->AskYesNo(L"确定要停止当前搜索过程？", L"停止搜索")) return 1;
    std::error_code e;
    const std::wstring path = MapGis::Utf8ToWide(entry.path().u8string());
    if (entry.is_directory(e)) {
      if (recursive && SearchDirectory(entry.path().u8string(), recursive, visited) == 1) return 1;
    } else {
      AddPath(path);
    }
  }
  return 0;
}

void FileList::SelectAll() {
  for (auto& n : nodes_) {
    n->selected = true;
    for (auto& c : n->children) c->selected = true;
  }
}

void FileList::ClearSelection() {
  for (FileNode* n : Walk()) n->selected = false;
}

void FileList::RemoveSelection() {
  auto removeFrom = [](std::vector<std::unique_ptr<FileNode>>& nodes) {
    nodes.erase(std::remove_if(nodes.begin(), nodes.end(), [](const auto& n) { return n->selected; }), nodes.end());
  };
  removeFrom(nodes_);
  for (auto& n : nodes_) removeFrom(n->children);
  Reindex();
  RefreshStatus();
}

void FileList::ExpandAll() {
  for (auto& n : nodes_) {
    if (!n->children.empty()) n->expanded = true;
  }
}

void FileList::CollapseAll() {
  for (FileNode* n : Walk()) n->expanded = false;
}

void FileList::Clear() {
  nodes_.clear();
  Reindex();
  RefreshStatus();
}

void FileList::ResetForBatch() {
  for (FileNode* n : Walk()) {
    n->status = L" ";
    n->result = L" ";
  }
}

bool FileList::Contains(const std::wstring& path) const { return paths_.count(PathKey(path)) != 0; }

int FileList::TakeIgnoredDuplicates() {
  const int n = ignored_;
  ignored_ = 0;
  return n;
}

void FileList::Reindex() {
  paths_.clear();
  for (const auto& n : nodes_) paths_.insert(PathKey(n->path));
  count_ = static_cast<int>(Walk().size());
}

std::vector<FileNode*> FileList::Walk() const {
  std::vector<FileNode*> out;
  for (const auto& n : nodes_) {
    out.push_back(n.get());
    for (const auto& c : n->children) out.push_back(c.get());
  }
  return out;
}

std::wstring FileList::ProgressText() const { return FormatText(L"进度：[0/%d]", Count()); }

std::wstring FileList::MessageText() const { return FormatText(L"当前共有%d个待转换文件！", Count()); }

void FileList::RefreshStatus() const {
  if (!host_) return;
  host_->SetProgressText(ProgressText());
  host_->SetStatusText(MessageText());
}

bool FileList::Export(const std::string& path) const {
  std::ofstream out(fs::u8path(path), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << "编号,文件名称,文件类型,文件路径,投影信息,文件大小,输出名称,转换时间,状态\n";
  int number = 1;
  for (const FileNode* n : Walk()) {
    const size_t dot = n->name.find_last_of(L'.');
    const std::wstring extension = dot == std::wstring::npos ? std::wstring() : n->name.substr(dot);
    out << number++ << ',' << CsvField(n->name) << ',' << CsvField(extension) << ',' << CsvField(n->path) << ','
        << CsvField(n->size) << ',' << CsvField(n->status) << ',' << CsvField(n->result) << ",,\n";
  }
  out.close();
  return !out.fail();
}
