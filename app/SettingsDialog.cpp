#include "SettingsDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "SettingsPages.h"

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("高级设置"));
  pages_ = new QTabWidget(this);
  general_ = new CPageGeneral(pages_);
  affix_ = new CPageAffix(pages_);
  model_ = new CPageModel(pages_);
  pages_->addTab(general_, QStringLiteral("常规设置"));
  pages_->addTab(affix_, QStringLiteral("类型标识"));
  pages_->addTab(model_, QStringLiteral("参数模型"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(buttons);
}

void SettingsDialog::accept() {
  general_->Apply();
  affix_->Apply();
  model_->Apply();
  QDialog::accept();
}
