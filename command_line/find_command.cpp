#include "find_command.h"

#include <cstdio>

#include "command_output.h"
#include "identify/iwad_search.h"
#include "identify_command.h"
#include "path_identification.h"
#include "platform/native_names.h"
#include "platform/termination_signals.h"

QByteArray placesLookedIn(const IwadPlaces& places) {
  QByteArray text;
  for (const QByteArray& place : places.registry + places.folders + places.stores + places.collections)
    text += "  " + escapedField(platform::shownNativePath(place)) + "\n";
  return text;
}

QList<QByteArray> findShownIwads(const IwadPlaces& places) {
  QList<QByteArray> found = findIwads(places);
  for (QByteArray& path : found) path = platform::shownNativePath(path);
  return found;
}

int findFromCommandLine(bool json, const QByteArray& programFolder) {
  const IwadPlaces places = iwadPlaces(QProcessEnvironment::systemEnvironment());
  const QList<QByteArray> found = findShownIwads(places);
  if (found.isEmpty() && !platform::terminationSignal()) {
    std::fprintf(stderr, "wadwright: I found no IWADs. I looked in:\n%s", placesLookedIn(places).constData());
    return CommandOutput(json).finish() ? 1 : 2;  // with --json, still a whole document: []
  }
  CommandOutput output(json);
  int status = 0;
  for (const QByteArray& path : found) {
    if (platform::terminationSignal()) break;  // asked to end: nothing more is started
    status = std::max(status, reportIdentification(output, path, identifyPath(path, programFolder, true)));
  }
  return output.finish() ? status : 2;
}
