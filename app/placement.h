#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>

/// Where a control stands in its parent, in pixels, as the windows were designed.
struct Place {
  int left, top, width, height;
};

inline void place(QWidget* widget, const Place& at) { widget->setGeometry(at.left, at.top, at.width, at.height); }

inline QLabel* placedLabel(QWidget* parent, const QString& caption, const Place& at) {
  auto* created = new QLabel(caption, parent);
  place(created, at);
  return created;
}

inline QPushButton* placedButton(QWidget* parent, const QString& caption, const Place& at) {
  auto* created = new QPushButton(caption, parent);
  place(created, at);
  return created;
}
