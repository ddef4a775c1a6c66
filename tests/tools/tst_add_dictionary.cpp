// Hunspell dictionaries turned into main dictionaries: wdmc's expansion of the fixtures in
// hunspell/, and scripts/add-dictionary.sh end to end (title, language, folder, failures), down
// to the reader and the phonetic rules a check session picks for the new dictionary.
#include "env_guard.h"
#include "wdmcHunspell.h"
#include "wrMainDictionary.h"
#include "wrPhoneticsMap.h"
#include "wrSpellBase.h"
#include "wrUtil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Fixtures = QStringLiteral(HUNSPELL_FIXTURES);

const QStringList FrenchForms = {"aïeux",    "feu",     "feux",     "lancer", "lancé", "lancés",
                                 "relancer", "relancé", "réécrire", "écrire", "œuvre", "œuvres"};
const QStringList RussianForms = {"дом", "домом", "лампа", "лампы", "мыть", "помыть"};

TEST(HunspellExpansion, GivesEveryAffixFormOfTheFixturesAndNoOther)
{
  struct Case {
    const char *fixture;
    const char *encoding;
    QStringList forms;
  } cases[] = {
      // Prefix by condition, stripping suffix continued by a second one, cross products,
      // NEEDAFFIX stem ("aïeu"), FORBIDDENWORD form ("relancés"), long flags.
      {"fr_test", "ISO8859-15", FrenchForms},
      {"ru_test", "KOI8-R", RussianForms},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.fixture);
    THunspellExpansion result;
    QString error;
    const QString base = Fixtures + QLatin1Char('/') + QLatin1String(c.fixture);
    ASSERT_TRUE(ExpandHunspellFiles(base + ".dic", base + ".aff", result, error))
        << error.toStdString();
    EXPECT_EQ(result.encoding, QLatin1String(c.encoding));
    QStringList words = result.words;
    words.sort();
    QStringList expected = c.forms;
    expected.sort();
    EXPECT_EQ(words, expected);
  }
}

// Lenient where Hunspell is: a comment after the count, an entry whose flags cannot be read
// (dropped), a table entry without a condition (any word), flag aliases.
// Nested rules that are tested but never give a form count against the budget as forms do:
// here every stem's prefixes name 100 suffixes, each naming 100 more that never apply, 20,000
// tests a stem and one form (the stem). With room for 10,000 words the budget is spent early.
TEST(HunspellExpansion, RuleTestsThatGiveNoFormCountAgainstTheBudget)
{
  QByteArray aff = "SET UTF-8\nPFX P Y 100\n";
  for (int i = 0; i < 100; ++i)
    aff += "PFX P 0 x" + QByteArray::number(i) + "/B q\n"; // never applies: no stem starts with q
  aff += "SFX B Y 100\n";
  for (int i = 0; i < 100; ++i)
    aff += "SFX B 0 y" + QByteArray::number(i) + "/C .\n"; // applies, but no stem names B
  aff += "SFX C Y 100\n";
  for (int i = 0; i < 100; ++i)
    aff += "SFX C 0 z" + QByteArray::number(i) + " q\n"; // never applies
  auto stems = [](int n) {
    QByteArray dic = QByteArray::number(n) + "\n";
    for (int i = 0; i < n; ++i)
      dic += "stem" + QByteArray::number(i) + "a/P\n";
    return dic;
  };
  THunspellExpansion result;
  QString error;
  EXPECT_FALSE(ExpandHunspell(stems(1000), aff, result, error, 10000));
  EXPECT_TRUE(error.contains(QStringLiteral("more than 640000 tests"))) << error.toStdString();
  // Within the budget the same rules expand to the stems alone.
  THunspellExpansion small;
  ASSERT_TRUE(ExpandHunspell(stems(10), aff, small, error, 10000)) << error.toStdString();
  EXPECT_EQ(small.words.size(), 10);
}

TEST(HunspellExpansion, ReadsTheLooseFormsOfDebianFiles)
{
  THunspellExpansion result;
  QString error;
  ASSERT_TRUE(ExpandHunspell("3 # made by hand\n\"A/S\"\nword/1\nfoo/2\n",
                             "SET UTF-8\nFLAG num\nAF 2\nAF 1\nAF 1,2\nSFX 1 Y 1\nSFX 1 0 s\n"
                             "SFX 2 Y 1\nSFX 2 0 ed .\n",
                             result, error))
      << error.toStdString();
  QStringList words = result.words;
  words.sort();
  EXPECT_EQ(words, (QStringList{"foo", "fooed", "foos", "word", "words"}));
  EXPECT_EQ(result.dropped, 1);
}

struct ScriptRun {
  int exitCode = -1;
  QString errors;
};

class AddDictionaryTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(temp.isValid());
    source = temp.filePath(QStringLiteral("hunspell"));
    folder = temp.filePath(QStringLiteral("Dictionaries"));
    ASSERT_TRUE(QDir().mkpath(source));
  }

  // The fixture under the name a Debian dictionary would have ("fr_FR.dic", "fr_FR.aff").
  QString install(const QString &fixture, const QString &name)
  {
    for (const char *ext : {".dic", ".aff"}) {
      const QString to = source + QLatin1Char('/') + name + QLatin1String(ext);
      QFile::remove(to);
      EXPECT_TRUE(QFile::copy(Fixtures + QLatin1Char('/') + fixture + QLatin1String(ext), to));
    }
    return source + QLatin1Char('/') + name + QStringLiteral(".dic");
  }

  void write(const QString &name, const QByteArray &bytes)
  {
    QFile f(source + QLatin1Char('/') + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }

  ScriptRun run(QStringList args, bool withFolder = true)
  {
    args.prepend(QStringLiteral(WDMC_TOOL));
    args.prepend(QStringLiteral("--wdmc"));
    if (withFolder)
      args = QStringList{QStringLiteral("--folder"), folder} + args;
    args.prepend(QStringLiteral(ADD_DICTIONARY_SCRIPT));
    QProcess p;
    p.start(QStringLiteral("bash"), args);
    ScriptRun r;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
      r.exitCode = p.exitCode();
    r.errors = QString::fromUtf8(p.readAllStandardError());
    return r;
  }

  QTemporaryDir temp;
  QString source, folder;
};

