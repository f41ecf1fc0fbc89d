#pragma once
// A folder path field with a "..." button that picks a folder.
#include <QWidget>

class QLineEdit;
class QToolButton;

class FolderField : public QWidget {
  Q_OBJECT
 public:
  explicit FolderField(QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  QLineEdit* Edit() const { return edit_; }
  QToolButton* BrowseButton() const { return browse_; }

 private:
  QLineEdit* edit_;
  QToolButton* browse_;
};
