#include "command_options.h"

#include <QCommandLineParser>
#include <QStringList>

#include "command_output.h"

const char* const kUsage =
    "Usage: wadwright [PATH]\n"
    "       wadwright --identify [--json] FILE...\n"
    "       wadwright --make [--json] [--download] TARGET FILE\n"
    "       wadwright --make --list [--json] FILE\n"
    "       wadwright --find [--json]\n"
    "       wadwright --demo [--json] DEMO [IWAD...]\n"
    "Tells which release of a game of the DOOM family an IWAD is (DOOM, DOOM2, Final Doom, Heretic,\n"
    "Hexen, Strife, DOOM 64, their add-ons and re-releases), by its MD5 or SHA-1, and makes its other\n"
    "releases.\n"
    "\n"
    "  PATH        a folder to work in, or an IWAD to identify in its folder\n"
    "              (without it: the folder Wadwright was started in)\n"
    "  --identify  name the release of each FILE without a window, one line each:\n"
    "              FILE<TAB>release<TAB>remark, FILE<TAB>unknown<TAB>MD5 or FILE<TAB>error<TAB>reason;\n"
    "              a fourth field, after the MD5, says where an unknown file has the SHA-1 of a release\n"
    "              but not its MD5;\n"
    "              a backslash, tab, newline or carriage return in a field is written \\\\, \\t, \\n, \\r,\n"
    "              any other control character as \\x and two hex digits (\\x1b);\n"
    "              exit status 0: all known, 1: one unknown, 2: one could not be identified\n"
    "  --make      make the release file TARGET (such as udoom.wad or d1_11.wad) from FILE, beside it,\n"
    "              with the patch files in the folder patches beside FILE, in as few steps as those\n"
    "              there allow (the 2024 re-release, then Ultimate Doom, then d1_19.wad); each file\n"
    "              made is checked by its release's MD5 or SHA-1, and only TARGET is left; a levels\n"
    "              PWAD the collection makes has no published checksum: it is kept, said to be\n"
    "              unchecked (exit status 2). A FILE whose name the helpers cannot take (not valid\n"
    "              text, a double quote, a backslash or a control character) is refused.\n"
    "              Patching can damage game files: keep a copy of yours. Wadwright ships no patch\n"
    "              files (they are made from commercial game files): --download, or the window\n"
    "              once you agree, fetches those of the way; or clone or unpack the public\n"
    "              collection Doom-Utils/iwad-patches into patches\n"
    "              (patches/doom.wad/kex-to-ud.vcdiff); or make bsdiff 4 patches with Debian's\n"
    "              'bsdiff OLD NEW PATCH' from two files you own, named as --make --list shows\n"
    "              (patches/d1_ud_11 turns Ultimate Doom into d1_11.wad).\n"
    "              exit status 0: made and checked, 1: refused, 2: failed or unchecked\n"
    "  --download  with --make: first fetch the way's missing patch files from the public\n"
    "              collection into patches, one line each; only those files, only then, from\n"
    "              raw.githubusercontent.com at the commit Wadwright knows, each checked by its\n"
    "              size and SHA-256 before it is kept; WADWRIGHT_PATCH_SOURCE names another source\n"
    "              (an https:// or http:// address or a folder, the collection's paths appended).\n"
    "              Nothing else ever goes over the network.\n"
    "  --list      with --make: every file FILE can be made into, the way there and whether each\n"
    "              patch file of it is there, or else whether --download can fetch it, and its size\n"
    "  --find      identify the IWADs where game stores and distributions install them\n"
    "  --demo      read the demo DEMO (a .lmp file): the version, map, skill and players it was\n"
    "              recorded with and the releases that play it; then which IWAD (those given, or\n"
    "              else those of DEMO's folder and of the places --find looks in) is such a release,\n"
    "              and the one --make line that makes one from those that are not, or what it\n"
    "              lacks now (a patch file, a writable folder)\n"
    "              exit status 0: an IWAD here plays it, 1: one must be made or none fits,\n"
    "              2: DEMO is no demo\n"
    "  --json      with --identify, --make, --find or --demo: one JSON array instead\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "  --          take every word after it as a name, even one that begins with '-'\n"
    "Asked to end (Ctrl+C, SIGTERM, SIGHUP), every mode stops at once, starts nothing more and prints\n"
    "what it has: exit status 128 + the signal's number (130 for Ctrl+C, 143 for SIGTERM).\n";

