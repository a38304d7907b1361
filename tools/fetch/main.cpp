// fetch.exe SOURCE TARGET SIZE SHA256: stores one file of the patch collection at TARGET, proven
// to be the pinned one. SOURCE is an https:// or http:// address, or a local file. TARGET's folder
// is made if missing; an existing TARGET is refused, never replaced. While the file comes it is
// a pending file in TARGET's nearest existing folder, which gets TARGET's name, and TARGET's
// missing folders are made, only once its size and SHA-256 are SIZE and SHA256; it is gone on any
// failure.
//
// Standard output: progress lines "BYTES TOTAL", TOTAL being SIZE, a few a second at most, the
// last when every byte has come. Standard error, on failure: one line, the reason.
// Exit status: 0 stored; 1 the source answered, but not with the pinned file; 2 it could not be
// fetched or stored; 128 + the signal's number when a signal ended it.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/native_path.h"
#include "tools/fetch/fetch_failure.h"
#include "tools/fetch/http_get.h"
#include "tools/fetch/interruption.h"
#include "tools/fetch/local_copy.h"
#include "tools/fetch/received_file.h"
#include "tools/fetch/target_folder.h"

namespace {

using namespace fetch;

constexpr int kStallSeconds = 30;

struct Request {
  std::string source;
  bool remote = false;
  std::string target;
  int64_t size = -1;
  std::string sha256;
};

bool startsWith(const std::string& text, const char* start) {
  const size_t length = std::strlen(start);
  return text.size() >= length && std::equal(start, start + length, text.begin(),
                                             [](char a, char b) { return a == std::tolower((unsigned char)b); });
}

bool readRequest(char** argv, Request& request) {
  request.source = argv[1];
  request.remote = startsWith(request.source, "https://") || startsWith(request.source, "http://");
  if (!request.remote) {
    // Another scheme is no local file's name either.
    if (request.source.find("://") != std::string::npos) return false;
    request.source = platform::nativePath(request.source);
  }
  request.target = platform::nativePath(argv[2]);
  const char* size = argv[3];
  const char* sizeEnd = size + std::strlen(size);
  const auto [sizeRead, sizeError] = std::from_chars(size, sizeEnd, request.size);
  if (size == sizeEnd || *size == '-' || sizeRead != sizeEnd || sizeError != std::errc()) return false;
  request.sha256 = argv[4];
  return request.sha256.size() == 64 && std::all_of(request.sha256.begin(), request.sha256.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

// The tests shorten the wait for a stalled transfer; nothing lengthens it.
int stallSeconds() {
  const char* text = std::getenv("WADWRIGHT_FETCH_STALL_SECONDS");
  const int seconds = text ? std::atoi(text) : 0;
  return seconds >= 1 && seconds < kStallSeconds ? seconds : kStallSeconds;
}

void fetchFile(const Request& request) {
  struct stat existing;
  if (stat(request.target.c_str(), &existing) == 0) {
    throw FetchFailure(kNotFetched, request.target + " is already there: I do not replace it.");
  }
  TargetFolder folder(request.target);
  ReceivedFile file(request.target, folder, request.size, request.sha256);
  if (request.remote) {
    httpGet(request.source, file, stallSeconds());
  } else {
    copyLocalFile(request.source, file);
  }
  file.finish();
  folder.keep();
}

}  // namespace

int main(int argc, char** argv) {
  endCleanlyOnSignals({});
  Request request;
  if (argc != 5 || !readRequest(argv, request)) {
    std::fprintf(stderr,
                 "usage: fetch.exe SOURCE TARGET SIZE SHA256\n"
                 "Stores the file at SOURCE (an https:// or http:// address, or a file) as TARGET, once it\n"
                 "is proven to be SIZE bytes with the SHA-256 SHA256 (64 lowercase hex digits).\n");
    return kNotFetched;
  }
  try {
    fetchFile(request);
  } catch (const FetchFailure& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return failure.status();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "I could not fetch %s: %s\n", shownAddress(request.source).c_str(), e.what());
    return kNotFetched;
  }
  return kStored;
}
