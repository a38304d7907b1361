#pragma once

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>

/// Where a player's IWADs are found on this system: the folders source ports read (DOOMWADDIR,
/// DOOMWADPATH, the distributions' games/doom folders) and the folders game stores and launchers
/// install the family's games in (Steam libraries, Flatpak Steam, GOG's games through Heroic).
/// Paths byte for byte.
struct IwadPlaces {
  QList<QByteArray> folders;      ///< Read as they are.
  QList<QByteArray> stores;       ///< A game's install: read with its subfolders, three levels down.
  QList<QByteArray> collections;  ///< A folder of installs: each folder in it is read as a store.
  QList<QByteArray> registry;     ///< On Windows, the registry's values read for the rest, to name them.
};

/// Whether the process or the calling thread has been asked to end: the places and the search stop
/// at once when it has.
bool searchAskedToEnd();

/// Keeps the first of each path, in order.
void removeDuplicates(QList<QByteArray>& paths);

/// The places, from `environment` (HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_DATA_DIRS,
/// DOOMWADDIR, DOOMWADPATH) and the lists of libraries and installs that Steam and Heroic keep
/// there. Places that do not exist are left in: looking for them is the search's job. Each place
/// once, in the order first met; asked to end, it stops with the places it has.
IwadPlaces iwadPlaces(const QProcessEnvironment& environment);

/// The IWADs in those places, byte for byte: regular files (or links to them) whose names end in
/// .wad in any letter case and that begin as an IWAD does, each once however many names and links
/// lead to it. Missing or unreadable folders are passed over; nothing is written, and nothing is
/// read that could make the search wait. Asked to end (a termination signal, or an interruption
/// of the thread it runs in), it stops with what it has found.
QList<QByteArray> findIwads(const IwadPlaces& places);

/// The whole of a store's or launcher's own file (a library list, a list of installs), where it
/// is an ordinary file of sensible size: a few KiB in life; a pipe, a device or a giant is not
/// read. Empty where there is none.
QByteArray readStoreFile(const QByteArray& path);
