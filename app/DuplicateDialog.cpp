#include "DuplicateDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ConvertHost.h"

DuplicateDialog::DuplicateDialog(const QString& name, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("重名文件"));
  setModal(true);

  auto* icon = new QLabel(this);
  const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(size, size));
  auto* text = new QLabel(QStringLiteral("输出目录下已经包含同名文件,覆盖该文件？"), this);
  // The clashing result, so the person knows which file is meant.
  auto* file = new QLabel(name, this);
  file->setTextInteractionFlags(Qt::TextSelectableByMouse);
  file->setWordWrap(true);

  rename_ = new QPushButton(QStringLiteral("自动改名"), this);
  overwrite_ = new QPushButton(QStringLiteral("覆盖"), this);
  skip_ = new QPushButton(QStringLiteral("跳过"), this);
  stop_ = new QPushButton(QStringLiteral("终止"), this);
  allLater_ = new QCheckBox(QStringLiteral("后续所有冲突都执行此操作"), this);
  for (QPushButton* b : {rename_, overwrite_, skip_, stop_}) b->setAutoDefault(false);

  connect(rename_, &QPushButton::clicked, this, [this] { Answer(ConvertHost::kRenameThis, true); });
  connect(overwrite_, &QPushButton::clicked, this, [this] { Answer(ConvertHost::kOverwriteThis, true); });
  connect(skip_, &QPushButton::clicked, this, [this] { Answer(ConvertHost::kSkipThis, true); });
  connect(stop_, &QPushButton::clicked, this, [this] { Answer(ConvertHost::kStopBatch, false); });

  auto* texts = new QVBoxLayout;
  texts->addWidget(text);
  texts->addWidget(file);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(texts, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {rename_, overwrite_, skip_, stop_}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(allLater_);
  layout->addLayout(buttons);
}

void DuplicateDialog::Answer(int code, bool countsAllLater) {
  done(countsAllLater && allLater_->isChecked() ? code + 1 : code);
}
