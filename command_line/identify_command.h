#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <QJsonObject>

class CommandOutput;
struct Identification;
struct WadVerdict;

/// `wadwright --identify [--json] FILE...`: identifies each file as the window does, without a
/// window, and prints one line per file (or one JSON array). Returns the exit status: 0 when every
/// file is known, 1 when one is unknown and none failed, 2 when any failed or the output could not
/// be written.
int identifyFromCommandLine(const QList<QByteArray>& files, bool json, const QByteArray& programFolder);

/// Prints what identifying `path` found, as --identify does, and returns its exit status.
int reportIdentification(CommandOutput& output, const QByteArray& path, const Identification& found);

/// What a file in no row is, for --json: its kind, game, lumps, maps and the release nearest in
/// size; each null where its structure does not tell it (all of them for a known file).
QJsonObject unknownFields(const WadVerdict& verdict);
