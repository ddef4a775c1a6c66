#include "ThesaurusWriter.h"

#include "toolSupport.h"
#include <QFile>
#include <algorithm>
#include <unordered_map>

namespace {

constexpr int HeaderSize = 165;
constexpr quint32 OneKidBit = 1u << 20;
constexpr quint32 RevRefBit = 1u << 21;
constexpr quint32 EWCBit = 1u << 22;
constexpr quint32 EWBit = 1u << 23;

// The trie of all words, with the part below each word's last branching point turned into a
// tail chain. Tail chains carry no parent and no links, so equal tail endings are shared.
struct TrieLayout {
  struct Node {
    quint8 c = 0;
    bool end = false;  // a word ends here (EW)
    bool tail = false; // the word ending below continues as a tail chain (EWC)
    int parent = -1;
    std::vector<int> kids; // trie children, in byte order
    int tailHead = -1;     // chain node index when tail
    int wordIndex = -1;    // index of the word in the sorted list
  };
  std::vector<Node> trie;            // 0 is the root
  std::vector<QByteArray> chainKeys; // chain node i stands for this suffix
  std::vector<int> chainNext;        // chain node of the suffix without its first letter, or -1
  std::vector<int> wordNode;         // per word: the trie node that carries it
  std::vector<int> trieOrder;        // trie node -> file node number (kept nodes only, else -1)
  int keptTrieNodes = 0;

  void Build(const std::vector<QByteArray> &words, bool useTails)
  {
    trie.assign(1, Node());
    wordNode.assign(words.size(), -1);
    for (size_t w = 0; w < words.size(); ++w) {
      int cur = 0;
      for (const char ch : words[w]) {
        const quint8 c = quint8(ch);
        auto &kids = trie[cur].kids;
        auto it = std::lower_bound(kids.begin(), kids.end(), c,
                                   [this](int k, quint8 v) { return trie[k].c < v; });
        if (it != kids.end() && trie[*it].c == c) {
          cur = *it;
        } else {
          Node n;
          n.c = c;
          n.parent = cur;
          const int idx = int(trie.size());
          kids.insert(it, idx);
          trie.push_back(std::move(n));
          cur = idx;
        }
      }
      trie[cur].end = true;
      trie[cur].wordIndex = int(w);
      wordNode[w] = cur;
    }

    // single[x]: x's subtree is one path with its only word end at the bottom.
    std::vector<char> single(trie.size(), 0);
    for (int x = int(trie.size()) - 1; x >= 1; --x) {
      const Node &n = trie[x];
      single[x] = (n.kids.empty() && n.end) || (n.kids.size() == 1 && !n.end && single[n.kids[0]]);
    }
    std::vector<char> removed(trie.size(), 0);
    std::unordered_map<QByteArray, int> chainIndex;
    chainKeys.clear();
    chainNext.clear();
    const auto chainFor = [&](const QByteArray &suffix) {
      // Every suffix of a stored tail is a node of its own, shared with equal suffixes.
      int first = -1;
      for (qsizetype i = suffix.size() - 1; i >= 0; --i) {
        const QByteArray key = suffix.mid(i);
        auto it = chainIndex.find(key);
        int idx;
        if (it == chainIndex.end()) {
          idx = int(chainKeys.size());
          chainKeys.push_back(key);
          chainNext.push_back(first);
          chainIndex.emplace(key, idx);
        } else {
          idx = it->second;
        }
        first = idx;
      }
      return first;
    };
    if (useTails) {
      // Nodes are created parent first, so a forward pass sees the highest qualifying node.
      for (int x = 1; x < int(trie.size()); ++x) {
        if (removed[x])
          continue;
        Node &n = trie[x];
        if (n.end || n.kids.size() != 1 || !single[n.kids[0]])
          continue;
        QByteArray suffix;
        int k = n.kids[0];
        int bottom = k;
        while (true) {
          removed[k] = 1;
          suffix += char(trie[k].c);
          bottom = k;
          if (trie[k].kids.empty())
            break;
          k = trie[k].kids[0];
        }
        n.tail = true;
        n.wordIndex = trie[bottom].wordIndex;
        wordNode[n.wordIndex] = x;
        n.tailHead = chainFor(suffix);
      }
    }
    // File numbers: root, then the kept trie nodes breadth first, then the chain nodes.
    trieOrder.assign(trie.size(), -1);
    std::vector<int> queue{0};
    trieOrder[0] = 0;
    int next = 1;
    for (size_t qi = 0; qi < queue.size(); ++qi) {
      const Node &n = trie[queue[qi]];
      if (n.tail)
        continue;
      for (const int k : n.kids) {
        trieOrder[k] = next++;
        queue.push_back(k);
      }
    }
    keptTrieNodes = next;
  }

