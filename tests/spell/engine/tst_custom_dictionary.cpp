#include "wrCustomDictionary.h"
#include "wrUtil.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The file as stored, for checks that must not go through the reader under test.
struct RawFile {
  QByteArray banner;
  int32_t counts[4] = {0, 0, 0, 0}; // ignore, exclude, auto-correct, entries
  std::vector<int32_t> table;
  QByteArray area;

  static int32_t at(const QByteArray &b, qsizetype offset)
  {
    return qFromLittleEndian<qint32>(b.constData() + offset);
  }
  static bool parse(const QByteArray &b, RawFile &raw)
  {
    const qsizetype H = b.startsWith("Wright User Dictionary, Version 4.0") ? 121 : 141;
    if (b.size() < H + 24)
      return false;
    raw.banner = b.left(H - 2);
    for (int i = 0; i < 4; ++i)
      raw.counts[i] = at(b, H + 4 * i);
    const int32_t T = at(b, H + 16);
    if (T < 0 || b.size() < H + 24 + 4 * qsizetype(T))
      return false;
    raw.table.resize(size_t(T));
    for (int32_t i = 0; i < T; ++i)
      raw.table[size_t(i)] = at(b, H + 20 + 4 * i);
    const int32_t U = at(b, H + 20 + 4 * qsizetype(T));
    raw.area = b.mid(H + 24 + 4 * qsizetype(T));
    return raw.area.size() == U;
  }
  // The words of one kind in table-slot order, decoded from the area directly.
  QStringList wordsInSlotOrder(char kind) const
  {
    QStringList words;
    for (int32_t v : table)
      if (v > 0 && area.at(v - 1) == kind)
        words << QString::fromUtf8(area.constData() + v);
    return words;
  }
};

QByteArray readAll(const QString &path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

void put32(QByteArray &b, qsizetype offset, int32_t v)
{
  qToLittleEndian<qint32>(v, b.data() + offset);
}

QStringList ignoreWords(TCustomDictionary &d)
{
  QStringList words;
  for (int i = 0; i < d.IgnoreCount(); ++i)
    words << d.GetIgnoreWord(unsigned(i));
  return words;
}

int runHelper(const QStringList &args)
{
  QProcess p;
  p.start(QStringLiteral(CDICT_HELPER), args);
  if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
    return -1;
  return p.exitCode();
}

class CustomDictionaryTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString path(const QString &name) const { return dir.filePath(name); }
  // A 4.1 file with ignore entries "alpha", "colour", an exclude "alot" and, added last, the
  // auto-correct pair "teh" -> "the".
  QString writeSample(const QString &name = QStringLiteral("sample.wdu"))
  {
    const QString file = path(name);
    TCustomDictionary d;
    d.SetFilename(file);
    EXPECT_TRUE(d.AddIgnore(QStringLiteral("alpha")));
    EXPECT_TRUE(d.AddIgnore(QStringLiteral("colour")));
    EXPECT_TRUE(d.AddExclude(QStringLiteral("alot")));
    EXPECT_TRUE(d.AddAutoCorrect(QStringLiteral("teh"), QStringLiteral("the")));
    d.SetLoaded(false);
    return file;
  }
};

TEST_F(CustomDictionaryTest, NewFileIsCreatedWithExactLayoutOnUnload)
{
  const QString file = path(QStringLiteral("new.wdu"));
  {
    TCustomDictionary d;
    d.SetFilename(file);
    ASSERT_EQ(d.Filename(), file);
    d.SetLoaded(true);
    EXPECT_TRUE(d.Loaded());
    EXPECT_EQ(d.IgnoreCount(), 0);
    EXPECT_FALSE(QFile::exists(file)) << "the probe for a new name leaves nothing behind";
    EXPECT_TRUE(d.AddIgnore(QStringLiteral("colour")));
  }
  const QByteArray bytes = readAll(file);
  ASSERT_EQ(bytes.size(), 141 + 24 + 4 * 251 + 8);
  EXPECT_TRUE(bytes.startsWith("Wright User Dictionary, Version 4.1\r\n"));
  EXPECT_EQ(bytes.mid(137, 4), QByteArray("\r\n\0\x1A", 4));
  RawFile raw;
  ASSERT_TRUE(RawFile::parse(bytes, raw));
  EXPECT_EQ(raw.counts[0], 1);
  EXPECT_EQ(raw.counts[1], 0);
  EXPECT_EQ(raw.counts[2], 0);
  EXPECT_EQ(raw.counts[3], 1);
  ASSERT_EQ(raw.table.size(), 251u);
  EXPECT_EQ(raw.table[size_t(HashWord(QStringLiteral("colour"), 251))], 1);
  EXPECT_EQ(raw.area, QByteArray("Icolour\0", 8));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("new.wdu")})
      << "no temporary file is left beside it";
}