namespace {

// The parser sees each word as Latin-1, which any bytes are: the names come back as given.
QStringList bytewise(int argc, char** argv) {
  QStringList words;
  for (int i = 0; i < argc; ++i) words << QString::fromLatin1(argv[i]);
  return words;
}

// The first word before `--` that is shaped like an option and is none of ours, as it was typed
// (`--bogus`, `-x`, `--json=yes`) but escaped as output fields are, so that the complaint stays one
// line; an empty text when there is none. A lone `-` is a name.
QString unknownOption(const QStringList& words, const QList<QCommandLineOption>& options) {
  QStringList known;
  for (const QCommandLineOption& option : options)  // as typed: `-h`, `--help`
    for (const QString& name : option.names()) known << (name.size() == 1 ? "-" : "--") + name;
  for (const QString& word : words.mid(1)) {
    if (word == "--") break;
    if (word.startsWith('-') && word != "-" && !known.contains(word)) return QString::fromUtf8(escapedField(word.toLatin1()));
  }
  return {};
}

QString checkedShape(const CommandOptions& options, bool list) {
  using Mode = CommandOptions::Mode;
  const qsizetype count = options.paths.size();
  if (list && options.mode != Mode::ListOffers) return "--list goes with --make";
  if (options.download && options.mode != Mode::Make) return "--download goes with --make TARGET FILE";
  switch (options.mode) {
    case Mode::Window:
      if (options.json) return "--json goes with --identify, --make, --find or --demo";
      if (count > 1) return "give one folder or IWAD to open, not " + QString::number(count);
      break;
    case Mode::Identify:
      if (count == 0) return "--identify needs the files to identify: wadwright --identify [--json] FILE...";
      break;
    case Mode::Make:
      if (count != 2) return "--make needs the release to make and the file to make it from: wadwright --make TARGET FILE";
      break;
    case Mode::ListOffers:
      if (count != 1) return "--make --list needs one file: wadwright --make --list FILE";
      break;
    case Mode::Find:
      if (count != 0) return "--find looks in the usual places and takes no file names";
      break;
    case Mode::Demo:
      if (count == 0) return "--demo needs the demo to read: wadwright --demo [--json] DEMO [IWAD...]";
      break;
    case Mode::Help:
    case Mode::Version: break;
  }
  return {};
}

}  // namespace

CommandOptions parseCommandLine(int argc, char** argv) {
  QCommandLineParser parser;
  const QCommandLineOption identify("identify"), make("make"), list("list"), download("download"), find("find"), demo("demo"),
      json("json"), help(QStringList{"help", "h"}), version("version");
  const QList<QCommandLineOption> ours{identify, make, list, download, find, demo, json, help, version};
  parser.addOptions(ours);
  parser.addPositionalArgument("PATH", "");

  CommandOptions options;
  const QStringList words = bytewise(argc, argv);
  // The parser's own complaint would drop the dashes and speak in another voice than ours.
  const QString unknown = unknownOption(words, ours);
  if (!unknown.isEmpty()) {
    options.error = "I do not know the option '" + unknown + "'";
    return options;
  }
  if (!parser.parse(words)) {  // not expected: every word it could refuse is refused above
    options.error = "I cannot read this command line";
    return options;
  }
  for (const QString& word : parser.positionalArguments()) options.paths << word.toLatin1();
  options.json = parser.isSet(json);
  options.download = parser.isSet(download);
  if (parser.isSet(help)) options.mode = CommandOptions::Mode::Help;
  else if (parser.isSet(version)) options.mode = CommandOptions::Mode::Version;
  if (options.mode != CommandOptions::Mode::Window) return options;  // they win over anything else

  int modes = parser.isSet(identify) + parser.isSet(make) + parser.isSet(find) + parser.isSet(demo);
  if (modes > 1) {
    options.error = "choose one of --identify, --make, --find and --demo";
    return options;
  }
  if (parser.isSet(identify)) options.mode = CommandOptions::Mode::Identify;
  if (parser.isSet(make)) options.mode = parser.isSet(list) ? CommandOptions::Mode::ListOffers : CommandOptions::Mode::Make;
  if (parser.isSet(find)) options.mode = CommandOptions::Mode::Find;
  if (parser.isSet(demo)) options.mode = CommandOptions::Mode::Demo;
  options.error = checkedShape(options, parser.isSet(list));
  return options;
}
