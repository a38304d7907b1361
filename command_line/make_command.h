#pragma once

#include <QByteArray>
#include <QString>

/// `wadwright --make [--json] TARGET FILE`: makes the release file TARGET from FILE, in FILE's
/// folder, as the window's action does: under the folder's lock, from the identified file, with
/// the patch file from the folder `patches` beside it, the new file checked (a wrong one removed).
/// Returns the exit status: 0 made and checked, 1 refused, 2 failed.
int makeFromCommandLine(const QByteArray& target, const QByteArray& file, bool json, const QByteArray& programFolder);

/// `wadwright --make --list [--json] FILE`: what can be made from FILE, and whether each patch
/// file is there. Returns 0 when something can be made, 1 when nothing can (no patch file is there,
/// or the folder is read-only), 2 when FILE could not be identified.
int listOffersFromCommandLine(const QByteArray& file, bool json, const QByteArray& programFolder);

/// Why `--make` refuses the file `path` (given byte for byte) by its name alone, in its own words:
/// a name that is not valid text or holds what cannot be handed to the tools. Empty when it does not.
QString whyNameRefused(const QByteArray& path);
