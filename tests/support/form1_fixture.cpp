#include "form1_fixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "window/file_list_box.h"
#include "window/text_box.h"

Form1Fixture::Form1Fixture() { tools.installFakeChecksum(); }

Form1Fixture::~Form1Fixture() {
  for (const char* variable : {"FAKE_MD5_HOLD", "WADWRIGHT_PATCH_SOURCE"}) qunsetenv(variable);
}

void Form1Fixture::openWindow() {
  form = std::make_unique<Form1>(QFile::encodeName(tools.path()));
  form->show();
}

void Form1Fixture::clickButton(int number) {
  QPushButton* button = form->Command(number);
  ASSERT_TRUE(button->isVisible() && button->isEnabled()) << "Command" << number;
  QTest::mouseClick(button, Qt::LeftButton);
}

QStringList Form1Fixture::listed() const { return form->File1->names(); }

void Form1Fixture::expectNeutralLook() {
  EXPECT_TRUE(form->Frame1->isHidden());
  EXPECT_FALSE(form->Label4->isVisible());
  EXPECT_FALSE(form->Text1->isVisible());
  for (int number : {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})
    EXPECT_FALSE(form->Command(number)->isVisible() || form->Command(number)->isEnabled()) << "Command" << number;
}

void Form1Fixture::once(QTimer& poll, const std::function<bool()>& ready, const std::function<void()>& then) {
  QObject::disconnect(&poll, nullptr, nullptr, nullptr);
  QObject::connect(&poll, &QTimer::timeout, [&poll, ready, then] {
    if (!ready()) return;
    poll.stop();
    then();
  });
  poll.start(10);
}
