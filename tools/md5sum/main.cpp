// md5sum.exe and sha1sum.exe: print the MD5 (SHA-1) digest of each named file, as coreutils'
// md5sum (sha1sum) does, except that the digest always starts the line: Wadwright reads the first
// 32 (40) characters of the output.
#include "digest_lines.h"

#include <fcntl.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/common/input_file.h"

namespace {

// Handing the digest the file's pages where they lie, mapped, beats copying them out with read()
// on every host measured (bench/md5sum). Mapped a window at a time, so that a huge file does not
// have to fit in memory; each window's pages are mapped in one call rather than a fault apiece.
constexpr off_t kWindowSize = 16 << 20;

// For what cannot be mapped. Static: a heap buffer this large is a fresh mapping whose pages
// fault in one by one, which cost a fifth of the run time on some hosts.
constexpr size_t kChunkSize = 256 * 1024;
alignas(4096) unsigned char gChunk[kChunkSize];

sigjmp_buf gMappedReadFailed;

void onMappedReadFailed(int) { siglongjmp(gMappedReadFailed, 1); }

struct DigestContext {
  EVP_MD* md = EVP_MD_fetch(nullptr, kDigest == Digest::Sha1 ? "SHA1" : "MD5", nullptr);
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  ~DigestContext() {
    EVP_MD_CTX_free(context);
    EVP_MD_free(md);
  }
};

// Digests the first `size` bytes of the file through mappings and returns how many it took:
// fewer where the file system cannot map it. A file that shrinks meanwhile raises SIGBUS on the
// lost pages; that ends the digest with -1.
off_t digestMapped(int fd, off_t size, EVP_MD_CTX* context) {
  struct sigaction action {}, previous {};
  action.sa_handler = onMappedReadFailed;
  sigaction(SIGBUS, &action, &previous);
  volatile off_t done = 0;
  void* volatile window = MAP_FAILED;
  volatile size_t windowSize = 0;
  if (sigsetjmp(gMappedReadFailed, 1) == 0) {
    while (done < size) {
      windowSize = static_cast<size_t>(std::min(size - done, kWindowSize));
      window = mmap(nullptr, windowSize, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, done);
      if (window == MAP_FAILED) break;
      EVP_DigestUpdate(context, window, windowSize);
      munmap(window, windowSize);
      window = MAP_FAILED;
      done = done + static_cast<off_t>(windowSize);
    }
  } else {
    munmap(window, windowSize);
    done = -1;
  }
  sigaction(SIGBUS, &previous, nullptr);
  return done;
}

// Digests the rest of the file from `offset` on with read(): what it grew by, or all of a file
// whose size stat() does not know (such as those in /proc). Returns false with errno set.
bool digestRead(int fd, off_t offset, EVP_MD_CTX* context) {
  if (lseek(fd, offset, SEEK_SET) < 0) return false;
  for (;;) {
    const ssize_t got = read(fd, gChunk, kChunkSize);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    EVP_DigestUpdate(context, gChunk, static_cast<size_t>(got));
  }
}

}  // namespace

std::string digestOfFile(const std::string& path, std::string* error) {
  struct stat info;
  const int fd = tools::openInputFile(path.c_str(), &info);
  if (fd < 0) {
    *error = std::strerror(errno);
    return "";
  }
  // A FIFO, socket or device may never end; a folder says so as coreutils does.
  if (!S_ISREG(info.st_mode)) {
    *error = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    close(fd);
    return "";
  }
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  DigestContext digest;
  EVP_DigestInit_ex(digest.context, digest.md, nullptr);
  const off_t mapped = digestMapped(fd, info.st_size, digest.context);
  const bool complete = mapped >= 0 && digestRead(fd, mapped, digest.context);
  if (!complete) *error = mapped < 0 ? "cannot read it any more (did it shrink meanwhile?)" : std::strerror(errno);
  close(fd);
  if (!complete) return "";
  unsigned char value[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(digest.context, value, &length);
  static const char hex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text += hex[value[i] >> 4];
    text += hex[value[i] & 15];
  }
  return text;
}

int main(int argc, char** argv) {
  // A checksum needs none of libcrypto's tables of every cipher and digest, nor its configuration;
  // setting those up would cost more than hashing a small file.
  OPENSSL_init_crypto(OPENSSL_INIT_NO_ADD_ALL_CIPHERS | OPENSSL_INIT_NO_ADD_ALL_DIGESTS | OPENSSL_INIT_NO_LOAD_CONFIG,
                      nullptr);
  return printDigestLines(argc, argv);
}
