// The main dictionary: the reader against hand-built files, compiler round trips in both versions
// and both linkage widths, refused and damaged files, the phonetic walk, and the shipped list.
#include "dictionary_fixture.h"
#include "wrMainDictionary.h"
#include "wrPhoneticsMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

class MainDictionaryTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString path(const QString &name) const { return dir.filePath(name); }
  QString write(const QString &name, const QByteArray &bytes) const
  {
    QFile f(path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    return path(name);
  }
  QString compile(const QString &name, const QStringList &words, int minor = 1,
                  TMainDictionaryStats *stats = nullptr,
                  TNodeSharing sharing = TNodeSharing::Shared)
  {
    const QString error = WriteMainDictionary(path(name), words, minor, stats,
                                              QStringLiteral("Test words"), 3081, sharing);
    EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
    return path(name);
  }
};

struct Lookup {
  const char16_t *word;
  bool exists;
  int length;
};

const Lookup HandLookups[] = {
    {u"a", true, 1},        {u"an", true, 2},       {u"and", true, 3},        {u"any", true, 3},
    {u"ano", true, 3},      {u"anx", false, 2},     {u"ands", false, 3},      {u"b", false, 1},
    {u"by", true, 2},       {u"be", false, 2},      {u"bee", false, 3},       {u"beex", false, 3},
    {u"beetroo", false, 7}, {u"beetroot", true, 8}, {u"beetroots", false, 8}, {u"abc", false, 1},
    {u"c", false, 0},       {u"", false, 0},        {u"A", false, 0},         {u"By", false, 0},
};

TEST_F(MainDictionaryTest, ReadsHandBuiltFilesInBothLinkageWidths)
{
  for (bool wide : {false, true}) {
    SCOPED_TRACE(wide ? "wide linkage" : "narrow linkage");
    TMainDictionary d;
    d.SetFilename(write(QStringLiteral("hand.wdm"), handFile(wide).image()));
    ASSERT_EQ(d.Filename(), path(QStringLiteral("hand.wdm")));
    EXPECT_EQ(d.Title(), QStringLiteral("Hand"));
    EXPECT_EQ(d.Language(), 1033u);
    EXPECT_EQ(d.WordCount(), 12u);
    EXPECT_EQ(d.MinorVersion(), 1);
    EXPECT_EQ(d.CodePage(), 65001u);
    for (const Lookup &l : HandLookups) {
      const QString w = QString::fromUtf16(l.word);
      EXPECT_EQ(d.WordExists(w), l.exists) << qPrintable(w);
      EXPECT_EQ(d.WordLength(w), l.length) << qPrintable(w);
    }
    EXPECT_TRUE(d.Loaded());
  }
}

// References that point outside the file are not followed: the lookup answers "not found".
TEST_F(MainDictionaryTest, DamagedReferencesAnswerNotFound)
{
  struct Damage {
    const char *what;
    void (*apply)(HandFile &);
    const char16_t *word; // a word that the damage makes unreachable
  } damages[] = {
      {"single child beyond the last node", [](HandFile &f) { f.nodes[14].ref = 999; },
       u"beetroot"},
      {"first-character reference beyond the nodes",
       [](HandFile &f) { f.entry('a', true, 1, 0xFFFFFFu); }, u"an"},
      {"child list beyond the linkage", [](HandFile &f) { f.entry('b', false, 2, 5000); }, u"by"},
      {"count byte beyond the linkage", [](HandFile &f) { f.nodes[3].ref = 0xFFFFE; }, u"and"},
      {"list running past the linkage end",
       [](HandFile &f) { f.linkage[quint32(f.linkage.size()) - 17] = char(200); }, u"anz"},
      {"first-character list beyond the linkage",
       [](HandFile &f) { f.entry('b', false, 200, 0x7FFFFFFFu); }, u"by"},
  };
  for (const Damage &d : damages) {
    SCOPED_TRACE(d.what);
    HandFile f = handFile(false);
    d.apply(f);
    TMainDictionary dict;
    dict.SetFilename(write(QStringLiteral("damaged.wdm"), f.image()));
    ASSERT_FALSE(dict.Filename().isEmpty());
    EXPECT_FALSE(dict.WordExists(QString::fromUtf16(d.word)));
    TPhoneticsMap map;
    map.SetLanguage(1033);
    map.SetStartDepth(1);
    QStringList suggestions;
    dict.Suggest(QString::fromUtf16(d.word) + QStringLiteral("x"), map, suggestions);
    dict.Suggest(QStringLiteral("anny"), map, suggestions);
    EXPECT_TRUE(dict.WordExists(QStringLiteral("a"))); // the table entry itself is intact
  }
}

