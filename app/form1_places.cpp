// Where the main window works: the folder it is opened on or that is dropped on it, and the lock
// it shares there with other Wadwright windows.
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>

#include "file_list_box.h"
#include "form1.h"
#include "message_box.h"
#include "start_place.h"

void Form1::openPlace(const StartPlace& place) {
  if (busy()) return;
  if (!place.problem.isEmpty()) {
    showMessage(this, place.problem);
    return;
  }
  if (!QDir::setCurrent(place.folder)) {
    showMessage(this, "I cannot work in the folder '" + place.folder + "'.");
    return;
  }
  setWorkingFolder(QDir::currentPath());
  File1->refresh();
  identifiedName_.clear();
  ResetDisplay();
  if (place.file.isEmpty()) return;
  File1->setSelectedName(place.file);  // identified as if it had been clicked
  if (File1->selectedName() != place.file)
    showMessage(this, "'" + place.file + "' is not in the list: only ordinary files whose names end in .wad are IWADs.");
}

bool Form1::busy() const { return identification_.running || runningCommand_ || !File1->isEnabled(); }

void Form1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !busy()) event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
  if (busy()) return;  // the drop changes nothing while a tool runs
  event->acceptProposedAction();
  QList<QUrl> urls = event->mimeData()->urls();
  QStringList folders;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) {
      showMessage(this, "I can only open files and folders of this computer, not '" + url.toDisplayString() + "'.");
      return;
    }
    QFileInfo dropped(url.toLocalFile());
    folders << (dropped.isDir() ? dropped.absoluteFilePath() : dropped.absolutePath());
  }
  folders.removeDuplicates();
  if (urls.size() == 1) openPlace(placeOf(urls.front().toLocalFile()));
  else if (folders.size() == 1) openPlace(placeOf(folders.front()));
  else showMessage(this, "Please drop one IWAD, or files of one folder, or one folder.");
}

bool Form1::waitForFolder(platform::FolderLock& lock) {
  if (lock.tryLock()) return true;
  // Another Wadwright works in this folder: wait for it, responsive, as for a tool.
  bool locked = false;
  QEventLoop wait;
  QTimer poll;
  connect(&poll, &QTimer::timeout, &wait, [&] {
    locked = lock.tryLock();
    if (locked || identification_.superseded || closing_) wait.quit();
  });
  poll.start(50);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  wait.exec();
  QApplication::restoreOverrideCursor();
  return locked;
}
