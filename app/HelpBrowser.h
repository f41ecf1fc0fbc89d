#pragma once
// The local help: HTML pages shipped with the program, shown in a window of
// their own with back and forward.
#include <QDialog>

class QTextBrowser;

// The help's first page: beside the program (build tree), else in the
// installed data folder (../share/gridmoorpro/help), else in the build
// tree's help folder. Empty when not found.
QString HelpIndex();

class HelpBrowser : public QDialog {
  Q_OBJECT
 public:
  explicit HelpBrowser(QWidget* parent = nullptr);
  // Shows `page` (a local HTML file) and brings the window up.
  void ShowPage(const QString& page);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};