// The second letters are looked up in a table filled from the first letter's list: it must
// answer as the list does, where the first child of a letter wins and an entry naming no node
// ends the list. Asked twice, so the second answer comes from the filled table.
TEST_F(MainDictionaryTest, SecondLetterAnswersAsTheFirstLettersList)
{
  auto bList = [](const HandFile &f) {
    return qFromLittleEndian<quint32>(f.lookup.constData() + 8 * 'b' + 4);
  };
  struct Case {
    const char *what;
    bool wide;
    void (*apply)(HandFile &, quint32 list);
    bool beetroot, by, be;
  } cases[] = {
      {"intact", false, [](HandFile &, quint32) {}, true, true, false},
      {"intact, wide", true, [](HandFile &, quint32) {}, true, true, false},
      {"two children with one letter", false, [](HandFile &f, quint32) { f.nodes[12].ch = 'e'; },
       true, false, false},
      {"two children with one letter, wide", true,
       [](HandFile &f, quint32) { f.nodes[12].ch = 'e'; }, true, false, false},
      {"second entry names no node", false,
       [](HandFile &f, quint32 list) { f.linkage[list + 2] = f.linkage[list + 3] = char(0xFF); },
       true, false, false},
      {"first entry names no node", false,
       [](HandFile &f, quint32 list) { f.linkage[list] = f.linkage[list + 1] = char(0xFF); }, false,
       false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    HandFile f = handFile(c.wide);
    c.apply(f, bList(f));
    TMainDictionary dict;
    dict.SetFilename(write(QStringLiteral("second.wdm"), f.image()));
    ASSERT_FALSE(dict.Filename().isEmpty());
    for (int round = 0; round < 2; ++round) {
      EXPECT_EQ(dict.WordExists(QStringLiteral("beetroot")), c.beetroot);
      EXPECT_EQ(dict.WordExists(QStringLiteral("by")), c.by);
      EXPECT_EQ(dict.WordExists(QStringLiteral("be")), c.be);
      EXPECT_FALSE(dict.WordExists(QStringLiteral("bx")));
      EXPECT_TRUE(dict.WordExists(QStringLiteral("an")));
      EXPECT_EQ(dict.WordLength(QStringLiteral("bxyz")), 1);
    }
  }
}

// A damaged run of zero bytes must not extend a word past its end: the word "bee" stops inside
// the run and is three bytes long, whatever follows the run.
TEST_F(MainDictionaryTest, WordEndingOnZerosInAPackedRunStopsThere)
{
  HandFile f = handFile(false);
  f.nodes[14].packed = QByteArray("e\0\0\0\0", 5);
  f.nodes[13].end = true;
  TMainDictionary dict;
  dict.SetFilename(write(QStringLiteral("zeros.wdm"), f.image()));
  ASSERT_FALSE(dict.Filename().isEmpty());
  for (const QString &w : {QStringLiteral("bee"), QStringLiteral("beet"), QStringLiteral("bees")}) {
    SCOPED_TRACE(qPrintable(w));
    EXPECT_FALSE(dict.WordExists(w));
    EXPECT_EQ(dict.WordLength(w), 3);
  }
  EXPECT_TRUE(dict.WordExists(QStringLiteral("by")));
}

// --- Compiler round trips -----------------------------------------------------------------------

struct RoundTrip {
  const char *name;
  int minorVersion;
  QStringList words;
  QStringList nonWords;
};

std::vector<RoundTrip> roundTrips()
{
  // "abbreviation" packs "eviatio" after "abbr": words ending inside or at the end of the run
  // are absent, the word one character on is present.
  const QStringList common{QStringLiteral("a"),
                           QStringLiteral("I"),
                           QStringLiteral("abbey"),
                           QStringLiteral("abbreviation"),
                           QStringLiteral("abbreviations"),
                           QStringLiteral("and"),
                           QStringLiteral("an"),
                           QStringLiteral("ant"),
                           QStringLiteral("anteater"),
                           QStringLiteral("phone"),
                           QStringLiteral("Phoebe"),
                           QStringLiteral("it's"),
                           QStringLiteral("re-enter"),
                           QStringLiteral("caf\u00E9"),
                           QStringLiteral("na\u00EFve"),
                           QStringLiteral("Z\u00FCrich"),
                           QStringLiteral("x"),
                           QStringLiteral("xylophone")};
  const QStringList absent{
      QStringLiteral("ab"),      QStringLiteral("abb"),         QStringLiteral("abbr"),
      QStringLiteral("abbrevi"), QStringLiteral("abbreviatio"), QStringLiteral("abbreviationss"),
      QStringLiteral("A"),       QStringLiteral("i"),           QStringLiteral("Abbey"),
      QStringLiteral("ante"),    QStringLiteral("anteat"),      QStringLiteral("phon"),
      QStringLiteral("PHONE"),   QStringLiteral("cafe"),        QStringLiteral("caf"),
      QStringLiteral("b"),       QStringLiteral("xy"),          QStringLiteral("")};
  return {
      {"version 4.1", 1,
       common + QStringList{QStringLiteral("\u65E5\u672C"), QStringLiteral("\U0001F600ok")},
       absent + QStringList{QStringLiteral("\u65E5"), QStringLiteral("\U0001F600")}},
      {"version 4.0", 0, common + QStringList{QStringLiteral("\u20ACuro")},
       absent + QStringList{QStringLiteral("\u20AC")}},
  };
}

TEST_F(MainDictionaryTest, CompiledWordsAreFoundAndNothingElse)
{
  for (const RoundTrip &t : roundTrips()) {
    SCOPED_TRACE(t.name);
    TMainDictionaryStats stats;
    TMainDictionary d;
    d.SetFilename(compile(QStringLiteral("round.wdm"), t.words, t.minorVersion, &stats));
    ASSERT_TRUE(d.Loaded() || d.WordExists(t.words.first()));
    EXPECT_EQ(stats.skipped, 0);
    EXPECT_EQ(d.MinorVersion(), t.minorVersion);
    EXPECT_EQ(d.CodePage(), t.minorVersion ? 65001u : 0u);
    EXPECT_EQ(d.WordCount(), quint32(t.words.size()));
    EXPECT_GT(stats.classCounts[7], 0u) << "the fixture exercises packed runs";
    for (const QString &w : t.words) {
      EXPECT_TRUE(d.WordExists(w)) << qPrintable(w);
      const int bytes = t.minorVersion ? int(w.toUtf8().size()) : int(w.size());
      EXPECT_EQ(d.WordLength(w), bytes) << qPrintable(w);
    }
    for (const QString &w : t.nonWords)
      EXPECT_FALSE(d.WordExists(w)) << qPrintable(w);
    EXPECT_EQ(d.WordLength(QStringLiteral("abbrevxyz")), 6);
    EXPECT_EQ(d.WordLength(QStringLiteral("abbreviationz")), 12);
    EXPECT_EQ(d.WordLength(QStringLiteral("q")), 0);
  }
}

// A lookup resumes from the last one: asked in the order of the suggestion generator (neighbours
// differ in one place), every answer is the one a lookup from the root gives. PrefixLength is how
// far some word goes along the asked one: no word starts with one character more.
TEST_F(MainDictionaryTest, LookupsInAnyOrderAndPrefixLengths)
{
  for (const RoundTrip &t : roundTrips()) {
    SCOPED_TRACE(t.name);
    TMainDictionary d, fromRoot;
    d.SetFilename(compile(QStringLiteral("memo.wdm"), t.words, t.minorVersion));
    fromRoot.SetFilename(d.Filename());
    QStringList asks;
    const QString letters = QStringLiteral("aeint'\u00E9\u65E5");
    for (const QString &w : t.words + t.nonWords) {
      // Each word also right after longer and shorter forms of it.
      asks << w + QStringLiteral("a") << w << w + QStringLiteral("x") << w.left(w.size() - 1) << w;
      for (int p = 0; p <= w.size(); ++p) {
        asks << w.left(p);
        if (p < w.size())
          asks << QString(w).remove(p, 1);
        for (const QChar c : letters) {
          asks << QString(w).insert(p, c);
          if (p < w.size()) {
            QString changed = w;
            changed[p] = c;
            asks << changed;
          }
        }
      }
    }
    const QChar noWord(1); // shares no byte with any ask: the lookup after it starts at the root
    for (const QString &a : std::as_const(asks)) {
      SCOPED_TRACE(a.toStdString());
      fromRoot.WordExists(noWord);
      const bool exists = fromRoot.WordExists(a);
      fromRoot.WordExists(noWord);
      const int length = fromRoot.WordLength(a);
      EXPECT_EQ(d.WordExists(a), exists);
      EXPECT_EQ(d.WordLength(a), length);
      const int prefix = d.PrefixLength(a);
      ASSERT_GE(prefix, 0);
      ASSERT_LE(prefix, a.size());
      if (prefix == a.size())
        continue;
      auto startsSome = [&t](const QString &head) {
        return std::any_of(t.words.begin(), t.words.end(),
                           [&head](const QString &w) { return w.startsWith(head); });
      };
      EXPECT_FALSE(startsSome(a.left(prefix + 1)));
      const bool surrogates =
          std::any_of(a.begin(), a.end(), [](QChar c) { return c.isSurrogate(); });
      // At most one character past the longest such prefix (a lone first letter is not told).
      if (!surrogates && t.minorVersion == 1) {
        EXPECT_TRUE(prefix <= 1 || startsSome(a.left(prefix - 1)));
      }
    }
  }
}

TEST_F(MainDictionaryTest, CompilerOutputIsDeterministicAndDropsWhatItCannotStore)
{
  QStringList words;
  for (int i = 0; i < 3000; ++i)
    words.append(QStringLiteral("w%1x%2").arg(i * 7919 % 3001).arg(i % 13));
  QStringList shuffled = words + words.mid(0, 500);
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(42));
  compile(QStringLiteral("one.wdm"), words);
  compile(QStringLiteral("two.wdm"), shuffled);
  QFile one(path(QStringLiteral("one.wdm"))), two(path(QStringLiteral("two.wdm")));
  ASSERT_TRUE(one.open(QIODevice::ReadOnly) && two.open(QIODevice::ReadOnly));
  EXPECT_EQ(one.readAll(), two.readAll());

  // Not in Windows-1252, an unpaired surrogate, longer than the 512-byte word buffer.
  TMainDictionaryStats stats;
  const QStringList odd{QStringLiteral("ok"), QStringLiteral("\u65E5"),
                        QString(QChar(0xD800)) + QStringLiteral("x"), QString(513, QChar('a'))};
  compile(QStringLiteral("odd.wdm"), odd, 0, &stats);
  EXPECT_EQ(stats.skipped, 3);
  EXPECT_EQ(stats.wordCount, 1u);
}

