// md5sum.exe: prints the MD5 digest of each named file, as coreutils' md5sum does, except that
// the digest always starts the line: Wadwright reads the first 32 characters of the output.
#include <fcntl.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "tools/common/windows_path.h"

namespace {

constexpr size_t kChunkSize = 256 * 1024;

struct DigestContext {
  EVP_MD* md5 = EVP_MD_fetch(nullptr, "MD5", nullptr);
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  ~DigestContext() {
    EVP_MD_CTX_free(context);
    EVP_MD_free(md5);
  }
};

// The digest in lowercase hex, or an empty text with `error` set.
std::string md5OfFile(const std::string& path, std::string* error) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = std::strerror(errno);
    return "";
  }
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  DigestContext digest;
  EVP_DigestInit_ex(digest.context, digest.md5, nullptr);
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[kChunkSize]);
  for (;;) {
    ssize_t got = read(fd, buffer.get(), kChunkSize);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      *error = std::strerror(errno);
      close(fd);
      return "";
    }
    EVP_DigestUpdate(digest.context, buffer.get(), size_t(got));
  }
  close(fd);
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

}  // namespace

int main(int argc, char** argv) {
  // A checksum needs none of libcrypto's tables of every cipher and digest, nor its configuration;
  // setting those up would cost more than hashing a small file.
  OPENSSL_init_crypto(OPENSSL_INIT_NO_ADD_ALL_CIPHERS | OPENSSL_INIT_NO_ADD_ALL_DIGESTS | OPENSSL_INIT_NO_LOAD_CONFIG,
                      nullptr);
  if (argc < 2) {
    std::fputs("md5sum.exe: usage: md5sum.exe FILE...\n", stderr);
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {  // every argument is a file name, also one that starts with '-'
    std::string error;
    std::string digest = md5OfFile(tools::nativePath(argv[i]), &error);
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
