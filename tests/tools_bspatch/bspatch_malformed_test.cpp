// Malformed patches: each must fail with a message, and leave no new or temporary file behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <set>
#include <string>

#include "test_support.h"

namespace {

using test::Control;
using test::TempDir;

const std::filesystem::path kFixtures = BSPATCH_FIXTURES;
const std::string kTool = BSPATCH_EXE;
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// Applies `patch` to the edits fixture's old file and expects a clean refusal.
void expectRefused(const std::string& patch, const std::string& message) {
  TempDir dir;
  std::filesystem::copy_file(kFixtures / "edits.old", dir / "old");
  test::writeFile(dir / "patch", patch);
  const auto result = test::run({kTool, dir / "old", dir / "new", dir / "patch"});
  EXPECT_EQ(result.exitCode, 1) << "signal " << result.signal;
  EXPECT_EQ(result.err.rfind("bspatch.exe: ", 0), 0u) << result.err;
  EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"old", "patch"}));
}

std::string withNumber(std::string patch, size_t at, int64_t value) {
  return patch.replace(at, 8, test::number(value));
}

// A patch to a 10-byte file from the given blocks, not yet compressed.
std::string tenBytes(const std::vector<Control>& controls, const std::string& diff,
                     const std::string& extra) {
  return test::patch(10, test::bzip2(test::controls(controls)), test::bzip2(diff),
                     test::bzip2(extra));
}

struct Malformed {
  const char* name;
  std::string (*make)(const std::string& real);  // from a real patch made by bsdiff
  const char* message;
};

void PrintTo(const Malformed& c, std::ostream* out) { *out << c.name; }

class MalformedPatch : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedPatch, IsRefusedCleanly) {
  expectRefused(GetParam().make(test::readFile(kFixtures / "edits.patch")), GetParam().message);
}