// The same list layout below and at the node count where linkage entries turn big-endian with
// 2 or 3 bytes: "b" and its 62 children hold node indexes 1 to 63, so the list of "b"'s children
// starts with index 2. Written as a trie: shared, the list's equal leaves would be one node.
TEST_F(MainDictionaryTest, LinkageWidthFollowsTheNodeCount)
{
  struct Width {
    quint32 nodes;
    QByteArray firstEntry;
  } widths[] = {{65534, QByteArray("\x02\x00", 2)}, {65535, QByteArray("\x80\x02", 2)}};
  for (const Width &w : widths) {
    SCOPED_TRACE(w.nodes);
    const QStringList words = EveryNodeAWord(int(w.nodes) - 2);
    TMainDictionaryStats stats;
    const QString file = compile(QStringLiteral("width.wdm"), words, 1, &stats, TNodeSharing::Tree);
    ASSERT_EQ(stats.nodeCount, w.nodes);
    TMainDictionary d;
    d.SetFilename(file);
    ASSERT_EQ(d.NodeCount(), w.nodes);
    for (const QString &word : words)
      ASSERT_TRUE(d.WordExists(word)) << qPrintable(word);
    for (const char16_t *no : {u"b", u"bzzzz", u"b0!", u"c0"})
      EXPECT_FALSE(d.WordExists(QString::fromUtf16(no)));

    // The first-character entry of 'b' points at its child list in the linkage block.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const qsizetype p9 = bytes.size() - 1024 - 2048 - 4 - stats.linkageSize;
    ASSERT_EQ(qFromLittleEndian<quint32>(bytes.constData() + p9), stats.linkageSize);
    const char *entry = bytes.constData() + p9 + 4 + stats.linkageSize + 8 * 'b';
    EXPECT_EQ(uchar(entry[1]), 62);
    const quint32 offset = qFromLittleEndian<quint32>(entry + 4);
    EXPECT_EQ(bytes.mid(p9 + 4 + offset, 2), w.firstEntry);
  }
}

TEST_F(MainDictionaryTest, CompilerNamesTheReferenceLimit)
{
  const QStringList words = EveryNodeAWord(0xFFFFF - 1); // one node more than 20 bits address
  TMainDictionarySource source;
  source.words = words;
  source.sharing = TNodeSharing::Tree;
  QByteArray image;
  QString error;
  EXPECT_FALSE(CompileMainDictionary(source, image, error));
  EXPECT_TRUE(error.contains(QStringLiteral("20 bits"))) << qPrintable(error);
  EXPECT_TRUE(error.contains(QStringLiteral("1048575"))) << qPrintable(error);
  EXPECT_TRUE(image.isEmpty());

  // Child lists are found by 20-bit linkage offsets too: this list has few enough nodes but
  // more than a megabyte of lists.
  source.words = words.mid(0, 400000);
  EXPECT_FALSE(CompileMainDictionary(source, image, error));
  EXPECT_TRUE(error.contains(QStringLiteral("linkage"))) << qPrintable(error);
  EXPECT_TRUE(error.contains(QStringLiteral("20 bits"))) << qPrintable(error);

  // The limits hold for the nodes and lists as written: shared, the whole list fits.
  source.words = words;
  source.sharing = TNodeSharing::Shared;
  TMainDictionaryStats stats;
  ASSERT_TRUE(CompileMainDictionary(source, image, error, &stats)) << qPrintable(error);
  EXPECT_EQ(stats.trieNodeCount, quint64(0xFFFFF + 1));
  EXPECT_LT(stats.nodeCount, 20000u);
  const QString file = write(QStringLiteral("shared-limit.wdm"), image);
  TMainDictionary d;
  d.SetFilename(file);
  for (qsizetype i = 0; i < words.size(); i += 997)
    EXPECT_TRUE(d.WordExists(words[i])) << qPrintable(words[i]);
  EXPECT_TRUE(d.WordExists(words.last()));
  EXPECT_FALSE(d.WordExists(words.last() + QStringLiteral("0")));
}

// --- Opening and refusing files -----------------------------------------------------------------

TEST_F(MainDictionaryTest, RefusedFilesKeepThePreviousDictionary)
{
  const QString good = compile(QStringLiteral("good.wdm"), {QStringLiteral("kept")});
  QByteArray truncated = handFile(false).image();
  truncated.truncate(1200);
  struct Refused {
    const char *what;
    QString file;
    bool takesName; // the banner is right: the name is taken, but the file does not load
  } cases[] = {
      {"missing file", path(QStringLiteral("missing.wdm")), false},
      {"text file of 2 KB", write(QStringLiteral("text.wdm"), QByteArray(2048, 'a')), false},
      {"banner only, 1024 bytes",
       write(QStringLiteral("short.wdm"),
             TMainDictionary::Banner(1) + QByteArray(1024 - 143, '\0')),
       false},
      {"banner with one character wrong",
       write(QStringLiteral("banner.wdm"),
             [] {
               QByteArray b = handFile(false).image();
               b[100] = '?';
               return b;
             }()),
       false},
      {"cut short of its tables", write(QStringLiteral("cut.wdm"), truncated), true},
      {"cut inside the fixed fields",
       write(QStringLiteral("cut2.wdm"), handFile(false).image().left(1030)), true},
  };
  for (const Refused &c : cases) {
    SCOPED_TRACE(c.what);
    TMainDictionary d;
    d.SetFilename(good);
    ASSERT_TRUE(d.WordExists(QStringLiteral("kept")));
    d.WordFound();
    d.SetFilename(c.file);
    if (!c.takesName) {
      EXPECT_EQ(d.Filename(), good);
      EXPECT_TRUE(d.Loaded());
      EXPECT_TRUE(d.WordExists(QStringLiteral("kept")));
      EXPECT_EQ(d.WordsFoundCount(), QFile::exists(c.file) ? 0 : 1);
    } else {
      EXPECT_EQ(d.Filename(), c.file);
      EXPECT_FALSE(d.Loaded());
      EXPECT_FALSE(d.WordExists(QStringLiteral("kept")));
      EXPECT_FALSE(d.Loaded());
      EXPECT_EQ(d.WordLength(QStringLiteral("an")), 0);
    }
  }
}

