#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// `wadwright --demo [--json] DEMO [IWAD...]`: reads the demo, names the releases that play it,
/// and tells which of the IWADs given (without any: those of the demo's folder and of the places
/// --find looks in) already is such a release and which can be made into one, with the --make
/// line that does it. Nothing is written. Returns the exit status: 0 when an IWAD here plays it,
/// 1 when one must be made or none fits, 2 when DEMO is no demo or the output could not be written.
int demoFromCommandLine(const QList<QByteArray>& paths, bool json, const QByteArray& programFolder);
