#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace test {

struct RunResult {
  int exitCode = -1;  // -1 when killed by a signal
  int signal = 0;
  std::string err;
};

// Runs `argv` (a full path first) in `cwd`, or here when empty, and waits for it.
RunResult run(const std::vector<std::string>& argv, const std::filesystem::path& cwd = {});
// Starts `argv` without waiting, its output thrown away; `wait` collects it.
pid_t start(const std::vector<std::string>& argv);
RunResult wait(pid_t pid);

// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  std::vector<std::string> entries() const;  // sorted names

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// Pieces of a bsdiff 4 patch, for building ones that bsdiff would not write.
std::string number(int64_t value);  // 8 bytes, sign-magnitude, least significant first
int64_t readNumber(const std::string& bytes, size_t at);
std::string bzip2(const std::string& bytes);
struct Control {
  int64_t add, copy, seek;
};
std::string controls(const std::vector<Control>& entries);
std::string patch(int64_t newSize, const std::string& bz2Control, const std::string& bz2Diff,
                  const std::string& bz2Extra);

}  // namespace test
