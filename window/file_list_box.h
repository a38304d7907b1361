#pragma once

#include <QListWidget>
#include <QString>

/// What an empty list shows in grey.
inline constexpr const char* kEmptyHint = "No .wad files in this folder. Drop an IWAD or a folder here.";

/// Lists the ordinary files of one folder whose names match a pattern (letter case ignored, as
/// on the systems these game files come from), sorted as a file manager sorts them. A name's
/// control characters are shown as pictures; the real name is what is selected.
class FileListBox : public QListWidget {
  Q_OBJECT
 public:
  FileListBox(QWidget* parent, const QString& folder, const QString& pattern);

  /// Reads the folder again; no entry is selected afterwards.
  void refresh();

  /// The selected file's name without a folder, or an empty text when none is selected.
  QString selectedName() const;
  /// The names listed, in list order.
  QStringList names() const;
  /// Selects the entry with this name; an empty or unknown name selects nothing.
  void setSelectedName(const QString& name);

  /// IWADs found elsewhere on this computer, which an empty list names; a click on it, or Enter or
  /// Space while it has the focus, opens the first. None: the list only says what to do.
  void setFoundIwads(const QStringList& paths);
  /// What an empty list says; a screen reader reads it as the list's description.
  QString emptyHint() const;

 signals:
  /// The selection changed, by any means (a mouse button, a drag, the keyboard, a click on
  /// nothing), or the selected entry was clicked again.
  void selectionChosen();
  /// The empty list was clicked, or Enter pressed on it, while it named IWADs found elsewhere:
  /// the first of them.
  void foundIwadChosen(const QString& path);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void showHint();

  static constexpr int kNameRole = Qt::UserRole;  // the real name; the text shows control characters

  QString folder_;
  QString pattern_;
  QStringList foundIwads_;
  bool pressChangedSelection_ = false;
};
