#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

/// One file of the public patch collection as it is at the pinned commit: what a fetched copy must
/// be, byte for byte, wherever it came from.
struct CollectionFile {
  const char* path;    ///< In the collection, with forward slashes: "doom.wad/kex-to-ud.vcdiff".
  qint64 size;         ///< In bytes; -1 where it is not known.
  const char* sha256;  ///< 64 lowercase hex digits; empty where it is not known.
  /// The release its way makes, by name, where its second label fits more than one in its folder.
  const char* made = nullptr;
  /// Why no way takes it; null when one does.
  const char* excluded = nullptr;

  /// True when a copy can be proven to be this file, and so may be fetched.
  bool pinned() const { return size >= 0 && sha256[0] != '\0'; }
};

/// The commit of Doom-Utils/iwad-patches the table describes.
inline constexpr const char* kCollectionCommit = "28730242573408932ad2a37838409a2bc1e547a0";

/// Every patch file of the collection at kCollectionCommit, by path: what collectionWays() and
/// excludedPatches() are read from.
const std::array<CollectionFile, 142>& collectionFiles();

/// The file at `path` in the collection ("doom.wad/kex-to-ud.vcdiff"), or nullptr.
const CollectionFile* lookUpCollectionFile(const QString& path);
