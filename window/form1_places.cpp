// Where the main window works: the folder it is opened on or that is dropped on it, and the lock
// it shares there with other Wadwright windows.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QMimeData>
#include <QSet>
#include <QTimer>

#include "file_list_box.h"
#include "form1.h"
#include "message_box.h"
#include "platform/native_names.h"
#include "start_place.h"

void Form1::openPlace(const StartPlace& place) {
  if (busy()) return;
  if (!place.problem.isEmpty()) {
    showMessage(this, place.problem);
    return;
  }
  if (!platform::enterNativeFolder(place.folder)) {
    showMessage(this, "I cannot work in the folder '" + QFile::decodeName(place.folder) + "'.");
    return;
  }
  setWorkingFolder(platform::currentNativeFolder());
  File1->setFoundIwads({});  // they are named to find a way out of the start folder
  File1->refresh();
  identifiedName_.clear();
  ResetDisplay();
  if (place.file.isEmpty()) return;
  File1->setSelectedName(place.file);  // identified as if it had been clicked
  if (File1->selectedName() != place.file)
    showMessage(this, "'" + place.file + "' is not in the list: only ordinary files whose names end in .wad are IWADs.");
}

bool Form1::busy() const { return identification_.running || runningCommand_ || !File1->isEnabled(); }

namespace {

// The files dropped stay where they are: a drop is taken as a copy or a link, never a move, so
// that no file manager deletes what it was dragged from.
bool takeWithoutMoving(QDropEvent* event) {
  for (Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction})
    if (event->possibleActions() & action) {
      event->setDropAction(action);
      event->accept();
      return true;
    }
  event->ignore();
  return false;
}

}  // namespace

void Form1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !busy()) takeWithoutMoving(event);
  else event->ignore();
}

void Form1::dropEvent(QDropEvent* event) {
  event->ignore();  // until it is taken: a refused drop is no drop at all
  if (busy()) return;  // the drop changes nothing while a tool runs
  QList<QUrl> urls = event->mimeData()->urls();
  QList<StartPlace> places;
  QSet<QByteArray> folders;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) {
      showMessage(this, "I can only open files and folders of this computer, not '" + url.toDisplayString() + "'.");
      return;
    }
    places << placeOf(url.toLocalFile());
    folders.insert(places.back().folder);
  }
  if (urls.size() != 1 && folders.size() != 1) {
    showMessage(this, "Please drop one IWAD, or files of one folder, or one folder.");
    return;
  }
  if (!takeWithoutMoving(event)) return;
  if (urls.size() == 1 && urls.front().toLocalFile().endsWith(".lmp", Qt::CaseInsensitive)) {
    openDemo(urls.front().toLocalFile());  // a demo asks for the IWAD that plays it
    return;
  }
  StartPlace place = places.front();
  if (urls.size() != 1) place.file.clear();  // files of one folder: the folder
  openPlace(place);
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
