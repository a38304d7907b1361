#pragma once

#include <QPlainTextEdit>
#include <QString>

/// A read-only, multi-line text box that keeps the exact text it was given (CR LF line breaks
/// included), which a Qt text document would turn into paragraphs.
class TextBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TextBox(QWidget* parent);

  void setText(const QString& text);
  const QString& text() const { return text_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QString text_;
};
