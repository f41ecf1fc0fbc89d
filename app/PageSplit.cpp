#include "PageSplit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "SettingsStore.h"

CPageSplit::CPageSplit(QWidget* parent) : QWizardPage(parent) {
  setTitle(QStringLiteral("空间参数"));
  auto* group = new QGroupBox(QStringLiteral("文件分离"), this);
  polyArc_ = new QCheckBox(QStringLiteral("面文件转换时，弧段对象输出为单独文件"), group);
  netNode_ = new QCheckBox(QStringLiteral("网络文件转换时，结点对象输出为单独文件"), group);
  annotation_ = new QCheckBox(QStringLiteral("点文件转换时，子图与注记对象分别保存"), group);
  layerIndex_ = new QCheckBox(QStringLiteral("MapGIS工程文件输出为图层空间索引"), group);
  auto* groupLayout = new QVBoxLayout(group);
  for (QCheckBox* b : {polyArc_, netNode_, annotation_, layerIndex_}) groupLayout->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch(1);
}

void CPageSplit::initializePage() {
  polyArc_->setChecked(AppSettings().ExportPolyArc != 0);
  netNode_->setChecked(AppSettings().ExportNetNode != 0);
  annotation_->setChecked(AppSettings().ExportAnnotation != 0);
  layerIndex_->setChecked(AppSettings().ExportLayerIndex != 0);
}

bool CPageSplit::validatePage() {
  AppSettings().ExportPolyArc = polyArc_->isChecked() ? 1 : 0;
  AppSettings().ExportNetNode = netNode_->isChecked() ? 1 : 0;
  AppSettings().ExportAnnotation = annotation_->isChecked() ? 1 : 0;
  AppSettings().ExportLayerIndex = layerIndex_->isChecked() ? 1 : 0;
  return true;
}
