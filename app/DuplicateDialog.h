#pragma once
// The question asked when a result of the same name exists already. Each
// button ends the dialog with its answer code: "跳过" 12, "覆盖" 14,
// "自动改名" 17, one more when the box for all later clashes is ticked,
// "终止" 16 whatever the box. Closing the dialog gives 0.
#include <QDialog>

class QCheckBox;
class QPushButton;

class DuplicateDialog : public QDialog {
  Q_OBJECT
 public:
  explicit DuplicateDialog(const QString& name, QWidget* parent = nullptr);

  QPushButton* RenameButton() const { return rename_; }
  QPushButton* OverwriteButton() const { return overwrite_; }
  QPushButton* SkipButton() const { return skip_; }
  QPushButton* StopButton() const { return stop_; }
  QCheckBox* AllLaterBox() const { return allLater_; }

 private:
  void Answer(int code, bool countsAllLater);

  QPushButton* rename_;
  QPushButton* overwrite_;
  QPushButton* skip_;
  QPushButton* stop_;
  QCheckBox* allLater_;
};
