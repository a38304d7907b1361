#include "tools/fetch/sha256.h"

#include <windows.h>
#include <bcrypt.h>

namespace fetch {

// Windows' own SHA-256 (CNG), as md5sum.exe uses its MD5: no crypto library to ship.
struct Sha256::State {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  ~State() {
    if (hash) BCryptDestroyHash(hash);
    if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
  }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  if (BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0 ||
      BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0, 0) != 0)
    state_->hash = nullptr;
}

Sha256::~Sha256() = default;

void Sha256::add(const void* bytes, size_t size) {
  if (state_->hash) BCryptHashData(state_->hash, static_cast<PUCHAR>(const_cast<void*>(bytes)), ULONG(size), 0);
}

std::string Sha256::hex() {
  // Without a digest, no file can match: the caller refuses it.
  unsigned char value[32];
  if (!state_->hash || BCryptFinishHash(state_->hash, value, sizeof value, 0) != 0) return "";
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char byte : value) {
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

}  // namespace fetch
