// Run by install_test.sh from the bin folder of a temporary, read-only installation, with private
// XDG folders: the program's files are found in the installed data folder and in the user's
// folder, and what the program writes lands in the user's folder. Run twice: the first run
// ("--write") changes the user's settings and dictionary, the second ("--read") finds them, as
// a restarted program would.

#include "RichTextEd.h"
#include "config_owner.h"
#include "wrCustomDictionary.h"
#include "wrMainDictionary.h"
#include "wrSpell.h"
#include "wrThesaurus.h"
#include "wrUtil.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

namespace {

bool Writing = false;

QString InProgramFolder(const char *Name)
{
  return QString::fromLatin1(ProgramDataFolder) + QLatin1Char('\\') + QLatin1String(Name);
}

QString Prefix() { return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/.."); }

// The user's folder as the XDG base directory specification places it.
QString ExpectedUserFolder()
{
  return QDir::cleanPath(qEnvironmentVariable("XDG_DATA_HOME")) + "/linewright/Dictionaries";
}

} // namespace

TEST(InstalledLayout, ShippedFilesAreReadFromTheDataFolderAndUserFilesFromXdg)
{
  const TDataLayout layout = ProgramDataLayout();
  ASSERT_TRUE(layout.Installed()) << "run from <prefix>/bin of an installation";
  EXPECT_EQ(layout.ShippedFolder(), Prefix() + "/share/linewright/Dictionaries");
  EXPECT_EQ(layout.UserFolder(), ExpectedUserFolder());
  const QString folder = QString::fromLatin1(ProgramDataFolder);
  EXPECT_EQ(layout.SearchFolders(folder),
            (QStringList{ExpectedUserFolder(), layout.ShippedFolder()}));
  EXPECT_EQ(layout.WritableFile(InProgramFolder("Spell.cfg")), ExpectedUserFolder() + "/Spell.cfg");
  EXPECT_FALSE(QFileInfo::exists(QCoreApplication::applicationDirPath() + "/Dictionaries"));
}

TEST(InstalledLayout, MainWindowThesaurusReadsTheInstalledFile)
{
  const QString shipped = ProgramDataLayout().ShippedFolder() + "/Wordnest.wdt";
  if (!QFileInfo::exists(shipped))
    GTEST_SKIP() << "Wordnest.wdt is not built (mythes-en-au missing)";
  TRichTextEd w;
  TThesaurusFile *file = w.Thesaurus31->ThesaurusFile();
  EXPECT_EQ(w.Thesaurus31->Filename(), InProgramFolder("Wordnest.wdt"));
  EXPECT_EQ(file->FileName(), shipped);
  EXPECT_TRUE(file->LookupWord(QStringLiteral("happy")));
  EXPECT_FALSE(file->Contexts().empty());
}

TEST(InstalledLayout, ShippedMainDictionaryReadsTheInstalledFile)
{
  const QString name =
      ProgramDataLayout().ReadableFile(ExpandPathMacros(InProgramFolder("aussie.wdm")));
  if (!QFileInfo::exists(name))
    GTEST_SKIP() << "aussie.wdm is not built (hunspell-en-au missing)";
  EXPECT_EQ(name, ProgramDataLayout().ShippedFolder() + "/aussie.wdm");
  TMainDictionary dictionary;
  dictionary.SetFilename(name);
  ASSERT_EQ(dictionary.Filename(), name);
  EXPECT_TRUE(dictionary.WordExists(QStringLiteral("colour")));
  EXPECT_FALSE(dictionary.WordExists(QStringLiteral("colourx")));
}

TCustomDictionary *FindCustom(TWrightSpellBase &Spell, const QString &Name)
{
  for (auto &d : Spell.CustomDictionaries())
    if (ExtractFileName(d->Filename()) == Name)
      return d.get();
  return nullptr;
}

// The main window's spell component as the user drives it: the first run adds a word to the
// active custom dictionary, an auto-correction to the shipped Autocorrect.wdu, switches an
// option on and creates a dictionary; the restarted program finds all of it, read from the
// user's folder (the prefix is read-only, and install_test.sh checks it did not change).
TEST(InstalledLayout, MainWindowSpellingChangesPersistInTheUserFolder)
{
  const QString user = ExpectedUserFolder();
  const QString shipped = ProgramDataLayout().ShippedFolder();
  const QString word = QStringLiteral("quokkaroo");
  TRichTextEd w;
  TWrightSpellDialogs &spell = *w.WrightAutoLiveSpell1;
  EXPECT_FALSE(spell.WordAcceptable(QStringLiteral("teh"))); // loads the configuration
  if (QFileInfo::exists(shipped + "/aussie.wdm")) {
    ASSERT_FALSE(spell.MainDictionaries().empty());
    EXPECT_EQ(spell.MainDictionaries().front()->Filename(), shipped + "/aussie.wdm");
  }
  TCustomDictionary *active = spell.ActiveCustomDictionary();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(ExtractFileDir(active->Filename()), user);
  TCustomDictionary *autocorrect = FindCustom(spell, QStringLiteral("Autocorrect.wdu"));
  ASSERT_NE(autocorrect, nullptr);
  QString correction;

  if (Writing) {
    EXPECT_EQ(autocorrect->Filename(), shipped + "/Autocorrect.wdu");
    EXPECT_FALSE(spell.WordAcceptable(word));
    EXPECT_TRUE(active->AddIgnore(word));
    EXPECT_TRUE(autocorrect->AddAutoCorrect(QStringLiteral("quokaroo"), word));
    active->Save();
    autocorrect->Save();
    // The shipped file is never written: the changed dictionary became a copy of its own.
    EXPECT_EQ(autocorrect->Filename(), user + "/Autocorrect.wdu");
    // Changing the options or the set of dictionaries reloads them: the pointers above go.
    TSpellOptions options = spell.Configuration()->SpellOptions();
    EXPECT_FALSE(options.Contains(soUpcase));
    options.Include(soUpcase);
    spell.Configuration()->SetSpellOptions(options);
    EXPECT_TRUE(spell.CreateNewCustomDictionary(QStringLiteral("Marsupials")));
    spell.Configuration()->SaveConfiguration();
  } else {
    EXPECT_TRUE(spell.WordAcceptable(word));
    EXPECT_TRUE(active->IgnoreExists(word));
    EXPECT_EQ(autocorrect->Filename(), user + "/Autocorrect.wdu") << "the user's copy wins";
    EXPECT_TRUE(autocorrect->AutoCorrectExists(QStringLiteral("quokaroo"), correction));
    EXPECT_EQ(correction, word);
    EXPECT_TRUE(spell.WordHasCorrection(QStringLiteral("quokaroo"), correction));
    EXPECT_TRUE(spell.Configuration()->SpellOptions().Contains(soUpcase));
    EXPECT_GE(spell.Configuration()->CustomDictionaries().IndexOf("Marsupials.wdu"), 0);
    EXPECT_GE(spell.ConfigAvailableCustom().IndexOf("Marsupials.wdu"), 0);
    TCustomDictionary *created = FindCustom(spell, QStringLiteral("Marsupials.wdu"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->Filename(), user + "/Marsupials.wdu");
  }
  EXPECT_TRUE(QFileInfo::exists(user + "/Spell.cfg"));
  EXPECT_TRUE(QFileInfo::exists(user + "/Autocorrect.wdu"));
  EXPECT_TRUE(QFileInfo::exists(user + "/Marsupials.wdu"));
}

// A configuration and a custom dictionary, named in the program's folder, land in the user's
// folder and are there after a restart.
TEST(InstalledLayout, SettingsAndCustomDictionaryPersistInTheUserFolder)
{
  const TDataLayout layout = ProgramDataLayout();
  TTestConfigOwner owner;
  // Not Spell.cfg: the main window's test above owns that one.
  owner.Filename = layout.WritableFile(InProgramFolder("Layout-check.cfg"));
  const QString dictionaryName =
      layout.WritableFolder(QString::fromLatin1(ProgramDataFolder)) + "/tester.wdu";
  const QString word = QStringLiteral("wombatish");

  {
    TWrightConfig config;
    config.SetWrightSpell(&owner);
    config.SetLoaded(true);
    if (Writing) {
      ForceFolders(ExtractFileDir(dictionaryName));
      TCustomDictionary dictionary;
      dictionary.SetFilename(dictionaryName);
      ASSERT_EQ(dictionary.Filename(), dictionaryName);
      EXPECT_TRUE(dictionary.AddIgnore(word));
      dictionary.Save();
      EXPECT_FALSE(dictionary.Modified());
      config.SetSpellOptions(TSpellOptions{soUpcase, soNumbers});
      config.SetActiveCustomDictionary(QStringLiteral("tester.wdu"));
      config.SaveConfiguration();
    } else {
      EXPECT_EQ(config.SpellOptions(), (TSpellOptions{soUpcase, soNumbers}));
      EXPECT_EQ(config.ActiveCustomDictionary(), QStringLiteral("tester.wdu"));
      TCustomDictionary dictionary;
      dictionary.SetFilename(dictionaryName);
      EXPECT_TRUE(dictionary.IgnoreExists(word));
    }
  }
  EXPECT_TRUE(QFileInfo::exists(ExpectedUserFolder() + "/Layout-check.cfg"));
  EXPECT_TRUE(QFileInfo::exists(ExpectedUserFolder() + "/tester.wdu"));
}

int main(int argc, char **argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const QStringList args = QCoreApplication::arguments();
  Writing = args.contains(QStringLiteral("--write"));
  if (!Writing && !args.contains(QStringLiteral("--read"))) {
    fprintf(stderr, "usage: installed_layout_check --write|--read [gtest options]\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