// One dictionary, operations applied in order: the lists exclude each other and compare words
// exactly.
TEST_F(CustomDictionaryTest, AddAndRemoveRules)
{
  enum Op { AddI, AddE, AddA, RemI, RemE, RemA, HasI, HasE, HasA };
  struct Step {
    Op op;
    QString word;
    QString correction;
    bool expected;
  };
  const QString long500(500, QLatin1Char('x'));
  const QString long501(501, QLatin1Char('y'));
  // 167 three-byte characters fit the 511 bytes of the buffer; 200 would be stored empty.
  const QString wide200(200, QChar(0x20AC));
  const std::vector<Step> steps = {
      {AddI, "color", "", true},
      {HasI, "color", "", true},
      {HasI, "Color", "", false},
      {AddI, "color", "", false},
      {AddE, "color", "", false},
      {AddA, "color", "colour", false},
      {RemE, "color", "", false},
      {RemI, "color", "", true},
      {HasI, "color", "", false},
      {AddE, "color", "", true},
      {HasE, "color", "", true},
      {HasI, "color", "", false},
      {AddI, "", "", false},
      {AddA, "recieve", "receive", true},
      {HasA, "recieve", "receive", true},
      {HasI, "recieve", "", false},
      {AddI, "receive", "", true},
      {RemA, "receive", "", false},
      {RemA, "recieve", "", true},
      {HasA, "recieve", "", false},
      {AddI, long500, "", true},
      {AddI, long501, "", false},
      {AddA, QString(250, 'a'), QString(250, 'b'), true},
      {AddA, QString(251, 'c'), QString(250, 'b'), false},
      {AddI, wide200, "", false},
      {AddI, QString::fromUtf8("naïve"), "", true},
      {HasI, QString::fromUtf8("naïve"), "", true},
      {HasI, "naive", "", false},
      // A zero would cut the stored word short: it could never be found or removed again.
      {AddI, QStringLiteral("gh\0st"), "", false},
      {HasI, QStringLiteral("gh"), "", false},
      {AddE, QStringLiteral("\0"), "", false},
      {AddA, QStringLiteral("teh\0x"), "the", false},
      {AddA, QStringLiteral("teh"), QStringLiteral("th\0e"), false},
      {HasA, "teh", "", false},
      // A leading U+FEFF would not read back as it was added.
      {AddA, QStringLiteral("abc"), QStringLiteral("\uFEFFthe"), false},
      {AddI, QStringLiteral("\uFEFFword"), "", false},
      {HasA, "abc", "", false},
  };
  TCustomDictionary d;
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step &s = steps[i];
    QString correction;
    bool result = false;
    switch (s.op) {
    case AddI:
      result = d.AddIgnore(s.word);
      break;
    case AddE:
      result = d.AddExclude(s.word);
      break;
    case AddA:
      result = d.AddAutoCorrect(s.word, s.correction);
      break;
    case RemI:
      result = d.RemoveIgnore(s.word);
      break;
    case RemE:
      result = d.RemoveExclude(s.word);
      break;
    case RemA:
      result = d.RemoveAutoCorrect(s.word);
      break;
    case HasI:
      result = d.IgnoreExists(s.word);
      break;
    case HasE:
      result = d.ExcludeExists(s.word);
      break;
    case HasA:
      result = d.AutoCorrectExists(s.word, correction);
      EXPECT_EQ(correction, result ? s.correction : QString()) << "step " << i;
      break;
    }
    EXPECT_EQ(result, s.expected) << "step " << i << " word " << s.word.left(20).toStdString();
  }
  EXPECT_EQ(d.WordCount(), 5);
  EXPECT_EQ(d.IgnoreCount(), 3);  // receive, long500, naïve
  EXPECT_EQ(d.ExcludeCount(), 1); // color
  EXPECT_EQ(d.AutoCorrectCount(), 1);
  EXPECT_TRUE(d.Loaded());
}

