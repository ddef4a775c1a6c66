// The commonness side file and the order it gives suggestions of equal rank.
#include "session_fixture.h"

#include "wrCommonness.h"

#include <QThread>

namespace {

class CommonnessTest : public SessionTest {
protected:
  QString Side() const { return Dir + QStringLiteral("/test.wdf"); }
  QStringList SuggestionsOf(const QString &Word)
  {
    auto s = NewSession();
    TStringList words;
    s->Suggest(Word, words);
    return words.ToQStringList();
  }
};

} // namespace

TEST_F(CommonnessTest, ReadsGroupsAndRefusesMalformedFiles)
{
  const struct {
    const char *name;
    QByteArray text;
    bool loads;
  } rows[] = {
      {"good", "LWCOMMON 1\n=10\nhouse\nthe\n=50\nHouse\ncheque\n=20\ncheque\n", true},
      {"empty groups", "LWCOMMON 1\n", true},
      {"wrong banner", "LWCOMMON 2\n=10\nhouse\n", false},
      {"word before a group", "LWCOMMON 1\nhouse\n=10\n", false},
      {"bad class", "LWCOMMON 1\n=x\nhouse\n", false},
      {"class out of range", "LWCOMMON 1\n=100\nhouse\n", false},
      {"binary", QByteArray("\0\xff\x01", 3), false},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.name);
    WriteFile(Side(), row.text);
    TWordCommonness c;
    EXPECT_EQ(c.Load(Side()), row.loads);
    if (!row.loads) {
      EXPECT_EQ(c.Count(), 0);
    }
  }
  WriteFile(Side(), rows[0].text);
  TWordCommonness c;
  ASSERT_TRUE(c.Load(Side()));
  EXPECT_EQ(c.Class(QStringLiteral("house")), 10);
  EXPECT_EQ(c.Class(QStringLiteral("House")), 50);  // its own entry first
  EXPECT_EQ(c.Class(QStringLiteral("THE")), 10);    // else the lower-case form
  EXPECT_EQ(c.Class(QStringLiteral("cheque")), 20); // the commonest of two levels
  EXPECT_EQ(c.Class(QStringLiteral("word")), TWordCommonness::Unknown);
  EXPECT_FALSE(c.Load(Dir + QStringLiteral("/missing.wdf")));
}

// Lines are trimmed (also of a carriage return), words of any script are told apart exactly, and a
// list as long as the shipped one keeps every word's class.
TEST_F(CommonnessTest, KeepsEveryWordOfALongListExactly)
{
  QByteArray text =
      "LWCOMMON 1\r\n=10\r\n  house \r\ncaf\xc3\xa9\n\n=35\ncafe\n\xd0\xb4\xd0\xbe\xd0\xbc\n";
  std::vector<std::pair<QString, int>> expected = {
      {QStringLiteral("house"), 10},
      {QStringLiteral("caf\u00e9"), 10},
      {QStringLiteral("cafe"), 35},
      {QStringLiteral("\u0434\u043e\u043c"), 35},
      {QStringLiteral("hous"), TWordCommonness::Unknown},
      {QStringLiteral("houses"), TWordCommonness::Unknown},
      {QStringLiteral("caf"), TWordCommonness::Unknown}};
  for (int level = 40; level <= 90; level += 10) {
    text += "=" + QByteArray::number(level) + "\n";
    for (int i = 0; i < 30000; ++i) {
      const QString word = QStringLiteral("w%1x%2").arg(level).arg(i);
      text += word.toUtf8() + "\n";
      if (i % 997 == 0)
        expected.emplace_back(word, level);
    }
  }
  WriteFile(Side(), text);
  TWordCommonness c;
  ASSERT_TRUE(c.Load(Side()));
  EXPECT_EQ(c.Count(), 4 + 6 * 30000);
  for (const auto &[word, level] : expected) {
    SCOPED_TRACE(word.toStdString());
    EXPECT_EQ(c.Class(word), level);
  }
}

// "cot" is one letter from "cat" and from "cut": equal ranks, so the side file decides, each
// way round; without it the order is the ranking's own.
TEST_F(CommonnessTest, EqualRanksPutTheCommonerWordFirst)
{
  ASSERT_EQ(WriteWdm(Dir + "/test.wdm", {"cat", "cut", "the"}), QString());
  const QStringList plain = SuggestionsOf(QStringLiteral("cot"));
  ASSERT_GE(plain.size(), 2);
  ASSERT_TRUE(plain.contains(QStringLiteral("cat")) && plain.contains(QStringLiteral("cut")));

  WriteFile(Side(), "LWCOMMON 1\n=10\ncut\n=60\ncat\n");
  EXPECT_EQ(SuggestionsOf(QStringLiteral("cot")).mid(0, 2), (QStringList{"cut", "cat"}));
  // A changed file is read again.
  QThread::msleep(20);
  WriteFile(Side(), "LWCOMMON 1\n=10\ncat\n=60\ncut\n");
  EXPECT_EQ(SuggestionsOf(QStringLiteral("cot")).mid(0, 2), (QStringList{"cat", "cut"}));
  // A damaged side file is no side file.
  QThread::msleep(20);
  WriteFile(Side(), "LWCOMMON 1\ncut\n");
  EXPECT_EQ(SuggestionsOf(QStringLiteral("cot")), plain);
}
