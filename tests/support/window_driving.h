#pragma once

// Driving the main window as a user does, on Linux and on Windows.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "window/file_list_box.h"
#include "window/form1.h"

/// Handles what is pending, and what the window posts while it handles that.
inline void settle() {
  for (int round = 0; round < 5; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

/// Clicks the list's entry `name`; returns when the window has handled the click.
inline void clickEntry(Form1& form, const QString& name, Qt::MouseButton button = Qt::LeftButton) {
  QList<QListWidgetItem*> items = form.File1->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  ASSERT_EQ(items.size(), 1) << name.toStdString();
  QTest::mouseClick(form.File1->viewport(), button, {}, form.File1->visualItemRect(items.front()).center());
  settle();
}
