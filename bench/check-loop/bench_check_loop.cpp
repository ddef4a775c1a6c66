// "Spellcheck the document" over about 1 MB of correct text in the real editor (CheckWinControl,
// no dialog), beside Hunspell's spell() over the same words in the same run. The word counts
// of both are reported and must match.
#include "rtWidgetWindow.h"
#include "shipped_session.h"
#include "wrRichEdit.h"
#include "wrSpellBase.h"

#include <hunspell.hxx>

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Common words; those both checkers accept make the text.
const char *const Candidates[] = {
    "the",        "of",      "and",       "to",        "in",        "is",       "was",
    "that",       "for",     "it",        "with",      "as",        "his",      "on",
    "be",         "at",      "by",        "had",       "not",       "are",      "but",
    "from",       "or",      "have",      "an",        "they",      "which",    "one",
    "you",        "were",    "her",       "all",       "she",       "there",    "would",
    "their",      "we",      "him",       "been",      "has",       "when",     "who",
    "will",       "more",    "no",        "if",        "out",       "so",       "said",
    "what",       "up",      "its",       "about",     "into",      "than",     "them",
    "can",        "only",    "other",     "new",       "some",      "could",    "time",
    "these",      "two",     "may",       "then",      "do",        "first",    "any",
    "my",         "now",     "such",      "like",      "our",       "over",     "man",
    "me",         "even",    "most",      "made",      "after",     "also",     "did",
    "many",       "before",  "must",      "through",   "back",      "years",    "where",
    "much",       "your",    "way",       "well",      "down",      "should",   "because",
    "each",       "just",    "those",     "people",    "how",       "too",      "little",
    "state",      "good",    "very",      "make",      "world",     "still",    "own",
    "see",        "men",     "work",      "long",      "get",       "here",     "between",
    "both",       "life",    "being",     "under",     "never",     "day",      "same",
    "another",    "know",    "while",     "last",      "might",     "us",       "great",
    "old",        "year",    "off",       "come",      "since",     "against",  "go",
    "came",       "right",   "used",      "take",      "three",     "colour",   "harbour",
    "organise",   "centre",  "neighbour", "travelled", "programme", "kangaroo", "billabong",
    "eucalyptus", "paddock", "weather",   "question",  "answer",    "morning",  "evening",
    "garden",     "window",  "library"};

struct TFixture {
  QTemporaryDir Temp;
  std::unique_ptr<TWrightSpell3Base> Spell;
  std::unique_ptr<Hunspell> Hun;
  std::unique_ptr<TWrightRichEdit> Editor;
  std::vector<std::string> Words; // the text's words, in order
  QString Text;

  TFixture()
  {
    Spell = NewShippedSession(Temp.path());
    Spell->SetEndMessage(emNever);
    Hun = std::make_unique<Hunspell>(LW_HUNSPELL_AFF, LW_HUNSPELL_DIC);

    std::vector<std::string> accepted;
    for (const char *w : Candidates)
      if (Spell->WordAcceptable(QString::fromUtf8(w)) && Hun->spell(std::string(w)))
        accepted.push_back(w);
    // About 1 MB: lines of 12 words.
    size_t i = 0;
    while (Text.size() < 1'000'000) {
      for (int k = 0; k < 12; ++k, ++i) {
        const std::string &w = accepted[(i * 7919) % accepted.size()];
        Words.push_back(w);
        Text += QString::fromStdString(w);
        Text += k == 11 ? QLatin1Char('\n') : QLatin1Char(' ');
      }
    }
    InstallEditWindowFactory();
    Editor = std::make_unique<TWrightRichEdit>();
    Editor->resize(800, 600);
    Editor->setPlainText(Text);
  }
};

TFixture &Fixture()
{
  static TFixture f;
  return f;
}

void BM_CheckEditor_Linewright(benchmark::State &state)
{
  TFixture &f = Fixture();
  for (auto _ : state) {
    f.Spell->CheckWinControl(f.Editor.get(), ctAll);
    if (f.Spell->CheckCanceled())
      state.SkipWithError("the text has a misspelling");
  }
  state.counters["words"] = double(f.Spell->WordCount());
  state.counters["expected_words"] = double(f.Words.size());
  state.counters["MB"] = double(f.Text.size()) / 1e6;
}
BENCHMARK(BM_CheckEditor_Linewright)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SpellWords_Hunspell(benchmark::State &state)
{
  TFixture &f = Fixture();
  long good = 0;
  for (auto _ : state) {
    good = 0;
    for (const std::string &w : f.Words)
      good += f.Hun->spell(w) ? 1 : 0;
    benchmark::DoNotOptimize(good);
  }
  state.counters["words"] = double(f.Words.size());
  state.counters["accepted"] = double(good);
}
BENCHMARK(BM_SpellWords_Hunspell)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
