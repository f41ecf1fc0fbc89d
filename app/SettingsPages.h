#pragma once
// The three pages of the advanced settings: general options, type affixes
// and the colour and angle models. Each shows the settings in memory when
// built and writes them back in Apply.
#include <QWidget>

class FolderField;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QSpinBox;

class CPageGeneral : public QWidget {
  Q_OBJECT
 public:
  explicit CPageGeneral(QWidget* parent = nullptr);
  void Apply();

  QCheckBox* OverwriteTipBox() const { return overwriteTip_; }
  // Ticked when empty results are deleted, that is when ExportEmptyFile is 0.
  QCheckBox* DeleteEmptyBox() const { return deleteEmpty_; }
  QCheckBox* ViewLogBox() const { return viewLog_; }
  QCheckBox* FinishBeepBox() const { return finishBeep_; }
  // ExportStyleFile: .qml/.sld beside each result with geometry.
  QCheckBox* StyleFileBox() const { return styleFile_; }
  // PrjEpsg: a projection that matches an EPSG system is written as that system.
  QCheckBox* PrjEpsgBox() const { return prjEpsg_; }
  FolderField* WorkPathField() const { return workPath_; }
  // "同时转换文件数": 1 to the number of processors.
  QSpinBox* JobsBox() const { return jobs_; }

 private:
  QCheckBox* overwriteTip_;
  QCheckBox* deleteEmpty_;
  QCheckBox* viewLog_;
  QCheckBox* finishBeep_;
  QCheckBox* styleFile_;
  QCheckBox* prjEpsg_;
  FolderField* workPath_;
  QSpinBox* jobs_;
};

class CPageAffix : public QWidget {
  Q_OBJECT
 public:
  explicit CPageAffix(QWidget* parent = nullptr);
  void Apply();

  QButtonGroup* Position() const { return position_; }
  // The affix field of a label such as "点标识:"; null for an unknown label.
  QLineEdit* Field(const QString& label) const;

 private:
  QButtonGroup* position_;
  QList<QPair<QString, QLineEdit*>> fields_;
};

class CPageModel : public QWidget {
  Q_OBJECT
 public:
  explicit CPageModel(QWidget* parent = nullptr);
  void Apply();

  QButtonGroup* ColourModels() const { return colour_; }
  QButtonGroup* AngleModels() const { return angle_; }

 private:
  QButtonGroup* colour_;
  QButtonGroup* angle_;
};
