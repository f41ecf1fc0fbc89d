#pragma once
// Wizard page "输出": results into a chosen folder or next to each source,
// as shapefiles or GeoPackages.
#include <QWizardPage>

class FolderField;
class QComboBox;
class QRadioButton;

class CPageOutput : public QWizardPage {
  Q_OBJECT
 public:
  explicit CPageOutput(QWidget* parent = nullptr);

  void initializePage() override;
  // Finish: a chosen folder must be given and must exist; it becomes the
  // output folder, or the output folder becomes empty (next to each source).
  bool validatePage() override;

  QRadioButton* ToFolderButton() const { return toFolder_; }
  QRadioButton* ToSourceButton() const { return toSource_; }
  FolderField* PathField() const { return path_; }
  // "输出格式": 0 Shapefile, 1 GeoPackage (the OutputFormat setting).
  QComboBox* FormatBox() const { return format_; }

 private:
  void UpdateEnabled();

  QRadioButton* toFolder_;
  QRadioButton* toSource_;
  FolderField* path_;
  QComboBox* format_;
  QRadioButton* ansi_;
  QRadioButton* utf8_;
};
