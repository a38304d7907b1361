// md5sum.exe and sha1sum.exe for Windows: print the MD5 (SHA-1) digest of each named file, as
// coreutils' md5sum (sha1sum) does, except that the digest always starts the line.
// The digest is Windows' own (CNG's BCryptHash), which spares shipping a crypto library.
#include "digest_lines.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/native_text_win32.h"
#include "tools/common/windows_error.h"

namespace {

constexpr DWORD kChunkSize = 1 << 20;
unsigned char gChunk[kChunkSize];

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class Hash {
 public:
  Hash() {
    if (BCryptOpenAlgorithmProvider(&algorithm_, kDigest == Digest::Sha1 ? BCRYPT_SHA1_ALGORITHM : BCRYPT_MD5_ALGORITHM, nullptr, 0) != 0 ||
        BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0) != 0)
      hash_ = nullptr;
  }
  ~Hash() {
    if (hash_) BCryptDestroyHash(hash_);
    if (algorithm_) BCryptCloseAlgorithmProvider(algorithm_, 0);
  }
  bool ready() const { return hash_ != nullptr; }
  void add(unsigned char* bytes, ULONG size) { BCryptHashData(hash_, bytes, size, 0); }
  std::string hex() {
    unsigned char value[20];
    const ULONG size = kDigest == Digest::Sha1 ? 20 : 16;
    BCryptFinishHash(hash_, value, size, 0);
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (ULONG i = 0; i < size; ++i) {
      const unsigned char byte = value[i];
      text += digits[byte >> 4];
      text += digits[byte & 15];
    }
    return text;
  }

 private:
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
};

}  // namespace

std::string digestOfFile(const std::string& path, std::string* error) {
  std::wstring name = platform::widePath(path);
  DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    *error = std::strerror(EISDIR);
    return "";
  }
  Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    *error = tools::windowsErrorText(GetLastError());
    return "";
  }
  // A pipe or device may never end.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    *error = "not a regular file";
    return "";
  }
  Hash digest;
  if (!digest.ready()) {
    *error = kDigest == Digest::Sha1 ? "Windows offers no SHA-1 here" : "Windows offers no MD5 here";
    return "";
  }
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), gChunk, kChunkSize, &got, nullptr)) {
      *error = tools::windowsErrorText(GetLastError());
      return "";
    }
    if (got == 0) return digest.hex();
    digest.add(gChunk, got);
  }
}

int main(int argc, char** argv) {
  return printDigestLines(argc, argv);
}
