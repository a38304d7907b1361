// Times md5sum.exe (or sha1sum.exe) against coreutils' md5sum (sha1sum) on one file, alternating the two so that both meet
// the same load and page cache, and prints the median wall, user and system time of each and
// their ratio. Timed by the clock and wait4 rather than by time(1), whose 10 ms steps are too
// coarse for a 60 ms run.
// usage: md5sum_bench [--runs N] FILE PEER PROGRAM...   (PEER first; every PROGRAM against it)
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Times {
  double wallMs, userMs, sysMs;
};

double ms(const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; }

// One run of `program file`, its output into `out` (a file descriptor), timed.
Times runOnce(const std::string& program, const std::string& file, int out) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(file.c_str()), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "md5sum_bench: cannot start %s\n", argv[0]);
    std::exit(1);
  }
  int status;
  rusage usage;
  wait4(pid, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "md5sum_bench: %s failed\n", argv[0]);
    std::exit(1);
  }
  return {std::chrono::duration<double, std::milli>(end - start).count(), ms(usage.ru_utime),
          ms(usage.ru_stime)};
}

// The digest a program prints for the file: the first 32 characters of its output.
std::string digestOf(const std::string& program, const std::string& file) {
  const int out = memfd_create("out", MFD_CLOEXEC);
  runOnce(program, file, out);
  char digest[32] = {};
  if (pread(out, digest, sizeof digest, 0) != sizeof digest) digest[0] = 0;
  close(out);
  return std::string(digest, sizeof digest);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The first value of /proc/cpuinfo's `field` ("model name", "flags"): which digest code the
// library picks, and how fast it runs, depends on both.
std::string cpuInfo(const std::string& field) {
  std::ifstream cpuinfo("/proc/cpuinfo");
  for (std::string line; std::getline(cpuinfo, line);) {
    if (line.rfind(field, 0) == 0 && line.find(':') != std::string::npos) return line.substr(line.find(':') + 2);
  }
  return "unknown";
}

// What else the machine was doing: the figures of a loaded one are not a quiet one's.
std::string loadAverage() {
  std::ifstream loadavg("/proc/loadavg");
  std::string one, five, fifteen;
  loadavg >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  int first = 1;
  if (argc > 2 && std::strcmp(argv[1], "--runs") == 0) {
    runs = std::max(1, std::atoi(argv[2]));
    first = 3;
  }
  if (argc - first < 3) {
    std::fprintf(stderr, "usage: md5sum_bench [--runs N] FILE PEER PROGRAM...\n");
    return 2;
  }
  const std::string file = argv[first];
  const std::vector<std::string> programs(argv + first + 1, argv + argc);

  const std::string expected = digestOf(programs[0], file);
  for (const auto& program : programs) {
    if (digestOf(program, file) != expected) {  // also warms the page cache for every program
      std::fprintf(stderr, "md5sum_bench: %s disagrees with %s\n", program.c_str(),
                   programs[0].c_str());
      return 1;
    }
  }
  const std::string loadBefore = loadAverage();
  const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
  std::vector<std::vector<Times>> times(programs.size());
  for (int run = 0; run < runs; ++run) {
    for (size_t i = 0; i < programs.size(); ++i) times[i].push_back(runOnce(programs[i], file, devNull));
  }

  std::printf("CPU: %s (%ld cores)\n", cpuInfo("model name").c_str(), sysconf(_SC_NPROCESSORS_ONLN));
  std::printf("CPU flags: %s\n", cpuInfo("flags").c_str());
  std::printf("load average before: %s, after: %s\n", loadBefore.c_str(), loadAverage().c_str());
  std::printf("%s, %d alternating runs each; medians; ratios to the first (wall, and user + sys)\n", file.c_str(), runs);
  std::printf("%-40s %9s %9s %9s %7s %7s\n", "", "wall", "user", "sys", "ratio", "cpu");
  double peerWall = 0, peerCpu = 0;
  for (size_t i = 0; i < programs.size(); ++i) {
    std::vector<double> wall, user, sys, cpu;
    for (const Times& t : times[i]) {
      wall.push_back(t.wallMs);
      user.push_back(t.userMs);
      sys.push_back(t.sysMs);
      cpu.push_back(t.userMs + t.sysMs);
    }
    const double w = median(wall), c = median(cpu);
    if (i == 0) {
      peerWall = w;
      peerCpu = c;
    }
    std::printf("%-40s %6.1f ms %6.1f ms %6.1f ms %6.2fx %6.2fx\n", programs[i].c_str(), w, median(user),
                median(sys), w / peerWall, c / peerCpu);
  }
  return 0;
}
