#include "env_guard.h"

#include "rtAssert.h"
#include "rtCodePage.h"
#include "wrUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>

namespace {

class TUserNameGuard {
public:
  explicit TUserNameGuard(const QString &name)
  {
    SetLogOnUserNameSource([name] { return name; });
  }
  ~TUserNameGuard() { SetLogOnUserNameSource(nullptr); }
};

QString readAll(const QString &path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

} // namespace

// --- Path macros --------------------------------------------------------------------------------

TEST(PathMacros, ExpandsNamesFoldersAndEnvironment)
{
  const QString dir = QCoreApplication::applicationDirPath();
  const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  TUserNameGuard user(QStringLiteral("alice"));
  TEnvGuard env("LW_TEST_VAR", QByteArray("envvalue"));
  TEnvGuard lower("lw_lower_var", QByteArray("lowervalue"));
  TEnvGuard appdirEnv("appdir", std::nullopt);
  TEnvGuard home("HOME", QByteArray("/home/tester"));

  struct TCase {
    const char *input;
    QString expected;
  } cases[] = {
      {"%AppDir%\\Dictionaries\\Spell.cfg", dir + "\\Dictionaries\\Spell.cfg"},
      // Only the first occurrence of a macro is replaced.
      {"%AppDir%;%AppDir%", dir + ";%AppDir%"},
      {"%AppName%-%AppName%", name + "-%AppName%"},
      {"%UserName%%UserName%.wdu", "alice%UserName%.wdu"},
      {"%ModuleName%|%ModuleDir%", name + "|" + dir},
      // Macro names are case-sensitive: a lower-case name is no macro.
      {"%appdir%\\x", "%appdir%\\x"},
      {"%username%", "%username%"},
      // Environment variables, whatever their letter case, after the macros.
      {"%LW_TEST_VAR%\\%AppName%.wdl", "envvalue\\" + name + ".wdl"},
      {"%lw_lower_var%", "lowervalue"},
      {"%HOME%\\x", "/home/tester\\x"},
      {"%LW_NOT_SET_ANYWHERE%\\a", "%LW_NOT_SET_ANYWHERE%\\a"},
      {"50% off", "50% off"},
      {"", ""},
  };
  for (const TCase &c : cases)
    EXPECT_EQ(ExpandPathMacros(QString::fromUtf8(c.input)), c.expected) << c.input;
}

TEST(PathMacros, UserNameFallsBackToDefault)
{
  const struct {
    QString user;
    QString expected;
  } cases[] = {
      {QStringLiteral("bob"), QStringLiteral("bob.wdu")},
      {QString(), QStringLiteral("default.wdu")},
      {QString(257, QLatin1Char('u')), QStringLiteral("default.wdu")}, // longer than the buffer
      {QString(256, QLatin1Char('u')), QString(256, QLatin1Char('u')) + ".wdu"},
  };
  for (const auto &c : cases) {
    TUserNameGuard user(c.user);
    EXPECT_EQ(ExpandNameMacros(QStringLiteral("%UserName%.wdu")), c.expected) << c.user.size();
  }
}

TEST(PathMacros, NameStageLeavesFoldersAlone)
{
  TUserNameGuard user(QStringLiteral("carol"));
  EXPECT_EQ(ExpandNameMacros(QStringLiteral("%AppDir%\\%UserName%")),
            QStringLiteral("%AppDir%\\carol"));
}

TEST(PathMacros, DataFoldersFollowXdg)
{
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString dir = QCoreApplication::applicationDirPath();
  {
    TEnvGuard data("XDG_DATA_HOME", (tmp.path() + "/data/").toUtf8());
    TEnvGuard dirs("XDG_DATA_DIRS", QByteArray("relative/ignored:/opt/shared/:/usr/share"));
    EXPECT_EQ(ExpandPathMacros("%AppData%\\Spell"), tmp.path() + "/data\\Spell");
    EXPECT_EQ(ExpandPathMacros("%CommonAppData%"), QStringLiteral("/opt/shared"));
  }
  {
    TEnvGuard data("XDG_DATA_HOME", std::nullopt);
    TEnvGuard home("HOME", tmp.path().toUtf8());
    TEnvGuard dirs("XDG_DATA_DIRS", std::nullopt);
    EXPECT_EQ(GetShellFolder(CSIDL_APPDATA), tmp.path() + "/.local/share");
    EXPECT_EQ(GetShellFolder(CSIDL_COMMON_APPDATA), QStringLiteral("/usr/local/share"));
  }
  {
    // No data folder at all: %AppData% falls back to the program's folder.
    TEnvGuard data("XDG_DATA_HOME", std::nullopt);
    TEnvGuard home("HOME", QByteArray());
    EXPECT_EQ(ExpandPathMacros("%AppData%"), dir);
  }
  for (int csidl : {CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS}) {
    const QString folder = GetShellFolder(csidl);
    EXPECT_FALSE(folder.endsWith('/')) << folder.toStdString();
  }
  EXPECT_EQ(GetShellFolder(9999), QString());
}

TEST(PathMacros, OverlongEnvironmentExpansionLeavesTextUnexpanded)
{
  TEnvGuard big("LW_BIG_VAR", QByteArray(5000, 'x'));
  TEnvGuard small("LW_SMALL_VAR", QByteArray(4000, 'y'));
  bool ok = true;
  EXPECT_EQ(ExpandEnvironmentStrings(QStringLiteral("%LW_BIG_VAR%"), &ok),
            QStringLiteral("%LW_BIG_VAR%"));
  EXPECT_FALSE(ok);
  EXPECT_EQ(ExpandPathMacros(QStringLiteral("%LW_SMALL_VAR%")).size(), 4000);
}

TEST(PathMacros, ReplaceFirstAndPathParts)
{
  EXPECT_EQ(ReplaceFirst("ab", "X", "abcab"), QStringLiteral("Xcab"));
  EXPECT_EQ(ReplaceFirst("AB", "X", "abcab"), QStringLiteral("abcab"));
  EXPECT_EQ(ExtractFileName("C:\\a/b\\c.wdu"), QStringLiteral("c.wdu"));
  EXPECT_EQ(ExtractFileDir("/x\\y/z.cfg"), QStringLiteral("/x\\y"));
  EXPECT_EQ(ChangeFileExt("a.b\\name.txt", ".wdu"), QStringLiteral("a.b\\name.wdu"));
  EXPECT_EQ(ChangeFileExt("a.b\\name", ".wdu"), QStringLiteral("a.b\\name.wdu"));
  EXPECT_EQ(NativePath("/tmp\\Dictionaries\\Spell.cfg"),
            QStringLiteral("/tmp/Dictionaries/Spell.cfg"));
}

// --- The program's folder: build tree and installed layouts ---------------------------------------

// A prefix as `cmake --install` lays it out (<prefix>/bin, <prefix>/share/linewright/Dictionaries)
// and a private XDG data home.
class DataLayout : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(FTmp.isValid());
    Bin = FTmp.path() + "/prefix/bin";
    Shipped = TDataLayout::InstalledShippedFolder(Bin);
    User = FTmp.path() + "/home/data/linewright/Dictionaries";
    ASSERT_TRUE(QDir().mkpath(Bin));
    ASSERT_TRUE(QDir().mkpath(Shipped));
    ASSERT_TRUE(QDir().mkpath(User));
  }

  QTemporaryDir FTmp;
  QString Bin, Shipped, User;
  TEnvGuard FDataHome{"XDG_DATA_HOME", (QDir::tempPath() + "/lw-unused").toUtf8()};
  void UseDataHome() { qputenv("XDG_DATA_HOME", (FTmp.path() + "/home/data/").toUtf8()); }
};

