#pragma once
// A compiled, read-only main dictionary (".wdm"): a byte trie whose single-child chains are
// packed into one node, used in place through a read-only memory mapping of the file.
//
// Every node index, class position and linkage offset taken from the file is checked against
// the mapping before it is followed: a damaged file answers "not found", never reads outside
// the file and never loops. Nodes may be shared: the compiler merges equal subtrees (equal
// endings), so a node is reached by each of its paths and a walk treats it once per path. A
// phonetic walk therefore works within a budget proportional to the word count the header
// claims (WalkBudget): a crafted file whose shared child lists spell millions of paths (or a
// sparse one claiming millions of nodes) cannot make one request follow them all.
//
// Suggest gives the words and order of the plain phonetic walk (SuggestPlain) without doing
// all of its work: each word's phonetic code is kept once computed (per word, per map key,
// until the file changes), the distance to the misspelled word grows one row per
// trie level instead of being recomputed per word, and a subtree none of whose words could
// pass the distance tests is not entered. Those tests only ever refuse a word, so skipping
// words they must refuse changes nothing.

#include "rtCodePage.h"
#include "wrPhoneticsMap.h"
#include "wrUtil.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <memory>
#include <vector>

class QFile;

class TMainDictionary {
public:
  TMainDictionary();
  virtual ~TMainDictionary();
  TMainDictionary(const TMainDictionary &) = delete;
  TMainDictionary &operator=(const TMainDictionary &) = delete;

  // File layout constants shared with the dictionary compiler.
  static constexpr int HeaderSize = 1024;
  static constexpr int LookupSize = 2048; // first-character table: 256 entries of 8 bytes
  static constexpr int CharSetTableSize = 1024;
  static constexpr int NodeClasses = 9; // class k: records of 4 + k bytes
  static constexpr quint32 NoChildren = 0xFFFFF;
  static constexpr quint32 WideLinkageNodeCount = 65535; // from this node count on: BE 2/3-byte
  static constexpr int WordBufferSize = 513;
  static constexpr int SuggestionCap = 2500;
  // The banner at the start of the header block: the full text compared on opening.
  static QByteArray Banner(int minorVersion);

  QString Filename() const { return FFilename; }
  virtual void SetFilename(const QString &F);
  bool Loaded() const { return FLoaded; }
  virtual void SetLoaded(bool V);
  // Why the last SetFilename or load failed; ffNone after a success.
  TFileFailure Failure() const { return FFailure; }

  bool WordExists(const QString &Word);
  int WordLength(const QString &Word);
  // How many leading characters (UTF-16 units) of Word some word of the dictionary starts with:
  // no word that starts with one character more is found. Word.size() when that cannot be told
  // (a word the file's code page cannot hold as bytes of its own).
  int PrefixLength(const QString &Word);
  // Appends dictionary words that sound like Word (by Phonetics' codes) to Suggestions;
  // Suggestions is searched case-insensitively for duplicates.
  void Suggest(const QString &Word, TPhoneticsMap &Phonetics, QStringList &Suggestions);
  // The same walk word by word, every code and distance computed afresh: the reference Suggest
  // is tested against, and the path taken for map classes derived from TPhoneticsMap (whose
  // codes may depend on more than the map's key).
  void SuggestPlain(const QString &Word, TPhoneticsMap &Phonetics, QStringList &Suggestions);
  void WordFound() { ++FWordsFoundCount; }

  // The phonetic codes side file "<name>.wdp" beside "<name>.wdm": every word's code under a few
  // map settings, written when the dictionary is built (wdmc --codes), so that Suggest reads the
  // codes of the words it tests rather than computing them. It is used for a map only when it
  // was written from this very file (checksum), for the map's settings, and the map codes a set of
  // probe words as the writer's did; any other file, a damaged or a crafted one, is ignored
  // whole (a crafted file can only give other suggestions, never a read outside it).
  static QString CodeFileName(const QString &DictionaryFile);
  // The side file's bytes for the codes of Maps (plain TPhoneticsMap objects); empty when the
  // dictionary cannot be opened.
  QByteArray CodeFileImage(const std::vector<const TPhoneticsMap *> &Maps);
  // Codes the phonetic walks took from the side file since the dictionary was opened.
  quint64 CodeFileHits() const { return FCodeFileHits; }

