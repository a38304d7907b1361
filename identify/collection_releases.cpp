#include "collection_releases.h"

namespace {

// A source port plays V1.9 demos with these files; the other games' demos are their own.
constexpr DemoPlayer kPortDoom{109, Game::Ultimate, true}, kPortDoom2{109, Game::Doom2, true}, kNoDemos{};

constexpr const char* kDoom2Rerelease =
    "This is a re-release with changed contents. Update it to DOOM2 V1.9, and from that make any other version!";
constexpr const char* kTntRerelease = "This is a re-release with changed contents. Update it to V1.9, and from that make any other version!";
constexpr const char* kPlutoniaRerelease = kTntRerelease;
constexpr const char* kPwad =
    "This is a PWAD, not an IWAD: only the levels and demos, to be played over another game's IWAD (such as Freedoom's). "
    "Nothing is made from it.";
constexpr const char* kNerveHub =
    "This is No Rest for the Living as the BFG Edition has it, a PWAD for DOOM2. Make any of its other releases from it!";
constexpr const char* kNerve = "This is No Rest for the Living, a PWAD for DOOM2. Update it to the BFG Edition's, and from that make the others!";
constexpr const char* kMasterHub =
    "These are the Master Levels in one file, as the BFG Edition on Xbox 360 and PlayStation 3 has them: a PWAD for DOOM2. "
    "You can make the 2024 re-release's from it!";
constexpr const char* kMaster = "These are the Master Levels in one file, a PWAD for DOOM2. You can make the console release's from it!";
constexpr const char* kHereticHub = "This is Heretic: Shadow of the Serpent Riders. Would you like to try one of the historic versions?";
constexpr const char* kHeretic = "This is Heretic, a game of its own on DOOM's engine. You can update it to V1.3!";
constexpr const char* kHexenHub = "This is Hexen. Would you like to try version 1.0, the Macintosh release or the leaked beta?";
constexpr const char* kHexen = "This is Hexen, a game of its own on DOOM's engine. You can update it to V1.1!";
constexpr const char* kHexenBeta =
    "This is the leaked beta of Hexen: it plays only with its own executable. Nothing is made from it.";
constexpr const char* kDeathkingsHub =
    "This is Deathkings, an add-on that needs Hexen's own IWAD; V1.1 added the music list. You can make V1.0 from it!";
constexpr const char* kDeathkings =
    "This is Deathkings, an add-on that needs Hexen's own IWAD. V1.0 (as Steam sells it) has no music list: update it to V1.1!";
constexpr const char* kStrifeHub = "This is Strife, a game of its own on DOOM's engine. You can make V1.1 from it!";
constexpr const char* kStrife = "This is Strife, a game of its own on DOOM's engine. You can update it to V1.2!";
constexpr const char* kVeteranHub =
    "This is the Strife: Veteran Edition PWAD, which it plays over strife1.wad. You can make its earlier versions from it!";
constexpr const char* kVeteran = "This is the Strife: Veteran Edition PWAD, which it plays over strife1.wad. You can update it to V1.3!";
constexpr const char* kDoom64 = "This is DOOM 64, a game of its own that no DOOM release plays. You can make its other version from it!";
constexpr const char* kExtras =
    "This is the Unity port's extras.wad, which only that port reads. You can make its other version from it!";

// Where each row's checksum comes from, the first column of the table below.
constexpr ChecksumSource kTwo = ChecksumSource::TwoLists, kOne = ChecksumSource::OneList, kReadme = ChecksumSource::CollectionReadme,
                         kNone = ChecksumSource::None;

constexpr CatalogueRow row(ChecksumSource source, const char* md5, const char* sha1, const char* name, const char* remark,
                           DemoPlayer demos, const char* folder, const char* labels, qint64 size, const char* madeName = nullptr) {
  return {md5, name, remark, Offer::None, UpdateOffer{}, Note::None, demos, folder, labels, size, sha1, madeName, source};
}

// Each SHA-1 is the collection's README's. An MD5 is given where a public IWAD list pairs it with
// that SHA-1 (the same file's size, MD5 and SHA-1), and for No Rest for the Living's 2024
// re-release, where a source port's IWAD table gives it for that release and size, as a port's
// issue tracker does. The PWADs the collection makes have no checksum. The size is what the
// collection's patches that make the file say (0: not measured).
constexpr std::array<CatalogueRow, 40> kRows{{
    row(kReadme, nullptr, "23a3a8bfafcfdc7c481f282cf2a3d03e5f386d43", "DOOM Pocket PC",
        "This is the Pocket PC IWAD as its installer holds it. An installed copy has random bytes appended, which "
        "make it another file: take it from the installation files. Update it to 'ULTIMATE DOOM'!",
        kPortDoom, "doom.wad", "ppc", 14445628),
    row(kNone, nullptr, nullptr, "Ultimate Doom levels PWAD", kPwad, kNoDemos, "doom.wad", "pwad", 3664536),
    row(kOne, "9640fc4b2c8447bbd28f2080725d5c51", "2cda310805397ae44059bbcaed3cd602f4864a82", "DOOM2 Tapwave Zodiac", kDoom2Rerelease,
        kPortDoom2, "doom2.wad", "zodiac", 14639397),
    row(kNone, nullptr, nullptr, "DOOM2 levels PWAD", kPwad, kNoDemos, "doom2.wad", "pwad", 3139972),
    row(kReadme, nullptr, "5066833da047117241cdda05a708b009eb266c91", "Final Doom - TNT:Evilution Classic Complete (PlayStation 3, Europe)",
        kTntRerelease, kPortDoom2, "tnt.wad", "psn_eur", 18226047),
    row(kNone, nullptr, nullptr, "Final Doom - TNT:Evilution V1.9 levels PWAD", kPwad, kNoDemos, "tnt.wad", "pwad", 5256852),
    row(kNone, nullptr, nullptr, "Final Doom - TNT:Evilution id Anthology levels PWAD", kPwad, kNoDemos, "tnt.wad", "pwad", 5257236,
        "tnt_anthology_pwad.wad"),
    row(kReadme, nullptr, "85c3517434135a5886111b324955f9288c01046c",
        "Final Doom - Plutonia Experiment Classic Complete (PlayStation 3, Europe)", kPlutoniaRerelease, kPortDoom2,
        "plutonia.wad", "psn_eur", 17421279),
    row(kNone, nullptr, nullptr, "Final Doom - Plutonia Experiment V1.9 levels PWAD", kPwad, kNoDemos, "plutonia.wad", "pwad", 4688396),
    row(kNone, nullptr, nullptr, "Final Doom - Plutonia Experiment id Anthology levels PWAD", kPwad, kNoDemos, "plutonia.wad", "pwad", 4688556,
        "plutonia_anthology_pwad.wad"),
    row(kTwo, "967d5ae23daf45196212ae1b605da3b0", "3451288383fb16e196f273d9f85d58c1fda97bf4", "No Rest for the Living (BFG Edition)",
        kNerveHub, kNoDemos, "nerve.wad", "bfg", 3819855),
    row(kReadme, nullptr, "321e951f6cc6e9d51bc16eac53e0d001f0f3f338", "No Rest for the Living, Unity port V1.1", kNerve, kNoDemos,
        "nerve.wad", "unity_1.1", 3821966),
    row(kReadme, nullptr, "2c5c4aa07eea8820a65dbf282d8b6d8358bb74fa", "No Rest for the Living, Unity port V1.2", kNerve, kNoDemos,
        "nerve.wad", "unity_1.2", 3821885),
    row(kReadme, nullptr, "6ab960ae23430ca2ced7db3edd8075b7e0158f26", "No Rest for the Living, Unity port V1.3", kNerve, kNoDemos,
        "nerve.wad", "unity_1.3", 4003409),
    row(kReadme, nullptr, "7bb0734f85b045dd41482c5e95b0ecbe1700fbcb", "No Rest for the Living, Unity port V1.4", kNerve, kNoDemos,
        "nerve.wad", "unity_1.4", 0),
    row(kOne, "23422eb42833ac7b0dd59c0c7ae18a6f", "4522eaec7a13aac24b456e29520e99ac879e6989", "No Rest for the Living, re-release 2024", kNerve, kNoDemos,
        "nerve.wad", "kex kex_1.0", 4039441),
    row(kReadme, nullptr, "f095f557c9969bafd249710da7675c1bc2e94698", "Master Levels (BFG Edition, Xbox 360 and PlayStation 3)", kMasterHub,
        kNoDemos, "master-levels", "console", 3479715),
    row(kReadme, nullptr, "47d5b10aee861791c9272ba4944e8eb1ea1e0819", "Master Levels, re-release 2024", kMaster, kNoDemos, "master-levels",
        "kex kex_1.0", 3894977),
    row(kReadme, nullptr, "32e7937fda52c4cecc8ddc75ddd41b5e0dfe6892", "Master Levels, re-release 2024, Update 1", kMaster, kNoDemos,
        "master-levels", "kex-update1 kex_1.1", 3920169),
    row(kOne, "3117e399cdb4298eaa3941625f4b2923", "b5a6cc79cde48d97905b44282e82c4c966a23a87", "Heretic V1.0", kHeretic, kNoDemos,
        "heretic.wad", "1.0", 11096488),
    row(kOne, "1e4cb4ef075ad344dd63971637307e04", "a54c5d30629976a649119c5ce8babae2ddfb1a60", "Heretic V1.2", kHeretic, kNoDemos,
        "heretic.wad", "1.2", 11095516),
    row(kOne, "66d686b1ed6d35ff103f15dbd30e0341", "f489d479371df32f6d280a0cb23b59a35ba2b833", "Heretic: Shadow of the Serpent Riders V1.3",
        kHereticHub, kNoDemos, "heretic.wad", "1.3", 14189976),
    row(kNone, nullptr, nullptr, "Heretic levels PWAD", kPwad, kNoDemos, "heretic.wad", "pwad", 6661700),
    row(kReadme, nullptr, "ac129c4331bf26f0f080c4a56aaa40d64969c98a", "Hexen V1.0", kHexen, kNoDemos, "hexen.wad", "1.0", 20128392),
    row(kOne, "abb033caf81e26f12a2103e1fa25453f", "4b53832f0733c1e29e5f1de2428e5475e891af29", "Hexen V1.1", kHexenHub, kNoDemos,
        "hexen.wad", "1.1", 20083672),
    row(kReadme, nullptr, "ae797f5fdce845be24a7a24dd5bfc3e762a17bbe", "Hexen beta", kHexenBeta, kNoDemos, "hexen.wad", "beta", 20428208),
    row(kReadme, nullptr, "4343fbe5aef905ef6d077a1517a50c919e5cc906", "Hexen for Macintosh", kHexen, kNoDemos, "hexen.wad", "mac", 21078584),
    row(kOne, "1077432e2690d390c256ac908b5f4efa", "c3065527d62b05a930fe75fe8181a64fb1982976", "Hexen: Deathkings of the Dark Citadel V1.0",
        kDeathkings, kNoDemos, "hexdd.wad", "1.0", 4429700),
    row(kOne, "78d5898e99e220e4de64edaa0e479593", "081f6a2024643b54ef4a436a85508539b6d20a1e", "Hexen: Deathkings of the Dark Citadel V1.1",
        kDeathkingsHub, kNoDemos, "hexdd.wad", "1.1", 4440584),
    row(kReadme, nullptr, "eb0f3e157b35c34d5a598701f775e789ec85b4ae", "Strife V1.1", kStrife, kNoDemos, "strife1.wad", "1.1", 28372168),
    row(kOne, "2fed2031a5b03892106e0f117f17901f", "64c13b951a845ca7f8081f68138a6181557458d1", "Strife V1.2", kStrifeHub, kNoDemos,
        "strife1.wad", "1.2", 28377364),
    row(kReadme, nullptr, "4768b23a2d4778862e15a14ef744da121f711d5b", "Strife: Veteran Edition V1.0", kVeteran, kNoDemos, "SVE.wad", "1.0", 102621358),
    row(kReadme, nullptr, "08ba56e6171cec65c10c9feff8705124e72421f3", "Strife: Veteran Edition V1.1", kVeteran, kNoDemos, "SVE.wad", "1.1", 102621358),
    row(kReadme, nullptr, "539ff0d7d9971c2c33e663dca8072c629e177dfb", "Strife: Veteran Edition V1.2", kVeteran, kNoDemos, "SVE.wad", "1.2", 102407969),
    row(kReadme, nullptr, "69d896243ec17059d7ffeb6448118ea5d2621253", "Strife: Veteran Edition V1.3", kVeteranHub, kNoDemos, "SVE.wad", "1.3", 106608109),
    row(kReadme, nullptr, "b24ff7127da6cc44b61e8c6e551eaffacb674751", "Strife: Veteran Edition for Nintendo Switch V1.0", kVeteran, kNoDemos,
        "SVE.wad", "switch-1.0", 102424681),
    row(kReadme, nullptr, "ae363db8cd5645e1753d9bacc82cc0724e8e7f21", "DOOM 64 V1.0", kDoom64, kNoDemos, "doom64.wad", "1.0", 15103284),
    row(kReadme, nullptr, "d041456bea851c173f65ac6ab3f2ee61bb0b8b53", "DOOM 64 V1.1", kDoom64, kNoDemos, "doom64.wad", "1.1", 15103212),
    row(kReadme, nullptr, "0f2a7139b640e19a08f384562f907cb0734b0512", "DOOM Unity port extras V1.0", kExtras, kNoDemos, "extras.wad", "1.0", 64587),
    row(kReadme, nullptr, "55a6a95c99d7fe7b9501d34b0afecd3252a629e1", "DOOM Unity port extras V1.1 (September 3, 2020)", kExtras, kNoDemos,
        "extras.wad", "1.1", 64779),
}};

constexpr std::array<CollectionFolder, 13> kFolders{{
    {"doom.wad", "ud", "1.1 1.2 1.666 1.8 1.9 ud ppc xbox xbla psn bfg unity_1.0 unity_1.1 unity_1.3 kex kex-update1 pwad"},
    {"doom2.wad", "1.9",
     "1.666 1.666g 1.7 1.7a 1.8 1.8f 1.9 zodiac xbox xbla psn_usa psn_eur xbox360bfg bfg unity_1.0 unity_1.1 unity_1.3 kex "
     "kex-update1 pwad"},
    {"tnt.wad", "1.9", "1.9 anthology psn_usa psn_eur unity_1.0 unity_1.3 kex kex-update1 pwad"},
    {"plutonia.wad", "1.9", "1.9 anthology psn_usa psn_eur unity_1.0 unity_1.3 kex kex-update1 pwad"},
    {"nerve.wad", "bfg", "bfg unity_1.1 unity_1.2 unity_1.3 unity_1.4 kex"},
    {"master-levels", "console", "console kex kex-update1"},
    {"heretic.wad", "1.3", "1.0 1.2 1.3 pwad"},
    {"hexen.wad", "1.1", "beta 1.0 1.1 mac"},
    {"hexdd.wad", "1.1", "1.0 1.1"},
    {"strife1.wad", "1.2", "1.1 1.2"},
    {"SVE.wad", "1.3", "1.0 1.1 1.2 1.3 switch-1.0"},
    {"doom64.wad", "1.0", "1.0 1.1"},
    {"extras.wad", "1.1", "1.0 1.1"},
}};

}  // namespace

const std::array<CatalogueRow, 40>& collectionReleases() { return kRows; }

const std::array<CollectionFolder, 13>& collectionFolders() { return kFolders; }

const CollectionFolder* collectionFolder(const QString& folder) {
  for (const CollectionFolder& each : kFolders)
    if (folder == QLatin1String(each.folder)) return &each;
  return nullptr;
}

bool isCollectionHub(const CatalogueRow& row) {
  const CollectionFolder* folder = row.collectionFolder ? collectionFolder(row.collectionFolder) : nullptr;
  return folder && QString(row.collectionLabels).section(' ', 0, 0) == QLatin1String(folder->hub);
}
