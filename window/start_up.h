#pragma once

#include <QStringList>

class Form1;
class frmSplash;

/// The start: the disclaimer first; the main window, ready and hidden, only once it is accepted,
/// and then on the folder or file named by the first of `arguments`, if any.
void startUp(Form1& form, frmSplash& disclaimer, const QStringList& arguments);
