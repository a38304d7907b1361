#include "owned_tree_removal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <string>
#include <vector>

namespace platform {

std::function<void(const QString& path)> beforeEnteringFolder;

namespace {

// Deeper than anything a run makes; each level holds a descriptor.
constexpr int kDeepest = 32;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  operator int() const { return fd_; }

 private:
  int fd_;
};

// O_NOFOLLOW makes the open fail on a link, whatever it leads to; O_DIRECTORY on anything else.
int openFolderAt(int parent, const char* name) {
  return openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
}

// The folder the descriptor holds, not whatever bears its name now.
bool isOurFolder(int folder, dev_t device) {
  struct stat held;
  return fstat(folder, &held) == 0 && S_ISDIR(held.st_mode) && held.st_uid == geteuid() && held.st_dev == device;
}

std::vector<std::string> namesIn(int folder) {
  std::vector<std::string> names;
  const int copy = dup(folder);  // closedir closes it
  DIR* listing = copy >= 0 ? fdopendir(copy) : nullptr;
  if (!listing) {
    if (copy >= 0) close(copy);
    return names;
  }
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(listing);
  return names;
}

bool empty(int folder, dev_t device, const QByteArray& path, int depth);

// Removes `name` from the folder held: anything but a folder (a link to one too) as itself.
bool removeEntry(int parent, const std::string& name, dev_t device, const QByteArray& path, int depth) {
  struct stat entry;
  if (fstatat(parent, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
  if (!S_ISDIR(entry.st_mode)) return unlinkat(parent, name.c_str(), 0) == 0 || errno == ENOENT;
  if (depth >= kDeepest) return false;
  const QByteArray inner = path + '/' + QByteArray::fromStdString(name);
  if (beforeEnteringFolder) beforeEnteringFolder(QFile::decodeName(inner));
  const Descriptor folder(openFolderAt(parent, name.c_str()));
  // No longer a folder since it was looked at: a link put in its place goes as a link.
  if (folder < 0)
    return errno == ENOENT || ((errno == ELOOP || errno == ENOTDIR) && unlinkat(parent, name.c_str(), 0) == 0);
  if (!isOurFolder(folder, device)) return false;  // another's, or a file system mounted here
  return empty(folder, device, inner, depth + 1) && unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0;
}

bool empty(int folder, dev_t device, const QByteArray& path, int depth) {
  bool emptied = true;
  for (const std::string& name : namesIn(folder)) emptied = removeEntry(folder, name, device, path, depth) && emptied;
  return emptied;
}

}  // namespace

bool removeOwnedFolder(const QString& parent, const QString& name) {
  const QByteArray parentPath = QFile::encodeName(parent), folderName = QFile::encodeName(name);
  const Descriptor base(open(parentPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (base < 0) return false;
  const Descriptor folder(openFolderAt(base, folderName.constData()));
  if (folder < 0) return errno == ENOENT;
  struct stat held;
  if (fstat(folder, &held) != 0 || held.st_uid != geteuid()) return false;
  return empty(folder, held.st_dev, parentPath + '/' + folderName, 1) &&
         unlinkat(base, folderName.constData(), AT_REMOVEDIR) == 0;
}

}  // namespace platform
