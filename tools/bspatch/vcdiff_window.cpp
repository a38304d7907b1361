// How a window's instructions make its target (RFC 3284, sections 5 and 6).
//
// Each byte of the instructions section indexes the code table (the default one of section 5.6,
// built below), whose entry holds one or two instructions: ADD (copy the next bytes of the data
// section), RUN (repeat the next data byte) or COPY (copy from an address). A size of 0 in the table
// means the size follows as an int in the instructions section.
//
// Addresses count through the source segment and then the target made so far, as if one string;
// "here" is the size of the segment plus the target so far. A COPY's address comes from the
// addresses section in one of nine modes: 0 the int itself, 1 here minus the int, 2-5 one of the
// four last addresses ("near") plus the int, 6-8 a byte indexing the "same" cache of 3 x 256
// addresses, each kept at address mod 768. Both caches start at zero in every window. A COPY from
// the target may overlap what it writes: it then repeats the bytes before it.

#include "tools/bspatch/vcdiff_window.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <string>

namespace bspatch::vcdiff {

namespace {

enum Kind : unsigned char { kNoop, kAdd, kRun, kCopy };

struct Instruction {
  unsigned char kind = kNoop, size = 0, mode = 0;
};

struct Code {
  Instruction first, second;
};

constexpr std::array<Code, 256> defaultCodeTable() {
  std::array<Code, 256> table{};
  int i = 0;
  table[i++] = {{kRun, 0, 0}, {}};
  for (int size = 0; size <= 17; ++size) table[i++] = {{kAdd, static_cast<unsigned char>(size), 0}, {}};
  for (unsigned char mode = 0; mode < 9; ++mode) {
    table[i++] = {{kCopy, 0, mode}, {}};
    for (unsigned char size = 4; size <= 18; ++size) table[i++] = {{kCopy, size, mode}, {}};
  }
  for (unsigned char mode = 0; mode < 9; ++mode) {
    for (unsigned char add = 1; add <= 4; ++add) {
      for (unsigned char copy = 4; copy <= (mode < 6 ? 6 : 4); ++copy) {
        table[i++] = {{kAdd, add, 0}, {kCopy, copy, mode}};
      }
    }
  }
  for (unsigned char mode = 0; mode < 9; ++mode) table[i++] = {{kCopy, 4, mode}, {kAdd, 1, 0}};
  return table;
}

constexpr auto kCodeTable = defaultCodeTable();
static_assert(kCodeTable[255].first.mode == 8 && kCodeTable[255].second.kind == kAdd && kCodeTable[163].second.size == 4,
              "the table's rows fill its 256 entries in the order of RFC 3284");

class Decoder {
 public:
  Decoder(const Window& window, std::span<const unsigned char> source, WindowSections sections,
          std::span<unsigned char> target, const std::function<void(size_t)>& made, size_t step)
      : report_(made),
        step_(step),
        nextReport_(static_cast<int64_t>(step)),
        window_(window),
        source_(source),
        target_(target),
        data_(sections.data),
        instructions_(sections.instructions),
        addresses_(sections.addresses) {}

  void run() {
    const unsigned char* end = instructions_.data() + instructions_.size();
    for (const unsigned char* at = instructions_.data(); at < end;) {
      const Code& code = kCodeTable[*at++];
      perform(code.first, at, end);
      perform(code.second, at, end);
      if (report_ && made_ >= nextReport_) {
        report_(static_cast<size_t>(made_));
        nextReport_ = made_ + static_cast<int64_t>(step_);
      }
    }
    if (made_ != static_cast<int64_t>(target_.size())) {
      throw fail("makes " + std::to_string(made_) + " of its " + std::to_string(target_.size()) + " bytes");
    }
    if (dataUsed_ != data_.size()) throw fail("leaves part of its data section unused");
    if (addressesUsed_ != addresses_.size()) throw fail("leaves part of its addresses section unused");
  }

 private:
  std::runtime_error fail(const std::string& what) const {
    return std::runtime_error("window " + std::to_string(window_.number) + " " + what);
  }

