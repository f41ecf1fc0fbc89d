#include "MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "Commands.h"
#include "DesktopServices.h"
#include "HelpBrowser.h"
#include "FileListModel.h"
#include "FileListView.h"
#include "GuiHost.h"
#include "Icons.h"
#include "LogModel.h"
#include "MapPreview.h"
#include "OutputPane.h"
#include "SettingsStore.h"

#ifndef GRIDMOOR_VERSION
#define GRIDMOOR_VERSION "0.0.0"
#endif
#ifndef GRIDMOOR_WEB_HOME
#define GRIDMOOR_WEB_HOME ""
#endif
#ifndef GRIDMOOR_HELP_ONLINE
#define GRIDMOOR_HELP_ONLINE ""
#endif

QString AboutText() {
  return QStringLiteral("<b>GridmoorPro</b><br>版本 %1<br><br>MapGIS 6.x 数据转换为 ESRI Shapefile。<br>Qt %2")
      .arg(QStringLiteral(GRIDMOOR_VERSION), QString::fromLatin1(qVersion()));
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("GridmoorPro"));
  setWindowIcon(CommandIcon(QStringLiteral("app")));
  resize(1000, 680);

  host_ = new GuiHost(this);
  host_->SetDialogParent(this);
  files_.SetHost(host_);

  model_ = new FileListModel(files_, this);
  tree_ = new FileListView(this);
  tree_->SetListModel(model_);
  tree_->setContextMenuPolicy(Qt::ActionsContextMenu);
  setCentralWidget(tree_);

  log_ = new LogModel(this);
  pane_ = new OutputPane(log_, this);
  addDockWidget(Qt::BottomDockWidgetArea, pane_);

  BuildCommands();
  BuildMenusAndToolBars();
  BuildStatusBar();
  ConnectHost();
  ShowModelChoices();
  files_.RefreshStatus();

  connect(tree_, &FileListView::PathsDropped, this, &MainWindow::AddPaths);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            const FileNode* node = model_->NodeAt(current);
            pane_->Preview()->SetColourFolders({QString::fromStdWString(AppSettings().LibPath)});
            pane_->ShowFileInfo(node ? QString::fromStdWString(node->path) : QString());
          });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { pane_->ShowFileInfo(QString()); });
  connect(pane_, &OutputPane::ClearRequested, host_, &GuiHost::ClearLines);
  connect(pane_, &OutputPane::SaveRequested, this, &MainWindow::AskSaveLog);
  connect(this, &MainWindow::BatchFinished, this, &MainWindow::NotifyIfAway);
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  // A batch still running is asked to stop; its questions are still answered here.
  if (batchThread_) {
    host_->RequestCancel();
    while (!batchThread_->wait(20)) QCoreApplication::processEvents();
  }
  files_.SetHost(nullptr);
  // The pane reports its hiding while the window's children go.
  disconnect(pane_, nullptr, nullptr, nullptr);
  // The list view and its model read the engine's list, which goes with this window.
  delete tree_;
  delete model_;
}

QAction* MainWindow::MakeAction(int id) {
  const CommandInfo* c = FindCommand(id);
  auto* action = new QAction(QString::fromUtf8(c->label), this);
  const QString prompt = QString::fromUtf8(c->prompt);
  action->setStatusTip(prompt);
  action->setToolTip(prompt);
  action->setData(id);
  if (c->icon) action->setIcon(CommandIcon(QString::fromLatin1(c->icon)));
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  actions_.insert(id, action);
  return action;
}

