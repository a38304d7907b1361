#pragma once

#include <QByteArray>
#include <QString>

struct IwadPlaces;

/// Where the search looked, one place a line after two blanks, escaped as output fields are: a
/// place comes from the environment, and its bytes must not reach the terminal raw.
QByteArray placesLookedIn(const IwadPlaces& places);

/// `wadwright --find [--json]`: identifies the IWADs where stores and distributions install them,
/// as --identify does, without writing in their folders. Returns --identify's exit status, or 1
/// (having said where it looked) when none was found.
int findFromCommandLine(bool json, const QByteArray& programFolder);

/// The IWADs found in `places`, as the system's users write paths (see shownNativePath).
QList<QByteArray> findShownIwads(const IwadPlaces& places);
