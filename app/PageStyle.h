#pragma once
// Wizard page "图元参数": the style output mode and the MapGIS system
// library folder that holds the colour library.
#include <QWizardPage>

class FolderField;
class QButtonGroup;
class QRadioButton;

class CPageStyle : public QWizardPage {
  Q_OBJECT
 public:
  explicit CPageStyle(QWidget* parent = nullptr);

  void initializePage() override;
  // Next: a style mode needs an existing library folder; then the mode
  // becomes SymbolType and the field LibPath.
  bool validatePage() override;

  QRadioButton* Choice(int mode) const;
  FolderField* LibraryField() const { return library_; }

 private:
  void UpdateEnabled();

  FolderField* library_;
  QButtonGroup* choices_;
};
