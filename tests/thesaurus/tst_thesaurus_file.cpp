// The thesaurus file reader over small files written by the builder.

#include "MythesImport.h"
#include "ThesaurusWriter.h"
#include "thesaurus_fixture.h"
#include "wrThesaurusFile.h"

#include <gtest/gtest.h>

namespace {

struct Loaded {
  ThesaurusFileFixture dir;
  TThesaurusFile file;
  explicit Loaded(TThesaurusWriter &w) { file.SetFileName(dir.Write(w)); }
};

QStringList ContextWords(const TThesaurusFile &f)
{
  QStringList out;
  for (const auto &c : f.Contexts())
    out << c->ContextWord;
  return out;
}

TEST(ThesaurusFile, FindsWordWithItsContexts)
{
  for (const bool tails : {true, false}) {
    SCOPED_TRACE(tails ? "tail chains" : "no tail chains");
    TThesaurusWriter w;
    w.UseTailChains = tails;
    AddHappyContent(w);
    Loaded t(w);
    EXPECT_FALSE(t.file.Loaded()); // nothing is read before the first lookup
    ASSERT_TRUE(t.file.LookupWord("happy"));
    EXPECT_TRUE(t.file.Loaded());
    EXPECT_EQ(t.file.Name(), "Test Thesaurus");
    EXPECT_EQ(t.file.ContextKindNames(), QStringList({"", "noun", "verb", "adjective", "adverb"}));
    EXPECT_EQ(t.file.ContextWord(), "happy");
    ASSERT_EQ(t.file.Contexts().size(), 2u);
    const TThesaurusEntry &first = *t.file.Contexts()[0];
    EXPECT_EQ(first.ContextWord, "happy");
    EXPECT_EQ(first.ContextKind, 3);
    EXPECT_EQ(first.ContextKindName, "adjective");
    EXPECT_EQ(first.Words[2], QStringList({"happy", "cheerful", "joyful", "content", "glad"}));
    EXPECT_TRUE(first.Words[0].isEmpty() && first.Words[1].isEmpty() && first.Words[3].isEmpty());
    EXPECT_EQ(t.file.Contexts()[1]->ContextWord, "glad");

    ASSERT_TRUE(t.file.LookupWord("merry"));
    ASSERT_EQ(t.file.Contexts().size(), 1u);
    EXPECT_EQ(t.file.Contexts()[0]->Words[0], QStringList({"festivity", "revel"}));
    EXPECT_EQ(t.file.Contexts()[0]->Words[2], QStringList({"jolly", "merry", "jovial"}));

    // A word that only appears in lists is found, with no contexts.
    EXPECT_TRUE(t.file.LookupWord("dwelling"));
    EXPECT_TRUE(t.file.Contexts().empty());
    EXPECT_FALSE(t.file.LookupWord("zebra"));
    EXPECT_TRUE(t.file.Contexts().empty());
  }
}

TEST(ThesaurusFile, CaseOfTheLookupCarriesToItsContexts)
{
  TThesaurusWriter w;
  AddHappyContent(w);
  Loaded t(w);
  struct Case {
    const char *lookup;
    bool allowCaseChanges;
    bool found;
    QStringList contexts;
    QStringList firstList;
  } cases[] = {
      {"happy", true, true, {"happy", "glad"}, {"happy", "cheerful", "joyful", "content", "glad"}},
      {"Happy", true, true, {"Happy", "Glad"}, {"Happy", "Cheerful", "Joyful", "Content", "Glad"}},
      {"HAPPY", true, true, {"HAPPY", "GLAD"}, {"HAPPY", "CHEERFUL", "JOYFUL", "CONTENT", "GLAD"}},
      // Mixed case after the first letter only capitalises.
      {"HaPpY", true, true, {"Happy", "Glad"}, {"Happy", "Cheerful", "Joyful", "Content", "Glad"}},
      {"hAPPY", true, true, {"happy", "glad"}, {"happy", "cheerful", "joyful", "content", "glad"}},
      {"Happy", false, false, {}, {}},
      {"HAPPY", false, false, {}, {}},
      {"happy", false, true, {"happy", "glad"}, {"happy", "cheerful", "joyful", "content", "glad"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.lookup) + (c.allowCaseChanges ? " with" : " without") +
                 " case changes");
    t.file.SetAllowCaseChanges(c.allowCaseChanges);
    EXPECT_EQ(t.file.LookupWord(c.lookup), c.found);
    EXPECT_EQ(ContextWords(t.file), c.contexts);
    if (!c.firstList.isEmpty()) {
      ASSERT_FALSE(t.file.Contexts().empty());
      EXPECT_EQ(t.file.Contexts()[0]->Words[2], c.firstList);
    }
  }
}

TEST(ThesaurusFile, AdjustCaseFollowsFullUnicodeRules)
{
  EXPECT_EQ(TThesaurusFile::AdjustCase("STRASSE", QString::fromUtf8("straße")), "STRASSE");
  EXPECT_EQ(TThesaurusFile::AdjustCase(QString::fromUtf8("Élan"), QString::fromUtf8("élan")),
            QString::fromUtf8("Élan"));
  EXPECT_EQ(TThesaurusFile::AdjustCase("word", "Mixed"), "Mixed");
}

// Words whose last letters lie on a tail chain (after "hat"/"happy" branch at "ha", "happy"
// keeps "ppy" below its node) are found only when the whole remainder matches.
TEST(ThesaurusFile, WordsOnTailChainsAndPrefixes)
{
  TThesaurusWriter w;
  AddTailContent(w);
  Loaded t(w);
  ASSERT_TRUE(t.file.LookupWord("happy"));
  EXPECT_GT(w.TailNodeCount, 0);
  struct Case {
    const char *word;
    bool found;
  } cases[] = {
      {"happy", true},     {"happ", false}, {"happyy", false},  {"happx", false},
      {"hap", false},      {"hat", true},   {"ha", false},      {"h", false},
      {"carpet", true},    {"carp", false}, {"carpets", false}, {"cartoon", true},
      {"cart", true},      {"car", false},  {"carto", false},   {"a", true},
      {"cartoons", false}, {"", false},
  };
  t.file.SetAllowCaseChanges(false);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(t.file.LookupWord(c.word), c.found);
    EXPECT_EQ(t.file.FindWordNode(c.word) >= 0, c.found);
  }
  // Every list word reads back through parents and tail chains.
  ASSERT_TRUE(t.file.LookupWord("cartoon"));
  EXPECT_EQ(t.file.Contexts()[0]->Words[2],
            QStringList({"happy", "hat", "carpet", "cartoon", "cart", "a"}));
}

