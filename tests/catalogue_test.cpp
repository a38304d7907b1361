#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "identify/catalogue.h"

TEST(Catalogue, ChecksumsAreDistinctLowercaseMd5Digests) {
  QSet<QString> seen;
  for (const CatalogueRow& row : catalogueRows()) {
    QString checksum = row.checksum;
    EXPECT_EQ(checksum.size(), 32);
    EXPECT_EQ(checksum, checksum.toLower());
    for (QChar c : checksum) EXPECT_TRUE(QString("0123456789abcdef").contains(c)) << row.checksum;
    seen.insert(checksum);
  }
  EXPECT_EQ(seen.size(), 28);
}

TEST(Catalogue, OffersAndNotesGoTogether) {
  int updates = 0, backdates = 0, plain = 0;
  for (const CatalogueRow& row : catalogueRows()) {
    switch (row.offer) {
      case Offer::Update:
        ++updates;
        EXPECT_EQ(row.note, Note::None);
        EXPECT_EQ(QString(row.update.hint), QString("This will create the file '%1'").arg(row.update.targetFile));
        EXPECT_TRUE(QString(row.update.patchFile).startsWith(" patches\\")) << row.releaseName;
        break;
      case Offer::DoomBackdateSet: ++backdates; EXPECT_EQ(row.note, Note::DoomBackdate); break;
      case Offer::Doom2BackdateSet: ++backdates; EXPECT_EQ(row.note, Note::Doom2Backdate); break;
      case Offer::None: ++plain; break;
    }
  }
  EXPECT_EQ(updates, 12);
  EXPECT_EQ(backdates, 2);
  EXPECT_EQ(plain, 14);
  EXPECT_STREQ(lookUpChecksum("f0cefca49926d00903cf57551d901abe")->releaseName, "DOOM Shareware 1.9");
  EXPECT_EQ(lookUpChecksum("f0cefca49926d00903cf57551d901abe")->note, Note::Shareware);
}

TEST(Catalogue, LookupIsExact) {
  const CatalogueRow* ultimate = lookUpChecksum("c4fe9fd920207691a9f493668e0a2083");
  ASSERT_TRUE(ultimate);
  EXPECT_STREQ(ultimate->releaseName, "Ultimate Doom");
  EXPECT_EQ(ultimate->offer, Offer::DoomBackdateSet);
  for (const char* miss : {"C4FE9FD920207691A9F493668E0A2083", "c4fe9fd920207691a9f493668e0a208",
                           "c4fe9fd920207691a9f493668e0a20833", " c4fe9fd920207691a9f493668e0a2083",
                           "c4fe9fd920207691a9f493668e0a2083 ", ""})
    EXPECT_EQ(lookUpChecksum(miss), nullptr) << miss;
}

TEST(Catalogue, TrailingBlanksBelongToTheTexts) {
  EXPECT_STREQ(lookUpChecksum("a21ae40c388cb6f2c3cc1b95589ee693")->releaseName, "DOOM Shareware 1.4Beta ");
  EXPECT_STREQ(lookUpChecksum("e280233d533dcc28c1acd6ccdc7742d4")->releaseName, "DOOM Shareware 1.5Beta ");
  EXPECT_STREQ(lookUpChecksum("f0cefca49926d00903cf57551d901abe")->remark, "This is the most recent shareware IWAD ");
}

TEST(Catalogue, BackdateNotesLineUpAndEndWithALineBreak) {
  struct Case {
    Note note;
    int column;  // where '=' stands, counted from 1
    QStringList files;
  } cases[] = {
      {Note::DoomBackdate, 21, {"d1_11.wad", "d1_12.wad", "d1_1666.wad", "d1_18.wad", "d1_19.wad"}},
      {Note::Doom2Backdate, 29, {"d2_1666.wad", "d2_16ger.wad", "d2_17.wad", "d2_17a.wad", "d2_18.wad"}},
  };
  for (const Case& c : cases) {
    QString note = noteText(c.note);
    ASSERT_TRUE(note.endsWith("\r\n"));
    QStringList lines = note.chopped(2).split("\r\n");
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0],
              "These 'Backdate-Buttons' create some outdated versions of the game's main IWAD. Please use them only "
              "to satisvy your historic interest.");
    EXPECT_EQ(lines[1], "");
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(lines[2 + i].indexOf('='), c.column - 1) << lines[2 + i].toStdString();
      EXPECT_TRUE(lines[2 + i].endsWith("= " + c.files[i]));
    }
    EXPECT_FALSE(note.contains(QRegularExpression("[^\r]\n")));
  }
  EXPECT_EQ(noteText(Note::Doom2Backdate).split("\r\n")[3], " DOOM2 Version 1.666 german = d2_16ger.wad");
  EXPECT_FALSE(noteText(Note::Shareware).contains('\n'));
  EXPECT_TRUE(noteText(Note::Shareware).contains("1996  and"));
}

TEST(Catalogue, BackdateCaptions) {
  EXPECT_EQ(QStringList(backdateCaptions(Offer::DoomBackdateSet).begin(), backdateCaptions(Offer::DoomBackdateSet).end()),
            (QStringList{"V1.1", "V1.2", "V1.666", "V1.8", "V1.9"}));
  EXPECT_EQ(QStringList(backdateCaptions(Offer::Doom2BackdateSet).begin(), backdateCaptions(Offer::Doom2BackdateSet).end()),
            (QStringList{"V1.666", "V1.666 German", "V1.7", "V1.7a", "V1.8"}));
}
