// The conversion commands: the mode's wizard, then the batch on a worker thread.
#include <QThread>

#include "ConvertLog.h"
#include "DesktopState.h"
#include "FileListModel.h"
#include "GuiHost.h"
#include "MainWindow.h"
#include "MessageDisplay.h"
#include "Settings.h"

void MainWindow::StartMode(ConvertMode mode) {
  if (batchThread_ || searching_) return;
  if (view_.Files().Count() == 0) {
    Messages().Show(this, QStringLiteral("没有发现任何可转换文件!"), QStringLiteral("注意"),
                    ConvertHost::Icon::Warning);
    return;
  }
  CWizShapeDlg wizard(mode, this);
  if (wizard.exec() != QDialog::Accepted) return;
  RunBatch(mode);
}

bool MainWindow::RunBatch(ConvertMode mode) {
  if (batchThread_ || searching_) return false;
  // Every run writes its tables in the ANSI code page.
  Settings::CodePage = 1;
  if (mode == ConvertMode::Quick) {
    Settings::SymbolType = 0;
    Settings::ExportNetNode = 0;
    Settings::ExportPolyArc = 0;
    Settings::ExportAnnotation = 0;
    Settings::ExportLayerIndex = 0;
    Settings::ExportProjection = 0;
  } else if (mode == ConvertMode::Annotation) {
    Settings::ExportAnnotation = 1;
  }
  view_.Files().ResetForBatch();
  CConvertLog::Instance().Clear();
  // The annotation run uses style values too, so it loads the colour
  // library like the advanced run when a style mode is chosen.
  if (mode != ConvertMode::Quick) view_.ConvertLoadRules();

  view_.SetJobs(DesktopState::Jobs());
  model_->BeginBatch();
  SetBusy(true);
  const std::wstring outputDir = Settings::OutPath;
  const bool labels = mode == ConvertMode::Annotation;
  batchThread_ = QThread::create([this, outputDir, labels] {
    summary_ = labels ? view_.ConvertAllLabels(outputDir) : view_.ConvertAllFiles(outputDir);
  });
  connect(batchThread_, &QThread::finished, this, &MainWindow::OnBatchFinished);
  batchThread_->start();
  return true;
}

void MainWindow::OnBatchFinished() {
  if (!batchThread_) return;
  batchThread_->wait();
  delete batchThread_;
  batchThread_ = nullptr;
  model_->EndBatch();
  SetBusy(false);
  if (Settings::ViewLogFile == 1) CConvertLog::Instance().Show();
  emit BatchFinished(QString::fromStdWString(summary_.text));
  if (closeWhenDone_) close();
}