TEST_F(MainDictionaryTest, FilenameKeepsTheLoadedState)
{
  const QString one = compile(QStringLiteral("one.wdm"), {QStringLiteral("one")});
  const QString two = compile(QStringLiteral("two.wdm"), {QStringLiteral("two")}, 0);
  TMainDictionary d;
  EXPECT_EQ(d.CodePage(), 65001u);
  d.SetLoaded(true); // no file yet: nothing happens
  EXPECT_FALSE(d.Loaded());
  d.SetFilename(one);
  EXPECT_FALSE(d.Loaded());
  EXPECT_TRUE(d.WordExists(QStringLiteral("one"))); // loads on demand
  EXPECT_TRUE(d.Loaded());
  d.SetFilename(two);
  EXPECT_TRUE(d.Loaded());
  EXPECT_EQ(d.CodePage(), 0u);
  EXPECT_FALSE(d.WordExists(QStringLiteral("one")));
  EXPECT_TRUE(d.WordExists(QStringLiteral("two")));
  d.SetLoaded(false);
  d.SetFilename(one);
  EXPECT_FALSE(d.Loaded());
}

// --- The phonetic walk --------------------------------------------------------------------------

class PhoneticWalkTest : public MainDictionaryTest {
protected:
  TPhoneticsMap map;
  TMainDictionary d;
  void SetUp() override
  {
    map.SetLanguage(3081);
    map.SetStartDepth(2);
  }
  QStringList suggest(const QString &word)
  {
    QStringList s;
    d.Suggest(word, map, s);
    return s;
  }
  // Path becomes a FIFO or a link to /dev/zero: names of files no reader may open or wait on.
  static bool makeOddFile(const QString &path, bool fifo)
  {
    QFile::remove(path);
    return fifo ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                : QFile::link(QStringLiteral("/dev/zero"), path);
  }
};

TEST_F(PhoneticWalkTest, FindsSoundAlikesBelowThePrefix)
{
  d.SetFilename(compile(QStringLiteral("s.wdm"),
                        {QStringLiteral("phone"), QStringLiteral("fond"), QStringLiteral("font"),
                         QStringLiteral("foam"), QStringLiteral("fog"), QStringLiteral("Fonda"),
                         QStringLiteral("Fo"), QStringLiteral("night"), QStringLiteral("nit"),
                         QStringLiteral("nine"), QStringLiteral("fortification")}));
  const QStringList fone = suggest(QStringLiteral("fone"));
  for (const char16_t *w : {u"fond", u"font", u"foam", u"Fonda"})
    EXPECT_TRUE(fone.contains(QString::fromUtf16(w))) << qPrintable(fone.join(','));
  // Not below "fo", or too far in sound or spelling.
  for (const char16_t *w : {u"phone", u"fortification", u"Fo"})
    EXPECT_FALSE(fone.contains(QString::fromUtf16(w))) << qPrintable(fone.join(','));

  const QStringList nite = suggest(QStringLiteral("nite"));
  EXPECT_TRUE(nite.contains(QStringLiteral("night"))) << qPrintable(nite.join(','));

  // Already in the list (in another case): not added again; a one-character code: nothing.
  QStringList s{QStringLiteral("FOND")};
  d.Suggest(QStringLiteral("fone"), map, s);
  EXPECT_EQ(s.filter(QRegularExpression(QStringLiteral("^fond$"),
                                        QRegularExpression::CaseInsensitiveOption))
                .size(),
            1);
  EXPECT_TRUE(suggest(QStringLiteral("fo")).isEmpty());
  EXPECT_TRUE(suggest(QStringLiteral("f")).isEmpty());
}

// The prefix is shortened until it ends on a node without packed bytes: "ab" ends on the node
// that carries "abracadabra"'s run, so the walk takes every word below "a".
TEST_F(PhoneticWalkTest, ShortensAPrefixThatEndsOnAPackedNode)
{
  d.SetFilename(compile(QStringLiteral("p.wdm"), {QStringLiteral("abracadabra"),
                                                  QStringLiteral("apple"), QStringLiteral("axe")}));
  QStringList s = suggest(QStringLiteral("abracadabro"));
  EXPECT_TRUE(s.contains(QStringLiteral("abracadabra"))) << qPrintable(s.join(','));
  s = suggest(QStringLiteral("abple"));
  EXPECT_TRUE(s.contains(QStringLiteral("apple"))) << qPrintable(s.join(','));
}

TEST_F(PhoneticWalkTest, StopsAfterTheCap)
{
  QStringList words;
  for (int i = 0; i < 4000; ++i)
    words.append(QStringLiteral("fon") + QString::number(i, 36).rightJustified(3, QChar('a')));
  QStringList plain;
  for (int i = 0; i < 4000; ++i)
    plain.append(QStringLiteral("x%1").arg(i));
  d.SetFilename(compile(QStringLiteral("cap.wdm"), words));
  QStringList s = plain.mid(0, 2490);
  // Every candidate sounds like "fonabc"; the list takes entries until it holds more than 2,500.
  d.Suggest(QStringLiteral("fonabc"), map, s);
  EXPECT_EQ(s.size(), 2501);
}

// A crafted file: below "fo" every level has two nodes that share one child list, so there are
// 2^Depth paths over 2 x Depth nodes, and a million zero records behind them make the header
// claim a million nodes. Both walks stay within the budget of the one word the header claims,
// whatever the node count claims.
TEST_F(PhoneticWalkTest, SharedChildListsStayWithinTheWalkBudget)
{
  constexpr int Depth = 24;
  HandFile f;
  f.nodeCount = 100;
  f.wordCount = 1;
  f.nodes = {{0, false, 1, 1, {}}, {'f', false, 1, 2, {}}, {'o', false, 2, 0, {}}};
  for (int level = 1; level <= Depth; ++level) {
    const bool last = level == Depth;
    const quint32 ref = last ? HandNoChildren : quint32(4 * level);
    f.nodes.push_back({'x', level == 1, last ? 0u : 2u, ref, {}});
    f.nodes.push_back({'y', false, last ? 0u : 2u, ref, {}});
    appendNarrow(f.linkage, quint32(3 + 2 * (level - 1)));
    appendNarrow(f.linkage, quint32(4 + 2 * (level - 1)));
  }
  f.nodes.resize(f.nodes.size() + (1u << 20), HandNode{0, false, 0, 0, {}});
  f.entry('f', false, 1, 2);
  const QString file = dir.filePath(QStringLiteral("shared.wdm"));
  QFile out(file);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(f.image());
  out.close();
  d.SetFilename(file);
  ASSERT_TRUE(d.WordExists(QStringLiteral("fox")));
  const QStringList s = suggest(QStringLiteral("foxe"));
  EXPECT_TRUE(s.contains(QStringLiteral("fox"))) << qPrintable(s.join(','));
  EXPECT_LE(d.WalkVisits(), quint64(2 * Depth + 3));
  EXPECT_LE(d.WalkBudget(), quint64(2048));
  QStringList plain;
  d.SuggestPlain(QStringLiteral("foxe"), map, plain);
  EXPECT_TRUE(plain.contains(QStringLiteral("fox"))) << qPrintable(plain.join(','));
  EXPECT_GT(d.WalkVisits(), quint64(2 * Depth + 3)) << "shared nodes are walked once per path";
  EXPECT_LE(d.WalkVisits(), d.WalkBudget());
}