  QString Title() const { return FTitle; }
  quint32 Language() const { return FLanguage; }
  quint32 WordCount() const { return FWordCount; }
  quint32 NodeCount() const { return FNodeCount; }
  int MinorVersion() const { return FMinorVersion; }
  quint32 CodePage() const { return FCodePage; }
  int WordsFoundCount() const { return FWordsFoundCount; }
  // Nodes the last phonetic walk visited (a shared node once per path), and the most one walk
  // may visit: 32 per word of the header's count, plus 1,024. A walk visits at most the nodes of
  // the unshared trie below its prefix; those number 1.9 (es_ES) to 2.4 (en_AU) per word.
  quint64 WalkVisits() const { return FWalkVisits; }
  quint64 WalkBudget() const;
  QString ConfigurationName() const { return FConfigurationName; }
  void SetConfigurationName(const QString &V) { FConfigurationName = V; }

private:
  struct TNode {
    quint32 value = 0; // own character, child reference, child count, end of word
    const uchar *packed = nullptr;
    int k = 0; // class: number of packed bytes
    uchar ch() const { return uchar(value & 0xFF); }
    quint32 ref() const { return (value >> 8) & 0xFFFFF; }
    quint32 count() const { return (value >> 28) & 7; }
    bool endOfWord() const { return (value >> 31) != 0; }
  };
  // A list of children: `number` entries at linkage offset `ref`, or the single node index
  // `ref` when `direct` is set.
  struct TChildren {
    quint32 number = 0;
    quint32 ref = 0;
    bool direct = false;
  };

  void Load();
  void Unload();
  bool GetNode(quint32 index, TNode &node) const;
  bool ReadLinkage(quint32 &position, quint32 &index) const;
  bool ChildrenOf(const TNode &node, TChildren &children) const;
  bool SelectChild(const TChildren &children, uchar c, quint32 &index, TNode &node) const;
  int EncodeWord(const QString &Word, char *buffer) const;
  bool FindWord(const QString &Word, int &matched);
  static int DecidingByte(int matched);
  // From the root, or resumed at position `from` with the memo's child list kept for it.
  template <bool Wide>
  bool FindEncoded(const uchar *word, int &matched, int from) const;
  void SuggestWith(const QString &Word, TPhoneticsMap &Phonetics, QStringList &Suggestions,
                   bool fast);
  void StartPhoneticWalk();
  void WalkPrefix(int prefixLength);
  // Calls visit(child index) for every child that can be read.
  template <class F>
  void ForEachChild(const TChildren &children, F &&visit) const;
  // Counts one visit of a node; false when the walk's budget is spent.
  bool CountVisit();
  // Nodes whose per-node facts (heights, word counts) are kept: at most 2^23, the most a
  // linkage entry can name.
  size_t NodeSlots() const;
  // The plain walk below a node; FAtWord is asked at each word (true: stop this branch).
  bool EnumerateFrom(quint32 index, int position);
  bool ConsiderCandidate(quint32 index);
  bool (TMainDictionary::*FAtWord)(quint32) = &TMainDictionary::ConsiderCandidate;
  // CodeFileImage's walk: every word below a node into FCollected, by its ordinal (the word's
  // place in the walk order from the root); false once an ordinal disagrees with that order.
  bool CollectFrom(quint32 index, int position, quint64 ordinal);
  std::vector<QByteArray> FCollected;
  // The walk of Suggest (see the header comment).
  void PrepareFastWalk(int prefixLength);
  // `ordinal`: the ordinal of the first word below the node (WordsBelow).
  void EnumerateFast(quint32 index, int position, bool ascii, quint64 ordinal);
  bool ConsiderFast(quint64 ordinal, int length, bool ascii);
  // The ordinal of the first word below the node the prefix in FWord (as WalkPrefix left it)
  // ends on.
  quint64 PrefixOrdinal(int prefixLength);
  enum TReach { rhHere = 1, rhBelow = 2 };
  int DistanceRow(int length, uchar c, int longest);
  int Reach(bool others, int last, int length, int longest) const;
  void ClearWalkCaches();
  quint64 Checksum() const;
  int Height(quint32 index, int depth);
  // The number of words at and below the node (kept per node, like heights); saturates at
  // CountLimit, and a damaged file's cycle counts nothing below its repeated node.
  quint64 WordsBelow(quint32 index, int depth);
  void PrepareNodeFacts();
  bool AcceptableWordDistance(int wordDist, int N) const;

