// The list commands of the main window and the dialogs that feed them.
#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

#include "DesktopServices.h"
#include "DesktopState.h"
#include "FileListModel.h"
#include "FileListView.h"
#include "GuiHost.h"
#include "MainWindow.h"
#include "SettingsStore.h"
#include "MessageDisplay.h"
#include "OutputPane.h"
#include "SettingsDialog.h"

namespace {

// A save dialog without an overwrite prompt; empty when cancelled.
QString AskSaveName(QWidget* parent, const QString& filter, const QString& suffix) {
  QFileDialog dialog(parent, QString(), DesktopState::LastFolder(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  DesktopState::RememberFolder(dialog.selectedFiles().first());
  return dialog.selectedFiles().first();
}

}  // namespace

template <typename F>
void MainWindow::ChangeList(F&& change) {
  model_->BeginChange();
  change();
  model_->EndChange();
}

void MainWindow::AddPaths(const QStringList& paths) {
  if (batchThread_ || searching_) return;
  bool anyFolder = false;
  for (const QString& p : paths) anyFolder = anyFolder || QFileInfo(p).isDir();
  if (anyFolder) {
    SearchFolders(paths);
    return;
  }
  ChangeList([&] {
    for (const QString& p : paths) files_.AddPath(QDir::cleanPath(QFileInfo(p).absoluteFilePath()).toStdWString());
  });
  files_.RefreshStatus();
  ReportDuplicates();
}

void MainWindow::ReportDuplicates() {
  const int ignored = files_.TakeIgnoredDuplicates();
  if (ignored > 0) statusText_->setText(QStringLiteral("%1个文件已在列表中，未重复添加").arg(ignored));
}

void MainWindow::SearchFolders(const QStringList& paths) {
  if (batchThread_ || searching_ || paths.isEmpty()) return;
  searching_ = true;
  SetBusy(true);
  host_->SetStatusText(L"开始搜索待转换文件...");
  // The list is not redrawn while the search adds to it; Escape still reaches it.
  tree_->setEnabled(false);
  tree_->setUpdatesEnabled(false);
  model_->BeginChange();
  for (const QString& p : paths) {
    const QFileInfo info(p);
    const std::wstring path = QDir::cleanPath(info.absoluteFilePath()).toStdWString();
    if (!info.isDir()) {
      files_.AddPath(path);
    } else if (files_.SearchFolder(path, true) == 1) {
      break;
    }
  }
  model_->EndChange();
  tree_->setUpdatesEnabled(true);
  tree_->setEnabled(true);
  files_.RefreshStatus();
  ReportDuplicates();
  SetBusy(false);
  searching_ = false;
  if (closeWhenDone_) close();
}

void MainWindow::SelectAll() {
  files_.SelectAll();
  tree_->ShowMarks();
}

void MainWindow::ClearSelection() {
  files_.ClearSelection();
  tree_->ShowMarks();
}

void MainWindow::RemoveSelection() {
  if (batchThread_ || searching_) return;
  ChangeList([this] { files_.RemoveSelection(); });
}

void MainWindow::ClearList() {
  if (batchThread_ || searching_) return;
  ChangeList([this] { files_.Clear(); });
  host_->ClearLines();
}

void MainWindow::ExpandAll() {
  files_.ExpandAll();
  tree_->ShowMarks();
}

void MainWindow::CollapseAll() {
  files_.CollapseAll();
  tree_->ShowMarks();
}

bool MainWindow::ExportList(const QString& path) {
  if (batchThread_) return false;
  if (!files_.Export(path.toStdString())) {
    Messages().Show(this, QStringLiteral("转换列表信息输出失败，无法写入文件[%1]").arg(path), QStringLiteral("注意"),
                    ConvertHost::Icon::Warning);
    return false;
  }
  Messages().Show(this, QStringLiteral("转换列表信息已经正确输出！"), QStringLiteral("输出完成"),
                  ConvertHost::Icon::Information);
  return true;
}

bool MainWindow::SaveLog(const QString& path) {
  if (!pane_->SaveLog(path)) {
    Messages().Show(this, QStringLiteral("转换日志信息输出失败，无法写入文件[%1]").arg(path), QStringLiteral("注意"),
                    ConvertHost::Icon::Warning);
    return false;
  }
  Messages().Show(this, QStringLiteral("转换日志信息已经正确输出！"), QStringLiteral("输出完成"),
                  ConvertHost::Icon::Information);
  return true;
}

void MainWindow::AskAddFiles() {
  static const char kFilters[] =
      "MapGis工程文件 (*.mpj);;MapGis图层文件(*.wt *.wl *.wp *.wn *.wb);;MapGis点文件 (*.wt);;"
      "MapGis线文件 (*.wl);;MapGis面文件 (*.wp);;MapGis网络文件 (*.wn);;MapGis表格文件 (*.wb)";
  QFileDialog dialog(this, QString(), DesktopState::LastFolder(), QString::fromUtf8(kFilters));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setDefaultSuffix(QStringLiteral("mpj"));
  // The widget dialog matches the filters in any letter case (.WT as .wt).
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  DesktopState::RememberFolder(dialog.selectedFiles().first());
  AddPaths(dialog.selectedFiles());
}

void MainWindow::AskSearchFolders() {
  // A folder dialog that lets the person pick several folders at once.
  QFileDialog dialog(this, QString::fromUtf8("选择目录"), DesktopState::LastFolder());
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  for (QAbstractItemView* v : dialog.findChildren<QAbstractItemView*>()) {
    if (v->objectName() == QLatin1String("listView") || v->objectName() == QLatin1String("treeView")) {
      v->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  // The folder the search started from, so the next dialog opens beside it.
  DesktopState::RememberFolder(QFileInfo(dialog.selectedFiles().first()).absolutePath());
  SearchFolders(dialog.selectedFiles());
}

void MainWindow::AskExportList() {
  const QString path = AskSaveName(this, QStringLiteral("文本文件 (*.txt)"), QStringLiteral("txt"));
  if (!path.isEmpty()) ExportList(path);
}

void MainWindow::AskSaveLog() {
  const QString path = AskSaveName(this, QStringLiteral("日志文件 (*.log)"), QStringLiteral("log"));
  if (!path.isEmpty()) SaveLog(path);
}

void MainWindow::OpenSourceLocation() {
  for (const FileNode* node : files_.Walk()) {
    if (!node->selected) continue;
    ShowInFileManager(QString::fromStdWString(node->path));
    return;
  }
}

void MainWindow::ShowSettingsDialog() {
  SettingsDialog dialog(this);
  dialog.exec();
  ShowModelChoices();
}