// Only ignore words count, exactly as spelled, and every change (also a reload) is seen at once.
TEST_F(CustomDictionaryTest, IgnorePrefixLengthFollowsTheIgnoreWords)
{
  TCustomDictionary d;
  d.SetFilename(writeSample()); // ignores alpha, colour; excludes alot; corrects teh
  struct Ask {
    const char *word;
    int length;
  };
  auto expect = [&d](std::initializer_list<Ask> asks) {
    for (const Ask &a : asks) {
      SCOPED_TRACE(a.word);
      EXPECT_EQ(d.IgnorePrefixLength(QString::fromUtf8(a.word)), a.length);
    }
  };
  expect({{"alphabet", 5},
          {"alp", 3},
          {"alpz", 3},
          {"al", 2},
          {"alo", 2},
          {"colours", 6},
          {"Colour", 0},
          {"te", 0},
          {"zebra", 0},
          {"", 0},
          {"a", 1}});
  ASSERT_TRUE(d.AddIgnore(QStringLiteral("alot")) == false); // an exclusion already
  ASSERT_TRUE(d.AddIgnore(QStringLiteral("alphorn")));
  ASSERT_TRUE(d.RemoveIgnore(QStringLiteral("alpha")));
  expect({{"alphabet", 4}, {"alphor", 6}, {"alpha", 4}});
  ASSERT_TRUE(d.AddIgnore(QStringLiteral("caf\u00e9")));
  expect({{"caf\u00e8", 3}, {"caf\u00e9s", 4}});
  d.SetLoaded(false); // saved; loaded again on the next question
  expect({{"alphor", 6}, {"alphabet", 4}, {"caf\u00e9", 4}});
  d.RemoveAll();
  expect({{"alphor", 0}});
}

TEST_F(CustomDictionaryTest, TableGrowsThroughThePrimeListAtAQuarterFull)
{
  struct Case {
    int additions;
    int32_t tableSize;
  };
  const Case cases[] = {{0, 0},     {1, 251},    {62, 251},   {63, 509},
                        {127, 509}, {128, 1021}, {255, 1021}, {256, 2039}};
  for (const Case &c : cases) {
    TCustomDictionary d;
    for (int i = 0; i < c.additions; ++i)
      ASSERT_TRUE(d.AddIgnore(QStringLiteral("word%1").arg(i)));
    EXPECT_EQ(d.UpperBound(), c.tableSize) << c.additions << " additions";
    EXPECT_EQ(d.WordCount(), c.additions);
    for (int i = 0; i < c.additions; ++i)
      ASSERT_TRUE(d.IgnoreExists(QStringLiteral("word%1").arg(i))) << i << " after " << c.additions;
  }
}

TEST_F(CustomDictionaryTest, RoundTripKeepsEveryListInTableSlotOrder)
{
  const QString file = path(QStringLiteral("order.wdu"));
  QStringList inserted;
  QStringList ignoreOrder, excludeOrder, autoOrder, corrections;
  {
    TCustomDictionary d;
    d.SetFilename(file);
    for (int i = 0; i < 90; ++i) {
      const QString w = QStringLiteral("w%1x").arg(i * 7919 % 1000);
      switch (i % 3) {
      case 0:
        ASSERT_TRUE(d.AddIgnore(w));
        inserted << w;
        break;
      case 1:
        ASSERT_TRUE(d.AddExclude(w));
        break;
      case 2:
        ASSERT_TRUE(d.AddAutoCorrect(w, w + QStringLiteral("ok")));
        break;
      }
    }
    // Removals leave deleted marks and dead bytes that travel with the file.
    ASSERT_TRUE(d.RemoveIgnore(inserted[3]));
    ASSERT_TRUE(d.RemoveExclude(QStringLiteral("w%1x").arg(1 * 7919 % 1000)));
    inserted.removeAt(3);
    ignoreOrder = ignoreWords(d);
    for (int i = 0; i < d.ExcludeCount(); ++i)
      excludeOrder << d.GetExcludeWord(unsigned(i));
    for (int i = 0; i < d.AutoCorrectCount(); ++i) {
      QString c;
      autoOrder << d.GetAutoCorrectWord(unsigned(i), c);
      corrections << c;
    }
  }
  RawFile raw;
  ASSERT_TRUE(RawFile::parse(readAll(file), raw));
  EXPECT_EQ(raw.table.size(), 509u);
  EXPECT_EQ(raw.counts[3], 88);
  EXPECT_EQ(ignoreOrder, raw.wordsInSlotOrder('I'));
  EXPECT_EQ(excludeOrder, raw.wordsInSlotOrder('E'));
  EXPECT_EQ(autoOrder, raw.wordsInSlotOrder('A'));
  ASSERT_EQ(ignoreOrder.size(), inserted.size());
  EXPECT_NE(ignoreOrder, inserted) << "slot order, not insertion order";

  TCustomDictionary back;
  back.SetFilename(file);
  EXPECT_EQ(ignoreWords(back), ignoreOrder);
  QStringList excludeBack, autoBack, correctionsBack;
  for (int i = 0; i < back.ExcludeCount(); ++i)
    excludeBack << back.GetExcludeWord(unsigned(i));
  for (int i = 0; i < back.AutoCorrectCount(); ++i) {
    QString c;
    autoBack << back.GetAutoCorrectWord(unsigned(i), c);
    correctionsBack << c;
  }
  EXPECT_EQ(excludeBack, excludeOrder);
  EXPECT_EQ(autoBack, autoOrder);
  EXPECT_EQ(correctionsBack, corrections);
  for (int i = 0; i < autoBack.size(); ++i)
    EXPECT_EQ(correctionsBack[i], autoBack[i] + QStringLiteral("ok"));
  QString c = QStringLiteral("stale");
  EXPECT_EQ(back.GetAutoCorrectWord(1000, c), QString());
  EXPECT_EQ(c, QString());
  EXPECT_EQ(back.GetIgnoreWord(unsigned(ignoreOrder.size())), QString());
  EXPECT_FALSE(back.Modified());
}