  QString FFilename;
  QString FConfigurationName;
  bool FLoaded = false;
  TFileFailure FFailure = ffNone;
  QString FTitle;
  quint32 FLanguage = 0;
  quint32 FWordCount = 0;
  quint32 FNodeCount = 0;
  int FMinorVersion = 0;
  quint32 FCodePage = CP_UTF8;
  QByteArray FCompleteHeader;
  std::array<quint32, NodeClasses> FCharacterCount{};
  // Positions and index starts are kept 64-bit: counts from a damaged file may add up past 2^32.
  std::array<quint64, NodeClasses + 1> FNodePositionStart{};
  std::array<quint64, NodeClasses + 1> FNodeIndexStart{};
  std::unique_ptr<QFile> FFile;
  const uchar *FPFile = nullptr;
  std::unique_ptr<uchar[]> FHeapView; // bad-input test builds only (LW_MAIN_DICTIONARY_HEAP_VIEW)
  quint64 FFileSize = 0;
  quint32 FLinkageSize = 0;
  const uchar *FPLinkage = nullptr;
  bool FWideLinkage = false;
  std::array<const uchar *, NodeClasses> FNodes{};
  std::array<uchar, LookupSize> FLookup{};
  std::array<uchar, CharSetTableSize> FCharSetTable{};
  // The children of each first letter by their letter (node index + 1, 0 for none), filled on a
  // first letter's first lookup: the first-letter lists are the longest, and every candidate
  // of a suggestion request scanned one. FSecondState per first letter: 0 not yet filled,
  // 1 filled, 2 left to the scan (a list that may run past the linkage block). Reset by Load.
  mutable std::vector<quint32> FSecond;
  mutable std::array<uchar, 256> FSecondState{};
  // The last lookup, for the next to start where the two words part: the suggestion generator
  // asks about 1,400 candidates per misspelling, each a one-letter edit of the word, so
  // neighbours share most of their bytes. Its answer followed from its first `decided` + 1 bytes
  // alone; `states` are the child lists it chose from, at byte positions `at` (ascending, from 2
  // on). Reset by Load.
  struct TLookupMemo {
    int length = -1; // of `word`; -1: no lookup to reuse
    int matched = 0;
    int decided = 0;
    bool found = false;
    std::array<uchar, WordBufferSize + 1> word{};
    int stateCount = 0;
    std::array<quint16, WordBufferSize> at{};
    std::array<quint32, WordBufferSize> number{}, ref{};
  };
  mutable TLookupMemo FLast;
  int FWordsFoundCount = 0;

  // State of a running phonetic walk.
  QString FOriginalWord;
  QString FOriginalMap;
  int FOriginalMapLength = 0;
  std::array<char, WordBufferSize> FWord{};
  QStringList *FSuggestions = nullptr;
  TPhoneticsMap *FPhonetics = nullptr;
  quint64 FWalkVisits = 0;
  quint64 FWalkBudget = 0;

  // Phonetic codes of words, per map key, most recently used first (kept until the file
  // changes). Codes belong to words, not nodes: a shared end node ends many words. `ref` holds
  // for each word ordinal 0 (not known) or 1 + the offset of its entry in `pool`: the 64-bit hash
  // of the word's bytes (4 units; a damaged file's counts may give two words one ordinal), the
  // code's length, the code.
  struct TCodeCache {
    TPhoneticsMap::TMappingKey key;
    std::vector<quint32> ref;
    std::vector<char16_t> pool;
    // The side file's section for this key: per word ordinal 0 or 1 + the offset of its entry (a
    // length byte and the code in Latin-1) in `file`.
    QByteArray file;
    std::vector<quint32> fileAt;
  };
  void LoadCodeFile(TCodeCache &Cache);
  static quint32 CodeProbe(const TPhoneticsMap &Map);
  quint64 FCodeFileHits = 0;
  static constexpr int CodeCaches = 4;
  std::vector<std::unique_ptr<TCodeCache>> FCodeCaches;
  // State of the running fast walk: the cache in use, the folded misspelled word (n0 units),
  // one distance row of n0 + 1 cells per word length, each length's folded byte and path hash,
  // the case-folded suggestions, and per word length the largest distance that could pass.
  bool FFast = false;
  bool FWalkFull = false;
  TCodeCache *FCodes = nullptr;
  std::vector<char16_t> FFoldedWord;
  bool FRowsOn = false;
  std::vector<quint8> FRows;
  // The rows above for words of at most 64 letters, bit-parallel; a column per path length.
  TDistanceColumns FColumns;
  bool FColumnsOn = false;
  // The same against the misspelled word's code, for the code distances of the words tested.
  TDistanceColumns FCodeColumns;
  bool FCodeColumnsOn = false;
  std::array<TDistanceColumns::TColumn, WordBufferSize + 1> FColumnAt{};
  std::array<char16_t, WordBufferSize + 1> FPathChar{};
  std::array<quint64, WordBufferSize + 1> FPathHash{};
  QSet<QString> FFolded;
  qsizetype FFoldedCount = 0; // suggestions of this request folded into FFolded
  std::array<qint16, 2 * 255 + 2> FMaxDistance{};
  // FMaxDistance holds the values for a code of two letters (1) or not (0).
  int FMaxDistanceFor = -1;
  // Per node: Height's answer, or one of these marks (kept until the file changes).
  static constexpr int Unbounded = 0x7FFF;
  static constexpr quint16 HeightUnknown = 0xFFFF, HeightInProgress = 0xFFFE, NoWordBelow = 0xFFFD;
  std::vector<quint16> FHeights;
  static constexpr quint32 CountUnknown = 0xFFFFFFFF, CountInProgress = 0xFFFFFFFE,
                           CountLimit = 0xFFFFFFF0;
  std::vector<quint32> FCounts;
  quint64 FWordTotal = 0;     // words below the root (WordsBelow of its children)
  quint64 FCacheChecksum = 0; // of the file the kept codes and heights belong to
};