  int NodeCount() const { return keptTrieNodes + int(chainKeys.size()); }
  int ChainNumber(int chain) const { return keptTrieNodes + chain; }
};

void PutWord(QByteArray &b, quint32 v)
{
  b += char(v & 0xFF);
  b += char((v >> 8) & 0xFF);
}

void PutDWord(QByteArray &b, quint32 v)
{
  for (int i = 0; i < 4; ++i)
    b += char((v >> (8 * i)) & 0xFF);
}

bool PutShortString(QByteArray &b, const QString &s, QString &error, const char *what)
{
  const QByteArray latin = s.toLatin1();
  if (latin.size() > 255 || QString::fromLatin1(latin) != s) {
    error = QStringLiteral("%1 \"%2\" is longer than 255 characters or not Latin-1")
                .arg(QLatin1String(what), s);
    return false;
  }
  b += char(latin.size());
  b += latin;
  return true;
}

} // namespace

QByteArray TThesaurusWriter::Encode(const QString &word)
{
  const QByteArray latin = word.toLatin1();
  if (word.isEmpty() || QString::fromLatin1(latin) != word) {
    if (!FBadWord)
      FBadWordText = word;
    FBadWord = true;
  }
  return latin;
}

void TThesaurusWriter::AddWord(const QString &word) { FWords[Encode(word)]; }

int TThesaurusWriter::AddContext(const QString &master, const std::array<QStringList, 4> &lists)
{
  AddWord(master);
  for (const QStringList &list : lists)
    for (const QString &w : list)
      AddWord(w);
  FContexts.push_back({master, lists});
  return int(FContexts.size()) - 1;
}

void TThesaurusWriter::AddLink(const QString &word, int context, int kind)
{
  AddLinkValue(word, context * 5 + kind);
}

void TThesaurusWriter::AddLinkValue(const QString &word, int value)
{
  FWords[Encode(word)].push_back(value);
}

