#include "wrCustomDictionary.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
  int exitCode = -1;
  QString errors;
};

ToolRun wduc(const QStringList &args)
{
  QProcess p;
  p.start(QStringLiteral(WDUC_TOOL), args);
  ToolRun r;
  if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit)
    r.exitCode = p.exitCode();
  r.errors = QString::fromUtf8(p.readAllStandardError());
  return r;
}

class WducTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString list(const QString &name, const QByteArray &text)
  {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return path;
  }
};

TEST_F(WducTest, WritesEveryKindInBothVersionsDeterministically)
{
  const QString ignore =
      list(QStringLiteral("i.txt"), "\xEF\xBB\xBF# added words\n  colour \n\nna\xC3\xAFve\n");
  const QString exclude = list(QStringLiteral("e.txt"), "\xEF\xBB\xBF"
                                                        "alot\n");
  const QString autoc = list(QStringLiteral("a.txt"), "teh -> the\r\nalot2->a lot\n");
  for (const char *version : {"4.1", "4.0"}) {
    SCOPED_TRACE(version);
    const QString out = dir.filePath(QStringLiteral("out%1.wdu").arg(QLatin1String(version)));
    const QStringList args = {"--out", out,         "--version", version,         "--ignore",
                              ignore,  "--exclude", exclude,     "--autocorrect", autoc};
    ASSERT_EQ(wduc(args).exitCode, 0);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray first = f.readAll();
    f.close();
    EXPECT_TRUE(first.startsWith(QByteArray("Wright User Dictionary, Version ") + version));
    ASSERT_EQ(wduc(args).exitCode, 0);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), first) << "the same lists give the same bytes";
    f.close();

    TCustomDictionary d;
    d.SetFilename(out);
    EXPECT_TRUE(d.IgnoreExists(QStringLiteral("colour")));
    EXPECT_TRUE(d.IgnoreExists(QString::fromUtf8("naïve")));
    EXPECT_TRUE(d.ExcludeExists(QStringLiteral("alot")));
    QString correction;
    EXPECT_TRUE(d.AutoCorrectExists(QStringLiteral("alot2"), correction));
    EXPECT_EQ(correction, QStringLiteral("a lot"));
    EXPECT_TRUE(d.AutoCorrectExists(QStringLiteral("teh"), correction));
    EXPECT_EQ(correction, QStringLiteral("the"));
    EXPECT_EQ(d.WordCount(), 5);
  }
}

TEST_F(WducTest, RefusesBadListsNamingTheLineAndWritesNothing)
{
  struct Case {
    const char *name;
    QStringList args; // after --out
    QString message;
  };
  const QString words = list(QStringLiteral("words.txt"), "colour\nteh\n");
  const std::vector<Case> cases = {
      {"word in two lists",
       {"--ignore", words, "--autocorrect", list("dup.txt", "teh -> the\n")},
       "dup.txt:1: \"teh\" is already in a list"},
      {"missing arrow",
       {"--autocorrect", list("arrow.txt", "# pairs\nteh the\n")},
       "arrow.txt:2: expected"},
      {"empty correction",
       {"--autocorrect", list("empty.txt", "teh ->\n")},
       "empty.txt:1: empty correction"},
      {"phrase as a word", {"--ignore", list("phrase.txt", "a lot\n")}, "phrase.txt:1:"},
      {"too long",
       {"--ignore", list("long.txt", QByteArray(501, 'x'))},
       "long.txt:1: word and correction"},
      {"not in Windows-1252",
       {"--version", "4.0", "--ignore", list("cjk.txt", "\xE6\x97\xA5\n")},
       "cjk.txt:1:"},
      {"zero in a word",
       {"--ignore", list("zero.txt", QByteArray("colour\ngh\0st\n", 13))},
       "zero.txt:2: the entry contains a zero character"},
      {"zero in a correction",
       {"--autocorrect", list("zeroc.txt", QByteArray("teh -> t\0he\n", 12))},
       "zeroc.txt:1: the entry contains a zero character"},
      {"unreadable list", {"--ignore", dir.filePath("missing.txt")}, "cannot read"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QString out = dir.filePath(QStringLiteral("bad.wdu"));
    const ToolRun r = wduc(QStringList{"--out", out} + c.args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains(c.message)) << r.errors.toStdString();
    EXPECT_FALSE(QFile::exists(out));
  }
  EXPECT_EQ(wduc({"--ignore", words}).exitCode, 2) << "no output named";
}

TEST(ShippedAutocorrect, HoldsTheCommonTyposAndOnlyAutoCorrections)
{
  TCustomDictionary d;
  d.SetFilename(QStringLiteral(AUTOCORRECT_WDU));
  d.SetLoaded(true);
  ASSERT_TRUE(d.Loaded());
  EXPECT_EQ(d.CodePage(), 65001u);
  EXPECT_GE(d.AutoCorrectCount(), 300);
  EXPECT_EQ(d.IgnoreCount() + d.ExcludeCount(), 0);
  const std::pair<const char *, const char *> pairs[] = {
      {"teh", "the"},           {"adn", "and"},    {"recieve", "receive"},  {"alot", "a lot"},
      {"wensday", "Wednesday"}, {"dont", "don't"}, {"orginise", "organise"}};
  for (const auto &[wrong, right] : pairs) {
    QString correction;
    EXPECT_TRUE(d.AutoCorrectExists(QString::fromUtf8(wrong), correction)) << wrong;
    EXPECT_EQ(correction, QString::fromUtf8(right)) << wrong;
  }
  QString correction;
  EXPECT_FALSE(d.AutoCorrectExists(QStringLiteral("the"), correction));
}

} // namespace
