// Settings kept between runs through QSettings, and the advanced-settings dialog.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include "FolderField.h"
#include "GuiTestSupport.h"
#include "Settings.h"
#include "SettingsDialog.h"
#include "SettingsPages.h"
#include "SettingsStore.h"

namespace {

using SettingsStoreTest = GuiTest;

TEST_F(SettingsStoreTest, AFreshStoreGivesTheDefaults) {
  QTemporaryDir dir;
  QSettings store(dir.filePath("fresh.ini"), QSettings::IniFormat);
  Settings::ExportProjection = 0;
  Settings::Pntfix = L"X";
  LoadSettings(store, "/home/u/appdata", "/opt/gridmoor");
  EXPECT_EQ(Settings::WorkPath, L"/home/u/appdata");
  EXPECT_EQ(Settings::OutPath, L"/home/u/appdata");
  EXPECT_EQ(Settings::LibPath, L"/opt/gridmoor");
  EXPECT_EQ(Settings::ExportProjection, 1);
  EXPECT_EQ(Settings::ExportLayerIndex, 1);
  EXPECT_EQ(Settings::LogLevel, 3);
  EXPECT_EQ(Settings::OverWriteTip, 1);
  EXPECT_EQ(Settings::FinishBeep, 1);
  EXPECT_EQ(Settings::AffixType, 1);
  EXPECT_EQ(Settings::Pntfix, L"T");
  EXPECT_EQ(Settings::SymbolFontName, L"ESRI Default Marker");
}

TEST_F(SettingsStoreTest, EverySettingSurvivesARoundTrip) {
  QTemporaryDir dir;
  const QString file = dir.filePath("store.ini");
  Settings::WorkPath = L"/数据/工作";
  Settings::OutPath = L"";  // empty: next to each source, not the default folder
  Settings::LibPath = L"/slib";
  Settings::ExportEmptyFile = 1;
  Settings::ViewLogFile = 1;
  Settings::LogLevel = 0;
  Settings::SymbolType = 4;
  Settings::ColorModel = 2;
  Settings::RotateType = 1;
  Settings::ExportProjection = 2;
  Settings::Annofix = L"注";
  Settings::Nodefix = L"";
  {
    QSettings store(file, QSettings::IniFormat);
    SaveSettings(store);
  }
  Settings::ResetToDefaults(L"/other", L"/other");
  QSettings store(file, QSettings::IniFormat);
  EXPECT_EQ(store.value("Styles/SymbolType").toInt(), 4);  // groups are the sections
  LoadSettings(store, "/appdata", "/program");
  EXPECT_EQ(Settings::WorkPath, L"/数据/工作");
  EXPECT_EQ(Settings::OutPath, L"");
  EXPECT_EQ(Settings::LibPath, L"/slib");
  EXPECT_EQ(Settings::ExportEmptyFile, 1);
  EXPECT_EQ(Settings::ViewLogFile, 1);
  EXPECT_EQ(Settings::LogLevel, 0);
  EXPECT_EQ(Settings::SymbolType, 4);
  EXPECT_EQ(Settings::ColorModel, 2);
  EXPECT_EQ(Settings::RotateType, 1);
  EXPECT_EQ(Settings::ExportProjection, 2);
  EXPECT_EQ(Settings::Annofix, L"注");
  EXPECT_EQ(Settings::Nodefix, L"");
}

TEST_F(SettingsStoreTest, LogPathIsWrittenButNeverReadBack) {
  QTemporaryDir dir;
  QSettings store(dir.filePath("log.ini"), QSettings::IniFormat);
  store.setValue("FilePath/LogPath", "/by/hand");
  store.setValue("Styles/SymbolType", 9);          // out of range: kept for its readers
  store.setValue("General/LogLevel", "loud");       // not a number: the default
  LoadSettings(store, "", "");
  EXPECT_EQ(Settings::LogPath, L"");
  EXPECT_EQ(Settings::SymbolType, 9);
  EXPECT_EQ(Settings::LogLevel, 3);
  SaveSettings(store);
  EXPECT_TRUE(store.contains("FilePath/LogPath"));
  EXPECT_EQ(store.value("FilePath/LogPath").toString(), "");
}

// "转换完成后自动删除结果中的空文件" is ticked when ExportEmptyFile is 0.
TEST_F(SettingsStoreTest, SettingsDialogEditsTheSettingsOnOk) {
  Settings::ExportEmptyFile = 0;
  Settings::OverWriteTip = 5;  // a stored value the box does not change is kept
  {
    SettingsDialog dialog;
    ASSERT_EQ(dialog.windowTitle(), QStringLiteral("高级设置"));
    CPageGeneral* general = dialog.GeneralPage();
    EXPECT_TRUE(general->DeleteEmptyBox()->isChecked());
    EXPECT_TRUE(general->OverwriteTipBox()->isChecked());
    general->DeleteEmptyBox()->setChecked(false);
    general->ViewLogBox()->setChecked(true);
    general->WorkPathField()->SetText("/work");
    dialog.AffixPage()->Field(QStringLiteral("弧段标识:"))->setText("ARC");
    dialog.AffixPage()->Position()->button(2)->setChecked(true);
    dialog.ModelPage()->ColourModels()->button(1)->setChecked(true);
    dialog.ModelPage()->AngleModels()->button(1)->setChecked(true);
    dialog.accept();
  }
  EXPECT_EQ(Settings::ExportEmptyFile, 1);
  EXPECT_EQ(Settings::OverWriteTip, 5);
  EXPECT_EQ(Settings::ViewLogFile, 1);
  EXPECT_EQ(Settings::WorkPath, L"/work");
  EXPECT_EQ(Settings::Arcfix, L"ARC");
  EXPECT_EQ(Settings::AffixType, 2);
  EXPECT_EQ(Settings::ColorModel, 1);
  EXPECT_EQ(Settings::RotateType, 1);

  {
    SettingsDialog dialog;
    EXPECT_FALSE(dialog.GeneralPage()->DeleteEmptyBox()->isChecked());
    dialog.GeneralPage()->DeleteEmptyBox()->setChecked(true);
    dialog.AffixPage()->Field(QStringLiteral("点标识:"))->setText("Q");
    dialog.reject();
  }
  EXPECT_EQ(Settings::ExportEmptyFile, 1);  // cancelled: nothing changes
  EXPECT_EQ(Settings::Pntfix, L"T");
}

}  // namespace
