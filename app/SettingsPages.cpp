#include "SettingsPages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "DesktopState.h"
#include "FolderField.h"
#include "SettingsStore.h"

namespace {

// A flag edited by a check box keeps its stored value unless the box changed.
void ApplyFlag(int& setting, bool wasTicked, bool ticked, int tickedValue, int clearValue) {
  if (wasTicked != ticked) setting = ticked ? tickedValue : clearValue;
}

QButtonGroup* RadioGroup(QGroupBox* box, const QStringList& texts, int checked, bool vertical) {
  auto* group = new QButtonGroup(box);
  QBoxLayout* layout = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(box)) : new QHBoxLayout(box);
  for (int i = 0; i < texts.size(); ++i) {
    auto* radio = new QRadioButton(texts[i], box);
    group->addButton(radio, i);
    layout->addWidget(radio);
  }
  if (QAbstractButton* b = group->button(checked)) b->setChecked(true);
  return group;
}

}  // namespace

CPageGeneral::CPageGeneral(QWidget* parent) : QWidget(parent) {
  overwriteTip_ = new QCheckBox(QStringLiteral("遇到文件重名时显示提示信息"), this);
  deleteEmpty_ = new QCheckBox(QStringLiteral("转换完成后自动删除结果中的空文件"), this);
  viewLog_ = new QCheckBox(QStringLiteral("转换完成后自动打开信息窗口"), this);
  finishBeep_ = new QCheckBox(QStringLiteral("转换完成后播放提示声音"), this);
  styleFile_ = new QCheckBox(QStringLiteral("输出样式文件(.qml/.sld)"), this);
  prjEpsg_ = new QCheckBox(QStringLiteral("投影文件采用EPSG坐标系"), this);
  workPath_ = new FolderField(this);

  overwriteTip_->setChecked(AppSettings().OverWriteTip != 0);
  deleteEmpty_->setChecked(AppSettings().ExportEmptyFile == 0);
  viewLog_->setChecked(AppSettings().ViewLogFile == 1);
  finishBeep_->setChecked(AppSettings().FinishBeep != 0);
  styleFile_->setChecked(AppSettings().ExportStyleFile != 0);
  prjEpsg_->setChecked(AppSettings().PrjEpsg != 0);
  workPath_->SetText(QString::fromStdWString(AppSettings().WorkPath));
  jobs_ = new QSpinBox(this);
  jobs_->setRange(1, DesktopState::MaxJobs());
  jobs_->setValue(DesktopState::Jobs());

  auto* layout = new QVBoxLayout(this);
  for (QCheckBox* b : {overwriteTip_, deleteEmpty_, viewLog_, finishBeep_, styleFile_, prjEpsg_}) layout->addWidget(b);
  auto* work = new QHBoxLayout;
  work->addWidget(new QLabel(QStringLiteral("工作目录:"), this));
  work->addWidget(workPath_, 1);
  layout->addLayout(work);
  auto* jobs = new QHBoxLayout;
  jobs->addWidget(new QLabel(QStringLiteral("同时转换文件数:"), this));
  jobs->addWidget(jobs_);
  jobs->addStretch(1);
  layout->addLayout(jobs);
  layout->addStretch(1);
}

void CPageGeneral::Apply() {
  ApplyFlag(AppSettings().OverWriteTip, AppSettings().OverWriteTip != 0, overwriteTip_->isChecked(), 1, 0);
  ApplyFlag(AppSettings().ExportEmptyFile, AppSettings().ExportEmptyFile == 0, deleteEmpty_->isChecked(), 0, 1);
  ApplyFlag(AppSettings().ViewLogFile, AppSettings().ViewLogFile == 1, viewLog_->isChecked(), 1, 0);
  ApplyFlag(AppSettings().FinishBeep, AppSettings().FinishBeep != 0, finishBeep_->isChecked(), 1, 0);
  ApplyFlag(AppSettings().ExportStyleFile, AppSettings().ExportStyleFile != 0, styleFile_->isChecked(), 1, 0);
  ApplyFlag(AppSettings().PrjEpsg, AppSettings().PrjEpsg != 0, prjEpsg_->isChecked(), 1, 0);
  AppSettings().WorkPath = workPath_->Text().toStdWString();
  DesktopState::SetJobs(jobs_->value());
}

CPageAffix::CPageAffix(QWidget* parent) : QWidget(parent) {
  auto* positionBox = new QGroupBox(QStringLiteral("标识位置:"), this);
  position_ = RadioGroup(positionBox, {QStringLiteral("无"), QStringLiteral("前缀"), QStringLiteral("后缀")},
                         AppSettings().AffixType, false);

  const QList<QPair<QString, std::wstring*>> affixes = {
      {QStringLiteral("点标识:"), &AppSettings().Pntfix},  {QStringLiteral("注记标识:"), &AppSettings().Annofix},
      {QStringLiteral("线标识:"), &AppSettings().Linfix},  {QStringLiteral("表格标识:"), &AppSettings().Wbfix},
      {QStringLiteral("面标识:"), &AppSettings().Regfix},  {QStringLiteral("弧段标识:"), &AppSettings().Arcfix},
      {QStringLiteral("网络标识:"), &AppSettings().Netfix}, {QStringLiteral("结点标识:"), &AppSettings().Nodefix},
      {QStringLiteral("工程标识:"), &AppSettings().Mpjfix},
  };
  auto* affixBox = new QGroupBox(QStringLiteral("类型标识"), this);
  auto* grid = new QGridLayout(affixBox);
  for (int i = 0; i < affixes.size(); ++i) {
    auto* edit = new QLineEdit(QString::fromStdWString(*affixes[i].second), affixBox);
    edit->setProperty("setting", QVariant::fromValue(static_cast<void*>(affixes[i].second)));
    fields_.append({affixes[i].first, edit});
    grid->addWidget(new QLabel(affixes[i].first, affixBox), i / 2, (i % 2) * 2);
    grid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(positionBox);
  layout->addWidget(affixBox);
  layout->addStretch(1);
}

QLineEdit* CPageAffix::Field(const QString& label) const {
  for (const auto& f : fields_) {
    if (f.first == label) return f.second;
  }
  return nullptr;
}

void CPageAffix::Apply() {
  if (position_->checkedId() >= 0) AppSettings().AffixType = position_->checkedId();
  for (const auto& f : fields_) {
    auto* setting = static_cast<std::wstring*>(f.second->property("setting").value<void*>());
    *setting = f.second->text().toStdWString();
  }
}

CPageModel::CPageModel(QWidget* parent) : QWidget(parent) {
  auto* colourBox = new QGroupBox(QStringLiteral("颜色表达"), this);
  colour_ = RadioGroup(colourBox,
                       {QStringLiteral("RGB颜色（24位）--------------[BBGGRR]"),
                        QStringLiteral("RGBA颜色（32位）------------[AABBGGRR]"),
                        QStringLiteral("CMYK颜色------------------------[CCMMYYKK]")},
                       AppSettings().ColorModel, true);
  auto* angleBox = new QGroupBox(QStringLiteral("角度模型"), this);
  angle_ = RadioGroup(angleBox, {QStringLiteral("数学角度"), QStringLiteral("地理角度")}, AppSettings().RotateType, true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(colourBox);
  layout->addWidget(angleBox);
  layout->addStretch(1);
}

void CPageModel::Apply() {
  if (colour_->checkedId() >= 0) AppSettings().ColorModel = colour_->checkedId();
  if (angle_->checkedId() >= 0) AppSettings().RotateType = angle_->checkedId();
}
