// The wizard of each mode and the checks of its pages.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QComboBox>
#include <QTemporaryDir>

#include "SettingsStore.h"
#include "FolderField.h"
#include "GuiTestSupport.h"
#include "PageOutput.h"
#include "PageProjection.h"
#include "PageSplit.h"
#include "PageStyle.h"
#include "WizShapeDlg.h"

namespace {

using WizardTest = GuiTest;

TEST_F(WizardTest, EachModeHasItsPagesInOrder) {
  CWizShapeDlg quick(ConvertMode::Quick);
  EXPECT_EQ(quick.windowTitle(), QStringLiteral("格式转换"));
  EXPECT_EQ(quick.pageIds().size(), 1);
  EXPECT_EQ(quick.page(quick.pageIds()[0]), quick.OutputPage());

  CWizShapeDlg labels(ConvertMode::Annotation);
  ASSERT_EQ(labels.pageIds().size(), 3);
  EXPECT_EQ(labels.page(labels.pageIds()[0]), labels.ProjectionPage());
  EXPECT_EQ(labels.page(labels.pageIds()[1]), labels.StylePage());
  EXPECT_EQ(labels.page(labels.pageIds()[2]), labels.OutputPage());
  EXPECT_EQ(labels.SplitPage(), nullptr);

  CWizShapeDlg advanced(ConvertMode::Advanced);
  ASSERT_EQ(advanced.pageIds().size(), 4);
  EXPECT_EQ(advanced.page(advanced.pageIds()[2]), advanced.SplitPage());
  EXPECT_EQ(advanced.page(advanced.pageIds()[3]), advanced.OutputPage());
}

TEST_F(WizardTest, OutputPageChecksTheFolderOnFinish) {
  RecordingMessages messages;
  QTemporaryDir dir;
  CPageOutput page;

  // An empty stored folder preselects output next to the sources.
  page.initializePage();
  EXPECT_TRUE(page.ToSourceButton()->isChecked());
  EXPECT_FALSE(page.PathField()->isEnabled());

  page.ToFolderButton()->setChecked(true);
  EXPECT_TRUE(page.PathField()->isEnabled());
  page.PathField()->SetText("");
  EXPECT_FALSE(page.validatePage());
  page.PathField()->SetText(dir.filePath("missing"));
  EXPECT_FALSE(page.validatePage());
  page.PathField()->SetText(WriteBytes(dir, "plain.txt", 3));  // a file is no folder
  EXPECT_FALSE(page.validatePage());
  ASSERT_EQ(messages.boxes.size(), 3u);
  EXPECT_EQ(messages.boxes[0].text, QStringLiteral("输出路径不能为空"));
  EXPECT_EQ(messages.boxes[1].text, QStringLiteral("输出路径不存在，请重新输出"));
  EXPECT_EQ(messages.boxes[2].text, QStringLiteral("输出路径不存在，请重新输出"));
  for (const auto& b : messages.boxes) EXPECT_EQ(b.caption, QStringLiteral("注意"));
  EXPECT_TRUE(AppSettings().OutPath.empty());

  page.PathField()->SetText(dir.path() + "/");
  EXPECT_TRUE(page.validatePage());
  EXPECT_EQ(QString::fromStdWString(AppSettings().OutPath), dir.path());

  // A stored folder is shown on the next opening; output to the sources empties it.
  page.initializePage();
  EXPECT_TRUE(page.ToFolderButton()->isChecked());
  EXPECT_EQ(page.PathField()->Text(), dir.path());
  page.ToSourceButton()->setChecked(true);
  EXPECT_TRUE(page.validatePage());
  EXPECT_TRUE(AppSettings().OutPath.empty());
  EXPECT_EQ(messages.boxes.size(), 3u);

  // "输出格式" is the stored output format, shown and kept by the page.
  EXPECT_EQ(page.FormatBox()->currentText(), QStringLiteral("Shapefile (*.shp)"));
  page.FormatBox()->setCurrentIndex(1);
  EXPECT_TRUE(page.validatePage());
  EXPECT_EQ(AppSettings().OutputFormat, kFormatGeoPackage);
  AppSettings().OutputFormat = kFormatShapefile;
  page.initializePage();
  EXPECT_EQ(page.FormatBox()->currentIndex(), 0);
}

TEST_F(WizardTest, StylePageNeedsALibraryFolderForAStyleMode) {
  RecordingMessages messages;
  QTemporaryDir dir;
  AppSettings().SymbolType = 0;
  AppSettings().LibPath = L"";
  CPageStyle page;
  page.initializePage();
  EXPECT_TRUE(page.Choice(0)->isChecked());
  EXPECT_FALSE(page.LibraryField()->isEnabled());
  EXPECT_TRUE(page.Choice(5)->isHidden());

  // Without style output the library is not needed.
  EXPECT_TRUE(page.validatePage());
  EXPECT_EQ(AppSettings().SymbolType, 0);

  page.Choice(4)->setChecked(true);
  EXPECT_TRUE(page.LibraryField()->isEnabled());
  EXPECT_FALSE(page.validatePage());
  page.LibraryField()->SetText(dir.filePath("nowhere"));
  EXPECT_FALSE(page.validatePage());
  ASSERT_EQ(messages.boxes.size(), 2u);
  EXPECT_EQ(messages.boxes[0].text, QStringLiteral("符号库不能为空"));
  EXPECT_EQ(messages.boxes[1].text, QStringLiteral("符号库文件不存在，请重新输出"));
  EXPECT_EQ(messages.boxes[1].caption, QStringLiteral("注意"));
  EXPECT_EQ(AppSettings().SymbolType, 0);

  page.LibraryField()->SetText(dir.path());
  EXPECT_TRUE(page.validatePage());
  EXPECT_EQ(AppSettings().SymbolType, 4);
  EXPECT_EQ(QString::fromStdWString(AppSettings().LibPath), dir.path());
}

// The wizard itself stays on a page whose check fails.
TEST_F(WizardTest, WizardStaysOnAFailingPage) {
  RecordingMessages messages;
  AppSettings().SymbolType = 2;
  AppSettings().LibPath = L"";
  CWizShapeDlg wizard(ConvertMode::Advanced);
  wizard.show();
  wizard.ProjectionPage()->Choice(2)->setChecked(true);
  wizard.next();
  EXPECT_EQ(AppSettings().ExportProjection, 2);
  ASSERT_EQ(wizard.currentPage(), wizard.StylePage());
  wizard.next();
  EXPECT_EQ(wizard.currentPage(), wizard.StylePage());
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, QStringLiteral("符号库不能为空"));
  wizard.StylePage()->Choice(0)->setChecked(true);
  wizard.next();
  EXPECT_EQ(wizard.currentPage(), wizard.SplitPage());
  EXPECT_EQ(AppSettings().SymbolType, 0);
}

