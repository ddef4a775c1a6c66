// Managing the set of custom dictionaries and word lists, and the shipped main dictionary.
#include "session_fixture.h"

#include "rtRegistry.h"
#include "wrUtil.h"

#include <QDirIterator>
#include <QFileInfo>
#include <unistd.h>

namespace {

QStringList Items(const TStringList &List) { return List.ToQStringList(); }

// Files in the desktop trash below Root.
int TrashedFiles(const QString &Root)
{
  int n = 0;
  QDirIterator it(Root + "/data/Trash/files", QDir::Files);
  while (it.hasNext()) {
    it.next();
    ++n;
  }
  return n;
}

} // namespace

TEST_F(SessionTest, DisablingTheActiveDictionaryActivatesTheNextOneThatMayBeActive)
{
  auto s = NewSession();
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("Linewright")));
  EXPECT_EQ(Items(s->Configuration()->CustomDictionaries()),
            QStringList({"Autocorrect.wdu", "tester.wdu"}));
  // Only the shared auto-correction list remains, which may never take the user's words.
  ASSERT_TRUE(s->EnableCustomDictionary(QStringLiteral("tester.wdu"), false));
  EXPECT_EQ(s->Configuration()->ActiveCustomDictionary(), QString());
  EXPECT_EQ(s->ActiveCustomDictionary(), nullptr);
  EXPECT_EQ(Items(s->Configuration()->CustomDictionaries()), QStringList({"Autocorrect.wdu"}));
  EXPECT_EQ(s->CustomDictionaries().size(), 1u) << "still used";
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("Linewright")));

  ASSERT_TRUE(s->EnableCustomDictionary(QStringLiteral("Autocorrect.wdu"), false));
  EXPECT_EQ(s->Configuration()->ActiveCustomDictionary(), QString());
  EXPECT_EQ(s->ActiveCustomDictionary(), nullptr);

  ASSERT_TRUE(s->EnableCustomDictionary(QStringLiteral("tester.wdu"), true));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("Linewright")));
  // A dictionary that cannot be opened is not listed.
  WriteFile(Dir + "/junk.wdu", "not a dictionary at all, just text that is long enough");
  EXPECT_FALSE(s->EnableCustomDictionary(QStringLiteral("junk.wdu"), true));
  EXPECT_LT(s->Configuration()->CustomDictionaries().IndexOf(QStringLiteral("junk.wdu")), 0);
}

// Which dictionary takes the user's words once the active one is switched off: the first one
// left that may be active, else the user's own, as at the first run.
TEST_F(SessionTest, TheNextActiveDictionaryIsNeverOneThatMayNotBeActive)
{
  const struct {
    QStringList listed; // in this order, the last one active
    QString expected;
  } cases[] = {
      {{"Autocorrect.wdu", "other.wdu", "mine.wdu"}, "other.wdu"},
      {{"Autocorrect.wdu", "autocorrect-british.wdu", "other.wdu", "mine.wdu"}, "other.wdu"},
      {{"Autocorrect.wdu", "tester.wdu", "mine.wdu"}, "tester.wdu"},
      {{"Autocorrect.wdu", "mine.wdu"}, "tester.wdu"}, // the user's own comes back
      {{"Autocorrect.wdu", "autocorrect-british.wdu", "mine.wdu"}, "tester.wdu"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.listed.join(", ").toStdString());
    auto s = NewSession();
    ASSERT_TRUE(s->WordAcceptable(QStringLiteral("house")));
    TStringList &list = s->Configuration()->CustomDictionaries();
    list.BeginUpdate();
    list.Clear();
    for (const QString &name : c.listed)
      list.Add(name);
    s->Configuration()->SetActiveCustomDictionary(c.listed.back());
    list.EndUpdate();
    ASSERT_TRUE(s->EnableCustomDictionary(c.listed.back(), false));
    EXPECT_EQ(s->Configuration()->ActiveCustomDictionary(), c.expected);
    ASSERT_NE(s->ActiveCustomDictionary(), nullptr);
    EXPECT_EQ(s->ActiveCustomDictionary()->Filename(), Dir + "/" + c.expected);
    EXPECT_GE(s->Configuration()->CustomDictionaries().IndexOf(c.expected), 0);
    EXPECT_LT(s->Configuration()->CustomDictionaries().IndexOf(c.listed.back()), 0);
    // The user's next word goes there.
    QString word = QStringLiteral("zorbix");
    s->ActiveCustomDictionary()->AddIgnore(word);
    EXPECT_TRUE(s->WordAcceptable(word));
    s.reset();
    for (const QString &name : c.listed)
      QFile::remove(Dir + "/" + name);
  }
}

