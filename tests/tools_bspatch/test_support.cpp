#include "test_support.h"

#include <bzlib.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace test {

namespace {

pid_t spawn(const std::vector<std::string>& argv, int errFd, const std::filesystem::path& cwd) {
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, errFd, 2);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) throw std::runtime_error("cannot start " + argv[0]);
  return pid;
}

}  // namespace

RunResult run(const std::vector<std::string>& argv, const std::filesystem::path& cwd) {
  const int err = memfd_create("stderr", MFD_CLOEXEC);
  RunResult result = wait(spawn(argv, err, cwd));
  result.err.resize(static_cast<size_t>(lseek(err, 0, SEEK_END)));
  if (pread(err, result.err.data(), result.err.size(), 0) < 0) result.err = "(unreadable)";
  close(err);
  return result;
}

pid_t start(const std::vector<std::string>& argv) {
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const pid_t pid = spawn(argv, null, {});
  close(null);
  return pid;
}

RunResult wait(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  RunResult result;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bspatch-test.XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() { std::filesystem::remove_all(path_); }

std::vector<std::string> TempDir::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

std::string number(int64_t value) {
  uint64_t magnitude = value < 0 ? -static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  if (value < 0) magnitude |= uint64_t{1} << 63;
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(magnitude >> (8 * i));
  return bytes;
}

int64_t readNumber(const std::string& bytes, size_t at) {
  uint64_t magnitude = 0;
  for (int i = 7; i >= 0; --i) magnitude = magnitude << 8 | static_cast<unsigned char>(bytes[at + i]);
  const int64_t value = static_cast<int64_t>(magnitude & ~(uint64_t{1} << 63));
  return magnitude >> 63 ? -value : value;
}

std::string bzip2(const std::string& bytes) {
  std::string compressed(bytes.size() + bytes.size() / 100 + 600, '\0');
  unsigned size = static_cast<unsigned>(compressed.size());
  if (BZ2_bzBuffToBuffCompress(compressed.data(), &size, const_cast<char*>(bytes.data()),
                               static_cast<unsigned>(bytes.size()), 9, 0, 0) != BZ_OK) {
    throw std::runtime_error("bzip2 failed");
  }
  compressed.resize(size);
  return compressed;
}

std::string controls(const std::vector<Control>& entries) {
  std::string bytes;
  for (const auto& e : entries) bytes += number(e.add) + number(e.copy) + number(e.seek);
  return bytes;
}

std::string patch(int64_t newSize, const std::string& bz2Control, const std::string& bz2Diff,
                  const std::string& bz2Extra) {
  return "BSDIFF40" + number(static_cast<int64_t>(bz2Control.size())) +
         number(static_cast<int64_t>(bz2Diff.size())) + number(newSize) + bz2Control + bz2Diff +
         bz2Extra;
}

}  // namespace test
