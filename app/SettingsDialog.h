#pragma once
// The advanced settings "高级设置": the pages "常规设置", "类型标识" and
// "参数模型" in this order. OK writes every page into the settings in memory.
#include <QDialog>

class CPageAffix;
class CPageGeneral;
class CPageModel;
class QTabWidget;

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit SettingsDialog(QWidget* parent = nullptr);

  CPageGeneral* GeneralPage() const { return general_; }
  CPageAffix* AffixPage() const { return affix_; }
  CPageModel* ModelPage() const { return model_; }
  QTabWidget* Pages() const { return pages_; }

  void accept() override;

 private:
  QTabWidget* pages_;
  CPageGeneral* general_;
  CPageAffix* affix_;
  CPageModel* model_;
};