TEST_F(SessionTest, CreateNewCustomDictionaryWritesTheFileInTheFirstFolder)
{
  auto s = NewSession();
  ASSERT_TRUE(s->CreateNewCustomDictionary(QStringLiteral("elsewhere/New Words.txt")));
  EXPECT_TRUE(QFileInfo::exists(Dir + "/New Words.wdu"));
  EXPECT_FALSE(QFileInfo::exists(Dir + "/elsewhere"));
  EXPECT_GE(s->Configuration()->CustomDictionaries().IndexOf(QStringLiteral("New Words.wdu")), 0);
  EXPECT_GE(s->ConfigAvailableCustom().IndexOf(QStringLiteral("New Words.wdu")), 0);
  EXPECT_EQ(s->CustomDictionaries().size(), 2u);
}

TEST_F(SessionTest, RenameCustomDictionary)
{
  auto s = NewSession();
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("Linewright")));
  const QByteArray before = ReadAll(Dir + "/Autocorrect.wdu");
  const struct {
    const char *from, *to;
  } refused[] = {
      {"tester.wdu", "tester.wdu"},  // same name
      {"tester.wdu", "Autocorrect"}, // the file exists
      {"missing.wdu", "other.wdu"},  // not available
  };
  for (const auto &r : refused) {
    SCOPED_TRACE(std::string(r.from) + " -> " + r.to);
    EXPECT_FALSE(s->RenameCustomDictionary(QString::fromLatin1(r.from), QString::fromLatin1(r.to)));
  }
  EXPECT_EQ(ReadAll(Dir + "/Autocorrect.wdu"), before);
  EXPECT_TRUE(QFileInfo::exists(Dir + "/tester.wdu"));

  ASSERT_TRUE(s->RenameCustomDictionary(QStringLiteral("tester.wdu"), QStringLiteral("mine")));
  EXPECT_FALSE(QFileInfo::exists(Dir + "/tester.wdu"));
  EXPECT_TRUE(QFileInfo::exists(Dir + "/mine.wdu"));
  EXPECT_EQ(Items(s->Configuration()->CustomDictionaries()),
            QStringList({"Autocorrect.wdu", "mine.wdu"}));
  EXPECT_EQ(s->Configuration()->ActiveCustomDictionary(), QStringLiteral("mine.wdu"));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("Linewright")));
  EXPECT_GE(s->ConfigAvailableCustom().IndexOf(QStringLiteral("mine.wdu")), 0);
  EXPECT_LT(s->ConfigAvailableCustom().IndexOf(QStringLiteral("tester.wdu")), 0);
}

TEST_F(SessionTest, RemoveCustomDictionaryGoesToTheTrash)
{
  auto s = NewSession();
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("Linewright")));

  // Declined: the dictionary stays, enabled and active.
  SetRecycleBinConfirmation([](const QString &) { return false; });
  EXPECT_FALSE(s->RemoveCustomDictionary(QStringLiteral("tester.wdu"), true));
  SetRecycleBinConfirmation(nullptr);
  EXPECT_TRUE(QFileInfo::exists(Dir + "/tester.wdu"));
  EXPECT_EQ(s->Configuration()->ActiveCustomDictionary(), QStringLiteral("tester.wdu"));

  ASSERT_TRUE(s->RemoveCustomDictionary(QStringLiteral("tester.wdu"), false));
  EXPECT_FALSE(QFileInfo::exists(Dir + "/tester.wdu"));
  EXPECT_EQ(TrashedFiles(Temp.path()), 1);
  EXPECT_EQ(Items(s->Configuration()->CustomDictionaries()), QStringList({"Autocorrect.wdu"}));
  EXPECT_EQ(s->Configuration()->ActiveCustomDictionary(), QString()) << "none that may be";

  // A listed dictionary whose file is gone is simply disabled.
  ASSERT_TRUE(s->EnableCustomDictionary(QStringLiteral("gone.wdu"), true));
  s->UnloadDictionaries();
  ASSERT_TRUE(QFile::remove(Dir + "/gone.wdu"));
  ASSERT_TRUE(s->RemoveCustomDictionary(QStringLiteral("gone.wdu"), false));
  EXPECT_LT(s->Configuration()->CustomDictionaries().IndexOf(QStringLiteral("gone.wdu")), 0);
  EXPECT_EQ(TrashedFiles(Temp.path()), 1);
  s.reset();
  EXPECT_FALSE(QFileInfo::exists(Dir + "/tester.wdu")) << "no object wrote it back";
  EXPECT_FALSE(QFileInfo::exists(Dir + "/gone.wdu"));
}

