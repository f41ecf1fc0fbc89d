#include "PageProjection.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "SettingsStore.h"

CPageProjection::CPageProjection(QWidget* parent) : QWizardPage(parent) {
  setTitle(QStringLiteral("空间参数"));
  static const char* const kChoices[3][2] = {
      {"不输出空间参考信息（适用用户自定义坐标系）", "保持MapGIS原有坐标范围，不输出投影文件。"},
      {"使用原始比例和坐标单位", "保持原始MapGIS文件比例尺和坐标单位，生成兼容投影文件。"},
      {"生成标准空间参考信息（推荐！原文件必须包含正确投影坐标）",
       "自动将原始MapGIS文件比例尺转换为1：1，坐标单位改为米，生成\n标准ArcGIS投影文件。"},
  };
  auto* group = new QGroupBox(QStringLiteral("空间参考输出方式"), this);
  auto* groupLayout = new QVBoxLayout(group);
  choices_ = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(QString::fromUtf8(kChoices[i][0]), group);
    auto* text = new QLabel(QString::fromUtf8(kChoices[i][1]), group);
    text->setIndent(20);
    choices_->addButton(radio, i);
    groupLayout->addWidget(radio);
    groupLayout->addWidget(text);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch(1);
}

QRadioButton* CPageProjection::Choice(int mode) const { return qobject_cast<QRadioButton*>(choices_->button(mode)); }

void CPageProjection::initializePage() {
  const int mode = AppSettings().ExportProjection;
  if (QRadioButton* r = Choice(mode >= 0 && mode <= 2 ? mode : 1)) r->setChecked(true);
}

bool CPageProjection::validatePage() {
  const int mode = choices_->checkedId();
  if (mode >= 0) AppSettings().ExportProjection = mode;
  return true;
}
