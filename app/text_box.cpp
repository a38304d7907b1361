#include "text_box.h"

#include "placement.h"

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  keepFrameVisible(this);
}

void TextBox::setText(const QString& text) {
  text_ = text;
  QString shown = text;
  shown.replace("\r\n", "\n");
  setPlainText(shown);
}
