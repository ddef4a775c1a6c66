// TLiveWrightSpellBase: the live switches and the user's options, the followed control, and
// the live menu as a real QMenu: its items for each kind of word and what each choice does to
// the dictionaries.

#include "live_fixture.h"
#include "print_qstring.h"
#include "probe_spell.h"

#include <QPointer>
#include <QTextEdit>

namespace {

const QString NoSuggestionsWord = QStringLiteral("qxzqxzqv");
const QString MisspeltWord = QStringLiteral("chek");

class LiveBaseTest : public LiveTest {};

TEST_F(LiveBaseTest, LiveMenuItemsAndOrder)
{
  struct Case {
    const char *name;
    QString word;
    bool activeDictionary;
  };
  const Case cases[] = {
      {"no suggestions", NoSuggestionsWord, true},
      {"with suggestions", MisspeltWord, true},
      {"no active custom dictionary", MisspeltWord, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ResetFiles();
    auto s = NewLive();
    if (!c.activeDictionary)
      s->SetConfigDefaultActiveCustom(QString());
    s->Configuration()->SetLoaded(true);
    ASSERT_EQ(s->ActiveCustomDictionary() != nullptr, c.activeDictionary);
    TStringList suggestions;
    s->BuildSuggestions(c.word, 5, suggestions);
    QStringList expected;
    for (int i = 0; i < suggestions.Count(); ++i)
      expected << suggestions.Strings(i);
    const QString all = expected.join(u'|');
    if (expected.isEmpty()) {
      expected << "(no suggestions) (disabled)";
    }
    expected << "-"
             << "I&gnore"
             << "&Ignore All" << (c.activeDictionary ? "&Add" : "&Add (disabled)") << "-";
    if (!all.isEmpty()) {
      expected << "&Change All {" + all + "}";
      if (c.activeDictionary)
        expected << "A&uto Correct {" + all + "}";
    }
    expected << "&Spelling ...";
    if (c.word == MisspeltWord) {
      ASSERT_FALSE(all.isEmpty()) << "the fixture's dictionary offers suggestions";
    }

    TMenuScript script; // closes the menu
    QString word = c.word;
    EXPECT_EQ(RunMenu(*s, word, script), spCancel);
    EXPECT_TRUE(script.Shown);
    EXPECT_EQ(script.Items, expected);
    EXPECT_EQ(word, c.word);
  }
}

TEST_F(LiveBaseTest, MenuOptionsChooseTheItems)
{
  auto s = NewLive();
  TMenuScript script;
  QString word = MisspeltWord;
  RunMenu(*s, word, script, {spIgnore, spDialog});
  EXPECT_EQ(script.Items, QStringList({"I&gnore", "-", "&Spelling ..."}));
}

TEST_F(LiveBaseTest, EachChoiceGoesToItsDictionary)
{
  struct Case {
    const char *name;
    QStringList click; // "=" stands for the first suggestion
    TSpellPopupOption result;
    bool replaced;
  };
  const Case cases[] = {
      {"replace", {"="}, spReplace, true},
      {"ignore once", {"I&gnore"}, spIgnore, false},
      {"ignore all", {"&Ignore All"}, spIgnoreAll, false},
      {"add", {"&Add"}, spAdd, false},
      {"change all", {"&Change All", "="}, spChangeAll, true},
      {"auto correct", {"A&uto Correct", "="}, spAutoCorrect, true},
      {"spelling dialog", {"&Spelling ..."}, spDialog, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ResetFiles();
    auto s = NewLive();
    s->Configuration()->SetLoaded(true);
    TStringList suggestions;
    s->BuildSuggestions(MisspeltWord, 5, suggestions);
    ASSERT_GT(suggestions.Count(), 0);
    const QString first = suggestions.Strings(0);
    TMenuScript script;
    for (const QString &caption : c.click)
      script.Click << (caption == "=" ? first : caption);
    int notified = 0;
    TSpellPopupOption listed = spCancel;
    s->OnPopupResultList().Add(this, [&](QObject *) {
      ++notified;
      listed = s->OnPopupResultList().PopupResult;
    });
    QString word = MisspeltWord;
    EXPECT_EQ(RunMenu(*s, word, script), c.result);
    EXPECT_EQ(word, c.replaced ? first : MisspeltWord);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(listed, c.result);

    TCustomDictionary *active = s->ActiveCustomDictionary();
    TCustomDictionary *internal = s->InternalCustom();
    QString correction;
    EXPECT_EQ(active->IgnoreExists(MisspeltWord), c.result == spAdd);
    EXPECT_EQ(internal->IgnoreExists(MisspeltWord), c.result == spIgnoreAll);
    EXPECT_EQ(active->AutoCorrectExists(MisspeltWord, correction), c.result == spAutoCorrect);
    if (c.result == spAutoCorrect) {
      EXPECT_EQ(correction, first);
    }
    correction.clear();
    EXPECT_EQ(internal->AutoCorrectExists(MisspeltWord, correction), c.result == spChangeAll);
    if (c.result == spChangeAll) {
      EXPECT_EQ(correction, first);
    }
    EXPECT_EQ(s->WordAcceptable(MisspeltWord), c.result == spAdd || c.result == spIgnoreAll);
  }
}

TEST_F(LiveBaseTest, WithoutAnActiveDictionaryAddAndAutoCorrectAnswerCancel)
{
  auto s = NewLive();
  s->SetConfigDefaultActiveCustom(QString());
  s->Configuration()->SetLoaded(true);
  ASSERT_EQ(s->ActiveCustomDictionary(), nullptr);
  // The widget menu offers Add disabled: clicking it does nothing, and the menu closes.
  TMenuScript script{{"&Add"}, {}, false};
  QString word = MisspeltWord;
  EXPECT_EQ(RunMenu(*s, word, script), spCancel);
  EXPECT_TRUE(script.Shown);
  // A host's own menu may still report either choice.
  for (TSpellPopupOption chosen : {spAdd, spAutoCorrect}) {
    SCOPED_TRACE(int(chosen));
    s->OnPopupDoMenu = [&](QObject *, QObject *, qint32, qint32, qint32 &action, QString &w) {
      action = chosen;
      w = QStringLiteral("check");
    };
    word = MisspeltWord;
    EXPECT_EQ(s->ShowPopupMenu(nullptr, TSpellPopupOptions::Range(spDialog, spReplace), 0, 0, word),
              spCancel);
    EXPECT_EQ(word, MisspeltWord);
    EXPECT_FALSE(s->InternalCustom()->IgnoreExists(MisspeltWord));
  }
}

TEST_F(LiveBaseTest, WordsAddedThroughTheMenuAreInTheActiveDictionaryFileAfterwards)
{
  const QString newWord = QStringLiteral("Zorblat");
  QString first;
  {
    auto s = NewLive();
    s->Configuration()->SetLoaded(true);
    TStringList suggestions;
    s->BuildSuggestions(MisspeltWord, 5, suggestions);
    ASSERT_GT(suggestions.Count(), 0);
    first = suggestions.Strings(0);
    TMenuScript add{{"&Add"}, {}, false};
    QString word = newWord;
    ASSERT_EQ(RunMenu(*s, word, add), spAdd);
    TMenuScript autoCorrect{{"A&uto Correct", first}, {}, false};
    word = MisspeltWord;
    ASSERT_EQ(RunMenu(*s, word, autoCorrect), spAutoCorrect);
  }
  TCustomDictionary file;
  file.SetFilename(Dir + "/tester.wdu");
  EXPECT_TRUE(file.IgnoreExists(newWord));
  QString correction;
  EXPECT_TRUE(file.AutoCorrectExists(MisspeltWord, correction));
  EXPECT_EQ(correction, first);
  EXPECT_TRUE(file.IgnoreExists("Linewright")) << "what the file held stays";
}

// --- Switches ------------------------------------------------------------------------------------

TEST_F(LiveBaseTest, SwitchesComeOnWithAFollowedControlAndTheUsersOptions)
{
  auto s = NewLive();
  EXPECT_FALSE(s->LiveSpellingEnabled());
  s->Configuration()->SetLoaded(true);
  EXPECT_FALSE(s->LiveSpellingEnabled()) << "no control followed yet";
  EXPECT_TRUE(s->Calls.isEmpty());
  QTextEdit edit;
  s->ChangeLiveControl(&edit);
  EXPECT_TRUE(s->LiveSpellingEnabled());
  EXPECT_TRUE(s->LiveCorrectEnabled());
  EXPECT_EQ(s->Calls, QStringList({"start spelling", "start correct"}));

  // Another control: both off for the old one, back on for the new.
  QTextEdit other;
  s->Calls.clear();
  s->ChangeLiveControl(&other);
  EXPECT_EQ(s->Calls,
            QStringList({"stop spelling", "stop correct", "start spelling", "start correct"}));

  // The user clears live spelling (the options dialog's change): it stops.
  s->Calls.clear();
  TSpellOptions options = s->Configuration()->SpellOptions();
  options.Exclude(soLiveSpelling);
  s->Configuration()->SetSpellOptions(options);
  EXPECT_FALSE(s->LiveSpellingEnabled());
  EXPECT_TRUE(s->LiveCorrectEnabled());
  EXPECT_EQ(s->Calls, QStringList({"stop spelling"}));

  // A destroyed control switches both off and is forgotten.
  s->Calls.clear();
  {
    QTextEdit gone;
    s->ChangeLiveControl(&gone);
  }
  EXPECT_EQ(s->FollowedControl(), nullptr);
  EXPECT_FALSE(s->LiveSpellingEnabled());
  EXPECT_FALSE(s->LiveCorrectEnabled());
}

TEST_F(LiveBaseTest, TheUsersClearedOptionKeepsLiveSpellingOffWhateverThePropertySays)
{
  auto s = NewLive({soLiveCorrect, soDUalCaps}); // the user switched live spelling off
  QTextEdit edit;
  s->ChangeLiveControl(&edit);
  EXPECT_FALSE(s->LiveSpellingEnabled());
  EXPECT_TRUE(s->LiveCorrectEnabled());
  s->SetLiveSpelling(false);
  s->SetLiveSpelling(true);
  EXPECT_FALSE(s->LiveSpellingEnabled());
  // Without LiveSpellingOptions the properties decide.
  s->SetLiveSpellingOptions(false);
  EXPECT_TRUE(s->LiveSpellingEnabled());
  s->SetLiveCorrect(false);
  EXPECT_FALSE(s->LiveCorrectEnabled());
  // And back: the user's options again.
  s->SetLiveSpellingOptions(true);
  EXPECT_FALSE(s->LiveSpellingEnabled());
}

TEST_F(LiveBaseTest, TheLivePopupOpensTheDialogForTheWordWithoutAnEndMessage)
{
  auto s = NewLive();
  s->SetEndMessage(emAlways);
  s->SetDialogInitialPos(ipLastUserPos);
  TLineParser parser;
  parser.Line = MisspeltWord;
  TMenuScript script{{"&Spelling ..."}, {}, false};
  ArmMenu(script);
  QString word = MisspeltWord;
  EXPECT_EQ(s->ShowLivePopup(&parser, word), spDialog);
  EXPECT_TRUE(script.Shown);
  EXPECT_EQ(
      s->Calls,
      QStringList({QStringLiteral("dialog %1 %2").arg(int(emNever)).arg(int(ipUnderSelection))}));
  EXPECT_EQ(s->EndMessage(), emAlways);
  EXPECT_EQ(s->DialogInitialPos(), ipLastUserPos);
}

// --- The options dialog's sample ----------------------------------------------------------------

// Pure red pixels in the widget as it paints itself.
int RedPixels(QTextEdit &e)
{
  QWidget &w = *e.viewport();
  // The first paint checks the lines, the second shows them as the user sees them.
  QImage image;
  for (int i = 0; i < 2; ++i)
    image = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  int red = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      red += image.pixel(x, y) == qRgb(255, 0, 0);
  return red;
}

TEST_F(LiveBaseTest, TheOptionsSampleIsUnderlinedEvenWithLiveSpellingOffAndLetGoWithIt)
{
  // The user's options have live spelling off: the sample still shows what it looks like.
  auto s = NewLive({soDUalCaps});
  auto sample = std::make_unique<QTextEdit>();
  sample->setPlainText(QStringLiteral("(") + MisspeltWord + QStringLiteral(")"));
  sample->setEnabled(false);
  sample->resize(160, 30);
  sample->show();
  QApplication::processEvents();
  EXPECT_EQ(RedPixels(*sample), 0) << "nothing attached yet";

  QPointer<QObject> engine = s->AttachLiveSpellingSample(sample.get());
  ASSERT_TRUE(engine);
  sample->viewport()->update();
  QApplication::processEvents();
  EXPECT_GT(RedPixels(*sample), 4) << "the misspelling is underlined";
  EXPECT_FALSE(s->LiveSpellingEnabled()) << "the component's own switch is untouched";

  sample.reset();
  QApplication::processEvents();
  EXPECT_FALSE(engine) << "the engine goes with its sample";
}

} // namespace
