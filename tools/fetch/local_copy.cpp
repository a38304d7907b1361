#include "tools/fetch/local_copy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/common/input_file.h"
#include "tools/fetch/fetch_failure.h"
#include "tools/fetch/received_file.h"

namespace fetch {

void copyLocalFile(const std::string& path, ReceivedFile& file) {
  if (tools::isDevice(path.c_str())) throw FetchFailure(kNotTheFile, path + " is a device, not a file.");
  struct stat info;
  const int fd = tools::openInputFile(path.c_str(), &info);
  if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) throw FetchFailure(kNotTheFile, "There is no file " + path);
  if (fd < 0 && errno == EISDIR) throw FetchFailure(kNotTheFile, path + " is not a file.");
  if (fd < 0) throw FetchFailure(kNotFetched, "I cannot read " + path + ": " + std::strerror(errno) + ".");
  struct Closer {
    int fd;
    ~Closer() { close(fd); }
  } closer{fd};
  if (!S_ISREG(info.st_mode)) throw FetchFailure(kNotTheFile, path + " is not a file.");
  if (info.st_size != file.size()) {
    throw FetchFailure(kNotTheFile, "What came is not the collection's file: " + path + " is " +
                                        std::to_string(info.st_size) + " bytes, not " + std::to_string(file.size()) + ".");
  }
  static char chunk[1 << 16];
  for (;;) {
    const auto got = read(fd, chunk, sizeof chunk);
    if (got == 0) return;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw FetchFailure(kNotFetched, "I cannot read " + path + ": " + std::strerror(errno) + ".");
    file.add(chunk, size_t(got));
  }
}

}  // namespace fetch