// Suggest keeps codes and skips subtrees whose words cannot pass; SuggestPlain computes every word
// afresh. Both give the same words in the same order: for ASCII and other words in both code
// pages, packed runs, a list that already holds entries, words past the distance's length
// limit, several maps in turn (kept codes are per map key) and a map whose rules are edited after
// codes were kept.
TEST_F(PhoneticWalkTest, KeptCodesGiveThePlainWalksWords)
{
  const QString longWord = QStringLiteral("fon") + QString(256, QChar('e'));
  const QStringList words = {
      QStringLiteral("phone"),       QStringLiteral("fond"),          QStringLiteral("font"),
      QStringLiteral("fonts"),       QStringLiteral("fondue"),        QStringLiteral("foam"),
      QStringLiteral("fog"),         QStringLiteral("Fonda"),         QStringLiteral("fone"),
      QStringLiteral("fon\u00E9"),   QStringLiteral("f\u00F6hn"),     QStringLiteral("Fo"),
      QStringLiteral("fonetically"), QStringLiteral("fortification"), QStringLiteral("caf\u00E9"),
      QStringLiteral("cafe"),        QStringLiteral("cafes"),         QStringLiteral("caff"),
      QStringLiteral("na\u00EFve"),  QStringLiteral("naive"),         QStringLiteral("knave"),
      QStringLiteral("abracadabra"), QStringLiteral("apple"),         QStringLiteral("axe"),
      QStringLiteral("recieve"),     QStringLiteral("receive"),       QStringLiteral("received"),
      QStringLiteral("reciever"),    QStringLiteral("relieve"),       QStringLiteral("reeve"),
      QStringLiteral("rec"),         QStringLiteral("Receive"),       longWord,
      longWord + QStringLiteral("s")};
  const QStringList queries = {QStringLiteral("fone"),
                               QStringLiteral("Fone"),
                               QStringLiteral("fon\u00E9s"),
                               QStringLiteral("cafe"),
                               QStringLiteral("CAFE"),
                               QStringLiteral("caf\u00E9e"),
                               QStringLiteral("naeve"),
                               QStringLiteral("abracadabro"),
                               QStringLiteral("recieve"),
                               QStringLiteral("recievd"),
                               QStringLiteral("RecIeve"),
                               QStringLiteral("x"),
                               QString(),
                               longWord.left(250),
                               longWord + QStringLiteral("x"),
                               QStringLiteral("fonetic")};
  struct Setting {
    quint32 language;
    int depth;
  };
  const Setting settings[] = {{3081, 2}, {3081, 1}, {0, 2}, {12, 1}, {3081, 2}};
  for (int minor : {1, 0}) {
    TMainDictionary plainDictionary;
    const QString file = compile(QStringLiteral("k%1.wdm").arg(minor), words, minor);
    d.SetFilename(file);
    plainDictionary.SetFilename(file);
    for (const Setting &setting : settings) {
      map.SetLanguage(setting.language);
      map.SetStartDepth(setting.depth);
      for (const QString &q : queries) {
        SCOPED_TRACE(QStringLiteral("version 4.%1, language %2, depth %3: %4")
                         .arg(minor)
                         .arg(setting.language)
                         .arg(setting.depth)
                         .arg(q.left(20))
                         .toStdString());
        for (const QStringList &start :
             {QStringList{}, QStringList{QStringLiteral("FOND"), QStringLiteral("Receive")}}) {
          QStringList fast = start, plain = start;
          d.Suggest(q, map, fast);
          plainDictionary.SuggestPlain(q, map, plain);
          EXPECT_EQ(fast, plain);
        }
      }
    }
    // Rules edited after codes were kept: "f" now sounds like "p", and "fone" finds "phone".
    map.SetLanguage(3081);
    map.SetStartDepth(1);
    QStringList before;
    d.Suggest(QStringLiteral("pfone"), map, before);
    map.AddMap(QStringLiteral("f"), QStringLiteral("p"), 1);
    QStringList fast, plain;
    d.Suggest(QStringLiteral("fone"), map, fast);
    plainDictionary.SuggestPlain(QStringLiteral("fone"), map, plain);
    EXPECT_EQ(fast, plain);
    map.SetLanguage(0);
  }
}

// The codes side file gives the plain walk's words (its codes are the map's) for every setting it
// holds, in both code pages, and is read for them; a setting it lacks is computed.
TEST_F(PhoneticWalkTest, CodeFileGivesThePlainWalksWords)
{
  const QStringList words = {QStringLiteral("phone"),
                             QStringLiteral("fond"),
                             QStringLiteral("font"),
                             QStringLiteral("fonts"),
                             QStringLiteral("Fonda"),
                             QStringLiteral("fone"),
                             QStringLiteral("fon\u00E9"),
                             QStringLiteral("f\u00F6hn"),
                             QStringLiteral("fonetically"),
                             QStringLiteral("cafe"),
                             QStringLiteral("caf\u00E9"),
                             QStringLiteral("receive"),
                             QStringLiteral("reciever"),
                             QStringLiteral("relieve"),
                             QStringLiteral("Receive"),
                             QStringLiteral("\u0436\u0443\u043A"),
                             QStringLiteral("\u0436\u0443\u043A\u0438")};
  const QStringList queries = {QStringLiteral("fone"),
                               QStringLiteral("Fone"),
                               QStringLiteral("fon\u00E9s"),
                               QStringLiteral("cafe"),
                               QStringLiteral("recieve"),
                               QStringLiteral("RecIeve"),
                               QStringLiteral("\u0436\u0443\u043A\u0430")};
  struct Setting {
    quint32 language;
    int depth;
  };
  const Setting written[] = {{3081, 2}, {3081, 1}, {0, 2}, {12, 1}};
  const Setting asked[] = {{3081, 2}, {3081, 1}, {0, 2}, {12, 1}, {3081, 3}};
  for (int minor : {1, 0}) {
    SCOPED_TRACE(minor);
    const QString file = compile(QStringLiteral("w%1.wdm").arg(minor), words, minor);
    {
      std::vector<std::unique_ptr<TPhoneticsMap>> maps;
      std::vector<const TPhoneticsMap *> views;
      for (const Setting &w : written) {
        maps.push_back(std::make_unique<TPhoneticsMap>());
        maps.back()->SetLanguage(w.language);
        maps.back()->SetStartDepth(w.depth);
        views.push_back(maps.back().get());
      }
      TMainDictionary writer;
      writer.SetFilename(file);
      write(QFileInfo(TMainDictionary::CodeFileName(file)).fileName(), writer.CodeFileImage(views));
    }
    TMainDictionary plainDictionary;
    plainDictionary.SetFilename(file);
    for (const Setting &setting : asked) {
      map.SetLanguage(setting.language);
      map.SetStartDepth(setting.depth);
      TMainDictionary withFile;
      withFile.SetFilename(file);
      for (const QString &q : queries) {
        SCOPED_TRACE(QStringLiteral("language %1, depth %2: %3")
                         .arg(setting.language)
                         .arg(setting.depth)
                         .arg(q)
                         .toStdString());
        QStringList fast, plain;
        withFile.Suggest(q, map, fast);
        plainDictionary.SuggestPlain(q, map, plain);
        EXPECT_EQ(fast, plain);
      }
      SCOPED_TRACE(QStringLiteral("language %1, depth %2")
                       .arg(setting.language)
                       .arg(setting.depth)
                       .toStdString());
      if (setting.depth == 3)
        EXPECT_EQ(withFile.CodeFileHits(), 0u) << "no codes for this setting";
      else
        EXPECT_GT(withFile.CodeFileHits(), 0u) << "the codes come from the file";
    }
  }
}

