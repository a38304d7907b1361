#pragma once

#include <QProcessEnvironment>
#include <QStringList>

/// Where a player's IWADs are found on this system: the folders source ports read (DOOMWADDIR,
/// DOOMWADPATH, the distributions' games/doom folders) and the folders game stores install DOOM,
/// DOOM II, Final Doom and their re-releases in (Steam libraries, Flatpak Steam, GOG Games).
struct IwadPlaces {
  QStringList folders;  ///< Read as they are.
  QStringList stores;   ///< Read with their subfolders, a few levels down.
};

/// The places, from `environment` (HOME, XDG_DATA_HOME, XDG_DATA_DIRS, DOOMWADDIR, DOOMWADPATH)
/// and the Steam library lists found there. Places that do not exist are left in: looking for
/// them is the search's job.
IwadPlaces iwadPlaces(const QProcessEnvironment& environment);

/// The IWADs in those places: regular files (or links to them) whose names end in .wad in any
/// letter case and that begin as an IWAD does, each once however it is reached. Missing or
/// unreadable folders are passed over. Nothing is written.
QStringList findIwads(const IwadPlaces& places);