const std::string k10(10, 'd');

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedPatch,
    testing::Values(
        Malformed{"Empty", [](auto&) { return std::string(); }, "too short"},
        Malformed{"HeaderCut", [](auto& p) { return p.substr(0, 31); }, "too short"},
        Malformed{"WrongMagic", [](auto& p) { return "BSDIFF41" + p.substr(8); }, "not a bsdiff"},
        Malformed{"NegativeControlLength", [](auto& p) { return withNumber(p, 8, -1); },
                  "negative length"},
        Malformed{"NegativeDiffLength", [](auto& p) { return withNumber(p, 16, -1); },
                  "negative length"},
        Malformed{"NegativeNewSize", [](auto& p) { return withNumber(p, 24, -1); },
                  "negative length"},
        Malformed{"ControlLengthBeyondFile",
                  [](auto& p) { return withNumber(p, 8, static_cast<int64_t>(p.size())); },
                  "only"},
        Malformed{"DiffLengthBeyondFile", [](auto& p) { return withNumber(p, 16, kMax); }, "only"},
        Malformed{"NewSizeOneMore",
                  [](auto& p) { return withNumber(p, 24, static_cast<int64_t>(300001)); },
                  "control block ends after 300000 bytes"},
        Malformed{"NewSizeOneLess",
                  [](auto& p) { return withNumber(p, 24, static_cast<int64_t>(299999)); },
                  "past the end of the new file"},
        Malformed{"HugeNewSize", [](auto& p) { return withNumber(p, 24, int64_t{1} << 60); },
                  "free"},
        Malformed{"TrailingByte", [](auto& p) { return p + "x"; }, "after the end of its bzip2"},
        Malformed{"TrailingStream", [](auto& p) { return p + test::bzip2("more"); },
                  "extra block has"},
        Malformed{"GarbageControl",
                  [](auto&) { return test::patch(10, "garbage!", test::bzip2(k10), ""); },
                  "control block is not bzip2 data"},
        Malformed{"DamagedDiff",
                  [](auto&) {
                    std::string diff = test::bzip2(std::string(5000, 'd') + "xyz");
                    diff[diff.size() / 2] ^= 0x55;
                    return test::patch(5003, test::bzip2(test::controls({{5003, 0, 0}})), diff,
                                       test::bzip2(""));
                  },
                  "diff block is damaged"},
        Malformed{"NegativeAdd", [](auto&) { return tenBytes({{-1, 11, 0}}, "", k10); },
                  "control entry 1 has a negative length"},
        Malformed{"NegativeCopy", [](auto&) { return tenBytes({{11, -1, 0}}, k10, ""); },
                  "negative length"},
        Malformed{"AddPastEnd", [](auto&) { return tenBytes({{11, 0, 0}}, k10 + "d", ""); },
                  "past the end"},
        Malformed{"CopyPastEnd", [](auto&) { return tenBytes({{5, 6, 0}}, "ddddd", "eeeeee"); },
                  "past the end"},
        Malformed{"HugeAdd", [](auto&) { return tenBytes({{kMax, 0, 0}}, k10, ""); },
                  "past the end"},
        Malformed{"SeekOverflow",
                  [](auto&) { return tenBytes({{0, 5, kMax}, {0, 5, 1}}, "", k10); },
                  "control entry 2 moves the old position too far"},
        Malformed{"SeekUnderflow",
                  [](auto&) { return tenBytes({{0, 5, -kMax}, {0, 5, -2}}, "", k10); },
                  "moves the old position too far"},
        Malformed{"AddMovesOldPositionOverflow",
                  [](auto&) { return tenBytes({{0, 5, kMax}, {5, 0, 0}}, "ddddd", "eeeee"); },
                  "control entry 2 moves the old position too far"},
        Malformed{"ControlsEndShort", [](auto&) { return tenBytes({{0, 5, 0}}, "", "eeeee"); },
                  "control block ends after 5 bytes of the 10-byte new file"},
        Malformed{"EntryCut",
                  [](auto&) {
                    return test::patch(10, test::bzip2(test::controls({{0, 10, 0}}).substr(0, 20)),
                                       test::bzip2(""), test::bzip2(k10));
                  },
                  "inside an entry"},
        Malformed{"DiffShort", [](auto&) { return tenBytes({{10, 0, 0}}, "ddddd", ""); },
                  "diff block ends before"},
        Malformed{"ExtraShort", [](auto&) { return tenBytes({{0, 10, 0}}, "", "eeeee"); },
                  "extra block ends before"},
        Malformed{"DiffTooLong", [](auto&) { return tenBytes({{10, 0, 0}}, k10 + k10, ""); },
                  "diff block holds more data"},
        Malformed{"ExtraTooLong", [](auto&) { return tenBytes({{0, 10, 0}}, "", k10 + "e"); },
                  "extra block holds more data"},
        Malformed{"EntriesAfterTheEnd",
                  [](auto&) { return tenBytes({{0, 10, 0}, {0, 0, 0}}, "", k10); },
                  "control block holds more data"},
        Malformed{"EmptyControlBlock",
                  [](auto&) { return test::patch(10, "", test::bzip2(""), test::bzip2(k10)); },
                  "control block is cut short"},
        // A few bytes of bzip2 that decode to two million empty entries.
        Malformed{"MillionsOfEmptyEntries",
                  [](auto&) {
                    return test::patch(1000, test::bzip2(std::string(2'000'000 * 24, '\0')),
                                       test::bzip2(""), test::bzip2(""));
                  },
                  "more entries than a 1000-byte file can need"}),
    [](const auto& info) { return std::string(info.param.name); });

// Where a cut is most likely to slip through: in the header, at the start of each block, and at
// the very end, down to the last byte alone; and at some forty places in between.
std::set<size_t> cuts(const std::string& patch) {
  const auto length = [&](size_t at) { return static_cast<size_t>(test::readNumber(patch, at)); };
  const size_t diffStart = 32 + length(8), extraStart = diffStart + length(16);
  std::set<size_t> sizes;
  for (const size_t start : {size_t{0}, size_t{32}, diffStart, extraStart, patch.size() - 12}) {
    for (size_t size = start; size < start + 12 && size < patch.size(); ++size) sizes.insert(size);
  }
  for (size_t size = 0; size < patch.size(); size += std::max<size_t>(7, patch.size() / 40)) {
    sizes.insert(size);
  }
  return sizes;
}

TEST(TruncatedPatch, IsRefusedWhereverItIsCut) {
  for (const char* name : {"edits", "text"}) {
    const std::string real = test::readFile(kFixtures / (name + std::string(".patch")));
    for (const size_t size : cuts(real)) {
      SCOPED_TRACE(std::string(name) + " cut to " + std::to_string(size) + " bytes");
      expectRefused(real.substr(0, size), size + 1 == real.size() ? "cut short" : "");
    }
  }
}

}  // namespace
