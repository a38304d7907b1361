#pragma once

#include <QString>

/// `wadwright --find [--json]`: identifies the IWADs where stores and distributions install them,
/// as --identify does, without writing in their folders. Returns --identify's exit status, or 1
/// (having said where it looked) when none was found.
int findFromCommandLine(bool json, const QByteArray& programFolder);
