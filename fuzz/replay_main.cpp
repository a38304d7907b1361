// Runs a fuzz target over saved inputs, without libFuzzer: each argument is a file or a folder
// whose files are all replayed. The normal build uses this so that CTest checks every input that
// ever found something, with any compiler.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return false;
  }
  // A buffer of exactly the input's size, so that reading past its end is caught as under libFuzzer.
  std::vector<uint8_t> input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Said before running: a failed check aborts, and the name must already be out.
  std::printf("%s\n", file.c_str());
  std::fflush(stdout);
  LLVMFuzzerTestOneInput(input.data(), input.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  size_t count = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path given = argv[i];
    if (!std::filesystem::is_directory(given)) {
      ok = replay(given) && ok;
      ++count;
      continue;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(given))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      ok = replay(file) && ok;
      ++count;
    }
  }
  // An empty corpus replays nothing and would pass forever: treat it as a broken setup.
  if (count == 0) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  std::printf("replayed %zu inputs\n", count);
  return ok ? 0 : 1;
}
