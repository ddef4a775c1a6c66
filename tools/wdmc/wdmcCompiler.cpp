#include "wdmcCompiler.h"

#include "rtCodePage.h"
#include "wrMainDictionary.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr quint32 MaxNodes = TMainDictionary::NoChildren; // indexes 0 .. 0xFFFFE
constexpr quint32 MaxLinkageOffset = TMainDictionary::NoChildren - 1;
constexpr int MaxWordBytes = TMainDictionary::WordBufferSize - 1;

struct TrieNode {
  uchar ch = 0;
  bool end = false;
  std::vector<int> children; // trie node ids, in the order they are written
};

// A node as written: own character, packed run, children (output node ids).
struct OutNode {
  uchar ch = 0;
  bool end = false;
  QByteArray packed;
  std::vector<int> children;
  int trie = -1;       // the trie node whose children become this node's children
  quint32 index = 0;   // global index in the file
  quint32 linkage = 0; // offset of the child list (of the count byte for 8 or more children)
};

void putLE32(QByteArray &out, quint32 v)
{
  char b[4];
  qToLittleEndian<quint32>(v, b);
  out.append(b, 4);
}

// Encodes one word; false when the word cannot be stored in the file's code page.
bool encodeWord(const QString &word, int minorVersion, QByteArray &bytes)
{
  if (word.isEmpty())
    return false;
  if (minorVersion >= 1) {
    for (qsizetype i = 0; i < word.size(); ++i) {
      const QChar c = word[i];
      if (c.isHighSurrogate() && i + 1 < word.size() && word[i + 1].isLowSurrogate()) {
        ++i;
        continue;
      }
      if (c.isSurrogate() || c.unicode() == 0)
        return false;
    }
    bytes = EncodeUtf8(word);
  } else {
    for (QChar c : word)
      if (c.unicode() == 0 || !IsWindows1252Char(c.unicode()))
        return false;
    bytes = EncodeWindows1252(word);
  }
  return !bytes.isEmpty() && bytes.size() <= MaxWordBytes && !bytes.contains('\0');
}

} // namespace