// A side file that is not this dictionary's, or damaged, is ignored whole: the codes are computed.
TEST_F(PhoneticWalkTest, ForeignOrDamagedCodeFilesAreIgnored)
{
  const QStringList words = {QStringLiteral("fond"),  QStringLiteral("font"),
                             QStringLiteral("fone"),  QStringLiteral("foam"),
                             QStringLiteral("phone"), QStringLiteral("fonts")};
  const QString file = compile(QStringLiteral("g.wdm"), words);
  const QString other =
      compile(QStringLiteral("h.wdm"), words + QStringList{QStringLiteral("fog")});
  const std::vector<const TPhoneticsMap *> views{&map};
  TMainDictionary writer;
  writer.SetFilename(file);
  const QByteArray good = writer.CodeFileImage(views);
  TMainDictionary otherWriter;
  otherWriter.SetFilename(other);
  const QByteArray foreign = otherWriter.CodeFileImage(views);
  ASSERT_GT(good.size(), 28 + 40);
  const quint64 section = qFromLittleEndian<quint64>(good.constData() + 28 + 24);
  auto patched = [&good](qsizetype at, char value) {
    QByteArray b = good;
    b[at] = value;
    return b;
  };
  const struct {
    const char *name;
    QByteArray bytes;
  } cases[] = {
      {"another dictionary's", foreign},
      {"empty", QByteArray()},
      {"magic only", good.left(8)},
      {"cut short", good.left(good.size() - 3)},
      {"checksum changed", patched(9, char(good[9] ^ 1))},
      {"node count changed", patched(16, char(good[16] + 1))},
      {"map count past the file", patched(27, char(0x7F))},
      {"probe changed", patched(28 + 20, char(good[28 + 20] ^ 1))},
      {"section past the file", patched(28 + 39, char(0x10))},
      {"entry past its section", patched(qsizetype(section), char(200))},
      {"random bytes", QByteArray(good.size(), char(0x5A))},
  };
  TMainDictionary plainDictionary;
  plainDictionary.SetFilename(file);
  QStringList plain;
  plainDictionary.SuggestPlain(QStringLiteral("fonet"), map, plain);
  ASSERT_FALSE(plain.isEmpty());
  {
    write(QStringLiteral("g.wdp"), good);
    TMainDictionary withFile;
    withFile.SetFilename(file);
    QStringList fast;
    withFile.Suggest(QStringLiteral("fonet"), map, fast);
    EXPECT_EQ(fast, plain);
    EXPECT_GT(withFile.CodeFileHits(), 0u) << "the good file is read";
  }
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    write(QStringLiteral("g.wdp"), c.bytes);
    TMainDictionary withFile;
    withFile.SetFilename(file);
    QStringList fast;
    withFile.Suggest(QStringLiteral("fonet"), map, fast);
    EXPECT_EQ(fast, plain);
    EXPECT_EQ(withFile.CodeFileHits(), 0u);
  }
}

// A codes file that is no regular file is no codes file: a FIFO there blocked the first
// suggestion request for ever, /dev/zero never ended.
TEST_F(PhoneticWalkTest, CodeFilesThatAreNoRegularFilesAreIgnored)
{
  const QString file =
      compile(QStringLiteral("f.wdm"),
              {QStringLiteral("fond"), QStringLiteral("font"), QStringLiteral("phone")});
  TMainDictionary plainDictionary;
  plainDictionary.SetFilename(file);
  QStringList plain;
  plainDictionary.SuggestPlain(QStringLiteral("fonet"), map, plain);
  ASSERT_FALSE(plain.isEmpty());
  const QString side = TMainDictionary::CodeFileName(file);
  for (const bool fifo : {true, false}) {
    SCOPED_TRACE(fifo ? "fifo" : "device");
    ASSERT_TRUE(makeOddFile(side, fifo));
    TMainDictionary withFile;
    withFile.SetFilename(file);
    QStringList fast;
    withFile.Suggest(QStringLiteral("fonet"), map, fast);
    EXPECT_EQ(fast, plain);
    EXPECT_EQ(withFile.CodeFileHits(), 0u);
  }
}

// A dictionary name that is a FIFO or a device opens nothing at once; it used to block (a FIFO)
// or map an endless file.
TEST_F(PhoneticWalkTest, DictionariesThatAreNoRegularFilesAreRefusedAtOnce)
{
  const QString good = compile(QStringLiteral("g.wdm"), {QStringLiteral("fond")});
  const QString odd = QFileInfo(good).absolutePath() + QStringLiteral("/odd.wdm");
  for (const bool fifo : {true, false}) {
    SCOPED_TRACE(fifo ? "fifo" : "device");
    ASSERT_TRUE(makeOddFile(odd, fifo));
    TMainDictionary d;
    d.SetFilename(odd);
    EXPECT_FALSE(d.Loaded());
    EXPECT_FALSE(d.WordExists(QStringLiteral("fond")));
  }
}