TEST(ThesaurusFile, LinkValueNamesContextAndKind)
{
  TThesaurusWriter w;
  for (const char *m : {"zeroth", "first", "second", "third", "fourth"})
    w.AddContext(m, InList(1, {m}));
  w.AddLinkValue("seventeen", 17);
  w.AddLinkValue("seventeen", 4);
  Loaded t(w);
  ASSERT_TRUE(t.file.LookupWord("seventeen"));
  ASSERT_EQ(t.file.Contexts().size(), 2u);
  EXPECT_EQ(t.file.Contexts()[0]->ContextWord, "third");
  EXPECT_EQ(t.file.Contexts()[0]->ContextKind, 2);
  EXPECT_EQ(t.file.Contexts()[0]->ContextKindName, "verb");
  EXPECT_EQ(t.file.Contexts()[1]->ContextWord, "zeroth");
  EXPECT_EQ(t.file.Contexts()[1]->ContextKind, 4);
}

TEST(ThesaurusFile, CharactersAboveLatin1NeverMatch)
{
  TThesaurusWriter w;
  w.AddContext(QString::fromUtf8("café"), InList(1, {QString::fromUtf8("café"), "happy"}));
  w.AddLink(QString::fromUtf8("café"), 0, 1);
  Loaded t(w);
  EXPECT_TRUE(t.file.LookupWord(QString::fromUtf8("café")));
  EXPECT_EQ(t.file.Contexts()[0]->ContextWord, QString::fromUtf8("café"));
  EXPECT_TRUE(t.file.LookupWord(QString::fromUtf8("CAFÉ")));
  // U+0165 and U+0179 share their low byte with 'e' and 'y'.
  for (const char16_t *word : {u"caf\u0165", u"happ\u0179", u"\u0168appy", u"\u4E00"})
    EXPECT_FALSE(t.file.LookupWord(QString::fromUtf16(word)))
        << QString::fromUtf16(word).toStdString();
}

