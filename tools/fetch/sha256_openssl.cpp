#include "tools/fetch/sha256.h"

#include <openssl/evp.h>

namespace fetch {

struct Sha256::State {
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : state_(std::make_unique<State>()) { EVP_DigestInit_ex(state_->context, EVP_sha256(), nullptr); }

Sha256::~Sha256() = default;

void Sha256::add(const void* bytes, size_t size) { EVP_DigestUpdate(state_->context, bytes, size); }

std::string Sha256::hex() {
  unsigned char value[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(state_->context, value, &length);
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text += digits[value[i] >> 4];
    text += digits[value[i] & 15];
  }
  return text;
}

}  // namespace fetch
