// The interface string table and the session's way to it.
#include "wrSpellBase.h"
#include "wrSpellLanguages.h"

#include <gtest/gtest.h>

using enum TSpellLanguageString;

TEST(InterfaceStrings, EnglishTexts)
{
  const struct {
    TSpellLanguageString id;
    const char16_t *text;
  } rows[] = {
      {lsLiveSpelling, u"&Show spelling errors as you type"},
      {lsDUalCaps, u"Automatically correct &DUal capitals"},
      {lsDlgDictionariesLabel, u" D&ictionaries: "}, // spaces are part of group captions
      {lsDlgOptionsLabel, u" O&ptions: "},
      {lsDlgIgnoreOnce, u"I&gnore Once"}, // last of the first half
      {lsDlgUndoEdit, u"Undo &Edit"},     // first of the second half
      {lsEndSelectionMessage,
       u"The selection has been checked.  Would you like to check the remainder of the document?"},
      {lsMnSpelling, u"&Spelling ..."},
      {lsConfigSpellingErrorsEdit, u"(spelling errorss)"},
      {lsConfigSpellingOptions, u"Spelling"},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(int(r.id));
    EXPECT_EQ(GetLanguageString(r.id, TSpellLanguageType::ltEnglish), QString::fromUtf16(r.text));
  }
  for (int id = 0; id < SpellLanguageStringCount; ++id) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(
        GetLanguageString(TSpellLanguageString(id), TSpellLanguageType::ltEnglish).isEmpty());
  }
  EXPECT_TRUE(GetLanguageString(TSpellLanguageString(SpellLanguageStringCount),
                                TSpellLanguageType::ltEnglish)
                  .isEmpty());
}

TEST(InterfaceStrings, OnlyEnglishHasTheOfficeDialogTexts)
{
  EXPECT_TRUE(LanguageHasOfficeDialogTexts(TSpellLanguageType::ltEnglish));
  for (int l = 1; l < SpellLanguageTypeCount; ++l) {
    SCOPED_TRACE(l);
    EXPECT_FALSE(LanguageHasOfficeDialogTexts(TSpellLanguageType(l)));
    EXPECT_TRUE(GetLanguageString(lsSpelling, TSpellLanguageType(l)).isEmpty());
  }
}

TEST(InterfaceStrings, SessionAsksTheEventLast)
{
  TWrightSpellBase s;
  EXPECT_EQ(s.GetString(lsSpelling), QStringLiteral("Spelling"));
  s.OnGetString = [](QObject *, TSpellLanguageString id, QString &text) {
    if (id == lsSpelling)
      text = QStringLiteral("Rechtschreibung");
  };
  EXPECT_EQ(s.GetString(lsSpelling), QStringLiteral("Rechtschreibung"));
  EXPECT_EQ(s.GetString(lsDlgAdd), QStringLiteral("Add"));
  s.SetUILanguage(TSpellLanguageType::ltGerman);
  EXPECT_TRUE(s.GetString(lsDlgAdd).isEmpty());
  EXPECT_EQ(s.GetString(lsSpelling), QStringLiteral("Rechtschreibung"));
  EXPECT_FALSE(s.Configuration()->Loaded()) << "texts need no configuration";
}
