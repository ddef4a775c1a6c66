#include "MythesImport.h"

#include <QFile>
#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace {

int KindOf(const QByteArray &pos)
{
  if (pos == "(noun)")
    return 1;
  if (pos == "(verb)")
    return 2;
  if (pos == "(adj)")
    return 3;
  if (pos == "(adv)")
    return 4;
  return 0;
}

bool IsHeadwordCandidate(const QByteArray &w)
{
  if (w.size() < 2)
    return false;
  return std::all_of(w.begin(), w.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// Words offered as replacements: letters with inner spaces, hyphens or apostrophes.
bool IsListWord(const QByteArray &w)
{
  if (w.isEmpty() || w.size() > 40)
    return false;
  const auto letter = [](char c) {
    const quint8 u = quint8(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || u >= 0xC0;
  };
  if (!letter(w.front()) || !letter(w.back()))
    return false;
  return std::all_of(w.begin(), w.end(),
                     [&](char c) { return letter(c) || c == ' ' || c == '-' || c == '\''; });
}

struct ContextKey {
  int kind;
  QByteArray master;
  std::vector<QByteArray> members; // sorted
  // A sense is the same whichever of its members brings it: the master word (chosen by the
  // first headword that brings the sense) is not part of its identity.
  bool operator<(const ContextKey &o) const
  {
    return std::tie(kind, members) < std::tie(o.kind, o.members);
  }
};

struct PlannedContext {
  ContextKey key;
  std::vector<QByteArray> words; // the list, master first
};

// The contexts a headword brings; senses without any word to offer are dropped.
std::vector<PlannedContext> ContextsOf(const TMythesEntry &e, int maxSenses, int maxRelated)
{
  std::vector<PlannedContext> out;
  for (const TMythesSense &s : e.senses) {
    if (int(out.size()) >= maxSenses)
      break;
    std::vector<QByteArray> syns;
    for (const QByteArray &w : s.synonyms)
      if (IsListWord(w) && w != e.word)
        syns.push_back(w);
    PlannedContext c;
    c.key.kind = s.kind;
    c.key.master = syns.empty() ? e.word : syns.front();
    c.key.members = syns;
    c.key.members.push_back(e.word);
    std::sort(c.key.members.begin(), c.key.members.end());
    c.key.members.erase(std::unique(c.key.members.begin(), c.key.members.end()),
                        c.key.members.end());
    std::vector<QByteArray> words{c.key.master};
    const auto add = [&words](const QByteArray &w) {
      if (std::find(words.begin(), words.end(), w) == words.end())
        words.push_back(w);
    };
    add(e.word);
    for (const QByteArray &w : syns)
      add(w);
    int related = 0;
    for (const QByteArray &w : s.related)
      if (IsListWord(w) && related < maxRelated) {
        add(w);
        ++related;
      }
    if (words.size() < 2)
      continue; // nothing to offer besides the word itself
    c.words = std::move(words);
    out.push_back(std::move(c));
  }
  return out;
}

// One sense of one headword, in the order senses are given room.
struct SenseItem {
  int candidate; // index into the ranking
  int sense;     // index into the candidate's contexts
};

struct Plan {
  std::vector<std::vector<int>> chosen; // per candidate: its contexts' indexes, in sense order
  std::map<ContextKey, int> contextIndex;
  std::vector<const PlannedContext *> contexts;
  std::vector<QByteArray> words; // sorted, unique
  int headwords = 0;
};

// Each sense as it is stored: the view of its most important member.
using CanonicalMap = std::map<ContextKey, const PlannedContext *>;

// Takes the sense items [0, count) in order; a sense already stored costs nothing, a new one
// is skipped once the context budget is spent.
Plan MakePlan(const std::vector<std::vector<PlannedContext>> &sensesOf,
              const CanonicalMap &canonical, const std::vector<SenseItem> &items, size_t count,
              int maxContexts)
{
  Plan p;
  p.chosen.resize(sensesOf.size());
  std::set<QByteArray> words;
  for (size_t i = 0; i < count && i < items.size(); ++i) {
    const SenseItem &item = items[i];
    const PlannedContext &c = sensesOf[size_t(item.candidate)][size_t(item.sense)];
    int idx;
    auto it = p.contextIndex.find(c.key);
    if (it != p.contextIndex.end()) {
      idx = it->second;
    } else {
      if (int(p.contexts.size()) >= maxContexts)
        continue;
      idx = int(p.contexts.size());
      p.contextIndex.emplace(c.key, idx);
      const PlannedContext *stored = canonical.at(c.key);
      p.contexts.push_back(stored);
      for (const QByteArray &w : stored->words)
        words.insert(w);
    }
    std::vector<int> &mine = p.chosen[size_t(item.candidate)];
    if (mine.empty())
      ++p.headwords;
    mine.push_back(idx);
  }
  p.words.assign(words.begin(), words.end());
  return p;
}

} // namespace

bool ParseMythes(const QByteArray &text, std::vector<TMythesEntry> &entries, QString &error)
{
  entries.clear();
  const QList<QByteArray> lines = text.split('\n');
  if (lines.isEmpty() || !lines.front().trimmed().toUpper().startsWith("ISO8859-1")) {
    error = QStringLiteral("the thesaurus source must start with its encoding ISO8859-1");
    return false;
  }
  qsizetype i = 1;
  while (i < lines.size()) {
    QByteArray head = lines[i++];
    if (head.endsWith('\r'))
      head.chop(1);
    if (head.isEmpty())
      continue;
    const qsizetype bar = head.lastIndexOf('|');
    bool ok = false;
    const int n = bar > 0 ? head.mid(bar + 1).toInt(&ok) : 0;
    if (!ok || n < 0) {
      error = QStringLiteral("line %1: expected \"word|number of senses\"").arg(i);
      return false;
    }
    TMythesEntry e;
    e.word = head.left(bar);
    for (int s = 0; s < n; ++s) {
      if (i >= lines.size()) {
        error = QStringLiteral("line %1: the file ends inside the senses of \"%2\"")
                    .arg(i)
                    .arg(QString::fromLatin1(e.word));
        return false;
      }
      QByteArray line = lines[i++];
      if (line.endsWith('\r'))
        line.chop(1);
      const QList<QByteArray> fields = line.split('|');
      TMythesSense sense;
      sense.kind = KindOf(fields.front());
      for (qsizetype f = 1; f < fields.size(); ++f) {
        QByteArray w = fields[f].trimmed();
        if (w.isEmpty())
          continue;
        if (w.endsWith(')')) {
          const qsizetype open = w.lastIndexOf('(');
          const QByteArray note = w.mid(open);
          w = w.left(open).trimmed();
          if (note == "(similar term)" || note == "(related term)")
            sense.related.push_back(w);
          else
            sense.other.push_back(w); // antonyms and generic terms are not replacements
          continue;
        }
        sense.synonyms.push_back(w);
      }
      e.senses.push_back(std::move(sense));
    }
    entries.push_back(std::move(e));
  }
  return true;
}

bool ReadMythes(const QString &fileName, std::vector<TMythesEntry> &entries, QString &error)
{
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read %1").arg(fileName);
    return false;
  }
  return ParseMythes(f.readAll(), entries, error);
}

bool SelectMythes(const std::vector<TMythesEntry> &entries, TThesaurusSelection &selection,
                  TThesaurusWriter &writer, QString &error)
{
  // How often each word is named in another headword's senses (as a synonym, a similar or
  // related term, an antonym or a generic term): central everyday words are named often.
  std::unordered_map<QByteArray, int> offered;
  for (const TMythesEntry &e : entries)
    for (const TMythesSense &s : e.senses) {
      for (const QByteArray &w : s.synonyms)
        ++offered[w];
      for (const QByteArray &w : s.related)
        ++offered[w];
      for (const QByteArray &w : s.other)
        ++offered[w];
    }
  std::vector<const TMythesEntry *> ranked;
  std::unordered_map<const TMythesEntry *, int> score;
  for (const TMythesEntry &e : entries) {
    if (!IsHeadwordCandidate(e.word))
      continue;
    ranked.push_back(&e);
    auto it = offered.find(e.word);
    score[&e] = 2 * int(e.senses.size()) + (it == offered.end() ? 0 : it->second);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [&score](const TMythesEntry *a, const TMythesEntry *b) {
                     const int sa = score.at(a), sb = score.at(b);
                     if (sa != sb)
                       return sa > sb;
                     if (a->word.size() != b->word.size())
                       return a->word.size() < b->word.size();
                     return a->word < b->word;
                   });
  selection.candidates = int(ranked.size());

  // Senses get room in order of their headword's importance divided by their position among
  // the headword's senses: the first sense of many words comes before the fifth of one.
  std::vector<std::vector<PlannedContext>> sensesOf;
  std::vector<SenseItem> items;
  std::vector<double> priority;
  for (size_t r = 0; r < ranked.size(); ++r) {
    sensesOf.push_back(ContextsOf(*ranked[r], selection.maxSenses, selection.maxRelated));
    for (size_t k = 0; k < sensesOf.back().size(); ++k) {
      items.push_back({int(r), int(k)});
      priority.push_back(double(score.at(ranked[r])) / double(k + 1));
    }
  }
  // A sense shared by several headwords is stored as the most important of them sees it, so
  // that word, the one most often looked up, gets a master other than itself.
  CanonicalMap canonical;
  for (const auto &senses : sensesOf)
    for (const PlannedContext &c : senses)
      canonical.emplace(c.key, &c);
  std::vector<size_t> order(items.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return priority[a] > priority[b]; });
  {
    std::vector<SenseItem> sorted;
    sorted.reserve(items.size());
    for (const size_t i : order)
      sorted.push_back(items[i]);
    items = std::move(sorted);
  }

  // The largest prefix of the items whose words fit the node budget.
  const auto fits = [&](size_t count) {
    const Plan p = MakePlan(sensesOf, canonical, items, count, selection.maxContexts);
    return CountThesaurusNodes(p.words) <= selection.maxNodes;
  };
  size_t lo = 0, hi = items.size();
  if (fits(hi)) {
    lo = hi;
  } else {
    while (hi - lo > 1) {
      const size_t mid = lo + (hi - lo) / 2;
      if (fits(mid))
        lo = mid;
      else
        hi = mid;
    }
  }
  const Plan p = MakePlan(sensesOf, canonical, items, lo, selection.maxContexts);
  if (p.headwords == 0) {
    error = QStringLiteral("no headword fits the format's limits");
    return false;
  }

  for (const PlannedContext *c : p.contexts) {
    std::array<QStringList, 4> lists;
    QStringList &list = lists[size_t(c->key.kind > 0 ? c->key.kind - 1 : 0)];
    for (const QByteArray &w : c->words)
      list << QString::fromLatin1(w);
    writer.AddContext(QString::fromLatin1(c->key.master), lists);
  }
  // Headwords link to their own senses first; the other members of a sense link to it too,
  // so that a synonym looked up from the dialog shows at least the senses it shares.
  std::unordered_set<QByteArray> isHeadword;
  std::unordered_map<QByteArray, std::vector<int>> links;
  const auto link = [&links, &p](const QByteArray &word, int idx) {
    std::vector<int> &l = links[word];
    const int value = idx * 5 + p.contexts[size_t(idx)]->key.kind;
    if (std::find(l.begin(), l.end(), value) == l.end())
      l.push_back(value);
  };
  for (size_t r = 0; r < ranked.size(); ++r) {
    if (p.chosen[r].empty())
      continue;
    isHeadword.insert(ranked[r]->word);
    for (const int idx : p.chosen[r])
      link(ranked[r]->word, idx);
  }
  for (size_t idx = 0; idx < p.contexts.size(); ++idx)
    for (const QByteArray &m : p.contexts[idx]->key.members)
      if (!isHeadword.count(m))
        link(m, int(idx));
  for (auto &[w, l] : links) {
    if (int(l.size()) > TThesaurusWriter::MaxLinksPerWord)
      l.resize(TThesaurusWriter::MaxLinksPerWord);
    for (const int v : l)
      writer.AddLinkValue(QString::fromLatin1(w), v);
  }

  selection.headwords = p.headwords;
  selection.contexts = int(p.contexts.size());
  selection.words = int(p.words.size());
  selection.nodes = CountThesaurusNodes(p.words);
  return true;
}