void MainWindow::BuildCommands() {
  for (const CommandInfo& c : CommandTable()) MakeAction(c.id);
  Action(ID_FILE_OPEN)->setShortcut(QKeySequence::Open);
  Action(ID_EDIT_SELALL)->setShortcut(QKeySequence::SelectAll);
  Action(ID_EDIT_SELDEL)->setShortcut(QKeySequence::Delete);
  Action(ID_APP_EXIT)->setShortcut(QKeySequence::Quit);
  Action(ID_HELP)->setShortcut(QKeySequence::HelpContents);

  colourModels_ = new QActionGroup(this);
  for (int id : {ID_CLR_RGBTRIPLE, ID_CLR_RGBQUAD, ID_CLR_CMYK}) {
    Action(id)->setCheckable(true);
    colourModels_->addAction(Action(id));
  }
  angleModels_ = new QActionGroup(this);
  for (int id : {ID_ROTATE_ARITH, ID_ROTATE_GEO}) {
    Action(id)->setCheckable(true);
    angleModels_->addAction(Action(id));
  }
  QAction* logWindow = Action(ID_BTN_LOGWIN);
  logWindow->setCheckable(true);
  OutputPane* pane = pane_;
  connect(pane_, &QDockWidget::visibilityChanged, logWindow,
          [logWindow, pane](bool) { logWindow->setChecked(!pane->isHidden()); });

  // The list view's own menu.
  for (int id : {ID_FILE_OPEN, ID_FILE_FLD}) tree_->addAction(Action(id));
  auto* separator1 = new QAction(this);
  separator1->setSeparator(true);
  tree_->addAction(separator1);
  for (int id : {ID_EDIT_SELALL, ID_EDIT_SELNONE, ID_EDIT_SELDEL, ID_EDIT_CLEAR_ALL}) tree_->addAction(Action(id));
  auto* separator2 = new QAction(this);
  separator2->setSeparator(true);
  tree_->addAction(separator2);
  for (int id : {ID_VIEW_EXPAND_ALL, ID_VIEW_COLLAPSE_ALL, ID_VIEW_OPEN_LOCATION, ID_EDIT_EXPORTLIST}) {
    tree_->addAction(Action(id));
  }
}

void MainWindow::BuildMenusAndToolBars() {
  auto addAll = [this](auto* target, std::initializer_list<int> ids) {
    for (int id : ids) target->addAction(Action(id));
  };

  QMenu* file = menuBar()->addMenu(QStringLiteral("文件"));
  addAll(file, {ID_FILE_OPEN, ID_FILE_FLD});
  file->addSeparator();
  file->addAction(Action(ID_APP_EXIT));

  QMenu* colour = new QMenu(QStringLiteral("颜色表达"), this);
  colour->setIcon(CommandIcon(QStringLiteral("colour")));
  addAll(colour, {ID_CLR_RGBTRIPLE, ID_CLR_RGBQUAD, ID_CLR_CMYK});
  QMenu* angle = new QMenu(QStringLiteral("旋转方式"), this);
  angle->setIcon(CommandIcon(QStringLiteral("rotate")));
  addAll(angle, {ID_ROTATE_ARITH, ID_ROTATE_GEO});
  connect(colour, &QMenu::aboutToShow, this, &MainWindow::ShowModelChoices);
  connect(angle, &QMenu::aboutToShow, this, &MainWindow::ShowModelChoices);

  QMenu* functions = menuBar()->addMenu(QStringLiteral("功能"));
  functions->addSection(QStringLiteral("添加文件"));
  addAll(functions, {ID_FILE_FLD, ID_FILE_OPEN});
  functions->addSection(QStringLiteral("转换列表"));
  addAll(functions, {ID_EDIT_SELALL, ID_EDIT_SELNONE, ID_EDIT_SELDEL, ID_EDIT_CLEAR_ALL, ID_EDIT_EXPORTLIST,
                     ID_BTN_LOGWIN, ID_VIEW_EXPAND_ALL, ID_VIEW_COLLAPSE_ALL, ID_VIEW_OPEN_LOCATION});
  functions->addSection(QStringLiteral("输出设置"));
  functions->addMenu(colour);
  functions->addMenu(angle);
  functions->addAction(Action(ID_OPT_ALL));
  functions->addSection(QStringLiteral("格式转换"));
  addAll(functions, {ID_CVT_QUICK, ID_CVT_LABEL, ID_CVT_SITU});

  QMenu* help = menuBar()->addMenu(QStringLiteral("帮助"));
  help->addSection(QStringLiteral("在线支持"));
  addAll(help, {ID_WEBHOME, ID_HELP_ONLINE});
  help->addSection(QStringLiteral("帮助信息"));
  help->addAction(Action(ID_HELP));
  help->addSection(QStringLiteral("关于"));
  help->addAction(Action(ID_APP_ABOUT));

  auto toolBar = [this](const QString& title) {
    QToolBar* bar = addToolBar(title);
    bar->setObjectName(title);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(24, 24));
    toolBars_ << bar;
    return bar;
  };
  addAll(toolBar(QStringLiteral("添加文件")), {ID_FILE_FLD, ID_FILE_OPEN});
  addAll(toolBar(QStringLiteral("转换列表")),
         {ID_EDIT_SELALL, ID_EDIT_SELNONE, ID_EDIT_SELDEL, ID_EDIT_CLEAR_ALL, ID_EDIT_EXPORTLIST, ID_BTN_LOGWIN});
  QToolBar* output = toolBar(QStringLiteral("输出设置"));
  for (QMenu* menu : {colour, angle}) {
    auto* button = new QToolButton(output);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIcon(menu->icon());
    button->setText(menu->title());
    output->addWidget(button);
  }
  output->addAction(Action(ID_OPT_ALL));
  addAll(toolBar(QStringLiteral("格式转换")), {ID_CVT_QUICK, ID_CVT_LABEL, ID_CVT_SITU});
  addAll(toolBar(QStringLiteral("帮助")), {ID_WEBHOME, ID_HELP_ONLINE, ID_HELP, ID_APP_ABOUT});
  ArrangeToolBars();
}