TEST_F(CustomDictionaryTest, VersionFourZeroFileKeepsItsBannerAndCodePage)
{
  const QString file = path(QStringLiteral("old.wdu"));
  QByteArray empty = TCustomDictionary::Banner(0);
  ASSERT_EQ(empty.size(), 119);
  empty.append('\0').append('\x1A').append(QByteArray(24, '\0'));
  writeAll(file, empty);
  {
    TCustomDictionary d;
    d.SetFilename(file);
    d.SetLoaded(true);
    ASSERT_TRUE(d.Loaded());
    EXPECT_EQ(d.CodePage(), 0u);
    EXPECT_TRUE(d.AddIgnore(QString::fromUtf8("café")));
    EXPECT_TRUE(d.AddAutoCorrect(QStringLiteral("naieve"), QString::fromUtf8("naïve")));
  }
  const QByteArray bytes = readAll(file);
  EXPECT_TRUE(bytes.startsWith("Wright User Dictionary, Version 4.0\r\n"));
  RawFile raw;
  ASSERT_TRUE(RawFile::parse(bytes, raw));
  EXPECT_EQ(raw.area, QByteArray("Icaf\xE9\0Anaieve\0na\xEFve\0", 20));
  TCustomDictionary back;
  back.SetFilename(file);
  EXPECT_TRUE(back.IgnoreExists(QString::fromUtf8("café")));
  QString correction;
  EXPECT_TRUE(back.AutoCorrectExists(QStringLiteral("naieve"), correction));
  EXPECT_EQ(correction, QString::fromUtf8("naïve"));
  EXPECT_EQ(back.CodePage(), 0u);
}

