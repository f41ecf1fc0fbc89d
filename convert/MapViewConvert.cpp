// The batch driver: every entry of the file list in list order, named,
// checked for clashes, converted, marked with its status, and a summary.
#include <ctime>
#include <cwctype>
#include <filesystem>

#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "MapGisCodePage.h"
#include "Settings.h"

namespace fs = std::filesystem;

namespace {

const wchar_t kInterrupted[] = L"====================用户中断了本次转换====================";

bool Exists(const std::wstring& p) {
  std::error_code ec;
  return fs::exists(fs::u8path(MapGis::WideToUtf8(p)), ec);
}

std::wstring Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  wchar_t text[64];
  std::wcsftime(text, 64, L"%Y-%m-%d-%H:%M:%S", &local);
  return text;
}

std::wstring UpperExtension(const std::wstring& name) {
  const size_t dot = name.find_last_of(L'.');
  std::wstring ext = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
  for (wchar_t& c : ext) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return ext;
}

// The colour library file in `dir`: "Pcolor.lib", in any letter case.
std::wstring FindColourLibrary(const std::wstring& dir) {
  const std::wstring exact = dir + L"/Pcolor.lib";
  if (Exists(exact)) return exact;
  std::error_code ec;
  for (fs::directory_iterator it(fs::u8path(MapGis::WideToUtf8(dir)), ec), end; !ec && it != end; it.increment(ec)) {
    std::wstring name = MapGis::Utf8ToWide(it->path().filename().u8string());
    std::wstring upper = name;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    if (upper == L"PCOLOR.LIB") return dir + L"/" + name;
  }
  return exact;
}

}  // namespace

std::wstring CompactPath(const std::wstring& path, size_t maxChars) {
  if (path.size() <= maxChars) return path;
  const size_t slash = path.find_last_of(L'/');
  const std::wstring tail = slash == std::wstring::npos ? path : path.substr(slash);
  if (tail.size() + 3 >= maxChars) return L"..." + tail.substr(tail.size() - (maxChars - 3));
  const size_t head = maxChars - 3 - tail.size();
  return path.substr(0, head) + L"..." + tail;
}

int CGridmoorProView::ConvertLoadRules() {
  if (Settings::SymbolType == 0) return 1;
  if (!Settings::LibPath.empty()) {
    const std::wstring path = FindColourLibrary(Settings::LibPath);
    if (Exists(path)) {
      const long count = colorLib_.LoadColors(path.c_str());
      // A library that cannot be loaded is as good as missing.
      if (count >= 0) {
        CONVERT_LOG(L"使用MapGIS颜色库:[%ls]，包含[%ld]种颜色", path.c_str(), count);
        return 1;
      }
    }
  }
  if (host_) {
    host_->MessageBox(L"未设定匹配色标库文件或者指定色标库文件不存在!", L"注意", ConvertHost::Icon::Warning);
  }
  return 0;
}

BatchSummary CGridmoorProView::ConvertAllFiles(const std::wstring& outputDir) {
  return RunBatch(outputDir, false);
}

BatchSummary CGridmoorProView::ConvertAllLabels(const std::wstring& outputDir) { return RunBatch(outputDir, true); }

long CGridmoorProView::ConvertEntry(const FileNode& node, const std::wstring& mainName, const std::wstring& companion) {
  const std::wstring& source = node.path;
  const std::wstring ext = UpperExtension(node.name);
  if (ext == L".MPJ") return Settings::ExportLayerIndex != 0 ? ConvertMpj2Shp(source, mainName) : 12;
  if (ext == L".WT") {
    if (Settings::ExportAnnotation == 0) return ConvertPoint2Shp(source, mainName);
    const long result = ConvertPntSub2Shp(source, mainName);
    ConvertNote2Shp(source, companion);
    return result;
  }
  if (ext == L".WL") return ConvertArc2Shp(source, mainName);
  if (ext == L".WP") {
    const long result = ConvertPolygon2Shp(source, mainName);
    if (Settings::ExportPolyArc != 0) ConvertPolyArc2Shp(source, companion);
    return result;
  }
  if (ext == L".WB") return ConvertWB2DBF(source, mainName);
  if (ext == L".WN") {
    const long result = ConvertNetArc2Shp(source, mainName);
    if (Settings::ExportNetNode != 0) ConvertNetPoint2Shp(source, companion);
    return result;
  }
  return 12;
}

