#pragma once
// Wizard page "空间参数": whether and how a spatial reference is written.
#include <QWizardPage>

class QButtonGroup;
class QRadioButton;

class CPageProjection : public QWizardPage {
  Q_OBJECT
 public:
  explicit CPageProjection(QWidget* parent = nullptr);

  void initializePage() override;
  // Next: the choice (0 none, 1 source scale and units, 2 standard) becomes ExportProjection.
  bool validatePage() override;

  QRadioButton* Choice(int mode) const;

 private:
  QButtonGroup* choices_;
};