void MainWindow::ArrangeToolBars() {
  if (toolBars_.size() < 4) return;
  int needed = 0;
  for (QToolBar* bar : toolBars_) needed += bar->sizeHint().width();
  const bool split = needed > width();
  if (split == toolBarBreak_) return;
  // The second row starts with "输出设置".
  if (split) {
    insertToolBarBreak(toolBars_[2]);
  } else {
    removeToolBarBreak(toolBars_[2]);
  }
  toolBarBreak_ = split;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ArrangeToolBars();
}

void MainWindow::BuildStatusBar() {
  statusText_ = new QLabel(this);
  progressText_ = new QLabel(this);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setMaximumWidth(200);
  progress_->setTextVisible(false);
  stop_ = new QToolButton(this);
  stop_->setText(QStringLiteral("停止"));
  stop_->setToolTip(QStringLiteral("停止当前的转换或搜索（Esc）"));
  stop_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  stop_->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
  stop_->hide();
  connect(stop_, &QToolButton::clicked, host_, &GuiHost::RequestCancel);
  statusBar()->addWidget(statusText_, 1);
  statusBar()->addPermanentWidget(progressText_);
  statusBar()->addPermanentWidget(progress_);
  statusBar()->addPermanentWidget(stop_);
}

void MainWindow::ConnectHost() {
  connect(host_, &GuiHost::StatusTextChanged, statusText_, &QLabel::setText);
  connect(host_, &GuiHost::ProgressTextChanged, progressText_, &QLabel::setText);
  connect(host_, &GuiHost::ProgressChanged, progress_, &QProgressBar::setValue);
  connect(host_, &GuiHost::LineAppended, log_, &LogModel::Append);
  connect(host_, &GuiHost::LinesCleared, log_, &LogModel::Clear);
  connect(host_, &GuiHost::ShowLogRequested, pane_, &OutputPane::ShowLog);
  connect(host_, &GuiHost::NodeUpdated, this, [this](const FileNode* node) { model_->OnNodeUpdated(node); });
  // The entry about to be converted comes into view first.
  connect(host_, &GuiHost::EntryStarted, this, [this](const FileNode* node) {
    if (node && node->parent) tree_->expand(model_->IndexOf(node->parent));
    tree_->scrollTo(model_->IndexOf(node));
  });
}

void MainWindow::ShowModelChoices() {
  const int colourIds[] = {ID_CLR_RGBTRIPLE, ID_CLR_RGBQUAD, ID_CLR_CMYK};
  for (int model = 0; model < 3; ++model) Action(colourIds[model])->setChecked(AppSettings().ColorModel == model);
  const int angleIds[] = {ID_ROTATE_ARITH, ID_ROTATE_GEO};
  for (int model = 0; model < 2; ++model) Action(angleIds[model])->setChecked(AppSettings().RotateType == model);
}

