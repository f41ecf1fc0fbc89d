// Settings kept between runs through QSettings, and the advanced-settings dialog.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include "FolderField.h"
#include "GuiTestSupport.h"
#include "SettingsDialog.h"
#include "SettingsPages.h"
#include "SettingsStore.h"

namespace {

using SettingsStoreTest = GuiTest;

TEST_F(SettingsStoreTest, AFreshStoreGivesTheDefaults) {
  QTemporaryDir dir;
  QSettings store(dir.filePath("fresh.ini"), QSettings::IniFormat);
  AppSettings().ExportProjection = 0;
  AppSettings().Pntfix = L"X";
  LoadSettings(store, "/home/u/appdata", "/opt/gridmoor");
  EXPECT_EQ(AppSettings().WorkPath, L"/home/u/appdata");
  EXPECT_EQ(AppSettings().OutPath, L"/home/u/appdata");
  EXPECT_EQ(AppSettings().LibPath, L"/opt/gridmoor");
  EXPECT_EQ(AppSettings().ExportProjection, 1);
  EXPECT_EQ(AppSettings().ExportLayerIndex, 1);
  EXPECT_EQ(AppSettings().LogLevel, 3);
  EXPECT_EQ(AppSettings().OverWriteTip, 1);
  EXPECT_EQ(AppSettings().FinishBeep, 1);
  EXPECT_EQ(AppSettings().AffixType, 1);
  EXPECT_EQ(AppSettings().Pntfix, L"T");
  EXPECT_EQ(AppSettings().SymbolFontName, L"ESRI Default Marker");
}

TEST_F(SettingsStoreTest, EverySettingSurvivesARoundTrip) {
  QTemporaryDir dir;
  const QString file = dir.filePath("store.ini");
  AppSettings().WorkPath = L"/数据/工作";
  AppSettings().OutPath = L"";  // empty: next to each source, not the default folder
  AppSettings().LibPath = L"/slib";
  AppSettings().ExportEmptyFile = 1;
  AppSettings().ViewLogFile = 1;
  AppSettings().LogLevel = 0;
  AppSettings().SymbolType = 4;
  AppSettings().ColorModel = 2;
  AppSettings().RotateType = 1;
  AppSettings().ExportProjection = 2;
  AppSettings().Annofix = L"注";
  AppSettings().Nodefix = L"";
  {
    QSettings store(file, QSettings::IniFormat);
    SaveSettings(store);
  }
  AppSettings() = Settings::Defaults(L"/other", L"/other");
  QSettings store(file, QSettings::IniFormat);
  EXPECT_EQ(store.value("Styles/SymbolType").toInt(), 4);  // groups are the sections
  LoadSettings(store, "/appdata", "/program");
  EXPECT_EQ(AppSettings().WorkPath, L"/数据/工作");
  EXPECT_EQ(AppSettings().OutPath, L"");
  EXPECT_EQ(AppSettings().LibPath, L"/slib");
  EXPECT_EQ(AppSettings().ExportEmptyFile, 1);
  EXPECT_EQ(AppSettings().ViewLogFile, 1);
  EXPECT_EQ(AppSettings().LogLevel, 0);
  EXPECT_EQ(AppSettings().SymbolType, 4);
  EXPECT_EQ(AppSettings().ColorModel, 2);
  EXPECT_EQ(AppSettings().RotateType, 1);
  EXPECT_EQ(AppSettings().ExportProjection, 2);
  EXPECT_EQ(AppSettings().Annofix, L"注");
  EXPECT_EQ(AppSettings().Nodefix, L"");
}

TEST_F(SettingsStoreTest, LogPathIsWrittenButNeverReadBack) {
  QTemporaryDir dir;
  QSettings store(dir.filePath("log.ini"), QSettings::IniFormat);
  store.setValue("FilePath/LogPath", "/by/hand");
  store.setValue("Styles/SymbolType", 9);          // out of range: kept for its readers
  store.setValue("General/LogLevel", "loud");       // not a number: the default
  LoadSettings(store, "", "");
  EXPECT_EQ(AppSettings().LogPath, L"");
  EXPECT_EQ(AppSettings().SymbolType, 9);
  EXPECT_EQ(AppSettings().LogLevel, 3);
  SaveSettings(store);
  EXPECT_TRUE(store.contains("FilePath/LogPath"));
  EXPECT_EQ(store.value("FilePath/LogPath").toString(), "");
}

// "转换完成后自动删除结果中的空文件" is ticked when ExportEmptyFile is 0.
TEST_F(SettingsStoreTest, SettingsDialogEditsTheSettingsOnOk) {
  AppSettings().ExportEmptyFile = 0;
  AppSettings().OverWriteTip = 5;  // a stored value the box does not change is kept
  {
    SettingsDialog dialog;
    ASSERT_EQ(dialog.windowTitle(), QStringLiteral("高级设置"));
    CPageGeneral* general = dialog.GeneralPage();
    EXPECT_TRUE(general->DeleteEmptyBox()->isChecked());
    EXPECT_TRUE(general->OverwriteTipBox()->isChecked());
    general->DeleteEmptyBox()->setChecked(false);
    general->ViewLogBox()->setChecked(true);
    EXPECT_TRUE(general->StyleFileBox()->isChecked());
    EXPECT_TRUE(general->PrjEpsgBox()->isChecked());
    general->StyleFileBox()->setChecked(false);
    general->PrjEpsgBox()->setChecked(false);
    general->WorkPathField()->SetText("/work");
    dialog.AffixPage()->Field(QStringLiteral("弧段标识:"))->setText("ARC");
    dialog.AffixPage()->Position()->button(2)->setChecked(true);
    dialog.ModelPage()->ColourModels()->button(1)->setChecked(true);
    dialog.ModelPage()->AngleModels()->button(1)->setChecked(true);
    dialog.accept();
  }
  EXPECT_EQ(AppSettings().ExportEmptyFile, 1);
  EXPECT_EQ(AppSettings().OverWriteTip, 5);
  EXPECT_EQ(AppSettings().ViewLogFile, 1);
  EXPECT_EQ(AppSettings().ExportStyleFile, 0);
  EXPECT_EQ(AppSettings().PrjEpsg, 0);
  EXPECT_EQ(AppSettings().WorkPath, L"/work");
  EXPECT_EQ(AppSettings().Arcfix, L"ARC");
  EXPECT_EQ(AppSettings().AffixType, 2);
  EXPECT_EQ(AppSettings().ColorModel, 1);
  EXPECT_EQ(AppSettings().RotateType, 1);

  {
    SettingsDialog dialog;
    EXPECT_FALSE(dialog.GeneralPage()->DeleteEmptyBox()->isChecked());
    dialog.GeneralPage()->DeleteEmptyBox()->setChecked(true);
    dialog.AffixPage()->Field(QStringLiteral("点标识:"))->setText("Q");
    dialog.reject();
  }
  EXPECT_EQ(AppSettings().ExportEmptyFile, 1);  // cancelled: nothing changes
  EXPECT_EQ(AppSettings().Pntfix, L"T");
}

}  // namespace
