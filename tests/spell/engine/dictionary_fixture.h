#pragma once
// Helpers shared by the main dictionary tests, the seed writer and the benchmark.

#include "wdmcCompiler.h"
#include "wrMainDictionary.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <vector>

// Compiles Words into FileName; returns the error text (empty on success).
inline QString WriteMainDictionary(const QString &FileName, const QStringList &Words,
                                   int MinorVersion = 1, TMainDictionaryStats *Stats = nullptr,
                                   const QString &Title = QStringLiteral("Test words"),
                                   quint32 Language = 3081,
                                   TNodeSharing Sharing = TNodeSharing::Shared)
{
  TMainDictionarySource source;
  source.sharing = Sharing;
  source.words = Words;
  source.title = Title;
  source.language = Language;
  source.minorVersion = MinorVersion;
  QByteArray image;
  QString error;
  if (!CompileMainDictionary(source, image, error, Stats))
    return error;
  QFile f(FileName);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(image) != image.size())
    return QStringLiteral("cannot write ") + FileName;
  return QString();
}

// Words over 62 letters and digits below the first character 'b', all of length 2 to 4, taken
// shortest first. Every node of their trie ends a word, so nothing is packed and each word
// adds exactly one node: Count words make a trie (TNodeSharing::Tree) of Count + 2 nodes (root
// and 'b'). Shared, their equal leaves become one node per letter.
inline QStringList EveryNodeAWord(int Count)
{
  static const QString alphabet =
      QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  QStringList words;
  words.reserve(Count);
  QStringList level{QStringLiteral("b")};
  while (words.size() < Count) {
    QStringList next;
    for (const QString &w : level)
      for (QChar c : alphabet) {
        if (words.size() == Count)
          return words;
        next.append(w + c);
        words.append(w + c);
      }
    level = next;
  }
  return words;
}

// --- A file written byte by byte from the layout, independent of the compiler -----------------

struct HandNode {
  uchar ch;
  bool end;
  quint32 count; // C
  quint32 ref;   // R
  QByteArray packed;
};

struct HandFile {
  QString title = QStringLiteral("Hand");
  quint32 language = 1033;
  quint32 wordCount = 0;
  quint32 nodeCount = 0; // header field; deciding the linkage width
  int minorVersion = 1;
  std::vector<HandNode> nodes; // in index order, classes ascending
  QByteArray linkage;
  QByteArray lookup = QByteArray(2048, '\0');

  void entry(uchar b, bool word, uchar number, quint32 ref)
  {
    auto *e = reinterpret_cast<uchar *>(lookup.data()) + 8 * b;
    e[0] = word ? 1 : 0;
    e[1] = number;
    qToLittleEndian<quint32>(ref, e + 4);
  }

  QByteArray image() const
  {
    QByteArray out = TMainDictionary::Banner(minorVersion);
    out.append(QByteArray(1024 - out.size(), 'x')); // the rest of the header is free
    out.append(char(title.size()));
    for (QChar c : title) {
      out.append(char(c.unicode() & 0xFF));
      out.append(char(c.unicode() >> 8));
    }
    out.append(2, '\0');
    auto put = [&](quint32 v) {
      char b[4];
      qToLittleEndian<quint32>(v, b);
      out.append(b, 4);
    };
    put(language);
    put(wordCount);
    put(nodeCount);
    quint32 classes[9] = {};
    for (const HandNode &n : nodes)
      ++classes[n.packed.size()];
    for (quint32 c : classes)
      put(c);
    for (const HandNode &n : nodes) {
      put(n.ch | (n.ref << 8) | (n.count << 28) | (n.end ? 0x80000000u : 0));
      out.append(n.packed);
    }
    put(quint32(linkage.size()));
    out.append(linkage);
    out.append(lookup);
    out.append(QByteArray(1024, '\0'));
    return out;
  }
};

inline void appendNarrow(QByteArray &linkage, quint32 index)
{
  linkage.append(char(index & 0xFF));
  linkage.append(char(index >> 8));
}
inline void appendWide3(QByteArray &linkage, quint32 index)
{
  linkage.append(char(index >> 16));
  linkage.append(char((index >> 8) & 0xFF));
  linkage.append(char(index & 0xFF));
}
inline void appendWide2(QByteArray &linkage, quint32 index)
{
  linkage.append(char(0x80 | (index >> 8)));
  linkage.append(char(index & 0xFF));
}

inline constexpr quint32 HandNoChildren = TMainDictionary::NoChildren;

// Words: a, an, and ane ang ani ank ano ant any (eight children of "an": a count byte),
// beetroot ("e" carries the packed run "etroo"), by.
inline HandFile handFile(bool wide)
{
  HandFile f;
  f.wordCount = 12;
  f.nodeCount = wide ? 70000 : 15;
  auto add3 = wide ? appendWide3 : appendNarrow;
  auto add2 = wide ? appendWide2 : appendNarrow;
  const quint32 rootList = 0;
  add3(f.linkage, 1);
  add3(f.linkage, 2);
  const quint32 bList = quint32(f.linkage.size());
  add2(f.linkage, 14);
  add2(f.linkage, 12);
  const quint32 nList = quint32(f.linkage.size());
  f.linkage.append(char(8));
  for (quint32 i = 4; i <= 11; ++i)
    add3(f.linkage, i);
  f.nodes = {
      {0, false, 2, rootList, {}}, // 0 root
      {'a', true, 1, 3, {}},       // 1
      {'b', false, 2, bList, {}},  // 2
      {'n', true, 0, nList, {}},   // 3
  };
  for (char c : QByteArray("degikoty"))
    f.nodes.push_back({uchar(c), true, 0, HandNoChildren, {}}); // 4 .. 11
  f.nodes.push_back({'y', true, 0, HandNoChildren, {}});        // 12: by
  f.nodes.push_back({'t', true, 0, HandNoChildren, {}});        // 13: beetroot
  f.nodes.push_back({'e', false, 1, 13, "etroo"});              // 14, class 5
  f.entry('a', true, 1, 3);
  f.entry('b', false, 2, bList);
  return f;
}
