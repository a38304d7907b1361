#pragma once

#include <QtGlobal>
#include <string_view>

/// The sizes of releases that no patch of the public patch collection makes, by MD5: those of
/// Debian's game-data-packager data, Freedoom's measured on Debian 12's freedoom package
/// (0.12.1-2). What tells a damaged copy of such a release; the catalogue's rows take their size
/// from here where the collection gives none.
struct ReleaseSize {
  std::string_view md5;
  qint64 size;
};
inline constexpr ReleaseSize kPackagerSizes[] = {
    {"fb35c4a5a9fd49ec29ab6e900572c524", 12487824},  // DOOM BFG Edition
    {"0c8758f102ccafe26a3040bee8ba5021", 12538385},  // DOOM Xbox
    {"e4f120eab6fb410a5b6e11c947832357", 12474561},  // DOOM Classic Complete (PlayStation 3)
    {"c3bea40570c23e511a7ed3ebcd9865f7", 14691821},  // DOOM2 BFG Edition
    {"f617591a6c5d07037eb716dc4863e26b", 14677988},  // DOOM2 BFG Edition (Xbox 360)
    {"a793ebcdd790afad4a1f39cc39a893bd", 14683458},  // DOOM2 Xbox
    {"43c2df32dc6c740cb11f34dc5ab693fa", 14685034},  // DOOM2 Xbox Live Arcade
    {"4c3db5f23b145fccd24c9b84aba3b7dd", 14599800},  // DOOM2 Classic Complete (PlayStation 3, USA)
    {"3cb02349b3df649c86290907eed64e7b", 14607420},  // DOOM2 V1.8 French
    {"1d39e405bf6ee3df69a8d2646c8d5c49", 18654796},  // TNT: Evilution id Anthology
    {"be626c12b7c9d94b1dfb9c327566b4ff", 18222568},  // TNT: Evilution Classic Complete (PlayStation 3, USA)
    {"3493be7e1e2588bc9c8b31eab2587a04", 18240172},  // Plutonia Experiment id Anthology
    {"b77ca6a809c4fae086162dad8e7a1335", 17417800},  // Plutonia Experiment Classic Complete (PlayStation 3, USA)
    {"740901119ba2953e3c7f3764eca6e128", 496250},    // DOOM ALPHA 0.2
    {"b6afa12a8b22e2726a8ff5bd249223de", 2675669},   // DOOM ALPHA 0.4
    {"9c877480b8ef33b7074f1f0c07ed6487", 3522207},   // DOOM ALPHA 0.5
    {"049e32f18d9c9529630366cfc72726ea", 5468456},   // DOOM PRESS RELEASE
    {"f0cefca49926d00903cf57551d901abe", 4196020},   // DOOM Shareware 1.9
    {"ae779722390ec32fa37b0d361f7d82f8", 5120920},   // Heretic shareware V1.2
    {"876a5a44c7b68f04b3bb9bc7a5bd69d6", 10644136},  // Hexen demo
    {"c19685bd160b1bb842501063130fb0e7", 27284992},  // Freedoom: Phase 1 0.12.1
    {"7b247eeb6a15ce9deeb652b82eb73f7b", 28544136},  // Freedoom: Phase 2 0.12.1
};

/// The size given here for the release of MD5 `md5`, or 0.
constexpr qint64 packagerSize(const char* md5) {
  if (!md5) return 0;
  for (const ReleaseSize& known : kPackagerSizes)
    if (known.md5 == md5) return known.size;
  return 0;
}
