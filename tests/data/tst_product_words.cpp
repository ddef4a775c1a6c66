// The product words (data/product/words.txt) merged into the shipped aussie.wdm: every word the
// main window and its dialogs show is one the shipped dictionary accepts, apart from the few
// non-words the interface shows (a new text with a word the dictionary lacks fails here: add
// the word to the list, or name it below when it is no word).

#include "CheckedComboBox.h"
#include "RichTextEd.h"
#include "rtErrorBox.h"
#include "wrLiveAutospell.h"
#include "wrMainDictionary.h"
#include "wrSpellLanguages.h"
#include "wrThesaurusBase.h"
#include "wrThesaurusFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include "print_qstring.h"

#include <set>

namespace {

QStringList ProductWords()
{
  QFile f(QStringLiteral(LW_PRODUCT_WORDS));
  if (!f.open(QIODevice::ReadOnly))
    return {};
  QStringList words;
  for (const QByteArray &line : f.readAll().split('\n')) {
    const QString word = QString::fromUtf8(line).trimmed();
    if (!word.isEmpty() && !word.startsWith(u'#'))
      words << word;
  }
  return words;
}

// The words of an interface text: mnemonics and "%name%" macros are not shown as such.
QStringList WordsOf(QString text)
{
  text.remove(u'&');
  text.remove(QRegularExpression(QStringLiteral("%[A-Za-z]+%")));
  QStringList words;
  static const QRegularExpression word(QStringLiteral("\\p{L}+(?:'\\p{L}+)*"));
  for (auto it = word.globalMatch(text); it.hasNext();)
    words << it.next().captured();
  return words;
}

// The main window's spell component over the shipped dictionaries, its settings kept in a
// temporary folder.
class ProductWordsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(Temp.isValid());
    FOldBox = SetMessageBoxHandler(
        [](QWidget *, const QString &, const QString &, unsigned) { return IDYES; });
    Window = std::make_unique<TRichTextEd>();
    TStringList folders;
    folders.Add(Temp.path());
    folders.Add(QStringLiteral(LW_DICTIONARY_DIR));
    Window->WrightAutoLiveSpell1->SetConfigDictionaryDir(folders);
    Window->WrightAutoLiveSpell1->SetConfigFilename(Temp.path() + "/Spell.cfg");
  }
  void TearDown() override
  {
    Window.reset();
    SetMessageBoxHandler(FOldBox);
  }

  bool Accepted(const QString &word) { return Window->WrightAutoLiveSpell1->WordAcceptable(word); }

  QTemporaryDir Temp;
  std::unique_ptr<TRichTextEd> Window;

private:
  TMessageBoxHandler FOldBox;
};

} // namespace

TEST_F(ProductWordsTest, ListedWordsAreInTheShippedDictionary)
{
  const QStringList words = ProductWords();
  ASSERT_FALSE(words.isEmpty()) << LW_PRODUCT_WORDS;
  TMainDictionary d;
  d.SetFilename(QStringLiteral(LW_AUSSIE_WDM));
  ASSERT_EQ(d.Filename(), QStringLiteral(LW_AUSSIE_WDM));
  for (const QString &w : words)
    EXPECT_TRUE(d.WordExists(w)) << qPrintable(w);

  // As the check session accepts them: a lower-case word also capitalised and in capitals, a word
  // with capitals as written.
  const struct {
    const char *word;
    bool accepted;
  } rows[] = {
      {"Linewright", true}, {"Linewright's", true}, {"linewright", false}, {"Wordnest", true},
      {"plaintext", true},  {"Plaintext", true},    {"PLAINTEXT", true},   {"Richtext", true},
      {"CrLf", true},       {"Quotemarks", true},   {"autocorrect", true}, {"Linewrite", false},
      {"Plaintxt", false},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.word);
    EXPECT_EQ(Accepted(QString::fromUtf8(r.word)), r.accepted);
  }
}

TEST_F(ProductWordsTest, EveryWordTheWindowShowsIsAccepted)
{
  QStringList texts;
  auto addWindowTexts = [&] {
    texts << Window->windowTitle();
    for (const QAction *a : Window->findChildren<QAction *>())
      texts << a->text() << a->toolTip() << a->statusTip();
    for (const QAbstractButton *b : Window->findChildren<QAbstractButton *>())
      texts << b->text() << b->toolTip() << b->statusTip();
    for (int i = 0; i < Window->TextToStrip->ItemCount(); ++i)
      texts << Window->TextToStrip->ItemText(i);
  };
  addWindowTexts();
  Window->ToolButton18->click(); // rich-text mode: its own title and formatting band
  addWindowTexts();
  // The spelling dialogs' and the thesaurus dialog's texts, and the thesaurus's own name, which
  // its dialog's title shows.
  for (int id = 0; id < SpellLanguageStringCount; ++id)
    texts << GetLanguageString(TSpellLanguageString(id), TSpellLanguageType::ltEnglish);
  for (int id = lsThesaurus; id <= lsDlgNotFound; ++id)
    texts << ThesaurusEnglishString(TThesaurusLanguageString(id));
  const QString thesaurus = QStringLiteral(LW_DICTIONARY_DIR "/Wordnest.wdt");
  if (QFileInfo::exists(thesaurus)) {
    TThesaurusFile file;
    file.SetFileName(thesaurus);
    file.SetLoaded(true);
    ASSERT_TRUE(file.Loaded());
    texts << file.Name();
  }

  std::set<QString> shown, refused;
  for (const QString &text : texts)
    for (const QString &word : WordsOf(text))
      shown.insert(word);
  ASSERT_GT(shown.size(), 150u);
  for (const QString &word : shown)
    if (!Accepted(word))
      refused.insert(word);
  const std::set<QString> expected = {
      QStringLiteral("Thesausus"), // the thesaurus item's caption keeps its old spelling
      QStringLiteral("Un"),        // "Un-Indent"
      QStringLiteral("DUal"),      // shows what the dual-capitals option corrects
      QStringLiteral("errorss"),   // the options dialog's sample of an underlined error
  };
  EXPECT_EQ(refused, expected);
}
