#include "catalogue.h"

#include <algorithm>
#include <span>

#include "collection_releases.h"
#include "known_releases.h"
#include "release_sizes.h"

namespace {

constexpr UpdateOffer kNoUpdate{};
constexpr const char* kToUltimate = "You should update this Version to 'ULTIMATE DOOM'";
constexpr const char* kToDoom2_19 = "You should update this Version to V1.9";
constexpr const char* kUltimateHint = "This will create the file 'udoom.wad'";
constexpr const char* kDoom2Hint = "This will create the file 'doom2_19.wad'";
// The rows of the releases an update makes.
constexpr std::size_t kUltimateRow = kUltimateDoomRow, kDoom2_19Row = kDoom2V19Row, kTntRow = kTntV19Row, kTntYellowKeyRow = 14;

// What each executable's demos are: the version byte it writes and the maps of its game.
constexpr DemoPlayer kNoDemos{}, kOld{-1, Game::Registered}, kOldShareware{-1, Game::Shareware},
    k1666{106, Game::Registered}, k18{108, Game::Registered}, k19{109, Game::Registered}, kUltimate19{109, Game::Ultimate},
    kDoom2_1666{106, Game::Doom2}, kDoom2_17{107, Game::Doom2}, kDoom2_18{108, Game::Doom2}, kDoom2_19{109, Game::Doom2};

constexpr DemoPlayer shareware(int version) { return {version, Game::Shareware}; }

// Where each row's checksum comes from, the first column of the table below.
constexpr ChecksumSource kTwo = ChecksumSource::TwoLists, kOne = ChecksumSource::OneList, kUnconfirmed = ChecksumSource::Unconfirmed,
                         kNotLookedUp = ChecksumSource::NotLookedUp;

constexpr CatalogueRow release(ChecksumSource source, const char* checksum, const char* name, const char* remark, DemoPlayer demos) {
  return {checksum, name, remark, Offer::None, kNoUpdate, Note::None, demos, nullptr, nullptr, packagerSize(checksum), nullptr, nullptr, source};
}

constexpr CatalogueRow updatable(ChecksumSource source, const char* checksum, const char* name, const char* remark, DemoPlayer demos,
                                 UpdateOffer update, const char* folder = nullptr, const char* labels = nullptr, qint64 size = 0,
                                 const char* sha1 = nullptr) {
  return {checksum, name, remark, Offer::Update, update, Note::None, demos, folder, labels, size, sha1, nullptr, source};
}

// A release the public patch collection makes others from, or makes from others.
constexpr CatalogueRow inCollection(ChecksumSource source, const char* checksum, const char* name, const char* remark, DemoPlayer demos,
                                    const char* folder, const char* labels, qint64 size, const char* sha1) {
  return {checksum, name, remark, Offer::None, kNoUpdate, Note::None, demos, folder, labels, size, sha1, nullptr, source};
}

// The first column says where each checksum comes from (the three rows written out whole say it
// last): most, two public IWAD lists; the TNT Yellow Key release's, none of the public lists
// checked; for the shareware releases before 1.9, no list is on record.
constexpr std::array<CatalogueRow, 28> kRows{{
    updatable(kTwo, "981b03e6d1dc033301aa3095acc437ce", "DOOM V1.1", kToUltimate, kOld,
              {kUltimateHint, "udoom.wad", " patches\\d1_11_ud", kUltimateRow}, "doom.wad", "1.1", 10396254, "df0040ccb29cc1622e74ceb3b7793a2304cca2c8"),
    updatable(kTwo, "792fd1fea023d61210857089a7c1e351", "DOOM V1.2", kToUltimate, kOld,
              {kUltimateHint, "udoom.wad", " patches\\d1_12_ud", kUltimateRow}, "doom.wad", "1.2", 10399316, "b5f86a559642a2b3bdfb8a75e91c8da97f057fe6"),
    updatable(kTwo, "54978d12de87f162b9bcc011676cb3c0", "DOOM V1.666", kToUltimate, k1666,
              {kUltimateHint, "udoom.wad", " patches\\d1_1666_ud", kUltimateRow}, "doom.wad", "1.666", 11159840, "2e89b86859acd9fc1e552f587b710751efcffa8e"),
    updatable(kTwo, "11e1cd216801ea2657723abc86ecb01f", "DOOM V1.8", kToUltimate, k18,
              {kUltimateHint, "udoom.wad", " patches\\d1_18_ud", kUltimateRow}, "doom.wad", "1.8", 11159840, "2c8212631b37f21ad06d18b5638c733a75e179ff"),
    updatable(kTwo, "1cd63c5ddff1bf8ce844237f580e9cf3", "DOOM V1.9", kToUltimate, k19,
              {kUltimateHint, "udoom.wad", " patches\\d1_19_ud", kUltimateRow}, "doom.wad", "1.9", 11159840, "7742089b4468a736cadb659a7deca3320fe6dcbd"),
    {"c4fe9fd920207691a9f493668e0a2083", "Ultimate Doom",
     "Would You like to try one of the historic versions?", Offer::DoomBackdateSet, kNoUpdate,
     Note::DoomBackdate, kUltimate19, "doom.wad", "ud", 12408292, "9b07b02ab3c275a6a7570c3f73cc20d63a0e3833", nullptr, kTwo},
    updatable(kTwo, "30e3c2d0350b67bfbf47271970b74b2f", "DOOM2 V1.666", kToDoom2_19, kDoom2_1666,
              {kDoom2Hint, "doom2_19.wad", " patches\\d2_1666_19", kDoom2_19Row}, "doom2.wad", "1.666", 14943400, "6d559b7ceece4f5ad457415049711992370d520a"),
    updatable(kTwo, "d9153ced9fd5b898b36cc5844e35b520", "DOOM2 V1.666 German (No-Nazi)", kToDoom2_19, kDoom2_1666,
              {kDoom2Hint, "doom2_19.wad", " patches\\d2_1666ger_19", kDoom2_19Row}, "doom2.wad", "1.666g", 14824716, "a4ce5128d57cb129fdd1441c12b58245be55c8ce"),
    updatable(kTwo, "ea74a47a791fdef2e9f2ea8b8a9da13b", "DOOM2 V1.7", kToDoom2_19, kDoom2_17,
              {kDoom2Hint, "doom2_19.wad", " patches\\d2_17_19", kDoom2_19Row}, "doom2.wad", "1.7", 14612688, "78009057420b792eacff482021db6fe13b370dcc"),
    updatable(kTwo, "d7a07e5d3f4625074312bc299d7ed33f", "DOOM2 V1.7a", kToDoom2_19, kDoom2_17,
              {kDoom2Hint, "doom2_19.wad", " patches\\d2_17a_19", kDoom2_19Row}, "doom2.wad", "1.7a", 14612688, "70192b8d5aba65c7e633a7c7bcfe7e3e90640c97"),
    updatable(kTwo, "c236745bb01d89bbb866c8fed81b6f8c", "DOOM2 V1.8", kToDoom2_19, kDoom2_18,
              {kDoom2Hint, "doom2_19.wad", " patches\\d2_18_19", kDoom2_19Row}, "doom2.wad", "1.8", 14612688, "79c283b18e61b9a989cfd3e0f19a42ea98fda551"),
    {"25e1459ca71d321525f84628f45ca8cd", "Doom2 V1.9",
     "Would you like to try one of the historic versions?", Offer::Doom2BackdateSet, kNoUpdate,
     Note::Doom2Backdate, kDoom2_19, "doom2.wad", "1.9", 14604584, "7ec7652fcfce8ddc6e801839291f0e28ef1d5ae7", nullptr, kTwo},
    inCollection(kTwo, "75c8cf89566741fa9d22447604053bd7", "Final Doom - Plutonia Experiment V1.9",
                 "-no other versions available-", kDoom2_19, "plutonia.wad", "1.9", 17420824, "90361e2a538d2388506657252ae41aceeb1ba360"),
    updatable(kTwo, "4e158d9953c79ccf97bd0663244cc6b6", "Final Doom - TNT:Evilution V1.9",
              "Would you like to use the 'Yellow Key'-Update?", kDoom2_19,
              {"This will create the file 'tnt_yk.wad'", "tnt_yk.wad", " patches\\tnt_tntyk", kTntYellowKeyRow}, "tnt.wad", "1.9", 18195736, "9fbc66aedef7fe3bae0986cdb9323d2b8db4c9d3"),
    updatable(kUnconfirmed, "677605e1a7ee75dc279373036cdb6ebb", "Final Doom - TNT:Evilution V1.9 Yellow Key :-)",
              "Would you like to remove/undo the 'Yellow Key'-Update?", kDoom2_19,
              {"This will create the file 'tnt_noyk.wad'", "tnt_noyk.wad", " patches\\tntyk_tnt", kTntRow}),
    release(kOne, "740901119ba2953e3c7f3764eca6e128", "DOOM ALPHA 0.2",
            "This is an early alpha Version from Feb 4, 1993", kNoDemos),
    release(kOne, "b6afa12a8b22e2726a8ff5bd249223de", "DOOM ALPHA 0.4",
            "This is an early alpha Version from Apr 2, 1993", kNoDemos),
    release(kOne, "9c877480b8ef33b7074f1f0c07ed6487", "DOOM ALPHA 0.5",
            "This is an early alpha Version from May 22, 1993", kNoDemos),
    release(kOne, "049e32f18d9c9529630366cfc72726ea", "DOOM PRESS RELEASE",
            "This is the press release version from October 4, 1993", kNoDemos),
    release(kNotLookedUp, "90facab21eede7981be10790e3f82da2", "DOOM Shareware 1.0",
            "This is the legendary file from December 10, 1993", kOldShareware),
    release(kNotLookedUp, "52cbc8882f445573ce421fa5453513c1", "DOOM Shareware 1.1",
            "first updated version from Dec. 16, 1993", kOldShareware),
    release(kNotLookedUp, "30aa5beb9e5ebfbbe1e1765561c08f38", "DOOM Shareware 1.2",
            "This is the second updated version from February 17, 1994", kOldShareware),
    release(kNotLookedUp, "a21ae40c388cb6f2c3cc1b95589ee693", "DOOM Shareware 1.4Beta ",
            "This is a beta version from June28 1994", shareware(104)),
    release(kNotLookedUp, "e280233d533dcc28c1acd6ccdc7742d4", "DOOM Shareware 1.5Beta ",
            "This is a beta version from July 8 1994", shareware(105)),
    release(kNotLookedUp, "762fd6d4b960d4b759730f01387a50a1", "DOOM Shareware 1.6 Beta",
            "This is a beta version from August 8, 1994", shareware(106)),
    release(kNotLookedUp, "c428ea394dc52835f2580d5bfd50d76f", "DOOM Shareware 1.666",
            "This is a shareware version from September 1 ,1994", shareware(106)),
    release(kNotLookedUp, "5f4eb849b1af12887dec04a2a12e5e62", "DOOM Shareware 1.8",
            "This is a shareware version from January 20, 1995", shareware(108)),
    {"f0cefca49926d00903cf57551d901abe", "DOOM Shareware 1.9",
     "This is the most recent shareware IWAD ", Offer::None, kNoUpdate, Note::Shareware, shareware(109), nullptr, nullptr,
     packagerSize("f0cefca49926d00903cf57551d901abe"), nullptr, nullptr, kOne},
}};

// The last number: the index in kRows of the release a button's file must be.
constexpr std::array<BackdateButton, 10> kBackdateButtons{{
    {4, Offer::DoomBackdateSet, "V1.1", "DOOM Version 1.1", "d1_11.wad", " patches\\d1_ud_11", 0},
    {5, Offer::DoomBackdateSet, "V1.2", "DOOM Version 1.2", "d1_12.wad", " patches\\d1_ud_12", 1},
    {6, Offer::DoomBackdateSet, "V1.666", "DOOM Version 1.666", "d1_1666.wad", " patches\\d1_ud_1666", 2},
    {7, Offer::DoomBackdateSet, "V1.8", "DOOM Version 1.8", "d1_18.wad", " patches\\d1_ud_18", 3},
    {8, Offer::DoomBackdateSet, "V1.9", "DOOM Version 1.9", "d1_19.wad", " patches\\d1_ud_19", 4},
    {9, Offer::Doom2BackdateSet, "V1.666", "DOOM2 Version 1.666", "d2_1666.wad", " patches\\d2_19_1666", 6},
    {10, Offer::Doom2BackdateSet, "V1.666 German", "DOOM2 Version 1.666 german", "d2_16ger.wad", " patches\\d2_19_1666ger", 7},
    {11, Offer::Doom2BackdateSet, "V1.7", "DOOM2 Version 1.7", "d2_17.wad", " patches\\d2_19_17", 8},
    {12, Offer::Doom2BackdateSet, "V1.7a", "DOOM2 Version 1.7a", "d2_17a.wad", " patches\\d2_19_17a", 9},
    {13, Offer::Doom2BackdateSet, "V1.8", "DOOM2 Version 1.8", "d2_18.wad", " patches\\d2_19_18", 10},
}};

constexpr const char* kBackdateIntroduction =
    "These 'Backdate-Buttons' create some outdated versions of the game's main IWAD. Please use "
    "them only to satisvy your historic interest.\r\n\r\n";

// One line a button of the set: the release, then "= " and its file, the "=" signs lined up one
// blank after the longest release.
QString backdateNote(Offer set) {
  qsizetype longest = 0;
  for (const BackdateButton& button : kBackdateButtons)
    if (button.set == set) longest = std::max(longest, qsizetype(qstrlen(button.release)));
  QString note = kBackdateIntroduction;
  for (const BackdateButton& button : kBackdateButtons)
    if (button.set == set)
      note += " " + QString(button.release).leftJustified(longest) + " = " + button.targetFile + "\r\n";
  return note;
}

}  // namespace

