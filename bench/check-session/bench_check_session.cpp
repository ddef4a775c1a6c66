// WordAcceptable, the check session's whole acceptance decision (main dictionary, case rule,
// custom dictionaries, exclusions, possessives, numbers, ignore rules), over about 1 MB of
// running English prose, side by side with Hunspell's spell() on the same words.
//
// The prose is the licence texts of Debian's base-files (/usr/share/common-licenses), present
// on every Debian system and free to copy verbatim, repeated to 1 MB. Words are cut at every
// character that is not a letter, a digit or an apostrophe between letters. Compare
// items_per_second (words per second) of the two runs.
#include "wrSpellBase.h"

#include <hunspell.hxx>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr qsizetype CorpusBytes = 1 << 20;

struct Corpus {
  QStringList words;
  std::vector<std::string> wordsUtf8;
  qsizetype bytes = 0;
};

QStringList SplitWords(const QString &text)
{
  QStringList words;
  QString word;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const bool inner = (c == u'\'' || c == u'\u2019') && !word.isEmpty() && i + 1 < text.size() &&
                       text[i + 1].isLetter();
    if (c.isLetterOrNumber() || inner) {
      word.append(c);
    } else if (!word.isEmpty()) {
      words.append(word);
      word.clear();
    }
  }
  if (!word.isEmpty())
    words.append(word);
  return words;
}

const Corpus &corpus()
{
  static const Corpus c = [] {
    Corpus r;
    QDir dir(QStringLiteral("/usr/share/common-licenses"));
    QString text;
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    if (names.isEmpty())
      qFatal("no licence texts in /usr/share/common-licenses");
    while (r.bytes < CorpusBytes)
      for (const QString &name : names) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
          continue;
        const QByteArray bytes = f.readAll();
        r.bytes += bytes.size();
        text += QString::fromUtf8(bytes);
        if (r.bytes >= CorpusBytes)
          break;
      }
    r.words = SplitWords(text);
    for (const QString &w : r.words)
      r.wordsUtf8.push_back(w.toStdString());
    return r;
  }();
  return c;
}

// A session like the main window's: aussie.wdm, the shipped Autocorrect.wdu, the default options,
// an active custom dictionary of its own in a temporary folder.
struct Session {
  QTemporaryDir temp;
  std::unique_ptr<TWrightSpellBase> spell;

  Session()
  {
    spell = std::make_unique<TWrightSpellBase>();
    spell->SetConfigStorage(csFile);
    spell->SetConfigID(QStringLiteral("bench"));
    spell->SetConfigFilename(temp.path() + QStringLiteral("/Spell.cfg"));
    TStringList dirs;
    dirs.Add(temp.path());
    dirs.Add(QStringLiteral(LW_DICTIONARY_DIR));
    spell->SetConfigDictionaryDir(dirs);
    TStringList main;
    main.Add(QStringLiteral("aussie.wdm"));
    spell->SetConfigDefaultMain(main);
    spell->SetConfigUseMSWordCustom(false);
    spell->SetSuggestionsLearning(false);
    spell->SetUseAutoCorrectFirst(false);
    spell->WordAcceptable(QStringLiteral("the"));
  }
};

void BM_WordAcceptable_Linewright(benchmark::State &state)
{
  const Corpus &c = corpus();
  Session s;
  qint64 accepted = 0;
  for (auto _ : state)
    for (const QString &w : c.words)
      accepted += s.spell->WordAcceptable(w);
  state.SetItemsProcessed(state.iterations() * c.words.size());
  state.counters["accepted_share"] = double(accepted) / double(state.iterations() * c.words.size());
  state.counters["corpus_MB"] = double(c.bytes) / (1 << 20);
}
BENCHMARK(BM_WordAcceptable_Linewright)->Unit(benchmark::kMillisecond);

void BM_Spell_Hunspell(benchmark::State &state)
{
  const Corpus &c = corpus();
  Hunspell h(LW_HUNSPELL_AFF, LW_HUNSPELL_DIC);
  qint64 accepted = 0;
  for (auto _ : state)
    for (const std::string &w : c.wordsUtf8)
      accepted += h.spell(w);
  state.SetItemsProcessed(state.iterations() * qint64(c.wordsUtf8.size()));
  state.counters["accepted_share"] =
      double(accepted) / double(state.iterations() * c.wordsUtf8.size());
}
BENCHMARK(BM_Spell_Hunspell)->Unit(benchmark::kMillisecond);

} // namespace
