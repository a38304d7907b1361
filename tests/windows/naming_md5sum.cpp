// md5sum.exe for the window's tests: the real digest of the file named, except that Freedoom 1
// passes for Ultimate Doom and Freedoom 2 for DOOM V1.1, so that a patch between them makes a
// catalogue release; a file of "abc" passes for the 2024 re-release, a step away from Ultimate Doom;
// the Plutonia pair of tests/support/plutonia_pair.h passes for the anthology's and V1.9.
#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::ifstream file(argv[1], std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file.good() && !file.eof()) return 1;
  unsigned char value[16];
  BCRYPT_ALG_HANDLE md5 = nullptr;
  if (BCryptOpenAlgorithmProvider(&md5, BCRYPT_MD5_ALGORITHM, nullptr, 0) != 0 ||
      BCryptHash(md5, nullptr, 0, reinterpret_cast<unsigned char*>(bytes.data()), ULONG(bytes.size()), value, sizeof value) != 0)
    return 1;
  char hex[33];
  for (int i = 0; i < 16; ++i) std::snprintf(hex + 2 * i, 3, "%02x", value[i]);
  std::string sum = hex;
  if (sum == "c19685bd160b1bb842501063130fb0e7") sum = "c4fe9fd920207691a9f493668e0a2083";
  if (sum == "7b247eeb6a15ce9deeb652b82eb73f7b") sum = "981b03e6d1dc033301aa3095acc437ce";
  if (sum == "900150983cd24fb0d6963f7d28e17f72") sum = "4461d4511386518e784c647e3128e7bc";
  if (sum == "1f41a745566cdce6e86ec23aba2df36e") sum = "3493be7e1e2588bc9c8b31eab2587a04";
  if (sum == "8c8977aa7730d397cdf98282f3f410f2") sum = "75c8cf89566741fa9d22447604053bd7";
  std::printf("%s  %s\n", sum.c_str(), argv[1]);
  return 0;
}
