// The commonness side file and the order it gives suggestions of equal rank.
#include "session_fixture.h"

#include "wrCommonness.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <sys/stat.h>

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

// What wdmcommon writes, the table, reads as the list it is made from; any damage to it
// refuses the whole file.
TEST_F(CommonnessTest, TheTableReadsAsItsListAndIsRefusedWholeWhenDamaged)
{
  const std::vector<std::pair<QString, int>> words = {
      {QStringLiteral("house"), 10},     {QStringLiteral("House"), 50},
      {QStringLiteral("cheque"), 50},    {QStringLiteral("cheque"), 20},
      {QStringLiteral("caf\u00e9"), 35}, {QString(), 10}};
  const QByteArray table = TWordCommonness::CompileTable(words);
  ASSERT_FALSE(table.isEmpty());
  WriteFile(Side(), table);
  TWordCommonness c;
  ASSERT_TRUE(c.Load(Side()));
  EXPECT_EQ(c.Count(), 4);
  const struct {
    const char *word;
    int level;
  } expected[] = {{"house", 10},  {"House", 50},     {"HOUSE", 10},
                  {"cheque", 20}, {"Caf\u00e9", 35}, {"cafe", TWordCommonness::Unknown}};
  for (const auto &e : expected) {
    SCOPED_TRACE(e.word);
    EXPECT_EQ(c.Class(QString::fromUtf8(e.word)), e.level);
  }
  // Every single byte changed, and every length cut short, is noticed.
  for (qsizetype at = 0; at < table.size(); ++at) {
    SCOPED_TRACE(at);
    QByteArray damaged = table;
    damaged[at] = char(damaged[at] ^ 0x41);
    WriteFile(Side(), damaged);
    TWordCommonness d;
    EXPECT_FALSE(d.Load(Side()));
    EXPECT_EQ(d.Class(QStringLiteral("house")), TWordCommonness::Unknown);
    WriteFile(Side(), table.left(at));
    EXPECT_FALSE(d.Load(Side()));
  }
}

// Words chosen so that their hashes agree in every bit that places them (one cluster of an
// open-addressing table, one bucket here): each is still found, and loading stays linear.
TEST_F(CommonnessTest, WordsOfOneHashClusterAreAllFound)
{
  auto fnv = [](const QString &w) {
    quint32 h = 2166136261u;
    for (const QChar c : w)
      h = (h ^ c.unicode()) * 16777619u;
    return h;
  };
  // (h ^ c) * P ends in the wanted 16 bits when c's low 16 bits are (want ^ h) there, and the
  // multiplication's inverse gives want; the top bits agree by chance one time in 16.
  constexpr quint32 prime = 16777619u;
  quint32 inverse = 1;
  for (int i = 0; i < 5; ++i)
    inverse *= 2 - prime * inverse;
  const quint32 want = (0x2a5a5u * inverse) & 0xFFFF;
  QByteArray text = "LWCOMMON 1\n=10\n";
  QStringList words;
  for (int i = 0; words.size() < 20000; ++i) {
    const QString stem = QStringLiteral("w%1").arg(i);
    const char16_t last = char16_t((fnv(stem) ^ want) & 0xFFFF);
    if (last < 0x20 || (last >= 0xD800 && last < 0xE000) || last >= 0xFFFE)
      continue;
    const QString word = stem + QChar(last);
    if ((fnv(word) >> 28) != 0x5)
      continue;
    words << word;
    text += word.toUtf8() + '\n';
  }
  ASSERT_EQ(fnv(words[0]) & 0xFFFF, fnv(words[1]) & 0xFFFF);
  WriteFile(Side(), text);
  TWordCommonness c;
  ASSERT_TRUE(c.Load(Side()));
  EXPECT_EQ(c.Count(), words.size());
  for (qsizetype i = 0; i < words.size(); i += 97) {
    SCOPED_TRACE(i);
    EXPECT_EQ(c.Class(words[i]), 10);
    EXPECT_EQ(c.Class(words[i] + QLatin1Char('x')), TWordCommonness::Unknown);
  }
}

// Only a regular file is read: a FIFO would block for ever, a device never ends, a folder is
// no file. Each answers at once with no commonness.
TEST_F(CommonnessTest, ReadsNothingButARegularFile)
{
  const QString fifo = Dir + QStringLiteral("/fifo.wdf");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString zero = Dir + QStringLiteral("/zero.wdf");
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
  const QString folder = Dir + QStringLiteral("/folder.wdf");
  ASSERT_TRUE(QDir().mkpath(folder));
  for (const QString &name : {fifo, zero, folder}) {
    SCOPED_TRACE(name.toStdString());
    TWordCommonness c;
    EXPECT_FALSE(c.Load(name));
    EXPECT_EQ(c.Count(), 0);
  }
  // Beside a dictionary too: its suggestions keep the ranking's own order.
  ASSERT_EQ(WriteWdm(Dir + "/fifo.wdm", {"cat", "cut", "the"}), QString());
  EXPECT_EQ(TWordCommonness::ForDictionary(Dir + "/fifo.wdm"), nullptr);
}
