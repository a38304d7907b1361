#pragma once

#include <QString>
#include <array>
#include <vector>

/// What the main window offers for a known release.
enum class Offer { None, Update, DoomBackdateSet, Doom2BackdateSet };

/// The note a known release puts in the main window's note box.
enum class Note { None, DoomBackdate, Doom2Backdate, Shareware };

/// The update offer of a release that can be made newer: the hint shown, the file to create,
/// the patch argument (which begins with a blank: it is appended as it stands) and the release the
/// new file must be.
struct UpdateOffer {
  const char* hint = "";
  const char* targetFile = "";
  const char* patchFile = "";
  std::size_t targetRow = 0;  ///< Its index in catalogueRows().
};

/// The maps of a release's game, as a demo's header names them.
enum class Game { None, Shareware, Registered, Ultimate, Doom2 };

/// Which demos a release plays back: those its executable writes, or, where only a source port
/// plays demos with its files, V1.9 demos that may or may not have been recorded on it.
struct DemoPlayer {
  int version = 0;  ///< The version byte its executable writes; -1 the old header of V1.0-V1.2; 0 none.
  Game game = Game::None;
  bool sourcePort = false;  ///< Its own executable plays no DOOM demo: a port plays V1.9's with it.
};

/// The rows of the releases the public patch collection hangs each IWAD's others from.
inline constexpr std::size_t kUltimateDoomRow = 5, kDoom2V19Row = 11, kPlutoniaV19Row = 12, kTntV19Row = 13;

/// Where a row's checksum comes from: its MD5 where it has one, else its SHA-1. A SHA-1 beside an MD5
/// is the public patch collection's README's, or the public list's that gives the MD5 with it.
enum class ChecksumSource {
  TwoLists,          ///< Two independent public IWAD lists give it for this release.
  OneList,           ///< A public IWAD list (a packager's data, a source port's table) gives it; a second was not found or not looked for.
  CollectionReadme,  ///< The public patch collection's README gives its SHA-1, and no public list an MD5.
  Measured,          ///< Measured here, on the files of a Debian package.
  Unconfirmed,       ///< Looked for in the public lists and found in none: it may be wrong.
  NotLookedUp,       ///< No public list is on record for it: not looked for, as far as is known.
  None,              ///< No checksum is published (the PWADs the collection makes).
};

/// One known IWAD release, found by the MD5 digest of the whole file in lowercase hex, or, where no
/// source gives its MD5, by the SHA-1 the public patch collection gives.
struct CatalogueRow {
  const char* checksum;  ///< Its MD5, or nullptr where only its SHA-1 is known.
  const char* releaseName;
  const char* remark;
  Offer offer;
  UpdateOffer update;  ///< Meaningful only when `offer` is Offer::Update.
  Note note;
  DemoPlayer demos;
  /// Its folder in the public patch collection ("doom.wad"), or nullptr.
  const char* collectionFolder = nullptr;
  /// Its labels there, space-separated: the current one first, then earlier names; or nullptr.
  const char* collectionLabels = nullptr;
  /// Its size in bytes, as the collection's patches that make it give it, or the public list that
  /// gives its checksum (Debian's game-data-packager data: release_sizes.h); 0 where not known. The
  /// room a file of it needs, known before it is made, and what tells a damaged copy of it.
  qint64 size = 0;
  /// Its SHA-1, as the collection's README gives it (or the list its MD5 comes from), or nullptr.
  const char* sha1 = nullptr;
  /// The file it is made as where no offer of the design names one, or nullptr: then it is named
  /// after its folder and its label there ("nerve_unity_1.1.wad").
  const char* madeName = nullptr;
  ChecksumSource source = ChecksumSource::NotLookedUp;
};

/// The first row whose checksum equals `checksum` exactly (case and length count), or nullptr.
const CatalogueRow* lookUpChecksum(const QString& checksum);

/// The first row of any table whose SHA-1 equals `sha1` exactly, or nullptr.
const CatalogueRow* lookUpSha1(const QString& sha1);

/// True when `row` has an MD5 or a SHA-1 that `md5` or `sha1` matches, as a made file's check
/// asks: by the MD5 where the row has one, else by its SHA-1.
bool matchesRow(const CatalogueRow& row, const QString& md5, const QString& sha1);

/// Every row, in lookup order.
const std::array<CatalogueRow, 28>& catalogueRows();

/// Every row of every table: the design's catalogue, then the known releases, then the releases
/// only the public patch collection names.
std::vector<const CatalogueRow*> everyRow();

/// One backdate button: the older release it makes from the newest one, and how.
struct BackdateButton {
  int number;              ///< Command4 ... Command13
  Offer set;               ///< The release it is offered for.
  const char* caption;
  const char* release;     ///< As the set's note names it.
  const char* targetFile;  ///< The file it creates.
  const char* patchFile;   ///< The patch argument, with its leading blank.
  std::size_t releaseRow;  ///< The index in catalogueRows() of the release its file must be.
};

/// All ten, in button order; the two sets of five share the same five places in the window.
const std::array<BackdateButton, 10>& backdateButtons();

/// The button with this number, or nullptr.
const BackdateButton* backdateButton(int number);

/// The catalogue row of the release that the update or backdate writing `targetFile` makes, or
/// nullptr: what the new file is checked against.
const CatalogueRow* madeRelease(const QString& targetFile);

/// One file that a release can be made into: its name, the patch argument (with its leading
/// blank) and the release the file must be.
struct MadeFile {
  const char* targetFile;
  const char* patchFile;
  const CatalogueRow* release;
};

/// What can be made from `row`, as the window offers it: its update, or the five files of its
/// backdate set, in button order; nothing for the other releases.
std::vector<MadeFile> madeFrom(const CatalogueRow& row);

/// The text of a note, with CR LF line breaks.
QString noteText(Note note);

/// Said of a file with the SHA-1 of `row`, which also has an MD5 the file does not have.
QString halfMatchText(const CatalogueRow& row);

/// Shown when a file matches no row.
inline constexpr const char* kUnknownVersionMessage =
    "This is an unknown version or not a valid IWAD. I cannot patch this -sorry!";
