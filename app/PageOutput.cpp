#include "PageOutput.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ConvertHost.h"
#include "FolderField.h"
#include "MessageDisplay.h"
#include "SettingsStore.h"

CPageOutput::CPageOutput(QWidget* parent) : QWizardPage(parent) {
  setTitle(QStringLiteral("输出"));

  toFolder_ = new QRadioButton(QStringLiteral("输出到指定目录"), this);
  toSource_ = new QRadioButton(QStringLiteral("输出到原文件目录"), this);
  auto* where = new QButtonGroup(this);
  where->addButton(toFolder_);
  where->addButton(toSource_);
  path_ = new FolderField(this);
  auto* pathLabel = new QLabel(QStringLiteral("指定路径:"), this);
  format_ = new QComboBox(this);
  format_->addItem(QStringLiteral("Shapefile (*.shp)"));
  format_->addItem(QStringLiteral("GeoPackage (*.gpkg)"));
  auto* formatLabel = new QLabel(QStringLiteral("输出格式"), this);

  // The encoding choice is kept but hidden: every run writes ANSI tables.
  ansi_ = new QRadioButton(QStringLiteral("ANSI——默认编码格式，所有平台通用"), this);
  utf8_ = new QRadioButton(QStringLiteral("UTF-8——ArcGIS 10.2.1以后缺省编码格式"), this);
  auto* encoding = new QButtonGroup(this);
  encoding->addButton(ansi_);
  encoding->addButton(utf8_);
  ansi_->setChecked(true);
  ansi_->setVisible(false);
  utf8_->setVisible(false);

  auto* grid = new QGridLayout;
  grid->addWidget(toFolder_, 0, 0, 1, 2);
  grid->addWidget(pathLabel, 1, 0);
  grid->addWidget(path_, 1, 1);
  grid->addWidget(toSource_, 2, 0, 1, 2);
  grid->addWidget(formatLabel, 3, 0);
  grid->addWidget(format_, 3, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(ansi_);
  layout->addWidget(utf8_);
  layout->addStretch(1);

  connect(toFolder_, &QRadioButton::toggled, this, &CPageOutput::UpdateEnabled);
}

void CPageOutput::UpdateEnabled() { path_->setEnabled(toFolder_->isChecked()); }

void CPageOutput::initializePage() {
  const QString out = QString::fromStdWString(AppSettings().OutPath);
  path_->SetText(out);
  (out.isEmpty() ? toSource_ : toFolder_)->setChecked(true);
  format_->setCurrentIndex(AppSettings().OutputFormat == kFormatGeoPackage ? 1 : 0);
  UpdateEnabled();
}

bool CPageOutput::validatePage() {
  AppSettings().OutputFormat = format_->currentIndex() == 1 ? kFormatGeoPackage : kFormatShapefile;
  if (toSource_->isChecked()) {
    AppSettings().OutPath.clear();
    return true;
  }
  const QString path = path_->Text().trimmed();
  if (path.isEmpty()) {
    Messages().Show(this, QStringLiteral("输出路径不能为空"), QStringLiteral("注意"), ConvertHost::Icon::Warning);
    return false;
  }
  const QFileInfo info(path);
  if (!info.isDir()) {
    Messages().Show(this, QStringLiteral("输出路径不存在，请重新输出"), QStringLiteral("注意"),
                    ConvertHost::Icon::Warning);
    return false;
  }
  AppSettings().OutPath = QDir::cleanPath(info.absoluteFilePath()).toStdWString();
  return true;
}