TEST_F(DataLayout, InstalledProgramReadsUserFolderFirstAndWritesOnlyThere)
{
  UseDataHome();
  EXPECT_EQ(Shipped, FTmp.path() + "/prefix/share/linewright/Dictionaries");
  const TDataLayout layout = TDataLayout::Of(Bin);
  ASSERT_TRUE(layout.Installed());
  EXPECT_EQ(layout.ShippedFolder(), Shipped);
  EXPECT_EQ(layout.UserFolder(), User);

  // The program's folder in any spelling maps; any other folder is used as named.
  const struct {
    QString folder;
    QStringList search;
  } cases[] = {
      {Bin + "\\Dictionaries", {User, Shipped}},
      {Bin + "/Dictionaries/", {User, Shipped}},
      {Bin + "/../bin\\Dictionaries", {User, Shipped}},
      {Bin, {Bin}},
      {Bin + "/dictionaries", {Bin + "/dictionaries"}},
      {"%MyDocuments%\\Words", {"%MyDocuments%\\Words"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.folder.toStdString());
    EXPECT_EQ(layout.SearchFolders(c.folder), c.search);
    EXPECT_EQ(layout.WritableFolder(c.folder), c.search.first());
  }

  writeFile(Shipped + "/Wordnest.wdt", "shipped");
  writeFile(Shipped + "/aussie.wdm", "shipped");
  writeFile(User + "/aussie.wdm", "user's own");
  const QString folder = Bin + "\\Dictionaries\\";
  EXPECT_EQ(layout.ReadableFile(folder + "Wordnest.wdt"), Shipped + "/Wordnest.wdt");
  EXPECT_EQ(layout.ReadableFile(folder + "aussie.wdm"), User + "/aussie.wdm");
  // Missing everywhere: the shipped name, so a failure names the file the program ships.
  EXPECT_EQ(layout.ReadableFile(folder + "none.wdt"), Shipped + "/none.wdt");
  EXPECT_EQ(layout.WritableFile(folder + "Spell.cfg"), User + "/Spell.cfg");
  EXPECT_EQ(layout.WritableFile(folder + "Wordnest.wdt"), User + "/Wordnest.wdt");
  EXPECT_EQ(layout.ReadableFile("%AppDir%\\Wordnest.wdt"),
            QStringLiteral("%AppDir%\\Wordnest.wdt"));
  EXPECT_EQ(layout.ReadableFile("Wordnest.wdt"), QStringLiteral("Wordnest.wdt"));
}

TEST_F(DataLayout, UserFolderFollowsXdgDataHomeElseHome)
{
  {
    TEnvGuard data("XDG_DATA_HOME", std::nullopt);
    TEnvGuard home("HOME", (FTmp.path() + "/h").toUtf8());
    EXPECT_EQ(TDataLayout::Of(Bin).UserFolder(),
              FTmp.path() + "/h/.local/share/linewright/Dictionaries");
  }
  {
    // A relative XDG_DATA_HOME is invalid and ignored.
    TEnvGuard data("XDG_DATA_HOME", QByteArray("relative/data"));
    TEnvGuard home("HOME", (FTmp.path() + "/h").toUtf8());
    EXPECT_EQ(TDataLayout::Of(Bin).UserFolder(),
              FTmp.path() + "/h/.local/share/linewright/Dictionaries");
  }
  {
    // No home at all: nothing to write to but the shipped folder, where writes fail.
    TEnvGuard data("XDG_DATA_HOME", std::nullopt);
    TEnvGuard home("HOME", QByteArray());
    const TDataLayout layout = TDataLayout::Of(Bin);
    EXPECT_TRUE(layout.Installed());
    EXPECT_EQ(layout.SearchFolders(Bin + "/Dictionaries"), QStringList{Shipped});
  }
}

TEST_F(DataLayout, FolderBesideTheExecutableKeepsNamesUnchanged)
{
  UseDataHome();
  // Beside the executable wins even over an installed data folder; with neither the program
  // still names its folder beside itself.
  for (bool besideExists : {true, false}) {
    SCOPED_TRACE(besideExists);
    if (besideExists)
      ASSERT_TRUE(QDir().mkpath(Bin + "/Dictionaries"));
    else
      ASSERT_TRUE(QDir(Shipped).removeRecursively());
    const TDataLayout layout = TDataLayout::Of(Bin);
    EXPECT_FALSE(layout.Installed());
    EXPECT_EQ(layout.ShippedFolder(), Bin + "/Dictionaries");
    EXPECT_EQ(layout.UserFolder(), QString());
    const QString folder = Bin + "\\Dictionaries";
    EXPECT_EQ(layout.SearchFolders(folder), QStringList{folder});
    EXPECT_EQ(layout.WritableFile(folder + "\\Spell.cfg"), folder + "\\Spell.cfg");
    EXPECT_EQ(layout.ReadableFile(folder + "\\Wordnest.wdt"), folder + "\\Wordnest.wdt");
  }

  // The test program itself runs from the build tree.
  const TDataLayout running = ProgramDataLayout();
  EXPECT_FALSE(running.Installed());
  EXPECT_EQ(running.ShippedFolder(), QCoreApplication::applicationDirPath() + "/Dictionaries");
  const QString folder = QString::fromLatin1(ProgramDataFolder);
  EXPECT_EQ(running.SearchFolders(folder), QStringList{folder});
}

// --- Code pages ---------------------------------------------------------------------------------

TEST(CodePage, WideToCodePageByteCounts)
{
  const QString naive = QStringLiteral("na\u00EFve");
  const QString emoji = QStringLiteral("a\U0001F600");
  const struct {
    quint32 codePage;
    QString text;
    int capacity;
    QByteArray expected;
  } cases[] = {
      {CP_UTF8, naive, 513, "na\xC3\xAFve"},
      {CP_UTF8, naive, 7, "na\xC3\xAFve"},
      {CP_UTF8, naive, 6,
       "na\xC3\xAFv"},         // exactly full: the last character makes room for the zero
      {CP_UTF8, naive, 5, ""}, // more than the capacity: nothing
      {CP_UTF8, emoji, 6, "a\xF0\x9F\x98\x80"},
      {CP_UTF8, emoji, 5, "a"}, // the whole four-byte character goes
      {CP_UTF8, emoji, 4, ""},
      {CP_UTF8, QString(), 2, ""},
      {CP_UTF8, QString(QChar(0xD800)), 4, "\xEF\xBF\xBD"}, // a lone surrogate is written as U+FFFD
      {CP_UTF8, QString(QChar(0xD800)), 3, ""},
      {CP_ACP, naive, 513, "na\xEFve"},
      {CP_ACP, naive, 6, "na\xEFve"},
      {CP_ACP, naive, 5, ""},
      {CP_ACP, QStringLiteral("\u20AC"), 2, "\x80"},
      {932, naive, 513, ""}, // a code page this system cannot convert
  };
  for (const auto &c : cases) {
    std::vector<char> buffer(size_t(c.capacity) + 4, '#');
    const int n = WideToCodePage(c.codePage, buffer.data(), c.capacity, c.text);
    EXPECT_EQ(n, c.expected.size()) << c.codePage << " cap " << c.capacity;
    EXPECT_EQ(QByteArray(buffer.data(), n), c.expected) << c.codePage << " cap " << c.capacity;
    EXPECT_EQ(buffer[size_t(n)], '\0');
    EXPECT_EQ(buffer[size_t(c.capacity)], '#') << "wrote past the capacity";
  }
}

TEST(CodePage, CapacityBelowTwoIsAnAssertionFailure)
{
  for (int capacity : {1, 0, -5}) {
    char buffer[4] = {};
    try {
      WideToCodePage(CP_UTF8, buffer, capacity, QStringLiteral("a"));
      ADD_FAILURE() << "no assertion failure for capacity " << capacity;
    } catch (const EAssertionFailed &e) {
      EXPECT_EQ(e.Unit(), "wrUtil");
      EXPECT_TRUE(e.Message().contains("wrUtil"));
    }
  }
}

TEST(CodePage, CodePageToWide)
{
  const struct {
    quint32 codePage;
    QByteArray bytes;
    QString expected;
  } cases[] = {
      {CP_UTF8, "na\xC3\xAFve", QStringLiteral("na\u00EFve")},
      {CP_UTF8, "\xF0\x9F\x98\x80", QStringLiteral("\U0001F600")},
      {CP_UTF8,
       "a\xFF"
       "b",
       QStringLiteral("a\uFFFDb")},
      {CP_ACP, "na\xEFve", QStringLiteral("na\u00EFve")},
      {CP_ACP, "\x80\x9F", QStringLiteral("\u20AC\u0178")},
      {CP_ACP, "", QString()},
      {932, "abc", QString()},
  };
  for (const auto &c : cases)
    EXPECT_EQ(CodePageToWide(c.codePage, c.bytes.constData()), c.expected)
        << c.bytes.toHex().toStdString();
  // Bounded form: stops at the zero or at the bound.
  EXPECT_EQ(CodePageToWide(CP_UTF8, "abc\0def", 7), QStringLiteral("abc"));
  EXPECT_EQ(CodePageToWide(CP_UTF8, "abcdef", 4), QStringLiteral("abcd"));
}

// --- Word distance ------------------------------------------------------------------------------

TEST(EditDistance, Values)
{
  const struct {
    QString a, b;
    int expected;
  } cases[] = {
      {"teh", "the", 1},
      {"Hello", "hello", 0},
      {"aBc", "Abc", 0},       // ASCII letters fold
      {"\u00E9", "\u00C9", 1}, // other letters do not
      {"stra\u00DFe", "STRASSE", 2},
      {"", "abc", 3},
      {"abc", "", 3},
      {"kitten", "sitting", 3},
      {"ab", "ba", 1},
      {"abab", "baba", 2}, // two different words are never at distance 0
      {"abcd", "badc", 2}, // two swaps
      {"Ab", "ba", 1},     // a swap compares letters as the table does, up to case
      {"ca", "abc", 3},    // a swap and an insertion around it are not one step
      // One insertion apart: a swap credited by position without alignment made these 0.
      {"aranged", "ranged", 1},
      {"widly", "wildly", 1},
      {"varable", "arable", 1},
      {"recieve", "receive", 1},
      {"acress", "actress", 1},
      {"ab", "cd", 2},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(EditDistance(c.a, c.b), c.expected)
        << c.a.toStdString() << " / " << c.b.toStdString();
    EXPECT_EQ(EditDistance(c.b, c.a), c.expected) << "symmetric";
  }
}

TEST(EditDistance, LongTextsGiveTheLargerLength)
{
  const QString x254(254, 'x');
  const QString x255(255, 'x');
  EXPECT_EQ(EditDistance(QString(300, 'a'), QString(10, 'a')), 300);
  EXPECT_EQ(EditDistance(x255, "x"), 255);
  EXPECT_EQ(EditDistance("x", x255 + "yy"), 257);
  EXPECT_EQ(EditDistance(x255, x255), 255);
  EXPECT_EQ(EditDistance(x254, x254), 0);
  EXPECT_EQ(EditDistance(x254, QString(254, 'y')), 254);
}

namespace {

// A random word of at most Most letters over a small alphabet: many swaps and repeats, case, and
// a letter above ASCII.
QString RandomWord(std::mt19937 &Random, int Most)
{
  const QString letters = QStringLiteral("abAB\u00E9c");
  QString w;
  const int n = int(Random() % (Most + 1));
  for (int i = 0; i < n; ++i)
    w += letters[int(Random() % letters.size())];
  return w;
}

} // namespace

// The bounded form agrees with EditDistance up to the bound and answers Bound + 1 past it: over
// the cases above, random short words over a small alphabet (many swaps and repeats), and texts
// at the length where EditDistance gives up.
TEST(EditDistance, WithinABoundAgreesWithTheFullDistance)
{
  std::mt19937 random(18);
  auto word = [&] { return RandomWord(random, 8); };
  std::vector<std::pair<QString, QString>> pairs = {{"kitten", "sitting"},
                                                    {"abcd", "badc"},
                                                    {"ca", "abc"},
                                                    {"aranged", "ranged"},
                                                    {QString(255, 'x'), "x"},
                                                    {QString(254, 'x'), QString(254, 'y')},
                                                    {QString(254, 'x'), QString(254, 'x')},
                                                    {QString(300, 'a'), QString(299, 'a')}};
  for (int i = 0; i < 3000; ++i)
    pairs.emplace_back(word(), word());
  for (const auto &[a, b] : pairs) {
    const int full = EditDistance(a, b);
    for (int bound : {0, 1, 2, 3, 5, 300}) {
      SCOPED_TRACE(a.left(20).toStdString() + " / " + b.left(20).toStdString() + " within " +
                   std::to_string(bound));
      EXPECT_EQ(EditDistanceWithin(a, b, bound), std::min(full, bound + 1));
    }
  }
}

// Every cell of every column is EditDistance between the text prefix and the pattern prefix: over
// hand-picked swaps and repeats, random short words over a small alphabet (case and a letter
// above ASCII included), and patterns of 63 and 64 letters where the top bit carries.
TEST(EditDistance, ColumnsAgreeWithTheFullDistance)
{
  std::mt19937 random(1818);
  auto word = [&](int most) { return RandomWord(random, most); };
  std::vector<std::pair<QString, QString>> pairs = {{"kitten", "sitting"},
                                                    {"abcd", "badc"},
                                                    {"ca", "abc"},
                                                    {"teh", "the"},
                                                    {"aranged", "ranged"},
                                                    {"abab", "baba"},
                                                    {"Hello", "hELLO"},
                                                    {"", "abc"},
                                                    {"abc", ""},
                                                    {QString(64, 'x'), QString(64, 'x')},
                                                    {QString(64, 'x'), QString(63, 'x') + "y"}};
  for (int i = 0; i < 2000; ++i)
    pairs.emplace_back(word(9), word(9));
  for (int i = 0; i < 40; ++i)
    pairs.emplace_back(word(70), QString(63 + i % 2, 'a') + word(0));
  for (int i = 0; i < 40; ++i) {
    QString p;
    while (p.size() < 63 + i % 2)
      p += QStringLiteral("abAB")[int(random() % 4)];
    pairs.emplace_back(word(70), p);
  }
  TDistanceColumns columns;
  for (const auto &[text, pattern] : pairs) {
    SCOPED_TRACE(text.toStdString() + " / " + pattern.toStdString());
    ASSERT_TRUE(columns.SetPattern(pattern));
    TDistanceColumns::TColumn column = columns.First();
    for (int i = 0; i <= text.size(); ++i) {
      if (i > 0)
        column = columns.Next(column, text[i - 1].unicode());
      for (int j = 0; j <= pattern.size(); ++j)
        ASSERT_EQ(TDistanceColumns::Cell(column, i, j), EditDistance(text.left(i), pattern.left(j)))
            << "cell " << i << ", " << j;
      ASSERT_EQ(column.last, EditDistance(text.left(i), pattern)) << "last cell " << i;
    }
    ASSERT_EQ(columns.Distance(text), EditDistance(text, pattern));
  }
  ASSERT_TRUE(columns.SetPattern(QStringLiteral("abc")));
  EXPECT_EQ(columns.Distance(QString(255, 'a')),
            EditDistance(QString(255, 'a'), QStringLiteral("abc")));
  EXPECT_EQ(columns.Distance(QString(254, 'a')),
            EditDistance(QString(254, 'a'), QStringLiteral("abc")));
  EXPECT_FALSE(columns.SetPattern(QString(65, 'a')));
}

// --- Hashing ------------------------------------------------------------------------------------

namespace {

// The same hash in 64-bit arithmetic, reduced to signed 32 bits by hand after each operation.
qint64 wrap32(qint64 v)
{
  v &= 0xFFFFFFFFLL;
  return v >= 0x80000000LL ? v - 0x100000000LL : v;
}

qint64 referenceHash(const QString &word, qint64 m)
{
  qint64 a = 31415;
  const qint64 b = 27183;
  qint64 h = 0;
  for (QChar ch : word) {
    const qint64 sum = wrap32(qint64(ch.unicode()) + wrap32(a * h));
    h = sum % m; // remainder with the dividend's sign, as in C++ and the stored format
    if (h < 0)
      h = (-h) % m;
    a = wrap32(a * b) % (m - 1);
  }
  return h;
}

} // namespace

TEST(Hashing, HashWordMatchesA64BitComputation)
{
  std::mt19937 rng(20261210);
  const int32_t sizes[] = {251, 509, 1021, 65521, 16777213, 1073741789, 2147483647};
  QStringList words = {"",
                       "a",
                       "the",
                       "Hello",
                       "na\u00EFve",
                       "\u0434\u043E\u043C",
                       "\U0001F600x",
                       QString(300, QChar(0xFFFF))};
  for (int i = 0; i < 200; ++i) {
    QString w;
    const int len = 1 + int(rng() % 40);
    for (int j = 0; j < len; ++j)
      w += QChar(char16_t(rng() % 3 == 0 ? rng() % 0x10000 : 'a' + rng() % 26));
    words << w;
  }
  for (int32_t m : sizes)
    for (const QString &w : words) {
      const int32_t h = HashWord(w, m);
      ASSERT_EQ(qint64(h), referenceHash(w, m)) << "M=" << m << " len=" << w.size();
      ASSERT_GE(h, 0);
      ASSERT_LT(h, m);
    }
}

TEST(Hashing, StepAndSizes)
{
  const struct {
    int32_t h, step;
  } steps[] = {{0, 1}, {96, 97}, {97, 1}, {250, 57}, {2147483646, 2147483646 % 97 + 1}};
  for (const auto &s : steps)
    EXPECT_EQ(HashStep(s.h), s.step) << s.h;
  const struct {
    int32_t n, size;
  } sizes[] = {{0, 251},
               {250, 251},
               {251, 509},
               {1000, 1021},
               {1073741789, 2147483647},
               {2147483646, 2147483647}};
  for (const auto &s : sizes)
    EXPECT_EQ(NextHashSize(s.n), s.size) << s.n;
}

// --- Notification lists -------------------------------------------------------------------------

TEST(EventList, AddRemoveNotify)
{
  TEventList list;
  std::vector<std::pair<int, QObject *>> calls;
  int l1 = 0, l2 = 0, l3 = 0;
  QObject sender;
  list.Add(&l1, [&](QObject *s) { calls.push_back({1, s}); });
  list.Add(&l2, [&](QObject *s) { calls.push_back({2, s}); });
  list.Add(&l1, [&](QObject *s) { calls.push_back({99, s}); }); // already a listener: ignored
  list.Add(&l3, [&](QObject *s) { calls.push_back({3, s}); });
  EXPECT_EQ(list.Count(), 3);
  list.Remove(&l2);
  list.Remove(&l2);
  EXPECT_EQ(list.Count(), 2);
  list.Notify(&sender);
  const std::vector<std::pair<int, QObject *>> expected = {{1, &sender}, {3, &sender}};
  EXPECT_EQ(calls, expected);
  calls.clear();
  list.Items(1)(nullptr);
  EXPECT_EQ(calls, (std::vector<std::pair<int, QObject *>>{{3, nullptr}}));
}

TEST(EventList, HandlerDetachingDuringNotifyIsSafe)
{
  TEventList list;
  int l1 = 0, l2 = 0;
  int calls = 0;
  list.Add(&l1, [&](QObject *) {
    ++calls;
    list.Remove(&l1);
    list.Remove(&l2);
  });
  list.Add(&l2, [&](QObject *) { ++calls; });
  list.Notify(nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(list.Count(), 0);
}

// --- Files --------------------------------------------------------------------------------------

TEST(Files, ForceFoldersWithEitherSeparator)
{
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  ForceFolders(tmp.path() + "\\a\\b/c\\");
  EXPECT_TRUE(QFileInfo(tmp.path() + "/a/b/c").isDir());
  ForceFolders(tmp.path() + "\\a\\b/c"); // exists: nothing happens
  EXPECT_TRUE(DirectoryExists(tmp.path() + "\\a\\b"));
  writeFile(tmp.path() + "/file", "x");
  ForceFolders(tmp.path() + "/file/sub"); // cannot: reports nothing
  EXPECT_FALSE(QFileInfo(tmp.path() + "/file/sub").exists());
}

TEST(Files, CanCreateFileNeverDestroysAFile)
{
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString fresh = tmp.path() + "\\fresh.wdu";
  EXPECT_TRUE(CanCreateFile(fresh, true));
  EXPECT_FALSE(FileExists(fresh)) << "the probe removes what it created";
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList())
      << "nor leaves a file of its own";
  EXPECT_FALSE(CanCreateFile(tmp.path() + "/" + QString(256, QChar('n')), true))
      << "too long a name";
  EXPECT_TRUE(CanCreateFile(fresh, false));
  EXPECT_TRUE(FileExists(fresh));

  const QString existing = tmp.path() + "/existing.wdu";
  writeFile(existing, "precious");
  EXPECT_TRUE(CanCreateFile(existing, true));
  EXPECT_EQ(readAll(existing), QStringLiteral("precious"));

  EXPECT_FALSE(CanCreateFile(tmp.path() + "/missing/x.wdu", true));
  EXPECT_FALSE(CanCreateFile(tmp.path(), true)); // a folder
  EXPECT_FALSE(CanCreateFile(QString(), true));
}

TEST(Files, DeleteToRecycleBinUsesTheDesktopTrash)
{
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  TEnvGuard data("XDG_DATA_HOME", (tmp.path() + "/data").toUtf8());
  const QString trash = tmp.path() + "/data/Trash";
  const QString file = tmp.path() + "/my words.wdu";

  writeFile(file, "one");
  EXPECT_TRUE(DeleteToRecycleBin(tmp.path() + "\\my words.wdu", false));
  EXPECT_FALSE(QFileInfo::exists(file));
  EXPECT_EQ(readAll(trash + "/files/my words.wdu"), QStringLiteral("one"));
  const QString info = readAll(trash + "/info/my words.wdu.trashinfo");
  EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=")) << info.toStdString();
  EXPECT_TRUE(info.contains("my%20words.wdu")) << info.toStdString();
  EXPECT_TRUE(info.contains("DeletionDate="));

  writeFile(file, "two"); // the same name again does not overwrite the first
  EXPECT_TRUE(DeleteToRecycleBin(file, false));
  EXPECT_EQ(readAll(trash + "/files/my words.wdu"), QStringLiteral("one"));
  const QStringList trashed = QDir(trash + "/files").entryList(QDir::Files);
  ASSERT_EQ(trashed.size(), 2) << trashed.join(", ").toStdString();
  for (const QString &name : trashed) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(QFileInfo::exists(trash + "/info/" + name + ".trashinfo"));
    if (name != "my words.wdu") {
      EXPECT_EQ(readAll(trash + "/files/" + name), QStringLiteral("two"));
    }
  }

  // The origin is percent-encoded, so a name with a "%" comes back as it was.
  const QString percent = tmp.path() + "/50%41 off.wdu";
  writeFile(percent, "three");
  EXPECT_TRUE(DeleteToRecycleBin(percent, false));
  const QString percentInfo = readAll(trash + "/info/50%41 off.wdu.trashinfo");
  EXPECT_TRUE(percentInfo.contains("/50%2541%20off.wdu\n")) << percentInfo.toStdString();
  EXPECT_TRUE(percentInfo.startsWith("[Trash Info]\n")) << percentInfo.toStdString();

  EXPECT_FALSE(DeleteToRecycleBin(tmp.path() + "/missing.wdu", false));

  writeFile(file, "three");
  QString asked;
  SetRecycleBinConfirmation([&asked](const QString &name) {
    asked = name;
    return false;
  });
  EXPECT_FALSE(DeleteToRecycleBin(file, true));
  EXPECT_EQ(asked, file);
  EXPECT_TRUE(QFileInfo::exists(file));
  EXPECT_TRUE(DeleteToRecycleBin(file, false)) << "no question without Confirm";
  SetRecycleBinConfirmation(nullptr);
}

