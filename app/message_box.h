#pragma once

class QString;
class QWidget;

/// A modal message with an OK button only, no icon, titled with the program's title. Returns
/// when the user has closed it.
void showMessage(QWidget* parent, const QString& text);
