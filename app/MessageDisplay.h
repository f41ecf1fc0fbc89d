#pragma once
// How the program shows a message box, asks a Yes/No question or asks what
// to do with a result that exists already. One replaceable display, so that
// every dialog the program opens for a person can be answered by a script.
#include <QString>

#include "ConvertHost.h"

class QWidget;

class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  virtual void Show(QWidget* parent, const QString& text, const QString& caption, ConvertHost::Icon icon) = 0;
  virtual bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
  // The duplicate-name question: an answer code 12..18, or 0 when closed without an answer.
  virtual int AskDuplicate(QWidget* parent, const QString& name) = 0;
};

// The display in use: the widget boxes unless another one is installed.
MessageDisplay& Messages();
// Installs `display` (the caller keeps it alive); null restores the widget boxes.
void SetMessages(MessageDisplay* display);