// Kept codes and subtree heights outlive an unload of the same file, not new content under the
// same name: node numbers then name other words. The second file has the same layout (so the
// header read when the name was set still fits) and the same first letter, other letters below.
TEST_F(PhoneticWalkTest, KeptCodesAreForgottenWhenTheFileChanges)
{
  const QString file =
      compile(QStringLiteral("c.wdm"),
              {QStringLiteral("fond"), QStringLiteral("font"), QStringLiteral("foam")});
  d.SetFilename(file);
  const QStringList first = suggest(QStringLiteral("fonet"));
  EXPECT_TRUE(first.contains(QStringLiteral("font"))) << qPrintable(first.join(','));
  d.SetLoaded(false);
  EXPECT_EQ(suggest(QStringLiteral("fonet")), first);
  d.SetLoaded(false);
  const qint64 size = QFileInfo(file).size();
  compile(QStringLiteral("c.wdm"),
          {QStringLiteral("fomd"), QStringLiteral("fomt"), QStringLiteral("foen")});
  ASSERT_EQ(QFileInfo(file).size(), size);
  TMainDictionary plainDictionary;
  plainDictionary.SetFilename(file);
  for (const char16_t *w : {u"fonet", u"fomet", u"foent"}) {
    SCOPED_TRACE(QString::fromUtf16(w).toStdString());
    QStringList plain;
    plainDictionary.SuggestPlain(QString::fromUtf16(w), map, plain);
    EXPECT_EQ(suggest(QString::fromUtf16(w)), plain);
  }
}

// --- The shipped dictionary ---------------------------------------------------------------------

// The same words written as a trie and shared: every lookup and every suggestion alike, the
// shared file's fast walk (kept codes, side file) and plain walk against the trie's fast walk.
// Mismatches are counted and the first one named: the shipped list has 167,000 words.
static void ExpectSameAnswers(const QString &treeFile, const QString &sharedFile,
                              const QStringList &words, const QStringList &misspellings)
{
  TMainDictionary tree, shared;
  tree.SetFilename(treeFile);
  shared.SetFilename(sharedFile);
  ASSERT_GT(tree.NodeCount(), shared.NodeCount()) << "the shared file has fewer nodes";
  ASSERT_EQ(tree.WordCount(), shared.WordCount());
  int differ = 0;
  QString first;
  for (const QString &w : words) {
    const QString variants[] = {w,
                                w + QStringLiteral("q"),
                                w + QStringLiteral("s"),
                                w.chopped(1),
                                w.left(2),
                                w.left(1).toUpper() + w.mid(1),
                                w.mid(1)};
    for (const QString &v : variants) {
      if (tree.WordExists(v) != shared.WordExists(v) ||
          tree.WordLength(v) != shared.WordLength(v) ||
          tree.PrefixLength(v) != shared.PrefixLength(v)) {
        if (differ++ == 0)
          first = v;
      }
    }
    if (!shared.WordExists(w) && differ++ == 0)
      first = w;
  }
  EXPECT_EQ(differ, 0) << "first: " << qPrintable(first);
  TPhoneticsMap map;
  for (const int depth : {2, 1})
    for (const quint32 language : {3081u, 0u}) {
      map.SetLanguage(language);
      map.SetStartDepth(depth);
      for (const QString &m : misspellings) {
        SCOPED_TRACE(QStringLiteral("depth %1, language %2: %3")
                         .arg(depth)
                         .arg(language)
                         .arg(m)
                         .toStdString());
        QStringList fromTree, fast, plain;
        tree.Suggest(m, map, fromTree);
        shared.Suggest(m, map, fast);
        shared.SuggestPlain(m, map, plain);
        EXPECT_EQ(fast, fromTree);
        EXPECT_EQ(plain, fromTree);
      }
    }
}

TEST_F(PhoneticWalkTest, SharedAndTreeFilesAnswerAlike)
{
  const QStringList words = {QStringLiteral("phone"),
                             QStringLiteral("fond"),
                             QStringLiteral("fund"),
                             QStringLiteral("bond"),
                             QStringLiteral("fonds"),
                             QStringLiteral("funds"),
                             QStringLiteral("bonds"),
                             QStringLiteral("font"),
                             QStringLiteral("fonts"),
                             QStringLiteral("fondue"),
                             QStringLiteral("foam"),
                             QStringLiteral("Fonda"),
                             QStringLiteral("fone"),
                             QStringLiteral("fon\u00E9"),
                             QStringLiteral("f\u00F6hn"),
                             QStringLiteral("Fo"),
                             QStringLiteral("walking"),
                             QStringLiteral("talking"),
                             QStringLiteral("walked"),
                             QStringLiteral("talked"),
                             QStringLiteral("stalking"),
                             QStringLiteral("singing"),
                             QStringLiteral("ringing"),
                             QStringLiteral("caf\u00E9"),
                             QStringLiteral("cafe"),
                             QStringLiteral("cafes"),
                             QStringLiteral("na\u00EFve"),
                             QStringLiteral("naive"),
                             QStringLiteral("knave"),
                             QStringLiteral("recieve"),
                             QStringLiteral("receive"),
                             QStringLiteral("received"),
                             QStringLiteral("relieve"),
                             QStringLiteral("relieved"),
                             QStringLiteral("believed"),
                             QStringLiteral("believe"),
                             QStringLiteral("a"),
                             QStringLiteral("an"),
                             QStringLiteral("in"),
                             QStringLiteral("fortification"),
                             QStringLiteral("mortification"),
                             QStringLiteral("ratification")};
  const QStringList misspellings = {
      QStringLiteral("fone"),        QStringLiteral("Fone"),    QStringLiteral("fund"),
      QStringLiteral("fonds"),       QStringLiteral("bonts"),   QStringLiteral("walkin"),
      QStringLiteral("talkked"),     QStringLiteral("ringin"),  QStringLiteral("cafe"),
      QStringLiteral("caf\u00E9s"),  QStringLiteral("naeve"),   QStringLiteral("recieved"),
      QStringLiteral("releived"),    QStringLiteral("beleive"), QStringLiteral("mortifcation"),
      QStringLiteral("ratifaction"), QStringLiteral("x"),       QString()};
  for (const int minor : {1, 0}) {
    SCOPED_TRACE(minor);
    TMainDictionaryStats treeStats, sharedStats;
    const QString treeFile =
        compile(QStringLiteral("tree.wdm"), words, minor, &treeStats, TNodeSharing::Tree);
    const QString sharedFile =
        compile(QStringLiteral("shared.wdm"), words, minor, &sharedStats, TNodeSharing::Shared);
    EXPECT_EQ(sharedStats.trieNodeCount, quint64(treeStats.nodeCount));
    {
      // The side file of the shared file: codes by word, whichever path reaches a shared end.
      TMainDictionary writer;
      writer.SetFilename(sharedFile);
      const std::vector<const TPhoneticsMap *> views{&map};
      write(QFileInfo(TMainDictionary::CodeFileName(sharedFile)).fileName(),
            writer.CodeFileImage(views));
    }
    ExpectSameAnswers(treeFile, sharedFile, words, misspellings);
    TMainDictionary withFile;
    withFile.SetFilename(sharedFile);
    TMainDictionary fromTree;
    fromTree.SetFilename(treeFile);
    for (const QString &m : misspellings) {
      QStringList a, b;
      withFile.Suggest(m, map, a);
      fromTree.SuggestPlain(m, map, b);
      EXPECT_EQ(a, b) << qPrintable(m);
    }
    EXPECT_GT(withFile.CodeFileHits(), 0u) << "the codes come from the side file";
    QFile::remove(TMainDictionary::CodeFileName(sharedFile));
  }
}

