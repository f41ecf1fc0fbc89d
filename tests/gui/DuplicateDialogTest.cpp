// The duplicate-name question and its answer codes.
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include "DuplicateDialog.h"
#include "GuiTestSupport.h"

namespace {

using DuplicateDialogTest = GuiTest;

int Answer(QPushButton* (DuplicateDialog::*button)() const, bool allLater) {
  DuplicateDialog dialog("/out/a.shp");
  dialog.AllLaterBox()->setChecked(allLater);
  QTimer::singleShot(0, &dialog, [&] { (dialog.*button)()->click(); });
  return dialog.exec();
}

TEST_F(DuplicateDialogTest, EachButtonEndsWithItsCode) {
  EXPECT_EQ(Answer(&DuplicateDialog::SkipButton, false), 12);
  EXPECT_EQ(Answer(&DuplicateDialog::SkipButton, true), 13);
  EXPECT_EQ(Answer(&DuplicateDialog::OverwriteButton, false), 14);
  EXPECT_EQ(Answer(&DuplicateDialog::OverwriteButton, true), 15);
  EXPECT_EQ(Answer(&DuplicateDialog::RenameButton, false), 17);
  EXPECT_EQ(Answer(&DuplicateDialog::RenameButton, true), 18);
  EXPECT_EQ(Answer(&DuplicateDialog::StopButton, false), 16);
  EXPECT_EQ(Answer(&DuplicateDialog::StopButton, true), 16);
}

TEST_F(DuplicateDialogTest, ClosingWithoutAnAnswerGivesZero) {
  DuplicateDialog dialog("/out/a.shp");
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("重名文件"));
  EXPECT_EQ(dialog.AllLaterBox()->text(), QStringLiteral("后续所有冲突都执行此操作"));
  dialog.AllLaterBox()->setChecked(true);
  QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
  EXPECT_EQ(dialog.exec(), 0);
}

}  // namespace
