// The window's spell component and linewright-spell's session end up with the same session
// values, and those are this program's (not the component's defaults): a value set in one front
// end only would make the checker answer other suggestions than the window.
#include "print_qstring.h"

#include "RichTextEd.h"
#include "SpellPipe.h"
#include "wrLiveAutospell.h"
#include "wrProgramSpellSettings.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every session-level property, one "name=value" line each.
QStringList SessionValues(TWrightSpellBase &S)
{
  auto n = [](qint64 v) { return QString::number(v); };
  return {
      "ConfigStorage=" + n(S.ConfigStorage()),
      "ConfigID=" + S.ConfigID(),
      "ConfigFilename=" + S.ConfigFilename(),
      "ConfigRegistryKey=" + S.ConfigRegistryKey(),
      "ConfigDictionaryDir=" + S.ConfigDictionaryDir().CommaText(),
      "ConfigAvailableOptions=" + n(S.ConfigAvailableOptions().Mask()),
      "ConfigUseMSWordCustom=" + n(S.ConfigUseMSWordCustom()),
      "ConfigDefaultMain=" + S.ConfigDefaultMain().CommaText(),
      "ConfigDefaultCustom=" + S.ConfigDefaultCustom().CommaText(),
      "ConfigDefaultActiveCustomPrevent=" + S.ConfigDefaultActiveCustomPrevent().CommaText(),
      "ConfigDefaultActiveCustom=" + S.ConfigDefaultActiveCustom(),
      "ConfigDefaultOptions=" + n(S.ConfigDefaultOptions().Mask()),
      "ConfigDefaultUseMSWordCustom=" + n(S.ConfigDefaultUseMSWordCustom()),
      "SuggestionsAutoReplace=" + n(S.SuggestionsAutoReplace()),
      "SuggestionsLearning=" + n(S.SuggestionsLearning()),
      "SuggestionsLearningDict=" + S.SuggestionsLearningDict(),
      "QuoteChars=" + S.QuoteChars(),
      "MaxSuggestions=" + n(S.MaxSuggestions()),
      "CommandsVisible=" + n(S.CommandsVisible().Mask()),
      "CommandsEnabled=" + n(S.CommandsEnabled().Mask()),
      "PhoneticSuggestions=" + n(S.PhoneticSuggestions()),
      "PhoneticMaxDistance=" + n(S.GetPhoneticMaxDistance()),
      "PhoneticDivisor=" + n(S.GetPhoneticDivisor()),
      "PhoneticDepth=" + n(S.GetPhoneticDepth()),
      "MappingDictionaryName=" + S.MappingDictionaryName(),
      "MappingAutoReplace=" + n(S.MappingAutoReplace()),
      "UseExcludeWords=" + n(S.UseExcludeWords()),
      "UseAutoCorrectFirst=" + n(S.UseAutoCorrectFirst()),
      "AllowedCases=" + n(S.AllowedCases()),
      "AllowSoundexFollowup=" + n(S.AllowSoundexFollowup()),
      "UILanguage=" + n(qint64(S.UILanguage())),
  };
}

class SessionSettingsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    // Nothing of the user's is read: the components read no file before their first word test,
    // and the folders lie here in case one did.
    qputenv("XDG_DATA_HOME", (Temp.path() + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (Temp.path() + "/config").toUtf8());
  }
  QTemporaryDir Temp;
};

} // namespace

TEST_F(SessionSettingsTest, WindowAndCheckerSetUpTheSameSession)
{
  TRichTextEd window;
  TSpellPipeSession checker;
  EXPECT_EQ(SessionValues(*window.WrightAutoLiveSpell1), SessionValues(checker));
}

TEST_F(SessionSettingsTest, TheValuesAreTheProgramsNotTheComponentDefaults)
{
  TWrightSpellBase defaults, program;
  ApplyProgramSpellSettings(program);
  const QStringList d = SessionValues(defaults), p = SessionValues(program);
  // clang-format off
  const QStringList expected = {
      "ConfigStorage=" + QString::number(csFile),
      "ConfigFilename=%AppDir%\\Dictionaries\\Spell.cfg",
      "ConfigDictionaryDir=%AppDir%\\Dictionaries",
      "ConfigUseMSWordCustom=0",
      "ConfigDefaultMain=aussie.wdm",
      "SuggestionsLearning=0",
      "SuggestionsLearningDict=P:\\%UserName%_sp.wdl",
      "PhoneticMaxDistance=4",
      "PhoneticDivisor=2",
      "PhoneticDepth=2",
      "UseAutoCorrectFirst=0",
  };
  // clang-format on
  for (const QString &line : expected) {
    SCOPED_TRACE(line.toStdString());
    EXPECT_TRUE(p.contains(line));
  }
  // The component's defaults differ (start depth 1, registry storage, learning on, ...).
  EXPECT_NE(d, p);
}
