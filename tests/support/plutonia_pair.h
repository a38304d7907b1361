#pragma once

// An anthology Plutonia and the V1.9 the collection's real anthology-to-1.9.vcdiff makes of it,
// for the tests that fetch that file and patch with it; a checksum tool that names them as the
// catalogue's releases stands in where no IWAD can be had.
#include <QByteArray>
#include <utility>

inline constexpr quint32 kAdlerBase = 65521;

inline quint32 adler32(const char* bytes, qint64 size) {
  quint32 a = 1, b = 0;
  for (qint64 i = 0; i < size; ++i) {
    a = (a + uchar(bytes[i])) % kAdlerBase;
    b = (b + a) % kAdlerBase;
  }
  return b << 16 | a;
}

// Sets bytes near the end of a window so that its Adler-32 becomes `wanted`: a byte of 1 at w bytes
// before the end adds 1 to the checksum's low half and w to its high half.
inline void steerAdler(char* window, qint64 size, quint32 wanted) {
  const quint32 now = adler32(window, size);
  const auto missing = [&](int half, quint64 added) {
    return ((wanted >> half & 0xffff) + kAdlerBase - ((now >> half & 0xffff) + added) % kAdlerBase) % kAdlerBase;
  };
  const quint64 ones = missing(0, 0) ? missing(0, 0) : kAdlerBase;
  for (quint64 weight = 1; weight <= ones; ++weight) window[size - weight] = 1;
  window[size - ones] = 0;  // moved further from the end by what the high half still misses
  window[size - ones - missing(16, ones * (ones + 1) / 2)] = 1;
}

// An anthology Plutonia and the V1.9 the collection's real anthology-to-1.9.vcdiff makes of it,
// as far as the patch can tell: it adds 7 bytes at offset 4, copies the rest, and checks each
// 8 MiB window's Adler-32.
inline std::pair<QByteArray, QByteArray> plutoniaPair() {
  QByteArray made(17420824, '\0');
  made.replace(4, 7, QByteArray::fromHex("a80b0000981709"));
  const quint32 windows[][3] = {{0, 8388608, 0x10E08DA5}, {8388608, 8388608, 0xF7E800FD}, {16777216, 643608, 0x188FDCD2}};
  for (const auto& [start, size, checksum] : windows) steerAdler(made.data() + start, size, checksum);
  return {QByteArray(made).replace(4, 7, QByteArray(7, '\0')), made};
}

/// The MD5s the catalogue gives the two: what the stand-in checksum tools say of them.
inline constexpr const char* kAnthologyPlutoniaMd5 = "3493be7e1e2588bc9c8b31eab2587a04";
inline constexpr const char* kPlutonia19Md5 = "75c8cf89566741fa9d22447604053bd7";
