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
