#pragma once
// Wizard page of file splitting: polygon arcs, network nodes and point
// annotations into separate files, and projects as a layer index.
#include <QWizardPage>

class QCheckBox;

class CPageSplit : public QWizardPage {
  Q_OBJECT
 public:
  explicit CPageSplit(QWidget* parent = nullptr);

  void initializePage() override;
  // Next: stores the four flags.
  bool validatePage() override;

  QCheckBox* PolyArcBox() const { return polyArc_; }
  QCheckBox* NetNodeBox() const { return netNode_; }
  QCheckBox* AnnotationBox() const { return annotation_; }
  QCheckBox* LayerIndexBox() const { return layerIndex_; }

 private:
  QCheckBox* polyArc_;
  QCheckBox* netNode_;
  QCheckBox* annotation_;
  QCheckBox* layerIndex_;
};
