#include "file_list_box.h"

#include <QCollator>
#include <QDir>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>

FileListBox::FileListBox(QWidget* parent, const QString& folder, const QString& pattern)
    : QListWidget(parent), folder_(folder), pattern_(pattern) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    pressChangedSelection_ = true;
    emit selectionChosen();
  });
  // A click on the entry that is already selected changes nothing, yet asks for it again.
  connect(this, &QListWidget::itemClicked, this, [this] {
    if (!pressChangedSelection_) emit selectionChosen();
  });
  refresh();
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
  pressChangedSelection_ = false;
  QListWidget::mousePressEvent(event);
}

void FileListBox::paintEvent(QPaintEvent* event) {
  QListWidget::paintEvent(event);
  if (count() > 0) return;
  // An empty list says what to do instead of showing nothing; the hint is no entry.
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
  painter.drawText(viewport()->rect().adjusted(4, 4, -4, -4), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   kEmptyHint);
}

void FileListBox::refresh() {
  // Without QDir::CaseSensitive the pattern ignores letter case: DOOM2.WAD is listed too. Only
  // what is, or leads to, a regular file: a folder, a device or a pipe is no IWAD.
  QFileInfoList entries = QDir(folder_).entryInfoList({pattern_}, QDir::Files | QDir::System);
  QStringList names;
  for (const QFileInfo& entry : entries)
    if (entry.isFile()) names << entry.fileName();
  QCollator collator;
  collator.setNumericMode(true);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(names.begin(), names.end(), collator);
  // Reading the folder again is no choice of the user's: whoever refreshes resets the window.
  QSignalBlocker quiet(this);
  clear();
  addItems(names);
  setCurrentRow(-1);
}

QString FileListBox::selectedName() const {
  QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.front()->text();
}

void FileListBox::setSelectedName(const QString& name) {
  QList<QListWidgetItem*> matches = findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (name.isEmpty() || matches.isEmpty()) clearSelection();
  else setCurrentItem(matches.front());
}
