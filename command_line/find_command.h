#pragma once

#include <QString>

struct IwadPlaces;

/// `wadwright --find [--json]`: identifies the IWADs where stores and distributions install them,
/// as --identify does, without writing in their folders. Returns --identify's exit status, or 1
/// (having said where it looked) when none was found.
int findFromCommandLine(bool json, const QByteArray& programFolder);

/// Where a search for IWADs looked, one place a line, indented: for the user when none was found.
QByteArray placesLookedIn(const IwadPlaces& places);

/// The IWADs found in `places`, as the system's users write paths (see shownNativePath).
QList<QByteArray> findShownIwads(const IwadPlaces& places);
