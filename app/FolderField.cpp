#include "FolderField.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

FolderField::FolderField(QWidget* parent) : QWidget(parent) {
  edit_ = new QLineEdit(this);
  browse_ = new QToolButton(this);
  browse_->setText(QStringLiteral("..."));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_, 1);
  layout->addWidget(browse_);
  connect(browse_, &QToolButton::clicked, this, [this] {
    const QString dir = QFileDialog::getExistingDirectory(this, QString(), edit_->text());
    if (!dir.isEmpty()) edit_->setText(QDir::toNativeSeparators(dir));
  });
}

QString FolderField::Text() const { return edit_->text(); }

void FolderField::SetText(const QString& text) { edit_->setText(text); }
