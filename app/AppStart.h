#pragma once
// What the program does at start besides showing its window: Qt's own
// Chinese texts for stock dialogs and buttons, and one window per desktop
// session that later launches hand their files to.
#include <QObject>
#include <QStringList>

class QCoreApplication;

// Installs Qt's zh_CN translations (qtbase), so file dialogs and standard
// buttons speak Chinese like the rest of the program. False when they are
// not installed.
bool InstallChineseTranslations(QCoreApplication& app);

// The files and folders named on the command line, as absolute paths.
QStringList PathArguments(const QStringList& arguments);

// The running program's address on the session bus. A second launch finds
// it and hands its paths over instead of opening another window.
class InstanceChannel : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.harrowby.GridmoorPro")
 public:
  using QObject::QObject;
  // True when a running program took `paths` (the caller then quits).
  static bool HandToRunning(const QStringList& paths);
  // Registers this program as the running one; false without a session bus
  // or when another program holds the name.
  bool Listen();

 public slots:
  Q_SCRIPTABLE void AddPaths(const QStringList& paths);

 signals:
  void PathsReceived(const QStringList& paths);
};
