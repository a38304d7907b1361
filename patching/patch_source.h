#pragma once

#include <QProcessEnvironment>
#include <QString>

struct CollectionFile;

/// Where the collection's files are fetched from: a web address or a folder, to which a file's
/// path in the collection is appended. Whatever it is, what comes must be the pinned file.
struct PatchSource {
  QString base;         ///< Ends in a slash: "https://.../COMMIT/", or an absolute folder.
  bool named = false;   ///< Named by WADWRIGHT_PATCH_SOURCE rather than the default.
  QString problem{};    ///< Why WADWRIGHT_PATCH_SOURCE cannot be used; empty when it can.

  /// The full address of one file, as the fetch tool is handed it.
  QString address(const CollectionFile& file) const;
  /// The full address of one file as it may be shown: without a user name and password.
  QString shownAddress(const CollectionFile& file) const;
  /// As a player is told where it comes from: "the public patch collection on GitHub", or the
  /// base that was named, without a user name and password.
  QString shown() const;
};

/// The collection on GitHub at the pinned commit, over HTTPS.
QString defaultPatchSource();

/// The source `environment`'s WADWRIGHT_PATCH_SOURCE names (an https:// or http:// address, or a
/// folder, a relative one taken from the working folder now), or else the default.
PatchSource patchSource(const QProcessEnvironment& environment);