bool CompileMainDictionary(const TMainDictionarySource &source, QByteArray &image, QString &error,
                           TMainDictionaryStats *stats)
{
  TMainDictionaryStats local;
  TMainDictionaryStats &st = stats ? *stats : local;
  st = TMainDictionaryStats();
  image.clear();
  if (source.title.size() > 255) {
    error = QStringLiteral("title has %1 characters; the format stores at most 255")
                .arg(source.title.size());
    return false;
  }

  // Encode, sort bytewise and drop duplicates: the order of the input never shows in the file.
  std::vector<QByteArray> words;
  words.reserve(size_t(source.words.size()));
  for (const QString &w : source.words) {
    QByteArray bytes;
    if (encodeWord(w, source.minorVersion, bytes)) {
      words.push_back(std::move(bytes));
    } else {
      ++st.skipped;
      if (st.skippedSamples.size() < 10)
        st.skippedSamples.append(w);
    }
  }
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());

  // Plain byte trie; the words are sorted, so a matching child is always the last one added.
  std::vector<TrieNode> trie(1);
  for (const QByteArray &w : words) {
    int cur = 0;
    for (char b : w) {
      const uchar c = uchar(b);
      std::vector<int> &ch = trie[size_t(cur)].children;
      if (!ch.empty() && trie[size_t(ch.back())].ch == c) {
        cur = ch.back();
      } else {
        trie.push_back(TrieNode{c, false, {}});
        const int id = int(trie.size()) - 1;
        trie[size_t(cur)].children.push_back(id);
        cur = id;
      }
    }
    trie[size_t(cur)].end = true;
  }

  // Readers scan a child list in stored order until the character matches: the children with
  // the most words below them come first, ties in character order. A child's id is always
  // above its parent's, so one pass from the last node up counts every subtree.
  std::vector<quint32> wordsBelow(trie.size(), 0);
  for (size_t i = trie.size(); i-- > 0;) {
    wordsBelow[i] += trie[i].end ? 1 : 0;
    for (int c : trie[i].children)
      wordsBelow[i] += wordsBelow[size_t(c)];
  }
  for (TrieNode &n : trie)
    std::stable_sort(n.children.begin(), n.children.end(),
                     [&](int a, int b) { return wordsBelow[size_t(a)] > wordsBelow[size_t(b)]; });

  // Nodes as written. The root and the first-character nodes keep no packed bytes (the
  // first-character table describes their children directly); every other node absorbs the
  // following single-child chain as long as no word ends on it, up to 8 bytes. Bottom up (a
  // child's id is above its parent's), each packed node is interned by its character, end flag,
  // packed bytes and interned children: equal subtrees become one node. Measured: the shipped
  // list's 284,568 trie nodes become 56,153 (1.76 MB to 505 KB); es_ES, whose 713,704 forms
  // overflowed the 20-bit linkage offsets as a trie, needs 44,772 nodes.
  const bool share = source.sharing == TNodeSharing::Shared;
  std::vector<OutNode> canon; // interned nodes; `trie` unused here
  std::unordered_map<std::string, int> interned;
  std::string key;
  auto intern = [&](OutNode &&node) -> int {
    if (share) {
      key.assign(1, char(node.ch));
      key.push_back(node.end ? '\1' : '\0');
      key.push_back(char(node.packed.size()));
      key.append(node.packed.constData(), size_t(node.packed.size()));
      for (int c : node.children)
        key.append(reinterpret_cast<const char *>(&c), sizeof c);
      const auto [it, added] = interned.try_emplace(key, int(canon.size()));
      if (!added)
        return it->second;
    }
    canon.push_back(std::move(node));
    return int(canon.size()) - 1;
  };
  // packedAt[t]: the interned node that starts at trie node t (with its run); firstAt[t] the
  // same without packed bytes, for the first characters.
  std::vector<int> packedAt(trie.size(), -1);
  std::vector<int> firstAt(trie.size(), -1);
  const std::vector<int> &firsts = trie[0].children;
  std::vector<bool> isFirst(trie.size(), false);
  for (int t : firsts)
    isFirst[size_t(t)] = true;
  for (size_t t = trie.size(); t-- > 1;) {
    auto childrenOf = [&](int last) {
      std::vector<int> ids;
      ids.reserve(trie[size_t(last)].children.size());
      for (int c : trie[size_t(last)].children)
        ids.push_back(packedAt[size_t(c)]);
      return ids;
    };
    if (isFirst[t]) {
      OutNode node;
      node.ch = trie[t].ch;
      node.end = trie[t].end;
      node.children = childrenOf(int(t));
      firstAt[t] = intern(std::move(node));
    }
    OutNode node;
    node.ch = trie[t].ch;
    node.end = trie[t].end;
    int cur = int(t);
    while (node.packed.size() < TMainDictionary::NodeClasses - 1 &&
           trie[size_t(cur)].children.size() == 1) {
      const int next = trie[size_t(cur)].children[0];
      if (trie[size_t(next)].end)
        break;
      node.packed.append(char(trie[size_t(next)].ch));
      cur = next;
    }
    node.children = childrenOf(cur);
    packedAt[t] = intern(std::move(node));
  }
  interned.clear();
  {
    OutNode root;
    for (int t : firsts)
      root.children.push_back(firstAt[size_t(t)]);
    canon.push_back(std::move(root));
  }

  // The nodes reached from the root, each once. The children of a node are written together,
  // and the groups in depth-first order: below its first two characters a lookup stays within a
  // small stretch of the file.
  std::vector<OutNode> out;
  std::vector<int> outOf(canon.size(), -1);
  out.push_back(OutNode{0, false, {}, {}, int(canon.size()) - 1, 0, 0});
  outOf.back() = 0;
  std::vector<size_t> pending{0};
  std::vector<size_t> added;
  while (!pending.empty()) {
    const size_t head = pending.back();
    pending.pop_back();
    added.clear();
    const std::vector<int> &kids = canon[size_t(out[head].trie)].children;
    for (int c : kids) {
      if (outOf[size_t(c)] < 0) {
        OutNode node;
        node.ch = canon[size_t(c)].ch;
        node.end = canon[size_t(c)].end;
        node.packed = canon[size_t(c)].packed;
        node.trie = c;
        out.push_back(std::move(node));
        outOf[size_t(c)] = int(out.size()) - 1;
        added.push_back(out.size() - 1);
      }
      out[head].children.push_back(outOf[size_t(c)]);
    }
    for (auto it = added.rbegin(); it != added.rend(); ++it)
      pending.push_back(*it);
  }
  {
    // The unshared trie's size, for the report: children are interned before their parents.
    std::vector<quint64> treeSize(canon.size(), 1);
    for (size_t c = 0; c < canon.size(); ++c)
      for (int child : canon[c].children)
        treeSize[c] += treeSize[size_t(child)];
    st.trieNodeCount = treeSize.back();
  }
  canon.clear();

  const quint64 nodeCount = out.size();
  if (nodeCount > MaxNodes) {
    error = QStringLiteral("the word list needs %1 nodes; node references have 20 bits, so a "
                           "dictionary holds at most %2 nodes")
                .arg(nodeCount)
                .arg(MaxNodes);
    return false;
  }

  // Global indexes: class by class, in output order inside a class (the root stays node 0).
  quint32 classCounts[TMainDictionary::NodeClasses] = {};
  for (const OutNode &n : out)
    ++classCounts[n.packed.size()];
  quint32 classStart[TMainDictionary::NodeClasses] = {};
  for (int k = 1; k < TMainDictionary::NodeClasses; ++k)
    classStart[k] = classStart[k - 1] + classCounts[k - 1];
  std::vector<int> byIndex(out.size());
  {
    quint32 next[TMainDictionary::NodeClasses];
    std::copy(std::begin(classStart), std::end(classStart), next);
    for (size_t i = 0; i < out.size(); ++i) {
      out[i].index = next[out[i].packed.size()]++;
      byIndex[out[i].index] = int(i);
    }
  }

  // Linkage block, child lists in index order.
  const bool wide = nodeCount >= TMainDictionary::WideLinkageNodeCount;
  QByteArray linkage;
  auto putEntry = [&](quint32 index) {
    if (!wide) {
      linkage.append(char(index & 0xFF));
      linkage.append(char(index >> 8));
    } else if (index < 0x8000) {
      linkage.append(char(0x80 | (index >> 8)));
      linkage.append(char(index & 0xFF));
    } else {
      linkage.append(char(index >> 16));
      linkage.append(char((index >> 8) & 0xFF));
      linkage.append(char(index & 0xFF));
    }
  };
  // Equal child lists (nodes that differ only in character, end flag or run) are written once.
  std::unordered_map<std::string, quint32> lists;
  for (int i : byIndex) {
    OutNode &n = out[size_t(i)];
    if (n.children.size() < 2)
      continue;
    std::string list;
    if (share) {
      for (int c : n.children)
        list.append(reinterpret_cast<const char *>(&c), sizeof c);
      const auto known = lists.find(list);
      if (known != lists.end()) {
        n.linkage = known->second;
        continue;
      }
    }
    if (quint64(linkage.size()) > MaxLinkageOffset) {
      error = QStringLiteral("the child lists need more than %1 bytes of linkage; linkage offsets "
                             "have 20 bits")
                  .arg(MaxLinkageOffset);
      return false;
    }
    n.linkage = quint32(linkage.size());
    if (share)
      lists.emplace(std::move(list), n.linkage);
    if (n.children.size() >= 8)
      linkage.append(char(n.children.size()));
    for (int c : n.children)
      putEntry(out[size_t(c)].index);
  }

  // Image.
  image.reserve(int(1200 + 12 * nodeCount + linkage.size() + 4096));
  QByteArray header = TMainDictionary::Banner(source.minorVersion);
  header.append(QByteArray(TMainDictionary::HeaderSize - header.size(), '\0'));
  image.append(header);
  image.append(char(source.title.size()));
  for (QChar c : source.title) {
    image.append(char(c.unicode() & 0xFF));
    image.append(char(c.unicode() >> 8));
  }
  image.append(2, '\0');
  putLE32(image, source.language);
  putLE32(image, quint32(words.size()));
  putLE32(image, quint32(nodeCount));
  for (quint32 c : classCounts)
    putLE32(image, c);
  for (int i : byIndex) {
    const OutNode &n = out[size_t(i)];
    quint32 count = 0, ref = TMainDictionary::NoChildren;
    if (n.children.size() == 1) {
      count = 1;
      ref = out[size_t(n.children[0])].index;
    } else if (n.children.size() >= 2) {
      count = n.children.size() <= 7 ? quint32(n.children.size()) : 0;
      ref = n.linkage;
    }
    putLE32(image, quint32(n.ch) | (ref << 8) | (count << 28) | (n.end ? 0x80000000u : 0u));
    image.append(n.packed);
  }
  putLE32(image, quint32(linkage.size()));
  image.append(linkage);

  // First-character table: the children of each first-character node.
  QByteArray lookup(TMainDictionary::LookupSize, '\0');
  for (int c : out[0].children) {
    const OutNode &n = out[size_t(c)];
    uchar *e = reinterpret_cast<uchar *>(lookup.data()) + 8 * n.ch;
    e[0] = n.end ? 1 : 0;
    e[1] = uchar(n.children.size());
    quint32 ref = 0;
    if (n.children.size() == 1)
      ref = out[size_t(n.children[0])].index;
    else if (n.children.size() > 1)
      ref = n.linkage + (n.children.size() >= 8 ? 1 : 0);
    qToLittleEndian<quint32>(ref, e + 4);
  }
  image.append(lookup);

  // Character-set table, 256 entries of 4 bytes: flags (1 used in a word, 2 letter, 4 upper
  // case, 8 lower case), the lower-case byte and the upper-case byte (ASCII letters in a UTF-8
  // dictionary, every Windows-1252 letter in a 4.0 one), one spare byte.
  QByteArray charset(TMainDictionary::CharSetTableSize, '\0');
  bool used[256] = {};
  for (const QByteArray &w : words)
    for (char b : w)
      used[uchar(b)] = true;
  for (int b = 1; b < 256; ++b) {
    uchar *e = reinterpret_cast<uchar *>(charset.data()) + 4 * b;
    e[1] = e[2] = uchar(b);
    e[0] = used[b] ? 1 : 0;
    if (source.minorVersion >= 1 && b >= 0x80)
      continue;
    const QChar c(Windows1252ToUnicode(uchar(b)));
    if (!c.isLetter())
      continue;
    e[0] |= 2;
    if (c.isUpper())
      e[0] |= 4;
    if (c.isLower())
      e[0] |= 8;
    const QChar lower = c.toLower(), upper = c.toUpper();
    if (IsWindows1252Char(lower.unicode()))
      e[1] = uchar(EncodeWindows1252(QString(lower)).at(0));
    if (IsWindows1252Char(upper.unicode()))
      e[2] = uchar(EncodeWindows1252(QString(upper)).at(0));
  }
  image.append(charset);

  st.wordCount = quint32(words.size());
  st.nodeCount = quint32(nodeCount);
  st.linkageSize = quint32(linkage.size());
  std::copy(std::begin(classCounts), std::end(classCounts), st.classCounts);
  return true;
}

bool ReadWordList(const QString &fileName, QStringList &lines, QString &error)
{
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
    return false;
  }
  ParseWordList(file.readAll(), lines);
  return true;
}

void ParseWordList(QByteArray data, QStringList &lines)
{
  if (data.startsWith("\xEF\xBB\xBF"))
    data.remove(0, 3);
  const QString text = DecodeUtf8(data);
  for (const QString &raw : text.split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
      continue;
    lines.append(line);
  }
}