// Damaged files are refused whole: nothing is loaded from them and nothing is written over them.
TEST_F(CustomDictionaryTest, DamagedFilesAreRefusedAndLeftAlone)
{
  const QString good = writeSample();
  const QByteArray valid = readAll(good);
  RawFile raw;
  ASSERT_TRUE(RawFile::parse(valid, raw));
  const qsizetype H = 141;
  const int32_t T = int32_t(raw.table.size());
  const qsizetype uAt = H + 20 + 4 * qsizetype(T);
  const int32_t U = int32_t(raw.area.size());
  qsizetype liveSlot = -1;
  for (size_t i = 0; i < raw.table.size(); ++i)
    if (raw.table[i] > 0 && liveSlot < 0)
      liveSlot = qsizetype(i);
  ASSERT_GE(liveSlot, 0);
  const qsizetype slotAt = H + 20 + 4 * liveSlot;
  const int32_t liveRef = raw.table[size_t(liveSlot)];
  int32_t ignoreRef = 0;
  for (int32_t v : raw.table)
    if (v > 0 && raw.area.at(v - 1) == 'I')
      ignoreRef = v;
  ASSERT_GT(ignoreRef, 0);
  // Every slot of the table references the same ignore entry, the counts agreeing: a lookup of a
  // missing word would pass every slot.
  const auto fillTable = [&](QByteArray &b, int32_t liveSlots) {
    for (int32_t i = 0; i < T; ++i)
      put32(b, H + 20 + 4 * i, i < liveSlots ? ignoreRef : -1);
    put32(b, H, liveSlots);
    put32(b, H + 4, 0);
    put32(b, H + 8, 0);
    put32(b, H + 12, liveSlots);
  };

  // A well-formed extra ignore entry of `letters` letters in a free slot, counts adjusted.
  const auto addIgnoreEntry = [&](QByteArray &b, int letters) {
    b.append('I').append(QByteArray(letters, 'x')).append('\0');
    put32(b, uAt, U + letters + 2);
    put32(b, H, raw.counts[0] + 1);
    put32(b, H + 12, raw.counts[3] + 1);
    qsizetype freeSlot = 0;
    while (raw.table[size_t(freeSlot)] != 0)
      ++freeSlot;
    put32(b, H + 20 + 4 * freeSlot, U + 1);
  };

  struct Case {
    const char *name;
    std::function<void(QByteArray &)> damage;
    bool bannerAccepted;
    bool loads;
  };
  const std::vector<Case> cases = {
      {"valid", [](QByteArray &) {}, true, true},
      {"other banner", [](QByteArray &b) { b[10] = 'X'; }, false, false},
      {"cut inside the banner", [](QByteArray &b) { b.truncate(100); }, false, false},
      {"cut inside the counts", [](QByteArray &b) { b.truncate(150); }, true, false},
      {"cut inside the table", [&](QByteArray &b) { b.truncate(slotAt + 2); }, true, false},
      {"table size off the prime list", [&](QByteArray &b) { put32(b, H + 16, 250); }, true, false},
      {"table larger than the file", [&](QByteArray &b) { put32(b, H + 16, 1073741789); }, true,
       false},
      {"negative table size", [&](QByteArray &b) { put32(b, H + 16, -251); }, true, false},
      {"negative ignore count", [&](QByteArray &b) { put32(b, H, -1); }, true, false},
      {"ignore count off the table", [&](QByteArray &b) { put32(b, H, 3); }, true, false},
      {"entry count off the table", [&](QByteArray &b) { put32(b, H + 12, 5); }, true, false},
      {"area longer than the file", [&](QByteArray &b) { put32(b, uAt, U + 1); }, true, false},
      {"negative area size", [&](QByteArray &b) { put32(b, uAt, -4); }, true, false},
      {"reference beyond the area", [&](QByteArray &b) { put32(b, slotAt, U + 5); }, true, false},
      {"reference into a word", [&](QByteArray &b) { put32(b, slotAt, liveRef + 1); }, true, false},
      {"slot value below -1", [&](QByteArray &b) { put32(b, slotAt, -7); }, true, false},
      {"correction cut off",
       [&](QByteArray &b) {
         b.chop(1);
         put32(b, uAt, U - 1);
       },
       true, false},
      {"correction missing",
       [&](QByteArray &b) {
         b.chop(4);
         put32(b, uAt, U - 4);
       },
       true, false},
      {"trailing garbage after the area", [](QByteArray &b) { b.append("junk"); }, true, true},
      {"entry longer than an entry can be", [&](QByteArray &b) { addIgnoreEntry(b, 600); }, true,
       false},
      {"entry of 500 letters", [&](QByteArray &b) { addIgnoreEntry(b, 500); }, true, true},
      {"no empty slot, every slot live", [&](QByteArray &b) { fillTable(b, T); }, true, false},
      {"table more than half full", [&](QByteArray &b) { fillTable(b, T / 2 + 1); }, true, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray bytes = valid;
    c.damage(bytes);
    const QString file = path(QStringLiteral("damaged.wdu"));
    writeAll(file, bytes);
    {
      TCustomDictionary d;
      d.SetFilename(good);
      d.SetFilename(file);
      EXPECT_EQ(d.Filename(), c.bannerAccepted ? file : good);
      if (!c.bannerAccepted)
        continue;
      d.SetLoaded(true);
      EXPECT_EQ(d.Loaded(), c.loads);
      EXPECT_EQ(d.IgnoreExists(QStringLiteral("alpha")), c.loads);
      QString correction;
      EXPECT_EQ(d.AutoCorrectExists(QStringLiteral("teh"), correction), c.loads);
      EXPECT_EQ(d.IgnoreCount() >= 2, c.loads);
      EXPECT_EQ(d.AddIgnore(QStringLiteral("zulu")), c.loads);
      if (!c.loads) {
        d.SetModified(true);
        d.Save();
      }
    }
    if (!c.loads) {
      EXPECT_EQ(readAll(file), bytes) << "a refused file is never written over";
    }
    QFile::remove(file);
  }
}

// A table crowded with deleted marks (many adds and removes) is compacted when it is read, so
// that a missing word does not pass most of the table on every lookup.
TEST_F(CustomDictionaryTest, TableCrowdedWithDeletedMarksIsCompactedOnLoad)
{
  const QString file = writeSample();
  QByteArray bytes = readAll(file);
  RawFile raw;
  ASSERT_TRUE(RawFile::parse(bytes, raw));
  const qsizetype H = 141;
  int empty = 0;
  for (size_t i = 0; i < raw.table.size(); ++i)
    if (raw.table[i] == 0 && empty++ > 0)
      put32(bytes, H + 20 + 4 * qsizetype(i), -1); // one empty slot left
  writeAll(file, bytes);
  {
    TCustomDictionary d;
    d.SetFilename(file);
    EXPECT_TRUE(d.IgnoreExists(QStringLiteral("colour")));
    EXPECT_FALSE(d.IgnoreExists(QStringLiteral("missing")));
    EXPECT_TRUE(d.AddIgnore(QStringLiteral("zulu")));
  }
  ASSERT_TRUE(RawFile::parse(readAll(file), raw));
  EXPECT_EQ(std::count(raw.table.begin(), raw.table.end(), -1), 0);
  QStringList words = raw.wordsInSlotOrder('I');
  words.sort();
  EXPECT_EQ(words, QStringList({"alpha", "colour", "zulu"}));
}

// A refused file is not read again for every operation, but a repaired one loads.
TEST_F(CustomDictionaryTest, RepairedFileLoadsOnTheNextOperation)
{
  const QString good = writeSample();
  const QByteArray valid = readAll(good);
  const QString file = path(QStringLiteral("repaired.wdu"));
  QByteArray damaged = valid;
  put32(damaged, 141 + 16, 250);
  writeAll(file, damaged);
  TCustomDictionary d;
  d.SetFilename(file);
  EXPECT_FALSE(d.IgnoreExists(QStringLiteral("alpha")));
  EXPECT_FALSE(d.IgnoreExists(QStringLiteral("alpha")));
  EXPECT_FALSE(d.Loaded());
  // Another size, so that the change shows even within one tick of the file system's clock.
  writeAll(file, valid + QByteArray("\0\0", 2));
  EXPECT_TRUE(d.IgnoreExists(QStringLiteral("alpha")));
  EXPECT_TRUE(d.Loaded());
}

TEST_F(CustomDictionaryTest, SaveAsWritesACopyAndKeepsTheObjectsState)
{
  const QString file = writeSample();
  const QString copy = path(QStringLiteral("copy.wdu"));
  TCustomDictionary d;
  d.SetFilename(file);
  ASSERT_TRUE(d.AddIgnore(QStringLiteral("bravo")));
  d.SaveAs(copy);
  EXPECT_EQ(d.Filename(), file);
  EXPECT_TRUE(d.Modified());
  TCustomDictionary c;
  c.SetFilename(copy);
  EXPECT_TRUE(c.IgnoreExists(QStringLiteral("bravo")));
  EXPECT_TRUE(c.IgnoreExists(QStringLiteral("alpha")));
  TCustomDictionary onDisk;
  onDisk.SetFilename(file);
  EXPECT_FALSE(onDisk.IgnoreExists(QStringLiteral("bravo"))) << "not saved yet";
}

// A dictionary read from a file it must not write (a shipped one) saves its changes as a copy:
// the copy holds the whole content, the read file stays as it was, and the copy is the file from
// then on. Unchanged, nothing is copied; a copy that already exists takes the changes merged.
TEST_F(CustomDictionaryTest, SaveFilenameTakesTheChangesAsACopy)
{
  const QString shipped = writeSample(QStringLiteral("shipped.wdu"));
  const QByteArray before = readAll(shipped);
  const QString copy = path(QStringLiteral("copy.wdu"));
  {
    TCustomDictionary d;
    d.SetFilename(shipped);
    d.SetSaveFilename(copy);
    EXPECT_TRUE(d.IgnoreExists(QStringLiteral("alpha")));
    d.SetLoaded(false);
    EXPECT_FALSE(QFile::exists(copy)) << "unchanged: no copy";
    d.SetLoaded(true);
    ASSERT_TRUE(d.AddIgnore(QStringLiteral("bravo")));
    d.Save();
    EXPECT_EQ(d.Filename(), copy);
    EXPECT_TRUE(d.SaveFilename().isEmpty());
    ASSERT_TRUE(d.AddIgnore(QStringLiteral("charlie")));
  } // saved again on destruction: into the copy
  EXPECT_EQ(readAll(shipped), before);
  TCustomDictionary back;
  back.SetFilename(copy);
  QStringList words = ignoreWords(back);
  words.sort();
  EXPECT_EQ(words, (QStringList{"alpha", "bravo", "charlie", "colour"}));
  QString correction;
  EXPECT_TRUE(back.AutoCorrectExists(QStringLiteral("teh"), correction));

  // Another program made the copy meanwhile: its words stay, this one's are added.
  TCustomDictionary late;
  late.SetFilename(shipped);
  late.SetSaveFilename(copy);
  late.SetLoaded(true);
  ASSERT_TRUE(late.AddIgnore(QStringLiteral("delta")));
  late.Save();
  back.SetLoaded(false);
  back.SetLoaded(true);
  words = ignoreWords(back);
  words.sort();
  EXPECT_EQ(words, (QStringList{"alpha", "bravo", "charlie", "colour", "delta"}));
  EXPECT_EQ(readAll(shipped), before);
}

// Another program's save since this object loaded the file decides between writing the store
// out and replaying the recorded changes on the file's current content. RemoveAll is not a
// recorded change, which makes the two paths tell apart.
TEST_F(CustomDictionaryTest, SaveMergesWhenAnotherProcessWroteTheFile)
{
  struct Case {
    bool otherWriter;
    QStringList expectedIgnore;
  };
  const Case cases[] = {
      {false, {"xray"}},
      {true, {"alpha", "colour", "bravo", "xray"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.otherWriter ? "another process wrote the file" : "the file is unchanged");
    const QString file = writeSample(QStringLiteral("merge%1.wdu").arg(c.otherWriter));
    TCustomDictionary d;
    d.SetFilename(file);
    d.SetLoaded(true);
    if (c.otherWriter) {
      ASSERT_EQ(runHelper({QStringLiteral("add-ignore"), file, QStringLiteral("bravo")}), 0);
    }
    d.RemoveAll();
    ASSERT_TRUE(d.AddIgnore(QStringLiteral("xray")));
    d.Save();
    EXPECT_FALSE(d.Modified());
    TCustomDictionary back;
    back.SetFilename(file);
    QStringList words = ignoreWords(back);
    words.sort();
    QStringList expected = c.expectedIgnore;
    expected.sort();
    EXPECT_EQ(words, expected);
  }
}

TEST_F(CustomDictionaryTest, MergeReplaysAdditionsAndRemovalsOfEveryKind)
{
  const QString file = writeSample();
  TCustomDictionary d;
  d.SetFilename(file);
  ASSERT_TRUE(d.AddIgnore(QStringLiteral("charlie")));
  ASSERT_TRUE(d.AddExclude(QStringLiteral("delta")));
  ASSERT_TRUE(d.AddAutoCorrect(QStringLiteral("adn"), QStringLiteral("and")));
  ASSERT_TRUE(d.RemoveIgnore(QStringLiteral("alpha")));
  ASSERT_TRUE(d.RemoveExclude(QStringLiteral("alot")));
  ASSERT_TRUE(d.RemoveAutoCorrect(QStringLiteral("teh")));
  ASSERT_EQ(runHelper({QStringLiteral("add-ignore"), file, QStringLiteral("bravo"),
                       QStringLiteral("echo")}),
            0);
  d.Save();
  // A second save of the same object merges again (its load stamp is not renewed) and only
  // replays what changed since the first.
  ASSERT_TRUE(d.AddIgnore(QStringLiteral("foxtrot")));
  d.SetLoaded(false);

  TCustomDictionary back;
  back.SetFilename(file);
  QStringList words = ignoreWords(back);
  words.sort();
  EXPECT_EQ(words, (QStringList{"bravo", "charlie", "colour", "echo", "foxtrot"}));
  EXPECT_TRUE(back.ExcludeExists(QStringLiteral("delta")));
  EXPECT_FALSE(back.ExcludeExists(QStringLiteral("alot")));
  QString correction;
  EXPECT_TRUE(back.AutoCorrectExists(QStringLiteral("adn"), correction));
  EXPECT_EQ(correction, QStringLiteral("and"));
  EXPECT_FALSE(back.AutoCorrectExists(QStringLiteral("teh"), correction));
  EXPECT_EQ(back.WordCount(), 7);
}

// Programs that add words to one file and save after every word, all at the same time: every
// word of every program is in the file at the end.
TEST_F(CustomDictionaryTest, ConcurrentSavingProgramsLoseNoWord)
{
  const QString file = path(QStringLiteral("shared.wdu"));
  const int writers = 4;
  const int words = 80;
  std::vector<std::unique_ptr<QProcess>> processes;
  for (int w = 0; w < writers; ++w) {
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral(CDICT_HELPER), {QStringLiteral("save-each"), file,
                                            QStringLiteral("w%1x").arg(w), QString::number(words)});
    processes.push_back(std::move(p));
  }
  for (auto &p : processes) {
    ASSERT_TRUE(p->waitForFinished(60000));
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), 0);
  }
  TCustomDictionary back;
  back.SetFilename(file);
  ASSERT_TRUE(back.IgnoreCount() > 0);
  int missing = 0;
  for (int w = 0; w < writers; ++w)
    for (int i = 0; i < words; ++i)
      missing += back.IgnoreExists(QStringLiteral("w%1x%2").arg(w).arg(i)) ? 0 : 1;
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(back.IgnoreCount(), writers * words);
}