  void perform(const Instruction& instruction, const unsigned char*& at, const unsigned char* end) {
    if (instruction.kind == kNoop) return;
    int64_t size = instruction.size;
    if (size == 0 && !readInteger(at, end, size)) throw fail("ends inside an instruction");
    if (size > static_cast<int64_t>(target_.size()) - made_) {
      throw fail("has instructions for more than its " + std::to_string(target_.size()) + " bytes");
    }
    unsigned char* out = target_.data() + made_;
    const size_t length = static_cast<size_t>(size);
    // An instruction of size 0 still takes its data byte or address, as xdelta3's do; it copies
    // nothing, and in an empty window there is nowhere to copy to.
    if (instruction.kind == kAdd) {
      if (length > data_.size() - dataUsed_) throw fail("adds more bytes than its data section holds");
      if (length > 0) std::memcpy(out, data_.data() + dataUsed_, length);
      dataUsed_ += length;
    } else if (instruction.kind == kRun) {
      if (dataUsed_ == data_.size()) throw fail("repeats a byte its data section lacks");
      const unsigned char byte = data_[dataUsed_++];
      if (length > 0) std::memset(out, byte, length);
    } else {
      const int64_t from = address(instruction.mode);
      if (length > 0) copy(from, out, length);
    }
    made_ += size;
  }

  int64_t address(unsigned mode) {
    const int64_t here = static_cast<int64_t>(source_.size()) + made_;
    const unsigned char* at = addresses_.data() + addressesUsed_;
    const unsigned char* end = addresses_.data() + addresses_.size();
    int64_t address = 0;
    if (!cachesReady_) {  // only now: most windows of some patches copy nothing
      std::fill(std::begin(same_), std::end(same_), 0);
      cachesReady_ = true;
    }
    if (mode >= 6) {
      if (at == end) throw fail("runs out of addresses");
      address = same_[(mode - 6) * 256 + *at++];
    } else {
      int64_t value;
      if (!readInteger(at, end, value)) throw fail("runs out of addresses");
      // Any value past `here` gives an address past it, whatever it is added to.
      address = mode == 0 ? value : mode == 1 ? here - value : value >= here ? here : near_[mode - 2] + value;
    }
    addressesUsed_ = static_cast<size_t>(at - addresses_.data());
    if (address < 0 || address >= here) {
      throw fail("copies from " + std::to_string(address) + ", outside the source segment and the target so far (" +
                 std::to_string(here) + " bytes)");
    }
    near_[nextNear_] = address;
    nextNear_ = (nextNear_ + 1) % 4;
    same_[address % 768] = address;
    return address;
  }

  void copy(int64_t from, unsigned char* out, size_t length) {
    const int64_t segment = static_cast<int64_t>(source_.size());
    if (from < segment) {
      const size_t n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(length), segment - from));
      std::memcpy(out, source_.data() + from, n);
      out += n;
      length -= n;
      from += static_cast<int64_t>(n);
    }
    // From the target: where it overlaps what it writes, each piece doubles the repeated stretch.
    const unsigned char* src = target_.data() + (from - segment);
    while (length > 0) {
      const size_t n = std::min(length, static_cast<size_t>(out - src));
      std::memcpy(out, src, n);
      out += n;
      length -= n;
    }
  }

  const std::function<void(size_t)>& report_;
  size_t step_;
  int64_t nextReport_;
  const Window& window_;
  std::span<const unsigned char> source_;
  std::span<unsigned char> target_;
  std::span<const unsigned char> data_, instructions_, addresses_;
  size_t dataUsed_ = 0, addressesUsed_ = 0;
  int64_t made_ = 0;
  int64_t near_[4] = {};
  int nextNear_ = 0;
  bool cachesReady_ = false;
  int64_t same_[768];
};

}  // namespace

void decodeWindow(const Window& window, std::span<const unsigned char> source, WindowSections sections,
                  std::span<unsigned char> target, const std::function<void(size_t)>& made, size_t step) {
  Decoder(window, source, sections, target, made, step).run();
}

uint32_t adler32(std::span<const unsigned char> bytes, uint32_t sum) {
  // 5552 bytes is the most that can be summed before the 32-bit sums need reducing.
  constexpr size_t kRun = 5552;
  uint32_t a = sum & 0xFFFF, b = sum >> 16;
  for (size_t done = 0; done < bytes.size();) {
    const size_t end = std::min(bytes.size(), done + kRun);
    for (; done < end; ++done) {
      a += bytes[done];
      b += a;
    }
    a %= 65521;
    b %= 65521;
  }
  return b << 16 | a;
}

}  // namespace bspatch::vcdiff
