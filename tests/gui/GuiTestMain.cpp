// The GUI tests run in one QApplication on the offscreen platform, with the
// test locations of QStandardPaths so nothing of the user's is touched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Harrowby"));
  QCoreApplication::setApplicationName(QStringLiteral("GridmoorProTest"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