// A save goes to a temporary file that is renamed into place: a write that fails part way (here
// a file-size limit in a second process) leaves the old file as it was and nothing beside it.
TEST_F(CustomDictionaryTest, FailingWriteLeavesTheOldFileIntact)
{
  struct Case {
    const char *limit;
    bool saved;
  };
  const Case cases[] = {{"6000", false}, {"10000000", true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.limit);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("limited.wdu"));
    {
      TCustomDictionary d;
      d.SetFilename(file);
      ASSERT_TRUE(d.AddIgnore(QStringLiteral("alpha")));
    }
    const QByteArray before = readAll(file);
    ASSERT_LT(before.size(), 6000);
    ASSERT_EQ(runHelper({QStringLiteral("limited-save"), file, QString::fromLatin1(c.limit),
                         QStringLiteral("400")}),
              0);
    const QByteArray after = readAll(file);
    if (c.saved) {
      TCustomDictionary back;
      back.SetFilename(file);
      EXPECT_EQ(back.IgnoreCount(), 401);
    } else {
      EXPECT_EQ(after, before);
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("limited.wdu")});
  }
}

// The file itself stays writable; only the folder is not, so a save that wrote in place would
// succeed and one that goes through a temporary file beside it cannot.
TEST_F(CustomDictionaryTest, SaveIntoReadOnlyFolderLeavesTheOldFileIntact)
{
  const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                  QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                  QFile::ExeOther;
  const QFile::Permissions locked = open & ~QFile::Permissions(QFile::WriteOwner);
  const QString sub = path(QStringLiteral("locked"));
  ASSERT_TRUE(QDir().mkdir(sub));
  const QString file = sub + QStringLiteral("/ro.wdu");
  {
    TCustomDictionary d;
    d.SetFilename(file);
    ASSERT_TRUE(d.AddIgnore(QStringLiteral("alpha")));
  }
  const QByteArray before = readAll(file);
  // The saving process runs as an unprivileged user, for whom the folder's mode binds.
  ASSERT_TRUE(QFile::setPermissions(dir.path(), open));
  ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::WriteGroup | QFile::ReadOther |
                                              QFile::WriteOther));
  ASSERT_TRUE(QFile::setPermissions(sub, locked));
  EXPECT_EQ(runHelper({QStringLiteral("add-ignore-unprivileged"), file, QStringLiteral("bravo")}),
            0);
  QFile::setPermissions(sub, open);
  EXPECT_EQ(readAll(file), before);
  EXPECT_EQ(QDir(sub).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("ro.wdu")});
}

