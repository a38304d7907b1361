#pragma once

#include <QString>

class QWidget;

/// A modal message with an OK button only, no icon, titled with the program's title, and
/// `details` behind its "Show Details..." button when there are any. Returns when the user has
/// closed it.
void showMessage(QWidget* parent, const QString& text, const QString& details = QString());
