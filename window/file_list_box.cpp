#include "file_list_box.h"

#include <QCollator>
#include <QDir>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>

#include "placement.h"

namespace {

// A control character is drawn as its picture (a line feed as U+240A), so that every name stays one
// line; a line or paragraph separator, or any other control, as the replacement character.
QString shownName(QString name) {
  for (QChar& c : name)
    if (c.unicode() < 0x20) c = QChar(0x2400 + c.unicode());
    else if (c.unicode() == 0x7f) c = QChar(0x2421);
    else if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
      c = QChar::ReplacementCharacter;
  return name;
}

}  // namespace

FileListBox::FileListBox(QWidget* parent, const QString& folder, const QString& pattern)
    : QListWidget(parent), folder_(folder), pattern_(pattern) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  keepFrameVisible(this);
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

void FileListBox::setFoundIwads(const QStringList& paths) {
  foundIwads_ = paths;
  showHint();
}

// The hint is painted, so a screen reader would never hear it: it is the list's description too.
void FileListBox::showHint() {
  setAccessibleDescription(count() == 0 ? emptyHint() : QString());
  viewport()->update();
}

QString FileListBox::emptyHint() const {
  if (foundIwads_.isEmpty()) return kEmptyHint;
  QStringList names;
  for (const QString& path : foundIwads_) names << QFileInfo(path).fileName();
  return QString(kEmptyHint) + "\n\nFound on this computer: " + names.join(", ") + ".\nClick here, or press Enter, to open " +
         QDir::toNativeSeparators(QFileInfo(foundIwads_.front()).path()) + ".";
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
  if (count() == 0 && !foundIwads_.isEmpty()) {
    emit foundIwadChosen(foundIwads_.front());
    return;
  }
  pressChangedSelection_ = false;
  QListWidget::mousePressEvent(event);
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
  const bool opens = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
  if (opens && count() == 0 && !foundIwads_.isEmpty()) {
    emit foundIwadChosen(foundIwads_.front());
    return;
  }
  QListWidget::keyPressEvent(event);
}

void FileListBox::paintEvent(QPaintEvent* event) {
  QListWidget::paintEvent(event);
  if (count() > 0) return;
  // An empty list says what to do instead of showing nothing; the hint is no entry.
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
  painter.drawText(viewport()->rect().adjusted(4, 4, -4, -4), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   emptyHint());
}

void FileListBox::refresh() {
  // Without QDir::CaseSensitive the pattern ignores letter case: DOOM2.WAD is listed too. Only
  // what is, or leads to, a regular file: a folder, a device or a pipe is no IWAD.
  QFileInfoList entries = QDir(folder_).entryInfoList({pattern_}, QDir::Files | QDir::System);
  QStringList names;
  for (const QFileInfo& entry : entries)
    if (entry.isFile()) names << entry.fileName();
  // One order in every locale: the C locale's collation knows neither numbers nor letter case.
  QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
  collator.setNumericMode(true);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
    int order = collator.compare(a, b);
    return order ? order < 0 : a < b;  // DOOM.WAD and doom.wad always in the same order
  });
  // Reading the folder again is no choice of the user's: whoever refreshes resets the window.
  QSignalBlocker quiet(this);
  clear();
  for (const QString& name : names) {
    auto* entry = new QListWidgetItem(shownName(name), this);
    entry->setData(kNameRole, name);
  }
  setCurrentRow(-1);
  showHint();
}

QString FileListBox::selectedName() const {
  QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.front()->data(kNameRole).toString();
}

QStringList FileListBox::names() const {
  QStringList names;
  for (int row = 0; row < count(); ++row) names << item(row)->data(kNameRole).toString();
  return names;
}

void FileListBox::setSelectedName(const QString& name) {
  QModelIndexList matches = model()->match(model()->index(0, 0), kNameRole, name, 1, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (name.isEmpty() || matches.isEmpty()) clearSelection();
  else setCurrentIndex(matches.front());
}
