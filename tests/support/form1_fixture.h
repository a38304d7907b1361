#pragma once

#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <memory>

#include "support/window_driving.h"
#include "window/form1.h"
#include "message_catcher.h"
#include "scratch_folder.h"
#include "tool_folder.h"

// Releases the stand-in checksum tool names: Ultimate Doom and Doom2 V1.9.
inline constexpr const char* kUltimate = "c4fe9fd920207691a9f493668e0a2083";
inline constexpr const char* kDoom2 = "25e1459ca71d321525f84628f45ca8cd";

/// The main window over a scratch working folder, with its tools in a folder of their own.
class Form1Fixture : public ::testing::Test {
 protected:
  Form1Fixture();  // with the real interpreter and the stand-in checksum tool
  ~Form1Fixture() override;

  void openWindow();
  void clickButton(int number);
  /// The names listed, in list order, as the files are named (not as shown).
  QStringList listed() const;

  /// The neutral look: offers, note and frame hidden, the action buttons disabled.
  void expectNeutralLook();

  /// Calls `then` once `ready` holds, asked every 10 ms by `poll` inside whatever loop runs then,
  /// the window's own waits too; what `poll` was asked before is dropped.
  static void once(QTimer& poll, const std::function<bool()>& ready, const std::function<void()>& then);

  ScratchFolder work;
  ToolFolder tools;
  MessageCatcher messages;
  std::unique_ptr<Form1> form;  // last, so that the window goes before the folders and tools it uses
};

