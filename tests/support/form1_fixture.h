#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "app/form1.h"
#include "message_catcher.h"
#include "scratch_folder.h"

/// The main window over a scratch working folder, with its tools in a folder of their own:
/// the real interpreter, and the real checksum tool or a fake one that prints what the selected
/// file holds (no real file has the catalogue's checksums).
class Form1Fixture : public ::testing::Test {
 protected:
  Form1Fixture();
  ~Form1Fixture() override;

  void installRealTools(const QStringList& tools = {"command.com", "md5sum.exe"});
  void installFakeChecksumTool();
  void installTool(const QString& name, const QByteArray& script);
  void openWindow();

  /// Clicks the entry as a user would; returns when the click has been handled.
  void click(const QString& name);
  void clickButton(int number);

  /// The neutral look: offers, note and frame hidden, the action buttons disabled.
  void expectNeutralLook();

  ScratchFolder work;
  QTemporaryDir toolFolder{QDir::tempPath() + "/wadwright tools XXXXXX"};
  MessageCatcher messages;
  std::unique_ptr<Form1> form;
};
