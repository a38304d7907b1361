// md5sum.exe and sha1sum.exe: print the MD5 (SHA-1) digest of each named file, as coreutils'
// md5sum (sha1sum) does, except that the digest always starts the line: Wadwright reads the first
// 32 (40) characters of the output.
#include "digest_lines.h"

#include <fcntl.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/common/input_file.h"

namespace {

// Read a chunk at a time, the chunk staying in the CPU's caches for the digest. A mapping of the
// file costs more on every host measured (bench/md5sum): the digest then walks the page tables of
// every page, and in a virtual machine each miss walks two of them.
constexpr size_t kChunkSize = 128 * 1024;
// Static: a fresh heap buffer this large would be a mapping of its own, faulted in page by page.
alignas(4096) unsigned char gChunk[kChunkSize];

struct DigestContext {
  EVP_MD* md = EVP_MD_fetch(nullptr, kDigest == Digest::Sha1 ? "SHA1" : "MD5", nullptr);
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  ~DigestContext() {
    EVP_MD_CTX_free(context);
    EVP_MD_free(md);
  }
};

// Digests the file from where it stands to its end, however long it grows meanwhile; works for a
// file whose size stat() does not know (such as those in /proc). Returns false with errno set.
bool digestRead(int fd, EVP_MD_CTX* context) {
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
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);  // a file not yet cached is read ahead further
  DigestContext digest;
  EVP_DigestInit_ex(digest.context, digest.md, nullptr);
  const bool complete = digestRead(fd, digest.context);
  if (!complete) *error = std::strerror(errno);
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
