#include "GuiTestSupport.h"

#include <QDir>

#include "SettingsStore.h"

void GuiTest::SetUp() {
  AppSettings() = Settings::Defaults(L"", L"");
  AppSettings().OutPath.clear();
}

void GuiTest::TearDown() {
  AppSettings() = Settings::Defaults(L"", L"");
}

QString RealSample(const QString& relative) {
  return QDir(QString::fromUtf8(GRIDMOOR_REAL_SAMPLES)).filePath(relative);
}

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

QStringList CopySamples(const QTemporaryDir& dir, const QStringList& relatives) {
  QStringList out;
  for (const QString& r : relatives) {
    const QString to = dir.filePath(QFileInfo(r).fileName());
    QFile::remove(to);
    EXPECT_TRUE(QFile::copy(RealSample(r), to)) << r.toStdString();
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    out << to;
  }
  return out;
}

QString WriteBytes(const QTemporaryDir& dir, const QString& name, int size) {
  const QString path = dir.filePath(name);
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(size, 'x'));
  return path;
}
