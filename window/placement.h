#pragma once

#include <QAbstractScrollArea>
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

/// The box behind a list or text box's contents is filled by the box itself, under its frame, not
/// by the contents' area: at a fractional scale (150 %) that area's edge and the frame's bottom
/// line can round to the same row of pixels, and the area would paint over the line.
inline void keepFrameVisible(QAbstractScrollArea* box) {
  box->viewport()->setAutoFillBackground(false);
  box->setBackgroundRole(box->viewport()->backgroundRole());
  box->setAutoFillBackground(true);
}