const CatalogueRow* lookUpChecksum(const QString& checksum) {
  for (const CatalogueRow& row : kRows)
    if (row.checksum && checksum == QLatin1String(row.checksum)) return &row;
  return nullptr;
}

std::vector<const CatalogueRow*> everyRow() {
  std::vector<const CatalogueRow*> rows;
  for (std::span<const CatalogueRow> table : {std::span<const CatalogueRow>(kRows), std::span<const CatalogueRow>(knownReleases()),
                                              std::span<const CatalogueRow>(collectionReleases())})
    for (const CatalogueRow& row : table) rows.push_back(&row);
  return rows;
}

const CatalogueRow* lookUpSha1(const QString& sha1) {
  for (const CatalogueRow* row : everyRow())
    if (row->sha1 && sha1 == QLatin1String(row->sha1)) return row;
  return nullptr;
}

bool matchesRow(const CatalogueRow& row, const QString& md5, const QString& sha1) {
  if (row.checksum) return md5 == QLatin1String(row.checksum);
  return row.sha1 && sha1 == QLatin1String(row.sha1);
}

QString halfMatchText(const CatalogueRow& row) {
  return QString("This file has the SHA-1 of %1, but not its MD5: it is not that release, or it is damaged. I cannot "
                 "patch this -sorry!").arg(row.releaseName);
}

