#pragma once
// Runs the tools as real programs, in throwaway folders.

#include <stdlib.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace test {

namespace fs = std::filesystem;

struct Child {
  pid_t pid;
  int err;  // a memory file that gets the child's stderr
};
struct Result {
  int code = -1;  // -1 when killed by a signal
  int signal = 0;
  std::string err;
};

// Starts `argv` (a full path first) in `cwd`, or here when empty.
inline Child start(const std::vector<std::string>& argv, const fs::path& cwd = {}) {
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const int err = memfd_create("stderr", MFD_CLOEXEC);
  const pid_t pid = fork();
  if (pid < 0 || err < 0) throw std::runtime_error("cannot start " + argv[0]);
  if (pid == 0) {
    if (dup2(err, 2) < 0 || (!cwd.empty() && chdir(cwd.c_str()) != 0)) _exit(126);
    execv(args[0], args.data());
    _exit(127);
  }
  return {pid, err};
}

inline Result finish(const Child& child) {
  int status = 0;
  waitpid(child.pid, &status, 0);
  Result result;
  if (WIFEXITED(status)) result.code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.err.resize(static_cast<size_t>(lseek(child.err, 0, SEEK_END)));
  if (pread(child.err, result.err.data(), result.err.size(), 0) < 0) result.err = "(unreadable)";
  close(child.err);
  return result;
}

inline Result run(const std::vector<std::string>& argv, const fs::path& cwd = {}) {
  return finish(start(argv, cwd));
}

// A fresh folder, removed with everything in it at the end of the test.
struct TempDir {
  fs::path path;
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "bspatch-test.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    path = pattern;
  }
  TempDir(const TempDir&) = delete;
  ~TempDir() { fs::remove_all(path); }
  fs::path operator/(const std::string& name) const { return path / name; }
  std::vector<std::string> entries() const {  // sorted names
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
};

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace test
