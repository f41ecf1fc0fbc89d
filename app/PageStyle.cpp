#include "PageStyle.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ConvertHost.h"
#include "FolderField.h"
#include "MessageDisplay.h"
#include "SettingsStore.h"

CPageStyle::CPageStyle(QWidget* parent) : QWizardPage(parent) {
  setTitle(QStringLiteral("图元参数"));
  static const char* const kChoices[6] = {
      "不输出图元参数信息",
      "图元参数信息【压缩编码】保存到属性表",
      "图元参数信息【原始格式】保存到属性表",
      "图元参数信息【明码格式】保存到属性表",
      "图元参数信息保存为ArcView 3图例文件(*.avl)",
      "图元参数信息保存为MapGIS 6.x图例板文件(*.cln)",
  };
  library_ = new FolderField(this);
  auto* libraryRow = new QHBoxLayout;
  libraryRow->addWidget(new QLabel(QStringLiteral("系统库目录:"), this));
  libraryRow->addWidget(library_, 1);

  auto* group = new QGroupBox(QStringLiteral("图元参数输出方式"), this);
  auto* groupLayout = new QVBoxLayout(group);
  choices_ = new QButtonGroup(this);
  for (int i = 0; i < 6; ++i) {
    auto* radio = new QRadioButton(QString::fromUtf8(kChoices[i]), group);
    choices_->addButton(radio, i);
    groupLayout->addWidget(radio);
  }
  // The legend-board output is not offered.
  Choice(5)->setVisible(false);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(libraryRow);
  layout->addWidget(group);
  layout->addStretch(1);

  connect(choices_, &QButtonGroup::idToggled, this, [this](int, bool) { UpdateEnabled(); });
}

QRadioButton* CPageStyle::Choice(int mode) const { return qobject_cast<QRadioButton*>(choices_->button(mode)); }

void CPageStyle::UpdateEnabled() { library_->setEnabled(choices_->checkedId() > 0); }

void CPageStyle::initializePage() {
  library_->SetText(QString::fromStdWString(AppSettings().LibPath));
  const int mode = AppSettings().SymbolType;
  if (QRadioButton* r = Choice(mode >= 0 && mode <= 5 ? mode : 0)) r->setChecked(true);
  UpdateEnabled();
}

bool CPageStyle::validatePage() {
  const int mode = choices_->checkedId();
  const QString library = library_->Text().trimmed();
  if (mode > 0) {
    if (library.isEmpty()) {
      Messages().Show(this, QStringLiteral("符号库不能为空"), QStringLiteral("注意"), ConvertHost::Icon::Warning);
      return false;
    }
    if (!QFileInfo(library).isDir()) {
      Messages().Show(this, QStringLiteral("符号库文件不存在，请重新输出"), QStringLiteral("注意"),
                      ConvertHost::Icon::Warning);
      return false;
    }
  }
  if (mode >= 0) AppSettings().SymbolType = mode;
  AppSettings().LibPath = library.toStdWString();
  return true;
}
