#include "iwad_search.h"

#include <map>
#include <set>
#include <utility>

#include <QSet>
#include <QThread>

#include "platform/native_files.h"
#include "platform/native_names.h"
#include "platform/regular_file.h"
#include "platform/termination_signals.h"

namespace {

using platform::NativeFileInfo;

// Deep enough for base/master/wads and dosdoom/base/doom2, not so deep that a whole library is read.
constexpr int kStoreDepth = 3;
// A store's lists are a few KiB; one far larger is not what it claims to be.
constexpr qsizetype kStoreFileLimit = 1 << 20;

bool beginsAsAnIwad(const QByteArray& path) {
  const std::optional<QByteArray> start = platform::readRegularFile(path, 4);
  // One that cannot be read is kept: identifying it says why it cannot be.
  return !start || *start == "IWAD";
}

class Search {
 public:
  QList<QByteArray> found;

  void look(QByteArray folder, int depth) {
    if (searchAskedToEnd()) return;
    while (folder.size() > 1 && folder.endsWith('/')) folder.chop(1);
    const NativeFileInfo here = platform::nativeFileInfo(folder);
    if (here.kind != NativeFileInfo::Kind::Folder || !deeperThanBefore(here, depth)) return;
    // A root keeps its separator (/, and D:\ on Windows): no second one is added.
    const bool parted = folder.endsWith('/') || (!platform::backslashMayBeInNames() && folder.endsWith('\\'));
    for (const QByteArray& name : platform::nativeFolderNames(folder)) {
      const QByteArray path = folder + (parted ? "" : "/") + name;
      const NativeFileInfo entry = platform::nativeFileInfo(path);
      if (entry.kind == NativeFileInfo::Kind::Folder) {
        if (depth > 0) look(path, depth - 1);
      } else if (entry.kind == NativeFileInfo::Kind::File && name.toLower().endsWith(".wad") && firstTime(entry) &&
                 beginsAsAnIwad(path)) {
        found << path;
      }
    }
  }

 private:
  using Key = std::pair<quint64, quint64>;
  // Every file once, however many names (links, hard links, bind mounts) lead to it.
  bool firstTime(const NativeFileInfo& info) { return seen_.insert({info.device, info.inode}).second; }
  // A folder once at each depth: one named first as a plain folder (DOOMWADDIR at a store's base)
  // is read again, deeper, where it is met as a store.
  bool deeperThanBefore(const NativeFileInfo& info, int depth) {
    const auto [place, first] = depths_.try_emplace({info.device, info.inode}, depth);
    if (first) return true;
    if (place->second >= depth) return false;
    place->second = depth;
    return true;
  }
  std::set<Key> seen_;
  std::map<Key, int> depths_;
};

}  // namespace

bool searchAskedToEnd() {
  return platform::terminationSignal() || QThread::currentThread()->isInterruptionRequested();
}

// In one pass: a library list near its size bound names about a million game folders.
void removeDuplicates(QList<QByteArray>& paths) {
  QSet<QByteArray> seen;
  seen.reserve(paths.size());
  QList<QByteArray> once;
  for (const QByteArray& path : paths)
    if (!seen.contains(path)) {
      seen.insert(path);
      once << path;
    }
  paths = std::move(once);
}

QList<QByteArray> findIwads(const IwadPlaces& places) {
  Search search;
  for (const QByteArray& folder : places.folders) search.look(folder, 0);
  for (const QByteArray& store : places.stores) search.look(store, kStoreDepth);
  for (const QByteArray& collection : places.collections) search.look(collection, kStoreDepth + 1);
  return search.found;
}

QByteArray readStoreFile(const QByteArray& path) {
  return platform::readRegularFile(path, kStoreFileLimit).value_or(QByteArray());
}
