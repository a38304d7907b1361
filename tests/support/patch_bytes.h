#pragma once

// Pieces of a bsdiff 4 patch, for building ones bsdiff would not write: on Linux and on Windows.
#include <bzlib.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtEndian>
#include <vector>

/// Numbers are 8 bytes, sign-magnitude, least significant first.
inline QByteArray number(int64_t value) {
  const uint64_t bits = qToLittleEndian(value < 0 ? (0 - uint64_t(value)) | uint64_t{1} << 63 : uint64_t(value));
  return QByteArray(reinterpret_cast<const char*>(&bits), 8);
}

inline QByteArray bzip2(const QByteArray& bytes) {
  QByteArray out(bytes.size() + bytes.size() / 100 + 600, '\0');
  unsigned size = unsigned(out.size());
  EXPECT_EQ(BZ2_bzBuffToBuffCompress(out.data(), &size, const_cast<char*>(bytes.data()), unsigned(bytes.size()), 9, 0, 0), BZ_OK);
  return out.left(int(size));
}

/// From blocks already compressed, or deliberately not.
inline QByteArray rawPatch(int64_t newSize, const QByteArray& control, const QByteArray& diff, const QByteArray& extra) {
  return "BSDIFF40" + number(control.size()) + number(diff.size()) + number(newSize) + control + diff + extra;
}

/// `control` holds three numbers an entry: bytes to add to the old file's, bytes to copy, seek.
inline QByteArray patch(int64_t newSize, const std::vector<int64_t>& control, const QByteArray& diff, const QByteArray& extra) {
  QByteArray entries;
  for (int64_t value : control) entries += number(value);
  return rawPatch(newSize, bzip2(entries), bzip2(diff), bzip2(extra));
}
