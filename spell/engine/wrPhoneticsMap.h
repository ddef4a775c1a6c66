#pragma once
// Phonetic codes: words that sound alike get equal or close codes.
//
// TReplaceNode is a character tree of replacement rules. A path from the root spells a
// pattern; the node where a rule ends holds the replacement and how many characters of the
// text the rule consumes (fewer than the pattern's length when the rest of the pattern is
// only a look-ahead condition). Matching walks the tree as far as the text allows and takes
// the deepest rule end on the way: the longest matching pattern wins.
//
// TPhoneticsMap is the root of such a tree filled with the rule table of a language and
// turns a word into its code (GetMapping).

#include <QString>
#include <QtGlobal>
#include <array>
#include <map>
#include <memory>

class TReplaceNode {
public:
  TReplaceNode();
  virtual ~TReplaceNode();

  TReplaceNode(const TReplaceNode &) = delete;
  TReplaceNode &operator=(const TReplaceNode &) = delete;

  // True when a rule matches Text at Index (1-based); Dest and SourceLength come from the
  // longest matching rule. Dest is empty when nothing matches.
  virtual bool Match(const QString &Text, QString &Dest, int Index, int &SourceLength) const;
  // Frees all children; the node has no children afterwards.
  virtual void ClearMap();
  // Pattern Source gives Dest and consumes SourceLength characters; a rule with the same
  // pattern replaces the earlier one.
  virtual void AddMap(const QString &Source, const QString &Dest, int SourceLength);

  // A rule as Match reports it, its replacement a view into the tree (valid until the rules
  // change).
  struct TRuleView {
    const char16_t *Dest = nullptr;
    qsizetype DestSize = 0;
    int SourceLength = 0;
  };

  bool HasChildren() const { return FChildren; }
  bool IsDestination() const { return FDestination; }

protected:
  using TChildTable = std::array<std::unique_ptr<TReplaceNode>, 256>;

  // What Match finds, without copying the replacement: the longest rule matching Text at Index
  // (0-based; reads Text[Index..Size)). Rule is unchanged when nothing matches.
  // Inline: GetMapping calls it for every character it codes.
  inline bool LongestMatch(const char16_t *Text, qsizetype Size, qsizetype Index,
                           TRuleView &Rule) const;

  TReplaceNode *FindChild(QChar c) const;
  TReplaceNode *FindOrCreateChild(QChar c);

  // What a walk through the tree reads comes first, on one cache line.
  bool FChildren = false;
  bool FDestination = false;
  int FSourceLength = 0;
  // Children for code units 0 to 255, indexed directly. Allocated with the first such child:
  // most nodes of a rule tree are leaves.
  std::unique_ptr<TChildTable> FTree;
  QString FDestWord;
  // Children for code units above 255, keyed by the code unit (case-sensitive).
  std::map<char16_t, std::unique_ptr<TReplaceNode>> FStringTree;
};

bool TReplaceNode::LongestMatch(const char16_t *Text, qsizetype Size, qsizetype Index,
                                TRuleView &Rule) const
{
  // The deepest rule end on the path the text spells wins, as in Match's recursion.
  const TReplaceNode *found = nullptr;
  for (const TReplaceNode *node = this; node;) {
    if (node->FDestination)
      found = node;
    if (Index >= Size)
      break;
    const char16_t c = Text[Index++];
    if (c <= 0xFF) // FindChild's common case, here without the call
      node = node->FTree ? (*node->FTree)[c].get() : nullptr;
    else
      node = node->FindChild(QChar(c));
  }
  if (!found)
    return false;
  Rule.Dest = reinterpret_cast<const char16_t *>(found->FDestWord.constData());
  Rule.DestSize = found->FDestWord.size();
  Rule.SourceLength = found->FSourceLength;
  return true;
}

class TPhoneticsMap : public TReplaceNode {
public:
  // No rules until Language is first written.
  TPhoneticsMap();
  ~TPhoneticsMap() override;

  static constexpr quint32 NoLanguage = 0xFFFFFFFFu;

  // Loads the rule table chosen by the low byte of V (9 English, 25 Russian, 12 French, any
  // other the default table); writing the current value keeps the tree.
  virtual void SetLanguage(quint32 V);
  // Leading characters copied into the code unchanged; values of 0 or less are ignored.
  virtual void SetStartDepth(int V);
  // The phonetic code of Word; an empty word gives an empty code. The codes of a subclass come
  // from its Match.
  virtual QString GetMapping(const QString &Word) const;
  // True when a suggestion at distance Dist from OldWord may be offered.
  // A DistanceDivisor of 0 or less puts no bound by length (only DistanceMax applies).
  virtual bool AcceptableDistance(const QString &OldWord, int Dist) const;

  // What GetMapping's codes depend on: two maps of this class with equal keys give every word
  // the same code, so codes may be kept and reused while the key stays the same. Rules added
  // or cleared outside a language table give a key no other map state has.
  struct TMappingKey {
    quint64 Rules = 0; // the language table loaded, or a unique number after other rule edits
    int StartDepth = 0;
    int Limit = 0;
    bool RemoveDupes = false;
    bool operator==(const TMappingKey &) const = default;
  };
  TMappingKey MappingKey() const { return {FRulesKey, FStartDepth, FLimit, FRemoveDupes}; }

  void ClearMap() override;
  void AddMap(const QString &Source, const QString &Dest, int SourceLength) override;

  quint32 Language() const { return FLanguage; }
  int StartDepth() const { return FStartDepth; }
  bool RemoveDupes() const { return FRemoveDupes; }
  void SetRemoveDupes(bool V) { FRemoveDupes = V; }
  int Limit() const { return FLimit; }
  void SetLimit(int V) { FLimit = V; }
  int DistanceDivisor() const { return FDistanceDivisor; }
  void SetDistanceDivisor(int V) { FDistanceDivisor = V; }
  int DistanceMax() const { return FDistanceMax; }
  void SetDistanceMax(int V) { FDistanceMax = V; }

protected:
  // GetMapping with the tree walked directly: right for any map whose Match is TReplaceNode's
  // own, which GetMapping knows only of this class itself (a subclass may override Match).
  QString TreeMapping(const QString &Word) const;
  // GetMapping through the virtual Match.
  QString MatchMapping(const QString &Word) const;

  void AddEnglishRules();
  void AddRussianRules();
  void AddFrenchRules();
  void AddDefaultRules();

  int FStartDepth = 1;
  bool FRemoveDupes = true;
  int FLimit = 6;
  quint32 FLanguage = NoLanguage;
  int FDistanceDivisor = 2;
  int FDistanceMax = 4;
  quint64 FRulesKey = 0; // no rules

private:
  // Trees of language tables this map loaded before, untouched since: the check session
  // switches between the English and the default table whenever a word gets few suggestions,
  // and the rebuilds came to 1.5 % of the instructions of a suggestion request (callgrind).
  struct TSavedTree {
    std::unique_ptr<TChildTable> Tree;
    std::map<char16_t, std::unique_ptr<TReplaceNode>> StringTree;
    bool Children = false;
  };
  std::map<quint64, TSavedTree> FSavedTrees;
};