#ifdef LW_AUSSIE_WORDS
TEST(ShippedDictionary, HoldsEveryWordOfItsList)
{
  QStringList words;
  QString error;
  ASSERT_TRUE(ReadWordList(QStringLiteral(LW_AUSSIE_WORDS), words, error)) << qPrintable(error);
  ASSERT_GT(words.size(), 150000);
  TMainDictionary d;
  d.SetFilename(QStringLiteral(LW_AUSSIE_WDM));
  EXPECT_EQ(d.Title(), QStringLiteral("English (Australian)"));
  EXPECT_EQ(d.Language(), 3081u);
  EXPECT_EQ(d.MinorVersion(), 1);
  // Shared endings: the list's trie has 284,568 nodes, the file about a fifth of that.
  EXPECT_LT(d.NodeCount(), quint32(words.size() / 2)) << "the shipped file shares equal endings";
  const QSet<QString> listed(words.begin(), words.end());
  int missing = 0, extra = 0;
  for (const QString &w : words) {
    if (!d.WordExists(w) || d.WordLength(w) != w.toUtf8().size())
      ++missing;
    // A word with one more letter is mostly not a word; when it is, it is in the list too.
    const QString longer = w + QStringLiteral("q");
    if (d.WordExists(longer) && !listed.contains(longer))
      ++extra;
  }
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(extra, 0);
  for (const char16_t *w : {u"colour", u"organise", u"kangaroo", u"Canberra", u"arvo"})
    EXPECT_TRUE(d.WordExists(QString::fromUtf16(w))) << qPrintable(QString::fromUtf16(w));
  for (const char16_t *w : {u"recieve", u"teh", u"1th", u"colou", u"Colour"})
    EXPECT_FALSE(d.WordExists(QString::fromUtf16(w))) << qPrintable(QString::fromUtf16(w));

  TPhoneticsMap map;
  map.SetLanguage(3081);
  map.SetStartDepth(2);
  struct Expect {
    const char16_t *misspelt;
    const char16_t *suggestion;
  } expects[] = {{u"recieve", u"receive"}, {u"thier", u"their"}, {u"nite", u"night"},
                 {u"becuase", u"because"}, {u"wich", u"witch"},  {u"fone", u"fond"},
                 {u"sydney", u"Sydney"}};
  for (const Expect &e : expects) {
    QStringList s;
    d.Suggest(QString::fromUtf16(e.misspelt), map, s);
    EXPECT_TRUE(s.contains(QString::fromUtf16(e.suggestion)))
        << qPrintable(QString::fromUtf16(e.misspelt)) << ": " << qPrintable(s.join(','));
  }
}

// Suggest against the plain walk on the shipped dictionary: misspellings made from words taken at
// an even stride through its list (a letter dropped, two swapped, one doubled, one changed, and
// capitalised), at both start depths with the English and the default rules, the maps the
// check session uses.
TEST(ShippedDictionary, SuggestGivesThePlainWalksWords)
{
  QStringList words;
  QString error;
  ASSERT_TRUE(ReadWordList(QStringLiteral(LW_AUSSIE_WORDS), words, error)) << qPrintable(error);
  TMainDictionary d, plainDictionary;
  d.SetFilename(QStringLiteral(LW_AUSSIE_WDM));
  plainDictionary.SetFilename(QStringLiteral(LW_AUSSIE_WDM));
  QStringList misspellings;
  const qsizetype stride = words.size() / 24;
  for (qsizetype i = stride / 2; i < words.size(); i += stride) {
    const QString w = words[i];
    if (w.size() < 4)
      continue;
    const int at = int(i % (w.size() - 1));
    QString swapped = w;
    std::swap(swapped[at], swapped[at + 1]);
    QString changed = w;
    changed[at] = changed[at] == QChar('e') ? QChar('a') : QChar('e');
    misspellings << QString(w).remove(at, 1) << swapped << QString(w).insert(at, w[at]) << changed
                 << changed.left(1).toUpper() + changed.mid(1);
  }
  TPhoneticsMap map;
  for (int depth : {2, 1})
    for (quint32 language : {3081u, 0u}) {
      map.SetLanguage(language);
      map.SetStartDepth(depth);
      for (const QString &m : std::as_const(misspellings)) {
        SCOPED_TRACE(QStringLiteral("depth %1, language %2: %3")
                         .arg(depth)
                         .arg(language)
                         .arg(m)
                         .toStdString());
        QStringList fast, plain;
        d.Suggest(m, map, fast);
        plainDictionary.SuggestPlain(m, map, plain);
        EXPECT_EQ(fast, plain);
      }
    }
  // The build writes the codes side file for every setting above.
  EXPECT_TRUE(QFile::exists(TMainDictionary::CodeFileName(QStringLiteral(LW_AUSSIE_WDM))));
  EXPECT_GT(d.CodeFileHits(), 0u);
}
// The shipped list written both ways. The trie needs the wide linkage (284,568 nodes), the shared
// file the narrow one: both widths on real data. Misspellings from codespell's list where it is
// installed, else made from the list's own words.
TEST(ShippedDictionary, SharedAndTreeFilesAnswerAlike)
{
  QStringList words;
  QString error;
  ASSERT_TRUE(ReadWordList(QStringLiteral(LW_AUSSIE_WORDS), words, error)) << qPrintable(error);
  QTemporaryDir dir;
  const QString treeFile = dir.filePath(QStringLiteral("tree.wdm"));
  const QString sharedFile = dir.filePath(QStringLiteral("shared.wdm"));
  TMainDictionaryStats treeStats, sharedStats;
  ASSERT_EQ(WriteMainDictionary(treeFile, words, 1, &treeStats, QStringLiteral("t"), 3081,
                                TNodeSharing::Tree),
            QString());
  ASSERT_EQ(WriteMainDictionary(sharedFile, words, 1, &sharedStats, QStringLiteral("t"), 3081,
                                TNodeSharing::Shared),
            QString());
  EXPECT_GE(treeStats.nodeCount, 65535u);
  EXPECT_LT(sharedStats.nodeCount, 65535u);
  QStringList misspellings;
  QFile codespell(
      QStringLiteral("/usr/lib/python3/dist-packages/codespell_lib/data/dictionary.txt"));
  if (codespell.open(QIODevice::ReadOnly)) {
    const QList<QByteArray> lines = codespell.readAll().split('\n');
    const QRegularExpression plain(QStringLiteral("^[a-z]{3,}$"));
    for (qsizetype i = 0; i < lines.size() && misspellings.size() < 200; i += 197) {
      const QString wrong = QString::fromUtf8(lines[i].left(lines[i].indexOf("->")));
      if (plain.match(wrong).hasMatch())
        misspellings << wrong << wrong.left(1).toUpper() + wrong.mid(1);
    }
  }
  for (qsizetype i = 13; i < words.size() && misspellings.size() < 300; i += 1601) {
    QString w = words[i];
    if (w.size() >= 4)
      misspellings << QString(w).remove(int(i % (w.size() - 1)), 1);
  }
  ExpectSameAnswers(treeFile, sharedFile, words, misspellings);
}

#endif

} // namespace