TEST_F(SessionTest, AvailableDictionariesSearchEveryFolderFirstWins)
{
  const QString other = Temp.path() + "/Other";
  ASSERT_TRUE(QDir().mkpath(other));
  ASSERT_EQ(WriteWdm(other + "/test.wdm", {"zebra"}), QString());
  ASSERT_EQ(WriteWdm(other + "/extra.WDM", {"yak"}), QString());
  WriteFile(other + "/notes.txt", "x");
  auto s = NewSession();
  s->ConfigDictionaryDir().Add(other);
  EXPECT_EQ(Items(s->ConfigAvailableMain()), QStringList({"test.wdm", "extra.WDM"}));
  EXPECT_EQ(Items(s->ConfigAvailableCustom()), QStringList({"Autocorrect.wdu", "tester.wdu"}));
  // The bare name opens the first folder's file.
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house")));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("zebra")));

  // An active dictionary outside the folders heads the list.
  const QString outside = Temp.path() + "/elsewhere/outside.wdu";
  s->Configuration()->SetActiveCustomDictionary(outside);
  EXPECT_EQ(Items(s->ConfigAvailableCustom()),
            QStringList({outside, "Autocorrect.wdu", "tester.wdu"}));
}

TEST_F(SessionTest, WordListsFromTheRegistry)
{
  const QString lists = Temp.path() + "/lists";
  const QString proof = Temp.path() + "/data/Microsoft/Proof";
  ASSERT_TRUE(QDir().mkpath(lists));
  ASSERT_TRUE(QDir().mkpath(proof));
  WriteFile(lists + "/full.dic", "alpha\r\nbeta\r\n");
  WriteFile(proof + "/CUSTOM.DIC", "gamma\n");
  auto store = std::make_shared<TMemoryRegistryStore>();
  const QString key0 = QString::fromLatin1(WordListRegistryKeys[0]);
  const QString key1 = QString::fromLatin1(WordListRegistryKeys[1]);
  store->SetValue(TRootKey::HKEY_CURRENT_USER, key0, "1", lists + "/full.dic");    // a full path
  store->SetValue(TRootKey::HKEY_CURRENT_USER, key0, "2", lists + "/missing.dic"); // not listed
  store->SetValue(TRootKey::HKEY_CURRENT_USER, key0, "3", "CUSTOM.DIC"); // application data
  store->SetValue(TRootKey::HKEY_CURRENT_USER, key0, "5", lists + "/after-gap.dic");
  store->SetValue(TRootKey::HKEY_LOCAL_MACHINE, key1, "1", lists + "/full.dic"); // already listed
  auto s = NewSession();
  s->SetWordListRegistry(store);
  EXPECT_EQ(
      Items(s->ConfigAvailableMSWordCustom()),
      QStringList({lists + "/full.dic", Temp.path() + "/data\\Microsoft\\Proof\\CUSTOM.DIC"}));

  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("alpha")));
  EXPECT_FALSE(s->EnableWordDictionary(lists + "/missing.dic", true));
  ASSERT_TRUE(s->EnableWordDictionary(lists + "/full.dic", true));
  ASSERT_TRUE(s->EnableWordDictionary(Temp.path() + "/data\\Microsoft\\Proof\\CUSTOM.DIC", true));
  EXPECT_EQ(s->MSWordCustomDictionaries().size(), 2u);
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("alpha")));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("beta")));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("gamma")));
  ASSERT_TRUE(s->EnableWordDictionary(lists + "/full.dic", false));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("alpha")));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("gamma")));
}

TEST_F(SessionTest, LibreOfficeWordBooksStandInForTheRegistry)
{
  auto s = NewSession();
  EXPECT_TRUE(Items(s->ConfigAvailableMSWordCustom()).isEmpty()) << "no profile";

  const QString books = Temp.path() + "/config/libreoffice/4/user/wordbook";
  ASSERT_TRUE(QDir().mkpath(books));
  WriteFile(books + "/standard.dic",
            "OOoUserDict1\nlang: <none>\ntype: positive\n---\nLibreWord\nSecond\n");
  WriteFile(books + "/banned.dic", "OOoUserDict1\nlang: en-AU\ntype: negative\n---\nbadword\n");
  WriteFile(books + "/zz.dic", "OOoUserDict1\nlang: <none>\ntype: positive\n---\n");
  auto t = NewSession();
  EXPECT_EQ(Items(t->ConfigAvailableMSWordCustom()),
            QStringList({books + "/standard.dic", books + "/zz.dic"}));

  ASSERT_TRUE(t->EnableWordDictionary(books + "/standard.dic", true));
  ASSERT_EQ(t->MSWordCustomDictionaries().size(), 1u);
  EXPECT_EQ(t->MSWordCustomDictionaries()[0]->IgnoreCount(), 2);
  EXPECT_TRUE(t->WordAcceptable(QStringLiteral("LibreWord")));
  EXPECT_FALSE(t->WordAcceptable(QStringLiteral("OOoUserDict1")));
  EXPECT_FALSE(t->WordAcceptable(QStringLiteral("---")));
}

