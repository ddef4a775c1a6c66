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
  if (pos == "(noun)") return 1;
  if (pos == "(verb)") return 2;
  if (pos == "(adj)") return 3;
  if (pos == "(adv)") return 4;
  return 0;
}

bool IsHeadwordCandidate(const QByteArray &w)
{
  if (w.size() < 2) return false;
  return std::all_of(w.begin(), w.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// Words offered as replacements: letters with inner spaces, hyphens or apostrophes.
bool IsListWord(const QByteArray &w)
{
  if (w.isEmpty() || w.size() > 40) return false;
  const auto letter = [](char c) {
    const quint8 u = quint8(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || u >= 0xC0;
  };
  if (!letter(w.front()) || !letter(w.back())) return false;
  return std::all_of(w.begin(), w.end(), [&](char c) { return letter(c) || c == ' ' || c == '-' || c == '\''; });
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
std::vector<PlannedContext> ContextsOf(const TMythesEntry &e, int maxSenses)
{
  std::vector<PlannedContext> out;
  for (const TMythesSense &s : e.senses) {
    if (int(out.size()) >= maxSenses) break;
    std::vector<QByteArray> syns;
    for (const QByteArray &w : s.synonyms)
      if (IsListWord(w) && w != e.word) syns.push_back(w);
    PlannedContext c;
    c.key.kind = s.kind;
    c.key.master = syns.empty() ? e.word : syns.front();
    c.key.members = syns;
    c.key.members.push_back(e.word);
    std::sort(c.key.members.begin(), c.key.members.end());
    c.key.members.erase(std::unique(c.key.members.begin(), c.key.members.end()), c.key.members.end());
    std::vector<QByteArray> words{c.key.master};
    const auto add = [&words](const QByteArray &w) {
      if (std::find(words.begin(), words.end(), w) == words.end()) words.push_back(w);
    };
    add(e.word);
    for (const QByteArray &w : syns) add(w);
    for (const QByteArray &w : s.related)
      if (IsListWord(w)) add(w);
    if (words.size() < 2) continue; // nothing to offer besides the word itself
    c.words = std::move(words);
    out.push_back(std::move(c));
  }
  return out;
}

struct Plan {
  std::vector<const TMythesEntry *> headwords;
  std::map<ContextKey, int> contextIndex;
  std::vector<PlannedContext> contexts;
  std::vector<QByteArray> words; // sorted, unique
};

// Takes candidates [0, count) in order, skipping any whose contexts would exceed the budget.
Plan MakePlan(const std::vector<const TMythesEntry *> &ranked, size_t count, int maxContexts, int maxSenses)
{
  Plan p;
  std::set<QByteArray> words;
  for (size_t i = 0; i < count && i < ranked.size(); ++i) {
    const TMythesEntry *e = ranked[i];
    std::vector<PlannedContext> cs = ContextsOf(*e, maxSenses);
    if (cs.empty()) continue;
    int fresh = 0;
    for (const PlannedContext &c : cs)
      if (!p.contextIndex.count(c.key)) ++fresh;
    if (int(p.contexts.size()) + fresh > maxContexts) continue;
    p.headwords.push_back(e);
    for (PlannedContext &c : cs) {
      if (p.contextIndex.count(c.key)) continue;
      for (const QByteArray &w : c.words) words.insert(w);
      p.contextIndex.emplace(c.key, int(p.contexts.size()));
      p.contexts.push_back(std::move(c));
    }
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
    if (head.endsWith('\r')) head.chop(1);
    if (head.isEmpty()) continue;
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
        error = QStringLiteral("line %1: the file ends inside the senses of \"%2\"").arg(i).arg(QString::fromLatin1(e.word));
        return false;
      }
      QByteArray line = lines[i++];
      if (line.endsWith('\r')) line.chop(1);
      const QList<QByteArray> fields = line.split('|');
      TMythesSense sense;
      sense.kind = KindOf(fields.front());
      for (qsizetype f = 1; f < fields.size(); ++f) {
        QByteArray w = fields[f].trimmed();
        if (w.isEmpty()) continue;
        if (w.endsWith(')')) {
          const qsizetype open = w.lastIndexOf('(');
          const QByteArray note = w.mid(open);
          w = w.left(open).trimmed();
          if (note == "(similar term)" || note == "(related term)") sense.related.push_back(w);
          continue; // antonyms and generic terms are not replacements
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
  // How often each word is offered as a synonym of another headword.
  std::unordered_map<QByteArray, int> offered;
  for (const TMythesEntry &e : entries)
    for (const TMythesSense &s : e.senses) {
      for (const QByteArray &w : s.synonyms) ++offered[w];
      for (const QByteArray &w : s.related) ++offered[w];
    }
  std::vector<const TMythesEntry *> ranked;
  std::unordered_map<const TMythesEntry *, int> score;
  for (const TMythesEntry &e : entries) {
    if (!IsHeadwordCandidate(e.word)) continue;
    ranked.push_back(&e);
    auto it = offered.find(e.word);
    score[&e] = 2 * int(e.senses.size()) + (it == offered.end() ? 0 : it->second);
  }
  std::stable_sort(ranked.begin(), ranked.end(), [&score](const TMythesEntry *a, const TMythesEntry *b) {
    const int sa = score.at(a), sb = score.at(b);
    if (sa != sb) return sa > sb;
    if (a->word.size() != b->word.size()) return a->word.size() < b->word.size();
    return a->word < b->word;
  });
  selection.candidates = int(ranked.size());

  // The largest prefix of the ranking whose words fit the node budget.
  const auto fits = [&](size_t count) {
    const Plan p = MakePlan(ranked, count, selection.maxContexts, selection.maxSenses);
    return CountThesaurusNodes(p.words) <= selection.maxNodes;
  };
  size_t lo = 0, hi = ranked.size();
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
  const Plan p = MakePlan(ranked, lo, selection.maxContexts, selection.maxSenses);
  if (p.headwords.empty()) {
    error = QStringLiteral("no headword fits the format's limits");
    return false;
  }

  for (const PlannedContext &c : p.contexts) {
    std::array<QStringList, 4> lists;
    QStringList &list = lists[size_t(c.key.kind > 0 ? c.key.kind - 1 : 0)];
    for (const QByteArray &w : c.words) list << QString::fromLatin1(w);
    writer.AddContext(QString::fromLatin1(c.key.master), lists);
  }
  // Headwords link to their own senses first; the other members of a sense link to it too,
  // so that a synonym looked up from the dialog shows at least the senses it shares.
  std::unordered_set<QByteArray> isHeadword;
  std::unordered_map<QByteArray, std::vector<int>> links;
  for (const TMythesEntry *e : p.headwords) {
    isHeadword.insert(e->word);
    for (const PlannedContext &c : ContextsOf(*e, selection.maxSenses)) {
      const int idx = p.contextIndex.at(c.key);
      std::vector<int> &l = links[e->word];
      const int value = idx * 5 + c.key.kind;
      if (std::find(l.begin(), l.end(), value) == l.end()) l.push_back(value);
    }
  }
  for (size_t idx = 0; idx < p.contexts.size(); ++idx) {
    const PlannedContext &c = p.contexts[idx];
    for (const QByteArray &m : c.key.members) {
      if (isHeadword.count(m)) continue;
      std::vector<int> &l = links[m];
      const int value = int(idx) * 5 + c.key.kind;
      if (std::find(l.begin(), l.end(), value) == l.end()) l.push_back(value);
    }
  }
  for (auto &[w, l] : links) {
    if (int(l.size()) > TThesaurusWriter::MaxLinksPerWord) l.resize(TThesaurusWriter::MaxLinksPerWord);
    for (const int v : l) writer.AddLinkValue(QString::fromLatin1(w), v);
  }

  selection.headwords = int(p.headwords.size());
  selection.contexts = int(p.contexts.size());
  selection.words = int(p.words.size());
  selection.nodes = CountThesaurusNodes(p.words);
  return true;
}
