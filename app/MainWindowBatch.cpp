// The conversion commands: the mode's wizard, then the batch on a worker thread.
#include <QThread>

#include "BatchRunner.h"
#include "DesktopState.h"
#include "FileListModel.h"
#include "GuiHost.h"
#include "MainWindow.h"
#include "MessageDisplay.h"
#include "SettingsStore.h"

void MainWindow::StartMode(ConvertMode mode) {
  if (batchThread_ || searching_) return;
  if (files_.Count() == 0) {
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
  AppSettings().CodePage = 1;
  if (mode == ConvertMode::Quick) {
    AppSettings().SymbolType = 0;
    AppSettings().ExportNetNode = 0;
    AppSettings().ExportPolyArc = 0;
    AppSettings().ExportAnnotation = 0;
    AppSettings().ExportLayerIndex = 0;
    AppSettings().ExportProjection = 0;
  } else if (mode == ConvertMode::Annotation) {
    AppSettings().ExportAnnotation = 1;
  }
  files_.ResetForBatch();
  host_->ClearLines();
  // The run's options: the settings as they are now.
  const ConversionOptions options = AppSettings();
  // The annotation run uses style values too, so it loads the colour
  // library like the advanced run when a style mode is chosen.
  colours_ = MapGis::MapGis_ColorLib();
  if (mode != ConvertMode::Quick) {
    ConversionLog log(host_, options.LogLevel);
    LoadColourLibrary(options, colours_, host_, log);
  }

  const int jobs = DesktopState::Jobs();
  lastRunJobs_ = jobs;
  model_->BeginBatch();
  SetBusy(true);
  const bool labels = mode == ConvertMode::Annotation;
  batchThread_ = QThread::create([this, options, labels, jobs] {
    BatchRunner batch(options, files_, colours_, host_, host_);
    batch.SetJobs(jobs);
    summary_ = labels ? batch.ConvertAllLabels() : batch.ConvertAllFiles();
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
  if (AppSettings().ViewLogFile == 1) host_->ShowLog();
  emit BatchFinished(QString::fromStdWString(summary_.text));
  if (closeWhenDone_) close();
}
