#pragma once
// The list of input files of a conversion: top-level file nodes and project
// nodes whose children are the project's layer files, each with the five
// columns the list shows, a kind image, a selection mark and a text colour.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class ConvertHost;

// Kind images of list nodes.
enum FileKind : int {
  kKindNone = 0,
  kKindProject = 1,
  kKindPoint = 2,
  kKindLine = 3,
  kKindPolygon = 4,
  kKindTable = 5,
  kKindNetwork = 6,
};

// Text colours of nodes (red | green << 8 | blue << 16).
constexpr uint32_t kColourBlack = 0x000000;
constexpr uint32_t kColourBlue = 0xFF0000;
constexpr uint32_t kColourRed = 0x0000FF;

struct FileNode {
  std::wstring name;    // "文件名称": file name with extension
  std::wstring path;    // "文件路径": full path
  std::wstring size;    // "文件大小": "%dKB", or "-" for a missing project
  std::wstring status;  // "状态"
  std::wstring result;  // "结果名称"
  int image = kKindNone;
  bool selected = false;
  bool expanded = false;
  uint32_t colour = kColourBlack;
  long resultCode = 0;  // the last conversion result of the node
  FileNode* parent = nullptr;
  std::vector<std::unique_ptr<FileNode>> children;
};

class FileList {
 public:
  // Column titles and initial widths of the list view.
  static const wchar_t* const kColumnTitles[5];

  explicit FileList(ConvertHost* host = nullptr) : host_(host) {}
  void SetHost(ConvertHost* host) { host_ = host; }

  // Kind of a file name by its extension (any letter case); kKindNone when unknown.
  static int KindOf(const std::wstring& path);

  // Adds a layer file under `parent` (top level when null): its kind, or 0
  // when the extension is not a layer kind or, at top level, the file is
  // at top level already (nothing is added; the latter counts as an
  // ignored duplicate). A project's layers are its own: they are added
  // under it whatever else the list holds.
  int AddFile(const std::wstring& path, FileNode* parent = nullptr);
  // Adds a project node and its layer files: -1 when not a .MPJ, else 0
  // (also when the project is at top level already: an ignored duplicate).
  int AddProject(const std::wstring& path);
  // Adds a file the way a dropped file is added: projects by AddProject, other files by AddFile.
  void AddPath(const std::wstring& path);
  // Adds every known file below `dir`; 1 when the person stopped the search, else 0.
  int SearchFolder(const std::wstring& dir, bool recursive);

  void SelectAll();
  void ClearSelection();
  void RemoveSelection();
  void ExpandAll();
  void CollapseAll();
  // Deletes every node.
  void Clear();
  // Blanks the status and result columns of every node before a batch.
  void ResetForBatch();

  // Number of nodes, project nodes and their layer files alike.
  int Count() const { return count_; }
  // Whether a top-level node of this path is in the list.
  bool Contains(const std::wstring& path) const;
  // Files not added since the last call because they were in the list
  // already; the count starts again at 0.
  int TakeIgnoredDuplicates();
  const std::vector<std::unique_ptr<FileNode>>& TopLevel() const { return nodes_; }
  // Every node in depth-first order: a node, then its children.
  std::vector<FileNode*> Walk() const;

  // The status display texts: "进度：[0/%d]" and "当前共有%d个待转换文件！".
  std::wstring ProgressText() const;
  std::wstring MessageText() const;
  // Shows both through the host.
  void RefreshStatus() const;

  // Writes the list as UTF-8 text; false when the file cannot be written.
  bool Export(const std::string& path) const;

 private:
  FileNode* Insert(const std::wstring& path, int image, FileNode* parent);
  int SearchDirectory(const std::string& dir, bool recursive, std::vector<std::pair<uint64_t, uint64_t>>& visited);

  // Rebuilds the path index and the count after nodes were removed.
  void Reindex();

  ConvertHost* host_;
  std::vector<std::unique_ptr<FileNode>> nodes_;
  // Every top-level node's path in a comparable form, and the number of
  // nodes, kept as nodes come and go so that adding a file costs the same
  // at any length.
  std::unordered_set<std::string> paths_;
  int count_ = 0;
  int ignored_ = 0;
};
