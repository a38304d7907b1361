#include "digest_lines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/native_path.h"

int printDigestLines(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("md5sum.exe: usage: md5sum.exe FILE...\n", stderr);
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    std::string error;
    std::string digest = md5OfFile(platform::nativePath(argv[i]), &error);
    if (digest.empty()) {
      std::fprintf(stderr, "md5sum.exe: %s: %s\n", argv[i], error.c_str());
      status = 1;
      continue;
    }
    std::printf("%s  %s\n", digest.c_str(), argv[i]);
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "md5sum.exe: cannot write the output: %s\n", std::strerror(errno));
    return 1;
  }
  return status;
}
