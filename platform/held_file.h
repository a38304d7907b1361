#pragma once

#include <QString>

namespace platform {

/// A file this run made for its own use (a file made on the way, an IWAD handed over under a plain
/// name), held so that it goes with the run however the run ends: Windows deletes the name as the
/// run's handle closes, killed outright (taskkill /F) too; a hard link's name goes, not the file it
/// names. Elsewhere nothing is held: the run's private folder goes as it ends, and the next start
/// removes what a killed run left.
class HeldFile {
 public:
  explicit HeldFile(const QString& path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#endif
};

}  // namespace platform