void MainWindow::OnCommand(int id) {
  switch (id) {
    case ID_FILE_FLD: AskSearchFolders(); break;
    case ID_FILE_OPEN: AskAddFiles(); break;
    case ID_CVT_QUICK: StartMode(ConvertMode::Quick); break;
    case ID_CVT_LABEL: StartMode(ConvertMode::Annotation); break;
    case ID_CVT_SITU: StartMode(ConvertMode::Advanced); break;
    case ID_EDIT_SELALL: SelectAll(); break;
    case ID_EDIT_SELNONE: ClearSelection(); break;
    case ID_EDIT_SELDEL: RemoveSelection(); break;
    case ID_EDIT_CLEAR_ALL: ClearList(); break;
    case ID_EDIT_EXPORTLIST: AskExportList(); break;
    case ID_BTN_LOGWIN: pane_->setVisible(!pane_->isVisible()); break;
    case ID_CLR_RGBTRIPLE: AppSettings().ColorModel = 0; break;
    case ID_CLR_RGBQUAD: AppSettings().ColorModel = 1; break;
    case ID_CLR_CMYK: AppSettings().ColorModel = 2; break;
    case ID_ROTATE_ARITH: AppSettings().RotateType = 0; break;
    case ID_ROTATE_GEO: AppSettings().RotateType = 1; break;
    case ID_OPT_ALL: ShowSettingsDialog(); break;
    case ID_WEBHOME: OpenWebPage(GRIDMOOR_WEB_HOME); break;
    case ID_HELP_ONLINE: OpenWebPage(GRIDMOOR_HELP_ONLINE); break;
    case ID_HELP: ShowLocalHelp(); break;
    case ID_APP_ABOUT: ShowAbout(); break;
    case ID_APP_EXIT: close(); break;
    case ID_VIEW_EXPAND_ALL: ExpandAll(); break;
    case ID_VIEW_COLLAPSE_ALL: CollapseAll(); break;
    case ID_VIEW_OPEN_LOCATION: OpenSourceLocation(); break;
    default: break;
  }
  ShowModelChoices();
}

// While a batch or a search runs, the list and the settings it reads stay as they are.
void MainWindow::SetBusy(bool busy) {
  for (int id : {ID_FILE_FLD, ID_FILE_OPEN, ID_CVT_QUICK, ID_CVT_LABEL, ID_CVT_SITU, ID_EDIT_SELDEL,
                 ID_EDIT_CLEAR_ALL, ID_EDIT_EXPORTLIST, ID_CLR_RGBTRIPLE, ID_CLR_RGBQUAD, ID_CLR_CMYK,
                 ID_ROTATE_ARITH, ID_ROTATE_GEO, ID_OPT_ALL}) {
    Action(id)->setEnabled(!busy);
  }
  tree_->SetAcceptingDrops(!busy);
  stop_->setVisible(busy);
  if (busy) runClock_.start();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (batchThread_ || searching_) {
    // The run is asked to stop; the window closes when it has.
    closeWhenDone_ = true;
    host_->RequestCancel();
    event->ignore();
    return;
  }
  event->accept();
}

// Escape asks a running batch or search to stop; it is not passed on.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (batchThread_ || searching_) && !QApplication::activeModalWidget() &&
      !QApplication::activePopupWidget() && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    host_->RequestCancel();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ShowAbout() { QMessageBox::about(this, QStringLiteral("关于 GridmoorPro"), AboutText()); }

void MainWindow::ShowLocalHelp() {
  HelpBrowser* help = findChild<HelpBrowser*>();
  if (!help) help = new HelpBrowser(this);
  help->ShowPage(HelpIndex());
}

void MainWindow::OpenWebPage(const char* address) {
  const QString configured = QString::fromUtf8(address);
  if (!configured.isEmpty()) {
    QDesktopServices::openUrl(QUrl(configured));
  } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(HelpIndex()))) {
    ShowLocalHelp();
  }
}

void MainWindow::NotifyIfAway(const QString& summary) {
  constexpr qint64 kLongRunMs = 10000;
  if (isActiveWindow() || !runClock_.isValid() || runClock_.elapsed() < kLongRunMs) return;
  NotifyDesktop(QStringLiteral("GridmoorPro 转换完成"), summary);
}
