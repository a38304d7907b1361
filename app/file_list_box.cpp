#include "file_list_box.h"

#include <QCollator>
#include <QDir>
#include <QKeyEvent>
#include <algorithm>

FileListBox::FileListBox(QWidget* parent, const QString& folder, const QString& pattern)
    : QListWidget(parent), folder_(folder), pattern_(pattern) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemClicked, this, &FileListBox::fileClicked);
  refresh();
}

void FileListBox::refresh() {
  // Without QDir::CaseSensitive the pattern ignores letter case: DOOM2.WAD is listed too.
  QStringList names = QDir(folder_).entryList({pattern_}, QDir::Files);
  QCollator collator;
  collator.setNumericMode(true);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(names.begin(), names.end(), collator);
  clear();
  addItems(names);
  setCurrentRow(-1);
}

QString FileListBox::selectedName() const {
  QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.front()->text();
}

void FileListBox::setSelectedName(const QString& name) {
  clearSelection();
  setCurrentRow(-1);
  QList<QListWidgetItem*> matches = findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (!name.isEmpty() && !matches.isEmpty()) setCurrentItem(matches.front());
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
  int before = currentRow();
  QListWidget::keyPressEvent(event);
  if (currentRow() != before && currentRow() >= 0) emit fileClicked();
}
