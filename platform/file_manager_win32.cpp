#include "file_manager.h"

#include "process.h"
#include "program_folder.h"

namespace platform {

// explorer.exe ends with status 1 even when it shows the folder: only its start can be judged.
bool showInFileManager(const QByteArray& folder, const QByteArray& programFolder, QString* why) {
  return startDetached("explorer " + commandFolder(folder), programFolder, why);
}

}  // namespace platform
