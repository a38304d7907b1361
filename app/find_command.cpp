#include "find_command.h"

#include <QFile>
#include <cstdio>

#include "command_output.h"
#include "identify/iwad_search.h"
#include "identify_command.h"
#include "path_identification.h"

int findFromCommandLine(bool json, const QByteArray& programFolder) {
  const IwadPlaces places = iwadPlaces(QProcessEnvironment::systemEnvironment());
  const QStringList found = findIwads(places);
  if (found.isEmpty()) {
    std::fprintf(stderr, "wadwright: I found no IWADs. I looked in:\n  %s\n",
                 qPrintable((places.folders + places.stores).join("\n  ")));
    return 1;
  }
  CommandOutput output(json);
  int status = 0;
  for (const QString& iwad : found) {
    const QByteArray path = QFile::encodeName(iwad);
    status = std::max(status, reportIdentification(output, path, identifyPath(path, programFolder, true)));
  }
  return output.finish() ? status : 2;
}