TEST(ThesaurusFile, MissingFileAndFileNameChanges)
{
  ThesaurusFileFixture dir;
  TThesaurusFile f;
  f.SetFileName(dir.Dir() + "/missing.wdt");
  EXPECT_TRUE(f.FileName().isEmpty());
  EXPECT_FALSE(f.LookupWord("happy"));
  EXPECT_FALSE(f.Loaded());

  TThesaurusWriter a;
  AddHappyContent(a);
  TThesaurusWriter b;
  b.Name = "Other";
  b.AddContext("zebra", InList(1, {"zebra"}));
  b.AddLink("zebra", 0, 1);
  const QString fa = dir.Write(a, "a.wdt");
  const QString fb = dir.Write(b, "b.wdt");
  f.SetFileName(fa);
  ASSERT_TRUE(f.LookupWord("happy"));
  f.SetFileName(dir.Dir() + "/missing.wdt"); // ignored: the old file stays
  EXPECT_EQ(f.FileName(), fa);
  EXPECT_TRUE(f.Loaded());
  f.SetFileName(fb); // loaded: the new file replaces it at once
  EXPECT_TRUE(f.Loaded());
  EXPECT_EQ(f.Name(), "Other");
  EXPECT_TRUE(f.LookupWord("zebra"));
  EXPECT_FALSE(f.LookupWord("happy"));
  f.SetLoaded(false);
  EXPECT_FALSE(f.Loaded());
}

// Offsets of the parts of a file the builder wrote.
struct Layout {
  int nodeTable, linkArea, contextTable, indexArea;
  explicit Layout(const TThesaurusWriter &w)
  {
    int pos = 165 + 1 + int(w.Name.size());
    for (const QString &k : w.KindNames)
      pos += 1 + int(k.size());
    nodeTable = pos + 4;
    linkArea = nodeTable + 4 * w.NodeCount + 4;
    contextTable = linkArea + w.LinkAreaSize + 2;
    indexArea = contextTable + 14 * w.ContextCount() + 4;
  }
};

TEST(ThesaurusFile, DamagedFiles)
{
  TThesaurusWriter w;
  AddHappyContent(w);
  QByteArray good;
  ASSERT_TRUE(w.Build(good));
  const Layout at(w);
  ThesaurusFileFixture dir;

  // Truncated anywhere: the load fails silently.
  for (const int size : {0, 100, 165, 200, at.nodeTable + 2, at.linkArea, at.contextTable + 3,
                         int(good.size()) - 1}) {
    SCOPED_TRACE(size);
    TThesaurusFile f;
    f.SetFileName(dir.WriteBytes(good.left(size), QString("cut%1.wdt").arg(size)));
    EXPECT_FALSE(f.LookupWord("happy"));
    EXPECT_FALSE(f.Loaded());
  }

  // Numbers that point outside the buffers end the lookup with "Stream read error".
  const auto patched = [&](int offset, QByteArray bytes) {
    QByteArray d = good;
    d.replace(offset, bytes.size(), bytes);
    return d;
  };
  struct Case {
    const char *what;
    QByteArray data;
  } cases[] = {
      {"master node beyond the node table", patched(at.contextTable, QByteArray("\xFF\xFF", 2))},
      {"list count beyond the index area", patched(at.contextTable + 2, QByteArray("\xFF\x7F", 2))},
      {"index offset beyond the index area",
       patched(at.contextTable + 10, QByteArray("\xFF\xFF\xFF\x7F", 4))},
      {"root link record beyond the link area",
       patched(at.nodeTable, QByteArray("\xFF\xFF\x0F", 3))},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TThesaurusFile f;
    f.SetFileName(dir.WriteBytes(c.data, "patched.wdt"));
    try {
      f.LookupWord("happy");
      ADD_FAILURE() << "no error";
    } catch (const EReadError &e) {
      EXPECT_STREQ(e.what(), "Stream read error");
    }
  }
}

// Sizes in the header beyond what the format can address are refused at load, even when the
// file holds that many bytes.
TEST(ThesaurusFile, SizesBeyondTheFormatAreRefused)
{
  TThesaurusWriter w;
  AddHappyContent(w);
  QByteArray good;
  ASSERT_TRUE(w.Build(good));
  const Layout at(w);
  const auto put32 = [](QByteArray &d, int offset, quint32 v) {
    for (int i = 0; i < 4; ++i)
      d[offset + i] = char((v >> (8 * i)) & 0xFF);
  };
  // Node numbers are 16-bit: 65,537 nodes cannot all be addressed.
  QByteArray manyNodes = good;
  manyNodes.insert(at.linkArea - 4, QByteArray(4 * (65537 - w.NodeCount), '\0'));
  put32(manyNodes, at.nodeTable - 4, 65537);
  // Link offsets are 20-bit: a link area reaching far beyond the last record that can start
  // below 2^20.
  QByteArray bigLinks = good;
  const int extra = (1 << 20) + 4096 - w.LinkAreaSize;
  bigLinks.insert(at.contextTable - 2, QByteArray(extra, '\0'));
  put32(bigLinks, at.linkArea - 4, quint32(w.LinkAreaSize + extra));
  ThesaurusFileFixture dir;
  for (const auto &[what, data] :
       {std::pair{"65,537 nodes", manyNodes}, std::pair{"link area over 1 MB", bigLinks}}) {
    SCOPED_TRACE(what);
    TThesaurusFile f;
    f.SetFileName(dir.WriteBytes(data, "sizes.wdt"));
    EXPECT_FALSE(f.LookupWord("happy"));
    EXPECT_FALSE(f.Loaded());
  }
}

