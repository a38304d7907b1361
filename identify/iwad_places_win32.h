#pragma once

#include <QProcessEnvironment>
#include <functional>

#include "iwad_search.h"

/// Reads one value of the registry: the key (HKEY_CURRENT_USER\...), the value's name; an empty
/// text where there is none.
using RegistryReader = std::function<QString(const QString& key, const QString& name)>;

/// Where a player's IWADs are on Windows: the folders of DOOMWADDIR and DOOMWADPATH (';'-separated
/// there), the Steam libraries of the Steam installation the registry names, and the folders
/// GOG Galaxy installed DOOM, DOOM II, Final Doom and their re-releases in.
IwadPlaces windowsIwadPlaces(const QProcessEnvironment& environment, const RegistryReader& registry);
