#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace fetch {

/// A SHA-256 digest computed as the bytes come: libcrypto's on Linux, CNG's on Windows.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void add(const void* bytes, size_t size);
  /// The digest of everything added, as 64 lowercase hex digits.
  std::string hex();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace fetch