TEST_F(AddDictionaryTest, WritesTheTitleLanguageAndWordsTheReaderAccepts)
{
  struct Case {
    const char *fixture;
    const char *name;
    QStringList extra;
    const char *title;
    quint32 language;
    const char *file;
    QStringList present, absent;
  } cases[] = {
      {"fr_test",
       "fr_FR",
       {},
       "French (France)",
       1036,
       "fr_FR",
       FrenchForms,
       {"relancés", "aïeu", "lancers", "½uvre", "rélancer"}},
      {"ru_test",
       "ru_RU",
       {},
       "Russian (Russia)",
       1049,
       "ru_RU",
       RussianForms,
       {"домы", "полампа"}},
      // A name the table does not know, with the title and a hexadecimal identifier given.
      {"fr_test",
       "fr_XX_custom",
       {"--title", "Français (essai)", "--language", "0x140C", "--name", "essai"},
       "Français (essai)",
       0x140C,
       "essai",
       FrenchForms,
       {"oeuvres"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QString dic = install(QLatin1String(c.fixture), QLatin1String(c.name));
    const ScriptRun r = run(c.extra + QStringList{dic});
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    TMainDictionary d;
    d.SetFilename(folder + QLatin1Char('/') + QLatin1String(c.file) + QStringLiteral(".wdm"));
    ASSERT_FALSE(d.Filename().isEmpty());
    EXPECT_EQ(d.Title(), QString::fromUtf8(c.title));
    EXPECT_EQ(d.Language(), c.language);
    EXPECT_EQ(d.CodePage(), quint32(CP_UTF8)) << "UTF-8 holds every alphabet";
    EXPECT_EQ(d.WordCount(), quint32(c.present.size()));
    for (const QString &w : c.present)
      EXPECT_TRUE(d.WordExists(w)) << w.toStdString();
    for (const QString &w : c.absent)
      EXPECT_FALSE(d.WordExists(w)) << w.toStdString();
  }
  // An existing dictionary is replaced only when asked.
  const QString dic = source + QStringLiteral("/fr_FR.dic");
  const ScriptRun again = run({dic});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_TRUE(again.errors.contains(QStringLiteral("--force"))) << again.errors.toStdString();
  EXPECT_EQ(run({QStringLiteral("--force"), dic}).exitCode, 0);
}

// Without --folder the dictionary goes to the user's folder that an installed program searches
// first, and a check session there offers it and takes its phonetic rules from its language.
TEST_F(AddDictionaryTest, LandsWhereTheProgramLooksAndSetsThePhoneticRules)
{
  const QString dataHome = temp.filePath(QStringLiteral("data"));
  TEnvGuard data("XDG_DATA_HOME", dataHome.toUtf8());
  TEnvGuard config("XDG_CONFIG_HOME", temp.filePath(QStringLiteral("config")).toUtf8());
  const QString prefix = temp.filePath(QStringLiteral("prefix"));
  ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/bin")));
  ASSERT_TRUE(QDir().mkpath(TDataLayout::InstalledShippedFolder(prefix + QStringLiteral("/bin"))));
  const TDataLayout layout = TDataLayout::Of(prefix + QStringLiteral("/bin"));
  ASSERT_TRUE(layout.Installed());

  struct Case {
    const char *fixture;
    const char *name;
    quint32 language;
    const char *word;
    const char *code; // its phonetic code under the dictionary's rules (start depth 1)
  } cases[] = {
      {"fr_test", "fr_FR", 1036, "casse", "cx"}, // French: s -> x (the common table: s -> k)
      // The Russian rules are written with 8-bit code points, so Cyrillic text keeps only its
      // start characters.
      {"ru_test", "ru_RU", 1049, "домом", "д"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const ScriptRun r = run({install(QLatin1String(c.fixture), QLatin1String(c.name))}, false);
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QString file = QLatin1String(c.name) + QStringLiteral(".wdm");
    ASSERT_TRUE(QFile::exists(layout.UserFolder() + QLatin1Char('/') + file));

    TWrightSpell3Base s;
    s.SetConfigStorage(csFile);
    s.SetConfigID(QStringLiteral("tester"));
    s.SetConfigFilename(temp.filePath(QLatin1String(c.name) + QStringLiteral(".cfg")));
    TStringList dirs;
    dirs.Add(layout.UserFolder());
    s.SetConfigDictionaryDir(dirs);
    TStringList main;
    main.Add(file);
    s.SetConfigDefaultMain(main);
    s.SetConfigUseMSWordCustom(false);
    s.SetSuggestionsLearning(false);
    EXPECT_GE(s.ConfigAvailableMain().IndexOf(file), 0) << "offered in the options dialog";
    TStringList suggestions;
    s.Suggest(QString::fromUtf8(c.word) + QStringLiteral("x"), suggestions);
    ASSERT_NE(s.PhoneticsMap(), nullptr);
    EXPECT_EQ(s.PhoneticsMap()->Language(), c.language);
    s.PhoneticsMap()->SetStartDepth(1);
    EXPECT_EQ(s.PhoneticsMap()->GetMapping(QString::fromUtf8(c.word)), QString::fromUtf8(c.code));
  }
}

TEST_F(AddDictionaryTest, RefusesBadInputWithOneLineAndWritesNothing)
{
  // More forms than a dictionary can hold: 86 stems, 110 prefixes, 110 suffixes, crossed
  // (86 x 111 x 111 = 1,059,606 distinct forms).
  QByteArray bigAff = "SET UTF-8\nPFX A Y 110\n";
  QByteArray bigDic = "86\n";
  for (int i = 0; i < 110; ++i) {
    const QByteArray two{char('a' + i / 26), char('a' + i % 26)};
    bigAff += "PFX A 0 " + two + " .\n";
  }
  bigAff += "SFX B Y 110\n";
  for (int i = 0; i < 110; ++i)
    bigAff += "SFX B 0 " + QByteArray{char('a' + i / 26), char('a' + i % 26)} + " .\n";
  for (int i = 0; i < 86; ++i)
    bigDic += "st" + QByteArray{char('a' + i / 26), char('a' + i % 26)} + "em/AB\n";

  struct Case {
    const char *name;
    QByteArray aff, dic;
    const char *message;
  } cases[] = {
      {"short_table", "SET UTF-8\nSFX A Y 2\nSFX A 0 s .\n", "1\nword/A\n",
       "affix file ends inside a table"},
      {"bad_header", "SET UTF-8\nSFX A X 1\nSFX A 0 s .\n", "1\nword/A\n",
       "affix file line 2: malformed SFX table header"},
      {"bad_condition", "SET UTF-8\nSFX A Y 1\nSFX A 0 s [ab\n", "1\nword/A\n",
       "malformed condition"},
      {"unknown_set", "SET KLINGON-8\n", "1\nword\n", "unknown encoding \"KLINGON-8\""},
      {"not_utf8", "SET UTF-8\n", "1\nw\xFF\xFErd\n", "dictionary file is not valid UTF-8"},
      {"no_count", "SET UTF-8\n", "word\n", "does not start with its word count"},
      {"too_large", bigAff, bigDic, "expands to more than 1048574 words"},
      {"missing", {}, {}, "no Hunspell dictionary"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QString name = QLatin1String(c.name);
    if (!c.aff.isEmpty()) {
      write(name + QStringLiteral(".aff"), c.aff);
      write(name + QStringLiteral(".dic"), c.dic);
    }
    const ScriptRun r =
        run({QStringLiteral("--title"), QStringLiteral("T"), QStringLiteral("--language"),
             QStringLiteral("1033"), source + QLatin1Char('/') + name + QStringLiteral(".dic")});
    EXPECT_EQ(r.exitCode, 1);
    const QString message = r.errors.trimmed();
    EXPECT_FALSE(message.contains(QLatin1Char('\n'))) << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1String(c.message))) << message.toStdString();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "nothing is left behind";
  }
}

// wdmc writes a file through a temporary one renamed into place, but a pipe or device such as
// /dev/null is written as it is: renaming over it would replace it (for everyone, as root).
TEST_F(AddDictionaryTest, WdmcWritesIntoAPipeWithoutReplacingIt)
{
  const QString fifo = temp.filePath(QStringLiteral("out.wdm"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  QProcess p;
  p.start(QStringLiteral(WDMC_TOOL),
          {QStringLiteral("--hunspell"), Fixtures + QStringLiteral("/ru_test.dic"),
           QStringLiteral("--title"), QStringLiteral("T"), QStringLiteral("--language"),
           QStringLiteral("1049"), QStringLiteral("-o"), fifo});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  char banner[8] = {};
  EXPECT_EQ(::read(reader, banner, sizeof banner), qsizetype(sizeof banner));
  ::close(reader);
  EXPECT_EQ(QByteArray(banner, sizeof banner), QByteArray("Wright D"));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "still a pipe";
}

} // namespace
