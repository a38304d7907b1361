#include "known_releases.h"

namespace {

constexpr const char* kRerelease = "This is a re-release with changed contents. I cannot patch it -sorry!";
constexpr const char* kTranslation = "This is the French translation. I cannot patch it -sorry!";
constexpr const char* kAnthology = "This is the id Anthology release (sold by GOG too). I cannot patch it -sorry!";
constexpr const char* kFreedoom = "This is Freedoom, a free game that takes DOOM's place. I cannot patch it -sorry!";
constexpr const char* kHeretic = "This is Heretic, a game of its own on DOOM's engine. I cannot patch it -sorry!";
constexpr const char* kHexen = "This is Hexen, a game of its own on DOOM's engine. I cannot patch it -sorry!";
constexpr const char* kDeathkings = "This is Deathkings, an add-on that needs Hexen's own IWAD. I cannot patch it -sorry!";
constexpr const char* kChex = "This is Chex Quest 3, a game of its own on DOOM's engine. I cannot patch it -sorry!";
constexpr const char* kDoom64 = "This is DOOM 64, a game of its own that no DOOM release plays. I cannot patch it -sorry!";

// A source port plays V1.9 demos with these files; whether a demo goes right with them depends on
// what it was recorded on.
constexpr DemoPlayer kPortDoom{109, Game::Ultimate, true}, kPortDoom2{109, Game::Doom2, true}, kNoDemos{};

constexpr CatalogueRow known(const char* checksum, const char* name, const char* remark, DemoPlayer demos) {
  return {checksum, name, remark, Offer::None, UpdateOffer{}, Note::None, demos};
}

// Each checksum agreed by at least two independent public IWAD lists; Freedoom's are those of
// Debian 12's freedoom package (0.12.1). The rest of the family is named so that it is not taken
// for an unknown DOOM.
constexpr std::array<CatalogueRow, 44> kKnownReleases{{
    known("fb35c4a5a9fd49ec29ab6e900572c524", "DOOM BFG Edition", kRerelease, kPortDoom),
    known("7912931e44c7d56e021084a256659800", "DOOM BFG Edition (Xbox 360)", kRerelease, kPortDoom),
    known("232a79f7121b22d7401905ee0ee1e487", "DOOM Unity port V1.0", kRerelease, kPortDoom),
    known("21b200688d0fa7c1b6f63703d2bdd455", "DOOM Unity port V1.1", kRerelease, kPortDoom),
    known("8517c4e8f0eef90b82852667d345eb86", "DOOM Unity port V1.3", kRerelease, kPortDoom),
    known("4461d4511386518e784c647e3128e7bc", "DOOM re-release 2024", kRerelease, kPortDoom),
    known("3b37188f6337f15718b617c16e6e7a9c", "DOOM re-release 2024, Update 1", kRerelease, kPortDoom),
    known("0c8758f102ccafe26a3040bee8ba5021", "DOOM Xbox", kRerelease, kPortDoom),
    known("72286ddc680d47b9138053dd944b2a3d", "DOOM Xbox Live Arcade", kRerelease, kPortDoom),
    known("e4f120eab6fb410a5b6e11c947832357", "DOOM Classic Complete (PlayStation 3)", kRerelease, kPortDoom),
    known("c3bea40570c23e511a7ed3ebcd9865f7", "DOOM2 BFG Edition", kRerelease, kPortDoom2),
    known("f617591a6c5d07037eb716dc4863e26b", "DOOM2 BFG Edition (Xbox 360)", kRerelease, kPortDoom2),
    known("e7395bd5e838d58627bd028871efbc14", "DOOM2 Unity port V1.0", kRerelease, kPortDoom2),
    known("7895d10c281305c45a7e5f01b3f7b1d8", "DOOM2 Unity port V1.1", kRerelease, kPortDoom2),
    known("8ab6d0527a29efdc1ef200e5687b5cae", "DOOM2 Unity port V1.3", kRerelease, kPortDoom2),
    known("9aa3cbf65b961d0bdac98ec403b832e1", "DOOM2 re-release 2024", kRerelease, kPortDoom2),
    known("64a4c88a871da67492aaa2020a068cd8", "DOOM2 re-release 2024, Update 1", kRerelease, kPortDoom2),
    known("a793ebcdd790afad4a1f39cc39a893bd", "DOOM2 Xbox", kRerelease, kPortDoom2),
    known("43c2df32dc6c740cb11f34dc5ab693fa", "DOOM2 Xbox Live Arcade", kRerelease, kPortDoom2),
    known("4c3db5f23b145fccd24c9b84aba3b7dd", "DOOM2 Classic Complete (PlayStation 3, USA)", kRerelease, kPortDoom2),
    known("97573aaf26957099ed45e61d81a0a1a3", "DOOM2 Classic Complete (PlayStation 3, Europe)", kRerelease, kPortDoom2),
    known("3cb02349b3df649c86290907eed64e7b", "DOOM2 V1.8 French", kTranslation, kPortDoom2),
    known("1d39e405bf6ee3df69a8d2646c8d5c49", "Final Doom - TNT:Evilution id Anthology", kAnthology, kPortDoom2),
    known("a6685de59ddf2c07f45deeec95296d98", "Final Doom - TNT:Evilution Unity port 2019", kRerelease, kPortDoom2),
    known("f5528f6fd55cf9629141d79eda169630", "Final Doom - TNT:Evilution Unity port 2020", kRerelease, kPortDoom2),
    known("8974e3117ed4a1839c752d5e11ab1b7b", "Final Doom - TNT:Evilution re-release 2024", kRerelease, kPortDoom2),
    known("ad7885c17a6b9b79b09d7a7634dd7e2c", "Final Doom - TNT:Evilution re-release 2024, Update 1", kRerelease, kPortDoom2),
    known("be626c12b7c9d94b1dfb9c327566b4ff", "Final Doom - TNT:Evilution Classic Complete (PlayStation 3, USA)", kRerelease, kPortDoom2),
    known("3493be7e1e2588bc9c8b31eab2587a04", "Final Doom - Plutonia Experiment id Anthology", kAnthology, kPortDoom2),
    known("0b381ff7bae93bde6496f9547463619d", "Final Doom - Plutonia Experiment Unity port 2019", kRerelease, kPortDoom2),
    known("ae76c20366ff685d3bb9fab11b148b84", "Final Doom - Plutonia Experiment Unity port 2020", kRerelease, kPortDoom2),
    known("24037397056e919961005e08611623f4", "Final Doom - Plutonia Experiment re-release 2024", kRerelease, kPortDoom2),
    known("e47cf6d82a0ccedf8c1c16a284bb5937", "Final Doom - Plutonia Experiment re-release 2024, Update 1", kRerelease, kPortDoom2),
    known("b77ca6a809c4fae086162dad8e7a1335", "Final Doom - Plutonia Experiment Classic Complete (PlayStation 3, USA)", kRerelease, kPortDoom2),
    known("c19685bd160b1bb842501063130fb0e7", "Freedoom: Phase 1 0.12.1", kFreedoom, kPortDoom),
    known("7b247eeb6a15ce9deeb652b82eb73f7b", "Freedoom: Phase 2 0.12.1", kFreedoom, kPortDoom2),
    known("ae779722390ec32fa37b0d361f7d82f8", "Heretic shareware V1.2", kHeretic, kNoDemos),
    known("66d686b1ed6d35ff103f15dbd30e0341", "Heretic: Shadow of the Serpent Riders V1.3", kHeretic, kNoDemos),
    known("abb033caf81e26f12a2103e1fa25453f", "Hexen V1.1", kHexen, kNoDemos),
    known("876a5a44c7b68f04b3bb9bc7a5bd69d6", "Hexen demo", kHexen, kNoDemos),
    known("78d5898e99e220e4de64edaa0e479593", "Hexen: Deathkings of the Dark Citadel V1.1", kDeathkings, kNoDemos),
    known("1077432e2690d390c256ac908b5f4efa", "Hexen: Deathkings of the Dark Citadel V1.0", kDeathkings, kNoDemos),
    known("bce163d06521f9d15f9686786e64df13", "Chex Quest 3 V1.4", kChex, kNoDemos),
    known("0aaba212339c72250f8a53a0a2b6189e", "DOOM 64 (2020 re-release)", kDoom64, kNoDemos),
}};

}  // namespace

const std::array<CatalogueRow, 44>& knownReleases() { return kKnownReleases; }

const CatalogueRow* lookUpKnownRelease(const QString& checksum) {
  for (const CatalogueRow& row : kKnownReleases)
    if (checksum == QLatin1String(row.checksum)) return &row;
  return nullptr;
}