TEST_F(SessionTest, WordListsEnabledOnAFirstRunWhenAsked)
{
  const QString books = Temp.path() + "/config/libreoffice/4/user/wordbook";
  ASSERT_TRUE(QDir().mkpath(books));
  WriteFile(books + "/standard.dic",
            "OOoUserDict1\nlang: <none>\ntype: positive\n---\nLibreWord\n");
  auto s = NewSession();
  s->SetConfigUseMSWordCustom(true);
  s->SetConfigDefaultUseMSWordCustom(true);
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("LibreWord")));
  EXPECT_EQ(Items(s->Configuration()->MSWordCustomDictionaries()),
            QStringList({books + "/standard.dic"}));
}

TEST_F(SessionTest, UnreadableWordListIsEmpty)
{
  const QString list = Temp.path() + "/locked.dic";
  WriteFile(list, "secret\n");
  ASSERT_TRUE(QFile::setPermissions(list, QFileDevice::Permissions()));
  auto s = NewSession();
  EXPECT_EQ(s->GetMSWordCustomDictionary(Temp.path() + "/absent.dic"), nullptr);
  if (::geteuid() == 0)
    GTEST_SKIP() << "file permissions do not apply to root";
  auto d = s->GetMSWordCustomDictionary(list);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->IgnoreCount(), 0);
}

#ifdef LW_AUSSIE_WDM
TEST_F(SessionTest, ShippedAustralianDictionary)
{
  auto s = NewSession();
  TStringList dirs;
  dirs.Add(Dir); // custom dictionaries stay in the temporary folder
  dirs.Add(QFileInfo(QStringLiteral(LW_AUSSIE_WDM)).absolutePath());
  s->SetConfigDictionaryDir(dirs);
  TStringList main;
  main.Add(QStringLiteral("aussie.wdm"));
  s->SetConfigDefaultMain(main);
  const struct {
    const char *word;
    bool accepted;
  } rows[] = {
      {"colour", true},   {"Colour", true}, {"COLOUR", true},  {"favourite", true},
      {"recieve", false}, {"Sydney", true}, {"sydney", false}, {"dog's", true},
      {"Qt", true},       {"3.14", true},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.word);
    // colour is excluded in the fixture's user dictionary.
    s->SetUseExcludeWords(false);
    EXPECT_EQ(s->WordAcceptable(QString::fromUtf8(r.word)), r.accepted);
  }
  const struct {
    const char *word, *first;
  } suggestions[] = {
      {"recieve", "receive"}, {"beleive", "believe"}, {"freind", "friend"}, {"teh", "the"}};
  for (const auto &r : suggestions) {
    SCOPED_TRACE(r.word);
    TStringList words;
    s->Suggest(QString::fromUtf8(r.word), words);
    ASSERT_GT(words.Count(), 0);
    EXPECT_EQ(words.Strings(0), QString::fromUtf8(r.first));
  }
}
#endif

// A check only reads: the folders Spell.cfg names for the active dictionary, and dictionary
// folders that do not exist, are made by the save that writes a file there, never by a look
// (linewright-spell, which never saves unasked, made them all).
TEST_F(SessionTest, ACheckMakesNoFoldersOnlyASaveDoes)
{
  const QString made = Temp.path() + QStringLiteral("/made");
  const QString searched = Temp.path() + QStringLiteral("/searched");
  WriteFile(Dir + "/Spell.cfg", "[tester]\n_FirstRun=+\n_Main_count=1\n_Main_0=test.wdm\n"
                                "_ActiveCustom=" +
                                    made.toUtf8() + "/deep/x.wdu\n");
  auto s = NewSession();
  TStringList dirs;
  dirs.Add(searched + QStringLiteral("/deep"));
  dirs.Add(Dir);
  s->SetConfigDictionaryDir(dirs);
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house")));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("Housr")));
  ASSERT_NE(s->ActiveCustomDictionary(), nullptr);
  EXPECT_EQ(s->ActiveCustomDictionary()->Filename(), made + "/deep/x.wdu");
  EXPECT_FALSE(QFileInfo::exists(made));
  EXPECT_FALSE(QFileInfo::exists(searched));
  // A word added is saved, folders and all.
  EXPECT_TRUE(s->ActiveCustomDictionary()->AddIgnore(QStringLiteral("Housr")));
  s->UnloadDictionaries();
  EXPECT_TRUE(QFileInfo::exists(made + "/deep/x.wdu"));
  EXPECT_FALSE(QFileInfo::exists(searched));
  auto again = NewSession();
  EXPECT_TRUE(again->WordAcceptable(QStringLiteral("Housr"))) << "the word was kept";
}
