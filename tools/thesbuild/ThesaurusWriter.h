#pragma once
// Writes thesaurus files (".wdt") for TThesaurusFile: the trie of words, their links to
// contexts and the contexts' four word lists.
//
// The format addresses nodes, contexts and links with 16-bit numbers and link records with
// 20-bit offsets; Build() refuses (with a clear error) any content that would not fit rather
// than writing a file the reader cannot address.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <map>
#include <vector>

class TThesaurusWriter {
public:
  // Limits of the format.
  static constexpr int MaxNodes = 65536;
  static constexpr int MaxLinkValue = 65535; // link value = context * 5 + kind
  static constexpr int MaxLinksPerWord = 255;
  static constexpr int MaxLinkAreaOffset = (1 << 20) - 1;
  static constexpr int MaxContexts = 65535;

  QString Name;
  QStringList KindNames{QString(), QStringLiteral("noun"), QStringLiteral("verb"),
                        QStringLiteral("adjective"), QStringLiteral("adverb")};
  // Store the letters after a word's last branching point as a shared single-child tail
  // (the EWC form). Off: every word ends on its own node (EW).
  bool UseTailChains = true;

  // Adds a word without links (it may still appear in context lists).
  void AddWord(const QString &word);
  // Adds a context; its words are added as words. Answers the context number.
  int AddContext(const QString &master, const std::array<QStringList, 4> &lists);
  // Links a word to a context with a kind (0 to 4): link value context * 5 + kind.
  void AddLink(const QString &word, int context, int kind);
  // Adds a raw link value (tests of unusual values).
  void AddLinkValue(const QString &word, int value);

  // Builds the file image; false with Error set when the content does not fit the format.
  bool Build(QByteArray &out);
  // Builds and writes the file (see WriteOutputFile: the old file stays on any failure); false
  // with Error set.
  bool WriteFile(const QString &fileName);

  QString Error;
  // Figures of the last successful Build.
  int NodeCount = 0;
  int TrieNodeCount = 0;
  int TailNodeCount = 0;
  int LinkAreaSize = 0;
  int IndexAreaSize = 0;

  int ContextCount() const { return int(FContexts.size()); }
  int WordCount() const { return int(FWords.size()); }

private:
  struct Context {
    QString master;
    std::array<QStringList, 4> lists;
  };
  std::map<QByteArray, std::vector<int>> FWords; // Latin-1 word -> link values
  std::vector<Context> FContexts;
  bool FBadWord = false;
  QString FBadWordText;

  QByteArray Encode(const QString &word);
};

// The number of nodes a file holding exactly these words needs (the figure Build reports as
// NodeCount), for choosing what fits before building. Words are Latin-1 bytes.
int CountThesaurusNodes(const std::vector<QByteArray> &sortedUniqueWords,
                        bool useTailChains = true);
