#include "text_box.h"

#include "placement.h"

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // The margins of a Windows edit box, which the texts were written for: none above and below,
  // a little at the sides. A document's own margin takes four pixels all round.
  document()->setDocumentMargin(0);
  setViewportMargins(2, 0, 2, 0);
  keepFrameVisible(this);
}

void TextBox::setText(const QString& text) {
  text_ = text;
  QString shown = text;
  shown.replace("\r\n", "\n");
  setPlainText(shown);
}

void TextBox::showEvent(QShowEvent* event) {
  QPlainTextEdit::showEvent(event);
  // Hidden, the box cannot tell how many lines it shows and takes a scroll bar, which narrows the
  // text until it needs the bar: decide again at the full width.
  if (verticalScrollBarPolicy() != Qt::ScrollBarAsNeeded) return;
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}
