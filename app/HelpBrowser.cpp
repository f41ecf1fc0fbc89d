#include "HelpBrowser.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#ifndef GRIDMOOR_BUILD_HELP
#define GRIDMOOR_BUILD_HELP ""
#endif

QString HelpIndex() {
  const QDir program(QCoreApplication::applicationDirPath());
  // Beside the program, installed, and (for programs of the build tree
  // other than GridmoorPro, such as the tests) the build tree's copy.
  const QStringList candidates = {program.absoluteFilePath(QStringLiteral("help/index.html")),
                                  program.absoluteFilePath(QStringLiteral("../share/gridmoorpro/help/index.html")),
                                  QStringLiteral(GRIDMOOR_BUILD_HELP "/index.html")};
  for (const QString& path : candidates) {
    if (QFileInfo::exists(path)) return QDir::cleanPath(path);
  }
  return QString();
}

HelpBrowser::HelpBrowser(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("GridmoorPro 帮助"));
  resize(860, 640);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* back = buttons->addButton(QStringLiteral("后退"), QDialogButtonBox::ActionRole);
  QPushButton* home = buttons->addButton(QStringLiteral("目录"), QDialogButtonBox::ActionRole);
  back->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
}

void HelpBrowser::ShowPage(const QString& page) {
  if (page.isEmpty()) {
    browser_->setHtml(QStringLiteral("<p>没有找到本机帮助文件。请重新安装 GridmoorPro。</p>"));
  } else {
    browser_->setSource(QUrl::fromLocalFile(page));
  }
  show();
  raise();
  activateWindow();
}