TEST_F(WizardTest, ProjectionAndSplitPagesStoreTheirChoices) {
  CPageProjection projection;
  AppSettings().ExportProjection = 0;
  projection.initializePage();
  EXPECT_TRUE(projection.Choice(0)->isChecked());
  projection.Choice(2)->setChecked(true);
  projection.validatePage();
  EXPECT_EQ(AppSettings().ExportProjection, 2);

  CPageSplit split;
  AppSettings().ExportPolyArc = 1;
  AppSettings().ExportNetNode = 0;
  AppSettings().ExportAnnotation = 0;
  AppSettings().ExportLayerIndex = 1;
  split.initializePage();
  EXPECT_TRUE(split.PolyArcBox()->isChecked());
  EXPECT_FALSE(split.NetNodeBox()->isChecked());
  EXPECT_TRUE(split.LayerIndexBox()->isChecked());
  split.PolyArcBox()->setChecked(false);
  split.NetNodeBox()->setChecked(true);
  split.AnnotationBox()->setChecked(true);
  split.validatePage();
  EXPECT_EQ(AppSettings().ExportPolyArc, 0);
  EXPECT_EQ(AppSettings().ExportNetNode, 1);
  EXPECT_EQ(AppSettings().ExportAnnotation, 1);
  EXPECT_EQ(AppSettings().ExportLayerIndex, 1);
}

}  // namespace
