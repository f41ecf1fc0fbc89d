#include "MessageDisplay.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "DuplicateDialog.h"

namespace {

QMessageBox::Icon BoxIcon(ConvertHost::Icon icon) {
  switch (icon) {
    case ConvertHost::Icon::Information: return QMessageBox::Information;
    case ConvertHost::Icon::Warning: return QMessageBox::Warning;
    case ConvertHost::Icon::Error: return QMessageBox::Critical;
    case ConvertHost::Icon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

class WidgetMessages : public MessageDisplay {
 public:
  void Show(QWidget* parent, const QString& text, const QString& caption, ConvertHost::Icon icon) override {
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
  }

  bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) override {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
  }

  int AskDuplicate(QWidget* parent, const QString& name) override {
    DuplicateDialog dialog(name, parent);
    return dialog.exec();
  }
};

WidgetMessages g_widgetMessages;
MessageDisplay* g_messages = &g_widgetMessages;

}  // namespace

MessageDisplay& Messages() { return *g_messages; }

void SetMessages(MessageDisplay* display) { g_messages = display ? display : &g_widgetMessages; }
