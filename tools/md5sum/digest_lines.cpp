#include "digest_lines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/native_path.h"

int printDigestLines(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "%s: usage: %s FILE...\n", kToolName, kToolName);
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    std::string error;
    std::string digest = digestOfFile(platform::nativePath(argv[i]), &error);
    if (digest.empty()) {
      std::fprintf(stderr, "%s: %s: %s\n", kToolName, argv[i], error.c_str());
      status = 1;
      continue;
    }
    std::printf("%s  %s\n", digest.c_str(), argv[i]);
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "%s: cannot write the output: %s\n", kToolName, std::strerror(errno));
    return 1;
  }
  return status;
}
