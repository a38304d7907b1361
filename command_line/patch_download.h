#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "patching/patch_fetch.h"

/// What `--download` would fetch for a way that lacks `list`'s files, as a sentence to follow
/// the missing files' message; empty when fetching would not complete the way.
QString downloadOffer(const FetchList& list, const PatchSource& source, const QString& shownFolder);

/// Fetches `list`'s files into the working folder for `--make --download`, one after another.
/// Before each starts, `announce` is handed what is fetched, its size and its source; while it
/// comes, a line on standard error shows how far, where that is a terminal. The result counts the
/// files stored.
FetchResult downloadForCommandLine(const FetchList& list, const PatchSource& source, const QString& shownFolder,
                                   const QByteArray& programFolder, const std::function<void(const QString&)>& announce);