TEST_F(CustomDictionaryTest, FilenameRulesAndRemoveAll)
{
  const QString file = writeSample();
  TCustomDictionary d;
  d.SetFilename(file);
  EXPECT_FALSE(d.Loaded()) << "loading waits for the first use";
  EXPECT_EQ(d.AutoCorrectCount(), 1);
  EXPECT_TRUE(d.Loaded());
  d.SetFilename(path(QStringLiteral("missing-folder/x.wdu")));
  EXPECT_EQ(d.Filename(), file) << "a name that cannot be created is refused";
  d.SetFilename(QString());
  EXPECT_EQ(d.Filename(), QString());
  EXPECT_TRUE(d.Loaded()) << "the loaded state carries over to the new name";
  EXPECT_EQ(d.IgnoreCount(), 0);

  TCustomDictionary e;
  e.SetFilename(file);
  e.RemoveAll();
  EXPECT_EQ(e.IgnoreCount() + e.ExcludeCount() + e.AutoCorrectCount(), 0);
  EXPECT_EQ(e.UpperBound(), 0);
  EXPECT_FALSE(e.Modified()) << "RemoveAll leaves the modified state";
  e.SetModified(true);
  e.SetLoaded(false);
  RawFile raw;
  ASSERT_TRUE(RawFile::parse(readAll(file), raw));
  EXPECT_TRUE(raw.table.empty());
  EXPECT_EQ(raw.counts[3], 0);
}

} // namespace
