#include "patch_download.h"

#include <cstdio>

#include "platform/standard_streams.h"

QString downloadOffer(const FetchList& list, const PatchSource& source, const QString& shownFolder) {
  if (list.files.empty() || !list.completesWay) return {};
  return "wadwright --make --download fetches " + fetchListText(list, shownFolder) + " from " + source.shown() + ".";
}

FetchResult downloadForCommandLine(const FetchList& list, const PatchSource& source, const QString& shownFolder,
                                   const QByteArray& programFolder, const std::function<void(const QString&)>& announce) {
  const bool terminal = platform::standardErrorIsTerminal();
  int stored = 0;
  for (const FetchFile& file : list.files) {
    const QString shown = shownFolder + file.target();
    announce(shown + " (" + sizeText(file.pin->size) + ") from " + source.shownAddress(*file.pin));
    bool drawn = false;  // one line, drawn over as the bytes come
    const auto progress = [&](qint64 bytes) {
      if (!terminal) return;
      std::fprintf(stderr, "\r%s: %s of %s ", qPrintable(shown), qPrintable(sizeText(bytes)), qPrintable(sizeText(file.pin->size)));
      std::fflush(stderr);
      drawn = true;
    };
    const FetchResult result = fetchFile(file, source, [&](const QString& line, const platform::OutputLine& onLine) {
      return platform::runAndWait(line, programFolder, onLine);
    }, progress, shownFolder);
    if (drawn) std::fputc('\n', stderr);
    if (result.outcome != FetchResult::Outcome::Fetched) return {result.outcome, result.message, stored};
    ++stored;
  }
  return {FetchResult::Outcome::Fetched, {}, stored};
}