// A small file whose word is linked many times to a context of thousands of long words would
// make one lookup build far more text than any real entry: the lookup ends with the read error
// instead, and the next lookup works.
TEST(ThesaurusFile, LookupOutputIsBounded)
{
  TThesaurusWriter w;
  AddHappyContent(w);
  QStringList many;
  const QString tail(56, QChar('q'));
  for (int i = 0; i < 20000; ++i) {
    QString prefix;
    for (int n = i, k = 0; k < 4; ++k, n /= 26)
      prefix += QChar('a' + n % 26);
    many << prefix + tail;
  }
  const int big = w.AddContext("big", InList(1, many));
  for (int i = 0; i < 10; ++i)
    w.AddLink("big", big, 1);
  Loaded t(w);
  ASSERT_TRUE(t.file.LookupWord("happy"));
  EXPECT_THROW(t.file.LookupWord("big"), EReadError);
  EXPECT_TRUE(t.file.Contexts().empty());
  ASSERT_TRUE(t.file.LookupWord("glad"));
  EXPECT_EQ(ContextWords(t.file), QStringList({"glad"}));
}

// A chain node whose single child is itself would loop forever in a naive reader.
TEST(ThesaurusFile, CyclicChainEndsTheLookup)
{
  TThesaurusWriter w;
  w.AddContext("happy", InList(3, {"happy", "hat"}));
  w.AddLink("hat", 0, 3);
  QByteArray d;
  ASSERT_TRUE(w.Build(d));
  ASSERT_EQ(w.TailNodeCount, 2); // "happy" keeps "py" as the chain "py" -> "y"
  const Layout at(w);
  const auto nodeWord = [&](int node) {
    const int o = at.nodeTable + 4 * node;
    return quint32(quint8(d[o])) | quint32(quint8(d[o + 1])) << 8 |
           quint32(quint8(d[o + 2])) << 16 | quint32(quint8(d[o + 3])) << 24;
  };
  // Chain nodes come last: "y" then "py", whose record names "y". Give "y" that record.
  const int y = w.NodeCount - 2, py = w.NodeCount - 1;
  const quint32 v = (nodeWord(y) & 0xFF000000u) | (1u << 20) | (nodeWord(py) & 0xFFFFFu);
  for (int i = 0; i < 4; ++i)
    d[at.nodeTable + 4 * y + i] = char((v >> (8 * i)) & 0xFF);
  ThesaurusFileFixture dir;
  TThesaurusFile f;
  f.SetFileName(dir.WriteBytes(d, "cycle.wdt"));
  EXPECT_FALSE(f.LookupWord("happy"));           // the tail comparison stops at the word's length
  EXPECT_THROW(f.LookupWord("hat"), EReadError); // reading "happy" back from the list
}

TEST(ThesaurusWriter, RefusesWhatTheFormatCannotAddress)
{
  {
    // 70,000 five-digit words need 77,778 nodes.
    TThesaurusWriter w;
    for (int i = 0; i < 70000; ++i)
      w.AddWord(QString("%1").arg(i, 5, 10, QChar('0')));
    QByteArray out;
    EXPECT_FALSE(w.Build(out));
    EXPECT_TRUE(w.Error.contains("65536")) << qPrintable(w.Error);
    EXPECT_TRUE(out.isEmpty());
  }
  {
    TThesaurusWriter w;
    w.AddLinkValue("word", 65536);
    QByteArray out;
    EXPECT_FALSE(w.Build(out));
    EXPECT_TRUE(w.Error.contains("65536")) << qPrintable(w.Error);
  }
  {
    TThesaurusWriter w;
    w.AddWord(QString::fromUtf16(u"\u4E00"));
    QByteArray out;
    EXPECT_FALSE(w.Build(out));
    EXPECT_TRUE(w.Error.contains("Latin-1")) << qPrintable(w.Error);
  }
  {
    TThesaurusWriter w;
    for (int i = 0; i < 256; ++i)
      w.AddLinkValue("busy", i);
    QByteArray out;
    EXPECT_FALSE(w.Build(out));
    EXPECT_TRUE(w.Error.contains("255")) << qPrintable(w.Error);
  }
}