const std::array<CatalogueRow, 28>& catalogueRows() { return kRows; }

const std::array<BackdateButton, 10>& backdateButtons() { return kBackdateButtons; }

const CatalogueRow* madeRelease(const QString& targetFile) {
  for (const CatalogueRow& row : kRows)
    if (row.offer == Offer::Update && targetFile == QLatin1String(row.update.targetFile)) return &kRows[row.update.targetRow];
  for (const CatalogueRow& row : knownReleases())  // the re-releases the collection updates
    if (row.offer == Offer::Update && targetFile == QLatin1String(row.update.targetFile)) return &kRows[row.update.targetRow];
  for (const BackdateButton& button : kBackdateButtons)
    if (targetFile == QLatin1String(button.targetFile)) return &kRows[button.releaseRow];
  return nullptr;
}

std::vector<MadeFile> madeFrom(const CatalogueRow& row) {
  std::vector<MadeFile> made;
  if (row.offer == Offer::Update) made.push_back({row.update.targetFile, row.update.patchFile, &kRows[row.update.targetRow]});
  for (const BackdateButton& button : kBackdateButtons)
    if (button.set == row.offer) made.push_back({button.targetFile, button.patchFile, &kRows[button.releaseRow]});
  return made;
}

const BackdateButton* backdateButton(int number) {
  for (const BackdateButton& button : kBackdateButtons)
    if (button.number == number) return &button;
  return nullptr;
}

QString noteText(Note note) {
  switch (note) {
    case Note::DoomBackdate:
      return backdateNote(Offer::DoomBackdateSet);
    case Note::Doom2Backdate:
      return backdateNote(Offer::Doom2BackdateSet);
    case Note::Shareware:
      return "This file is included in the DOS Shareware dated February 1, 1996  and in the DOOM95 "
             "Shareware from May 25, 1996";
    case Note::None:
      break;
  }
  return QString();
}
