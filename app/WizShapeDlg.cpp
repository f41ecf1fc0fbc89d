#include "WizShapeDlg.h"

#include "PageOutput.h"
#include "PageProjection.h"
#include "PageSplit.h"
#include "PageStyle.h"

CWizShapeDlg::CWizShapeDlg(ConvertMode mode, QWidget* parent) : QWizard(parent) {
  setWindowTitle(QStringLiteral("格式转换"));
  setWizardStyle(QWizard::ClassicStyle);
  setOptions(QWizard::NoBackButtonOnStartPage | QWizard::NoDefaultButton);
  setButtonText(QWizard::BackButton, QStringLiteral("< 上一步(&B)"));
  setButtonText(QWizard::NextButton, QStringLiteral("下一步(&N) >"));
  setButtonText(QWizard::FinishButton, QStringLiteral("完成"));
  setButtonText(QWizard::CancelButton, QStringLiteral("取消"));

  if (mode != ConvertMode::Quick) {
    projection_ = new CPageProjection(this);
    style_ = new CPageStyle(this);
    addPage(projection_);
    addPage(style_);
  }
  if (mode == ConvertMode::Advanced) {
    split_ = new CPageSplit(this);
    addPage(split_);
  }
  output_ = new CPageOutput(this);
  addPage(output_);
}
