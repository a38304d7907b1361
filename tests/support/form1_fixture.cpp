#include "form1_fixture.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/file_list_box.h"
#include "app/text_box.h"

Form1Fixture::Form1Fixture() { qunsetenv("FAKE_MD5_DELAY"); }

Form1Fixture::~Form1Fixture() {
  form.reset();
  qunsetenv("FAKE_MD5_DELAY");
}

void Form1Fixture::installRealTools(const QStringList& tools) {
  // Copies, not links: the interpreter finds the checksum tool beside its own real location.
  for (const QString& tool : tools)
    ASSERT_TRUE(QFile::copy(builtProgramFolder() + "/" + tool, toolFolder.path() + "/" + tool)) << tool.toStdString();
}

void Form1Fixture::installFakeChecksumTool() {
  installRealTools({"command.com"});
  installTool("md5sum.exe", "#!/bin/sh\nsleep \"${FAKE_MD5_DELAY:-0}\"\nexec cat -- \"$1\"\n");
}

void Form1Fixture::installTool(const QString& name, const QByteArray& script) {
  QFile file(toolFolder.path() + "/" + name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(script);
  file.close();
  file.setPermissions(file.permissions() | QFile::ExeOwner);
}

void Form1Fixture::openWindow() {
  form = std::make_unique<Form1>(toolFolder.path());
  form->show();
}

void Form1Fixture::click(const QString& name) {
  QList<QListWidgetItem*> items = form->File1->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  ASSERT_EQ(items.size(), 1) << name.toStdString();
  QRect place = form->File1->visualItemRect(items.front());
  QTest::mouseClick(form->File1->viewport(), Qt::LeftButton, {}, place.center());
}

void Form1Fixture::clickButton(int number) {
  QPushButton* button = form->Command(number);
  ASSERT_TRUE(button->isVisible() && button->isEnabled()) << "Command" << number;
  QTest::mouseClick(button, Qt::LeftButton);
}

void Form1Fixture::expectNeutralLook() {
  EXPECT_TRUE(form->Frame1->isHidden());
  EXPECT_FALSE(form->Label4->isVisible());
  EXPECT_FALSE(form->Text1->isVisible());
  for (int number : {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}) {
    EXPECT_FALSE(form->Command(number)->isVisible()) << "Command" << number;
    EXPECT_FALSE(form->Command(number)->isEnabled()) << "Command" << number;
  }
}