BatchSummary CGridmoorProView::RunBatch(const std::wstring& outputDir, bool labelsOnly) {
  BatchSummary sum;
  CONVERT_LOG(L"====================转换信息：I 提示,W 警告,E 错误,F 未知错====================");
  CONVERT_LOG(L"--------------------开始时间:(%ls)--------------------", Now().c_str());
  policy_.Clear();
  if (host_) host_->CancelRequested();  // a request left from before the run does not count
  const std::vector<FileNode*> nodes = files_.Walk();
  sum.total = static_cast<int>(nodes.size());
  int index = 0;
  for (FileNode* node : nodes) {
    if (host_ && host_->CancelRequested() && host_->AskYesNo(L"确定要取消当前转换过程？", L"取消转换")) {
      CONVERT_LOG(L"%ls", kInterrupted);
      sum.cancelled = true;
      break;
    }
    const std::wstring& source = node->path;
    if (!Exists(source)) {
      CONVERT_LOG(L"----结束转换[文件不存在(0/0)]");
      ++sum.missing;
    }
    if (host_) {
      host_->SetStatusText(FormatText(L"正在转换%ls", CompactPath(source, 50).c_str()));
      host_->SetProgressText(FormatText(L"进度：[%d/%d]", index, sum.total));
      host_->SetProgress(0);
    }
    std::wstring dir = outputDir;
    BuildOutputDir(node, dir);
    const int answer = ConvertCheckOverwrite(dir + L"/" + node->name, labelsOnly);
    policy_.Apply(answer);
    if (answer == ConvertHost::kStopBatch) {
      CONVERT_LOG(L"%ls", kInterrupted);
      sum.cancelled = true;
      break;
    }
    std::wstring mainName, companion;
    BuildFinalName(dir, node->name, mainName, companion, labelsOnly);
    node->result = mainName + L".shp";

    long result = 12;
    if (policy_.skipThis) {
      policy_.skipThis = false;
    } else if (labelsOnly) {
      if (UpperExtension(node->name) == L".WT") result = ConvertNote2Shp(source, companion);
    } else {
      result = ConvertEntry(*node, mainName, companion);
    }
    node->resultCode = result;
    if (result == 99999) {
      node->status = L"成功";
      node->colour = kColourBlack;
      ++sum.done;
    } else if (result == 10) {
      node->status = L"空文件";
      node->colour = kColourBlue;
      ++sum.empty;
    } else if (result == 12) {
      node->status = labelsOnly ? L"…" : L"跳过";
      node->colour = kColourBlue;
      ++sum.skipped;
    } else {
      node->status = L"失败";
      node->colour = kColourRed;
      ++sum.failed;
    }
    if (host_) host_->NodeChanged(node);
    policy_.AfterFile();
    ++index;
  }
  CONVERT_LOG(L"--------------------结束时间:(%ls)--------------------", Now().c_str());
  const std::wstring summary =
      FormatText(L"转换完成：%d个完成,%d个空文件,%d个跳过,%d个失败", sum.done, sum.empty, sum.skipped, sum.failed);
  if (host_) {
    host_->SetStatusText(summary);
    host_->SetProgressText(FormatText(L"进度：[%d/%d]", sum.missing + sum.empty + sum.failed + sum.skipped + sum.done,
                                      sum.total));
    host_->SetProgress(0);
  }
  CONVERT_LOG(L"====================%ls====================", summary.c_str());
  if (host_) {
    if (Settings::FinishBeep != 0) host_->FinishSound();
    host_->MessageBox(summary, L"转换完成", ConvertHost::Icon::Information);
  }
  sum.text = summary;
  return sum;
}