TEST(MythesImport, KeepsWithinTheBudgetsAndReportsWhatFits)
{
  const QByteArray source =
      "ISO8859-1\n"
      "happy|2\n"
      "(adj)|blessed (similar term)|cheerful (related term)|unhappy (antonym)\n"
      "(adj)|glad|willing (similar term)\n"
      "glad|1\n"
      "(adj)|happy|willing (similar term)\n"
      "house|2\n"
      "(noun)|home|dwelling (generic term)\n"
      "(verb)|lodge|shelter\n"
      "Zed|1\n"
      "(noun)|zee\n";
  std::vector<TMythesEntry> entries;
  QString error;
  ASSERT_TRUE(ParseMythes(source, entries, error)) << qPrintable(error);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].senses[0].kind, 3);
  EXPECT_EQ(entries[0].senses[0].related, (std::vector<QByteArray>{"blessed", "cheerful"}));

  {
    TThesaurusWriter w;
    TThesaurusSelection sel;
    ASSERT_TRUE(SelectMythes(entries, sel, w, error)) << qPrintable(error);
    EXPECT_EQ(sel.candidates, 3); // "Zed" is not a lower-case single word
    EXPECT_EQ(sel.headwords, 3);
    // glad's only sense is happy's second: stored once, under the master happy gave it.
    EXPECT_EQ(sel.contexts, 4);
    Loaded t(w);
    TThesaurusFile &f = t.file;
    ASSERT_TRUE(f.LookupWord("happy"));
    EXPECT_EQ(ContextWords(f), QStringList({"happy", "glad"}));
    EXPECT_EQ(f.Contexts()[0]->Words[2], QStringList({"happy", "blessed", "cheerful"}));
    ASSERT_TRUE(f.LookupWord("house"));
    EXPECT_EQ(f.Contexts()[1]->ContextKindName, "verb");
    EXPECT_EQ(f.Contexts()[1]->Words[1], QStringList({"lodge", "house", "shelter"}));
    ASSERT_TRUE(f.LookupWord("glad"));
    EXPECT_EQ(ContextWords(f), QStringList({"glad"}));
    EXPECT_EQ(f.Contexts()[0]->Words[2], QStringList({"glad", "happy", "willing"}));
    // A member of a chosen sense links to it too.
    ASSERT_TRUE(f.LookupWord("lodge"));
    EXPECT_EQ(ContextWords(f), QStringList({"lodge"}));
  }
  {
    // Two linkable contexts: the first senses of the two most important words (happy, then
    // house) come before the second sense of either and before glad's only sense.
    TThesaurusWriter w;
    TThesaurusSelection sel;
    sel.maxContexts = 2;
    ASSERT_TRUE(SelectMythes(entries, sel, w, error));
    EXPECT_EQ(sel.contexts, 2);
    EXPECT_EQ(sel.headwords, 2);
    Loaded t(w);
    TThesaurusFile &f = t.file;
    ASSERT_TRUE(f.LookupWord("happy"));
    EXPECT_EQ(ContextWords(f), QStringList({"happy"}));
    ASSERT_TRUE(f.LookupWord("house"));
    EXPECT_EQ(ContextWords(f), QStringList({"home"}));
    EXPECT_FALSE(f.LookupWord("glad"));
  }
  {
    // Similar and related terms beyond the limit are left out.
    TThesaurusWriter w;
    TThesaurusSelection sel;
    sel.maxRelated = 1;
    ASSERT_TRUE(SelectMythes(entries, sel, w, error));
    Loaded t(w);
    TThesaurusFile &f = t.file;
    ASSERT_TRUE(f.LookupWord("happy"));
    EXPECT_EQ(f.Contexts()[0]->Words[2], QStringList({"happy", "blessed"}));
  }
  {
    TThesaurusWriter w;
    TThesaurusSelection sel;
    sel.maxNodes = 3;
    EXPECT_FALSE(SelectMythes(entries, sel, w, error));
    EXPECT_FALSE(error.isEmpty());
  }
}

} // namespace
