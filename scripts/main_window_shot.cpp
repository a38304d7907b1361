// Draws the main window, headless, as it looks once an IWAD has been identified: the picture in
// the README. The checksum tool is a stand-in that prints what the file holds, so that no real
// IWAD is needed. Usage: main_window_shot OUTPUT.png
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "window/application.h"
#include "window/file_list_box.h"
#include "window/form1.h"

namespace {

bool write(const QString& path, const QByteArray& content, bool executable = false) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return false;
  file.close();
  return !executable || file.setPermissions(file.permissions() | QFile::ExeOwner);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  prepareApplication(application);
  if (argc != 2) {
    std::fprintf(stderr, "usage: main_window_shot OUTPUT.png\n");
    return 2;
  }
  const QString output = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();

  QTemporaryDir tools, iwads;
  bool ready = tools.isValid() && iwads.isValid() &&
               QFile::copy(WADWRIGHT_BIN_DIR "/command.com", tools.filePath("command.com")) &&
               write(tools.filePath("md5sum.exe"), "#!/bin/sh\nexec cat -- \"$1\"\n", true);
  const char* folder[][2] = {{"doom.wad", "c4fe9fd920207691a9f493668e0a2083"},
                             {"doom2.wad", "25e1459ca71d321525f84628f45ca8cd"},
                             {"plutonia.wad", "75c8cf89566741fa9d22447604053bd7"},
                             {"tnt.wad", "4e158d9953c79ccf97bd0663244cc6b6"}};
  for (const auto& [name, checksum] : folder)
    ready = ready && write(iwads.filePath(name), QByteArray(checksum) + "  " + name + "\n");
  if (!ready || !QDir::setCurrent(iwads.path())) {
    std::fprintf(stderr, "main_window_shot: cannot lay out the scratch folders\n");
    return 1;
  }

  Form1 form(QFile::encodeName(tools.path()));
  form.show();
  form.File1->setSelectedName("doom.wad");  // identified once the events below are handled
  QApplication::processEvents();
  QApplication::processEvents();  // the text boxes lay their text out on the next round
  if (!form.grab().save(output)) {
    std::fprintf(stderr, "main_window_shot: cannot write %s\n", qPrintable(output));
    return 1;
  }
  return 0;
}