TEST(Files, DeleteToRecycleBinNeverTrashesIntoTheWorkingFolder)
{
  // A relative XDG_DATA_HOME is no data folder; the trash must not follow the working folder.
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  ASSERT_TRUE(QDir(tmp.path()).mkpath("work"));
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(tmp.path() + "/work"));
  TEnvGuard home("HOME", (tmp.path() + "/home").toUtf8());
  TEnvGuard data("XDG_DATA_HOME", QByteArray("relative-data"));
  const QString file = tmp.path() + "/words.wdu";
  writeFile(file, "one");
  const bool trashed = DeleteToRecycleBin(file, false);
  const QStringList left =
      QDir(tmp.path() + "/work").entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  QDir::setCurrent(before);
  EXPECT_EQ(left, QStringList());
  if (trashed) {
    EXPECT_EQ(readAll(tmp.path() + "/home/.local/share/Trash/files/words.wdu"), "one");
  } else {
    EXPECT_EQ(readAll(file), "one") << "a file not trashed stays where it was";
  }
}

TEST(Files, NoVersionResources)
{
  quint32 hi = 7, lo = 7;
  EXPECT_FALSE(GetFileVersion(QCoreApplication::applicationFilePath(), hi, lo));
  EXPECT_EQ(hi, 0u);
  EXPECT_EQ(lo, 0u);
}

// --- Windows ------------------------------------------------------------------------------------

namespace {
class TRichProbeWindow : public TEditWindow {
public:
  void ExGetSel(int &cpMin, int &cpMax) const override { cpMin = cpMax = 0; }
};
class THalfRichProbeWindow : public TEditWindow {
public:
  void ExGetSel(int &cpMin, int &cpMax) const override
  {
    cpMax = 3;
    (void)cpMin;
  }
};
} // namespace

TEST(Windows, IsRichEditWindowAsksTheWindow)
{
  TEditWindow plain;
  TRichProbeWindow rich;
  THalfRichProbeWindow half;
  EXPECT_FALSE(IsRichEditWindow(&plain));
  EXPECT_TRUE(IsRichEditWindow(&rich));
  EXPECT_TRUE(IsRichEditWindow(&half));
  EXPECT_FALSE(IsRichEditWindow(nullptr));
  EXPECT_FALSE(IsWindowsVistaOrLater());
}
