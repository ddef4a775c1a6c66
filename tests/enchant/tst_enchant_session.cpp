#include "EnchantSession.h"
#include "EnchantTags.h"

#include "print_qstring.h"
#include "wrCustomDictionary.h"
#include "wrUtil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(EnchantTags, TagFromNameElseLanguage)
{
  struct Case {
    const char *file;
    quint32 language;
    const char *tag;
  };
  const Case cases[] = {
      {"aussie.wdm", 3081, "en_AU"},   {"%AppDir%\\Dictionaries\\aussie.wdm", 3081, "en_AU"},
      {"de_DE.wdm", 1031, "de_DE"},    {"nl.wdm", 1043, "nl"},
      {"german.wdm", 1031, "de_DE"}, // shared by de, de_BE, de_DE: the language's own region
      {"american.wdm", 1033, "en_US"}, {"klingon.wdm", 0, ""},
      {"Mixed_case.wdm", 0, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(EnchantTagFor(QString::fromLatin1(c.file), c.language), QString::fromLatin1(c.tag));
  }
}

TEST(EnchantTags, NormalizesEnchantSpellings)
{
  const std::pair<const char *, const char *> cases[] = {
      {"en_AU", "en_AU"}, {"en-au", "en_AU"},      {"en_AU.UTF-8", "en_AU"},
      {"EN", "en"},       {"de_DE@euro", "de_DE"}, {"", ""}};
  for (const auto &[in, out] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(NormalizeEnchantTag(QString::fromLatin1(in)), QString::fromLatin1(out));
  }
}

// A program folder of its own with the shipped dictionaries in it, so that what the sessions
// write stays in the scratch folder.
class EnchantSessionTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(Home.isValid());
    ASSERT_TRUE(QDir(Home.path()).mkpath(QStringLiteral("Dictionaries")));
    for (const char *name : {"aussie.wdm", "aussie.wdp", "aussie.wdf", "Autocorrect.wdu"})
      ASSERT_TRUE(QFile::link(QStringLiteral(LW_SHIPPED_DIR "/") + QLatin1String(name),
                              Folder() + QLatin1Char('/') + QLatin1String(name)));
    SetAppDirOverride(Home.path());
  }
  void TearDown() override { SetAppDirOverride(QString()); }

  QString Folder() const { return Home.path() + QStringLiteral("/Dictionaries"); }

  std::unique_ptr<TEnchantSession> Opened(const char *tag)
  {
    auto s = std::make_unique<TEnchantSession>();
    const QString file = s->DictionaryFor(QString::fromLatin1(tag));
    if (file.isEmpty() || !s->Open(file))
      return nullptr;
    return s;
  }

  QTemporaryDir Home;
};

TEST_F(EnchantSessionTest, OffersTheShippedDictionaryUnderItsTag)
{
  TEnchantSession s;
  const auto all = s.Dictionaries();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].Tag, QStringLiteral("en_AU"));
  const std::pair<const char *, bool> requests[] = {{"en_AU", true},  {"en-AU", true},
                                                    {"en", true},     {"en_US", false},
                                                    {"de_DE", false}, {"", false}};
  for (const auto &[tag, served] : requests) {
    SCOPED_TRACE(tag);
    EXPECT_EQ(!s.DictionaryFor(QString::fromLatin1(tag)).isEmpty(), served);
  }
}

TEST_F(EnchantSessionTest, ChecksAndSuggestsWithinTheLimit)
{
  auto s = Opened("en_AU");
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->Check(QStringLiteral("colour")));
  EXPECT_TRUE(s->Check(QStringLiteral("Colour")));
  EXPECT_FALSE(s->Check(QStringLiteral("brwn")));
  const QStringList brwn = s->Suggestions(QStringLiteral("brwn"));
  ASSERT_FALSE(brwn.isEmpty());
  EXPECT_EQ(brwn.front(), QStringLiteral("brown"));
  // Without the limit the session answers far more for this word.
  EXPECT_EQ(s->Suggestions(QStringLiteral("sevral")).size(), TEnchantSession::SuggestionLimit);
  EXPECT_TRUE(s->Suggestions(QString(200, u'x')).isEmpty());
}

TEST_F(EnchantSessionTest, ChangesReachTheFileAndOtherPrograms)
{
  auto a = Opened("en_AU");
  auto b = Opened("en_AU");
  ASSERT_TRUE(a && b);
  ASSERT_FALSE(b->Check(QStringLiteral("zorblax")));

  ASSERT_TRUE(a->AddPersonal(QStringLiteral("zorblax")));
  ASSERT_TRUE(a->StoreReplacement(QStringLiteral("teh"), QStringLiteral("the")));
  // Another session, as another program, reads the saved file; one opened before sees the word
  // from the save on.
  EXPECT_TRUE(b->Check(QStringLiteral("zorblax")));
  auto c = Opened("en_AU");
  ASSERT_TRUE(c);
  EXPECT_TRUE(c->Check(QStringLiteral("zorblax")));
  QString correction;
  ASSERT_TRUE(c->ActiveCustomDictionary());
  EXPECT_TRUE(c->ActiveCustomDictionary()->AutoCorrectExists(QStringLiteral("teh"), correction));
  EXPECT_EQ(correction, QStringLiteral("the"));

  ASSERT_TRUE(a->Exclude(QStringLiteral("zorblax")));
  EXPECT_FALSE(a->Check(QStringLiteral("zorblax")));
  auto d = Opened("en_AU");
  ASSERT_TRUE(d);
  EXPECT_FALSE(d->Check(QStringLiteral("zorblax")));
}

TEST_F(EnchantSessionTest, SessionWordsStayInTheSession)
{
  auto a = Opened("en_AU");
  ASSERT_TRUE(a);
  a->AddSession(QStringLiteral("qwixle"));
  EXPECT_TRUE(a->Check(QStringLiteral("qwixle")));
  a.reset();
  auto b = Opened("en_AU");
  ASSERT_TRUE(b);
  EXPECT_FALSE(b->Check(QStringLiteral("qwixle")));
}

TEST_F(EnchantSessionTest, ListingWritesNothing)
{
  const QStringList before = QDir(Folder()).entryList(QDir::Files);
  {
    TEnchantSession s;
    ASSERT_FALSE(s.Dictionaries().empty());
    auto opened = Opened("en_AU");
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened->Check(QStringLiteral("the")));
  }
  EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), before);
}

} // namespace