bool TThesaurusWriter::Build(QByteArray &out)
{
  Error.clear();
  if (FBadWord) {
    Error =
        QStringLiteral("word \"%1\" is empty or has characters outside Latin-1").arg(FBadWordText);
    return false;
  }
  if (KindNames.size() != 5) {
    Error = QStringLiteral("there must be exactly five kind names");
    return false;
  }
  if (int(FContexts.size()) > MaxContexts) {
    Error = QStringLiteral("%1 contexts: the format holds at most %2")
                .arg(FContexts.size())
                .arg(MaxContexts);
    return false;
  }
  std::vector<QByteArray> words;
  words.reserve(FWords.size());
  for (const auto &[w, links] : FWords) {
    if (int(links.size()) > MaxLinksPerWord) {
      Error = QStringLiteral("word \"%1\" has %2 links: at most %3 fit")
                  .arg(QString::fromLatin1(w))
                  .arg(links.size())
                  .arg(MaxLinksPerWord);
      return false;
    }
    for (const int v : links) {
      if (v < 0 || v > MaxLinkValue) {
        Error =
            QStringLiteral("link value %1 of word \"%2\" does not fit 16 bits (contexts beyond %3 "
                           "cannot be linked)")
                .arg(v)
                .arg(QString::fromLatin1(w))
                .arg(MaxLinkValue / 5);
        return false;
      }
    }
    words.push_back(w);
  }

  TrieLayout t;
  t.Build(words, UseTailChains);
  NodeCount = t.NodeCount();
  TrieNodeCount = t.keptTrieNodes;
  TailNodeCount = int(t.chainKeys.size());
  if (NodeCount > MaxNodes) {
    Error = QStringLiteral("%1 nodes needed (%2 words): the format addresses at most %3")
                .arg(NodeCount)
                .arg(words.size())
                .arg(MaxNodes);
    return false;
  }

  // File node number of each word.
  std::unordered_map<QByteArray, quint16> wordNumber;
  for (size_t w = 0; w < words.size(); ++w)
    wordNumber[words[w]] = quint16(t.trieOrder[t.wordNode[w]]);

  // Node words and link records; equal records are stored once.
  std::vector<quint32> nodeWords(size_t(NodeCount), 0);
  QByteArray linkArea;
  std::unordered_map<QByteArray, int> recordOffset;
  bool tooFar = false;
  const auto place = [&](const QByteArray &record) {
    auto it = recordOffset.find(record);
    if (it != recordOffset.end())
      return it->second;
    const int pos = int(linkArea.size());
    if (pos > MaxLinkAreaOffset)
      tooFar = true;
    linkArea += record;
    recordOffset.emplace(record, pos);
    return pos;
  };

  for (int x = 0; x < int(t.trie.size()); ++x) {
    const int num = t.trieOrder[x];
    if (num < 0)
      continue;
    const TrieLayout::Node &n = t.trie[x];
    quint32 v = quint32(n.c) << 24;
    QByteArray rec;
    std::vector<int> kids;
    if (n.tail)
      kids.push_back(t.ChainNumber(n.tailHead));
    else
      for (const int k : n.kids)
        kids.push_back(t.trieOrder[k]);
    if (kids.size() == 1) {
      v |= OneKidBit;
    } else if (kids.size() > 255) {
      Error =
          QStringLiteral("a node has %1 children: a count byte holds at most 255").arg(kids.size());
      return false;
    } else {
      rec += char(kids.size());
    }
    for (const int k : kids)
      PutWord(rec, quint32(k));
    if (x != 0 && n.parent != 0) {
      v |= RevRefBit;
      PutWord(rec, quint32(t.trieOrder[n.parent]));
    }
    if (n.end || n.tail) {
      v |= n.tail ? EWCBit : EWBit;
      const std::vector<int> &links = FWords[words[size_t(n.wordIndex)]];
      rec += char(links.size());
      for (const int l : links)
        PutWord(rec, quint32(l));
    }
    v |= quint32(place(rec));
    nodeWords[size_t(num)] = v;
  }
  for (int c = 0; c < int(t.chainKeys.size()); ++c) {
    const QByteArray &key = t.chainKeys[size_t(c)];
    quint32 v = quint32(quint8(key[0])) << 24;
    QByteArray rec;
    if (key.size() > 1) {
      v |= OneKidBit;
      // The rest of this suffix is itself a chain node.
      const int restIndex = t.chainNext[size_t(c)];
      PutWord(rec, quint32(t.ChainNumber(restIndex)));
    } else {
      rec += char(0);
    }
    v |= quint32(place(rec));
    nodeWords[size_t(t.ChainNumber(c))] = v;
  }
  if (tooFar) {
    Error = QStringLiteral("link area of %1 bytes: records beyond offset %2 cannot be addressed")
                .arg(linkArea.size())
                .arg(MaxLinkAreaOffset);
    return false;
  }
  LinkAreaSize = int(linkArea.size());

  // Contexts and the index area.
  QByteArray contexts, index;
  for (const Context &c : FContexts) {
    PutWord(contexts, wordNumber.at(c.master.toLatin1()));
    for (const QStringList &list : c.lists) {
      if (list.size() > 65535) {
        Error = QStringLiteral("context \"%1\" has a list of more than 65535 words").arg(c.master);
        return false;
      }
      PutWord(contexts, quint32(list.size()));
    }
    PutDWord(contexts, quint32(index.size()));
    for (const QStringList &list : c.lists)
      for (const QString &w : list)
        PutWord(index, wordNumber.at(w.toLatin1()));
  }
  IndexAreaSize = int(index.size());

  out.clear();
  QByteArray header("Linewright thesaurus\r\n");
  header.resize(HeaderSize, '\0');
  out += header;
  if (!PutShortString(out, Name, Error, "name"))
    return false;
  for (const QString &k : KindNames)
    if (!PutShortString(out, k, Error, "kind name"))
      return false;
  PutDWord(out, quint32(NodeCount));
  for (const quint32 v : nodeWords)
    PutDWord(out, v);
  PutDWord(out, quint32(linkArea.size()));
  out += linkArea;
  PutWord(out, quint32(FContexts.size()));
  out += contexts;
  PutDWord(out, quint32(index.size()));
  out += index;
  return true;
}

bool TThesaurusWriter::WriteFile(const QString &fileName)
{
  QByteArray data;
  if (!Build(data))
    return false;
  return WriteOutputFile(fileName, data, Error);
}

int CountThesaurusNodes(const std::vector<QByteArray> &sortedUniqueWords, bool useTailChains)
{
  TrieLayout t;
  t.Build(sortedUniqueWords, useTailChains);
  return t.NodeCount();
}
