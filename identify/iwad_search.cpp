#include "iwad_search.h"

#include <set>
#include <utility>

#include "platform/native_files.h"
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
    if (platform::terminationSignal()) return;
    while (folder.size() > 1 && folder.endsWith('/')) folder.chop(1);
    const NativeFileInfo here = platform::nativeFileInfo(folder);
    if (here.kind != NativeFileInfo::Kind::Folder || !firstTime(here)) return;
    for (const QByteArray& name : platform::nativeFolderNames(folder)) {
      const QByteArray path = folder + (folder.endsWith('/') ? "" : "/") + name;
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
  // Every folder and file once, however many names (links, hard links, bind mounts) lead to it.
  bool firstTime(const NativeFileInfo& info) { return seen_.insert({info.device, info.inode}).second; }
  std::set<std::pair<quint64, quint64>> seen_;
};

}  // namespace

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
