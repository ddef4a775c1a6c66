#include "wrPhoneticsMap.h"

#include <QVarLengthArray>

#include <atomic>
#include <typeinfo>

namespace {

struct TRule {
  const char16_t *Source;
  const char16_t *Dest;
  int SourceLength;
};

// English: the rule ends at the first letters of a pattern; the rest is look-ahead.
const TRule EnglishRules[] = {
    {u"b", u"b", 1},   {u"cia", u"x", 1}, {u"ch", u"x", 2},  {u"ci", u"s", 1},   {u"ce", u"s", 1},
    {u"cy", u"s", 1},  {u"c", u"k", 1},   {u"dge", u"j", 2}, {u"dgy", u"j", 2},  {u"dgi", u"j", 2},
    {u"d", u"t", 1},   {u"f", u"f", 1},   {u"gha", u"k", 2}, {u"ghe", u"k", 2},  {u"ghi", u"k", 2},
    {u"gho", u"k", 2}, {u"ghu", u"k", 2}, {u"ghy", u"k", 2}, {u"gh", u"", 2},    {u"gn", u"n", 2},
    {u"gi", u"j", 1},  {u"ge", u"j", 1},  {u"gy", u"j", 1},  {u"g", u"k", 1},    {u"h", u"h", 1},
    {u"aha", u"h", 2}, {u"ahe", u"h", 2}, {u"ahi", u"h", 2}, {u"aho", u"h", 2},  {u"ahu", u"h", 2},
    {u"eha", u"h", 2}, {u"ehe", u"h", 2}, {u"ehi", u"h", 2}, {u"eho", u"h", 2},  {u"ehu", u"h", 2},
    {u"iha", u"h", 2}, {u"ihe", u"h", 2}, {u"ihi", u"h", 2}, {u"iho", u"h", 2},  {u"ihu", u"h", 2},
    {u"oha", u"h", 2}, {u"ohe", u"h", 2}, {u"ohi", u"h", 2}, {u"oho", u"h", 2},  {u"ohu", u"h", 2},
    {u"uha", u"h", 2}, {u"uhe", u"h", 2}, {u"uhi", u"h", 2}, {u"uho", u"h", 2},  {u"uhu", u"h", 2},
    {u"ah", u"", 2},   {u"eh", u"", 2},   {u"ih", u"", 2},   {u"oh", u"", 2},    {u"uh", u"", 2},
    {u"j", u"j", 1},   {u"ck", u"k", 2},  {u"k", u"k", 1},   {u"lly", u"ly", 3}, {u"ly", u"ly", 2},
    {u"l", u"l", 1},   {u"m", u"m", 1},   {u"n", u"n", 1},   {u"ph", u"f", 2},   {u"p", u"p", 1},
    {u"q", u"k", 1},   {u"r", u"r", 1},   {u"sh", u"x", 2},  {u"sio", u"x", 1},  {u"sia", u"x", 1},
    {u"s", u"s", 1},   {u"tia", u"x", 1}, {u"tio", u"x", 1}, {u"th", u"0", 2},   {u"tch", u"x", 3},
    {u"t", u"t", 1},   {u"v", u"f", 1},   {u"wa", u"w", 1},  {u"we", u"w", 1},   {u"wi", u"w", 1},
    {u"wo", u"w", 1},  {u"wu", u"w", 1},  {u"wy", u"w", 1},  {u"x", u"ks", 1},   {u"ya", u"y", 1},
    {u"ye", u"y", 1},  {u"yi", u"y", 1},  {u"yo", u"y", 1},  {u"yu", u"y", 1},   {u"yy", u"y", 2},
    {u"z", u"s", 1},
};

// Russian rules are written with the code points of the 8-bit Cyrillic code page
// (U+00E0..U+00FF), so UTF-16 Cyrillic text matches none of them.
const TRule RussianRules[] = {
    {u"\u00E1", u"\u00E1\u00FC", 1},
    {u"\u00E2", u"\u00E2\u00FC", 1},
    {u"\u00E3", u"\u00E3\u00FC", 1},
    {u"\u00E4", u"\u00F2", 1},
    {u"\u00E7", u"\u00F1", 1},
    {u"\u00EA", u"\u00E3", 1},
    {u"\u00EB", u"\u00EB\u00FC", 1},
    {u"\u00EC", u"\u00EC\u00FC", 1},
    {u"\u00ED", u"\u00ED\u00FC", 1},
    {u"\u00EF", u"\u00EF\u00FC", 1},
    {u"\u00F0", u"\u00F0\u00FC", 1},
    {u"\u00F1", u"\u00F1\u00FC", 1},
    {u"\u00F2", u"\u00F2\u00FC", 1},
    {u"\u00E6", u"\u00F8", 1},
    {u"\u00EE", u"\u00E0", 1},
    {u"\u00EE\u00F0\u00EE", u"\u00EE\u00F0\u00E0", 3},
    {u"\u00EE\u00EB\u00EE", u"\u00EE\u00EB\u00E0", 3},
    {u"\u00ED\u00ED", u"\u00ED", 2},
    {u"\u00F1\u00F1", u"\u00F1", 2},
    {u"\u00E5\u00E5", u"\u00E5", 2},
    {u"\u00E6\u00E8", u"\u00E6\u00FB", 2},
    {u"\u00F8\u00E8", u"\u00F8\u00FB", 2},
    {u"\u00F9", u"\u00F8\u00FC", 1},
    {u"\u00F9\u00F3", u"\u00F8\u00FE", 2},
    {u"\u00F1\u00F7", u"\u00F9", 2},
    {u"\u00F1\u00F8", u"\u00F8", 1},
};

const TRule FrenchRules[] = {
    {u"b", u"b", 1}, {u"p", u"b", 1}, {u"c", u"c", 1}, {u"k", u"c", 1}, {u"q", u"c", 1},
    {u"d", u"d", 1}, {u"t", u"d", 1}, {u"l", u"l", 1}, {u"m", u"m", 1}, {u"n", u"m", 1},
    {u"r", u"r", 1}, {u"g", u"g", 1}, {u"j", u"g", 1}, {u"x", u"x", 1}, {u"z", u"x", 1},
    {u"s", u"x", 1}, {u"f", u"f", 1}, {u"v", u"f", 1},
};

const TRule DefaultRules[] = {
    {u"b", u"b", 1}, {u"f", u"b", 1}, {u"p", u"b", 1}, {u"v", u"b", 1}, {u"c", u"k", 1},
    {u"g", u"k", 1}, {u"j", u"k", 1}, {u"k", u"k", 1}, {u"q", u"k", 1}, {u"s", u"k", 1},
    {u"x", u"k", 1}, {u"z", u"k", 1}, {u"d", u"d", 1}, {u"t", u"d", 1}, {u"l", u"l", 1},
    {u"m", u"m", 1}, {u"n", u"m", 1}, {u"r", u"r", 1},
};

// Rule keys: 1 to 4 name the language tables; edits outside them draw a fresh number above.
enum TRuleTable : quint64 { rtEnglish = 1, rtRussian, rtFrench, rtDefault };
std::atomic<quint64> LastCustomRules{1ull << 32};

const char16_t *Units(const QString &S)
{
  return reinterpret_cast<const char16_t *>(S.constData());
}

// Lower case of Word into Out when every code unit is Latin-1, whose lower case is one code
// unit of Latin-1 again (A-Z and U+00C0..U+00DE but U+00D7 move up by 0x20); false otherwise.
// QString::toLower took a third of GetMapping's time over the shipped word list.
bool LowerLatin1(const QString &Word, char16_t *Out)
{
  const char16_t *in = Units(Word);
  const qsizetype size = Word.size();
  char16_t any = 0;
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t c = in[i];
    any |= c;
    const bool upper = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    Out[i] = upper ? char16_t(c + 0x20) : c;
  }
  return any <= 0xFF;
}

// The code of the lower-cased word W. Find(Index, Rule) reports the longest rule at the 0-based
// Index as TReplaceNode::Match does.
template <typename TFind>
QString CodeOf(const char16_t *W, qsizetype Size, int StartDepth, int Limit, bool RemoveDupes,
               bool English, TFind &&Find)
{
  if (Size == 0)
    return QString();
  QVarLengthArray<char16_t, 64> C;
  int budget = Limit;
  qsizetype pos = 0; // characters of W already consumed
  if (StartDepth > 0) {
    pos = qMin(qsizetype(StartDepth), Size);
    C.append(W, pos);
  }
  const auto code = [&C] {
    return QString(reinterpret_cast<const QChar *>(C.constData()), C.size());
  };
  bool previousUnmatched = false;
  while (pos < Size) {
    TReplaceNode::TRuleView rule;
    rule.SourceLength = 1;
    if (Find(pos, rule)) {
      int n = rule.SourceLength;
      const bool repeat = RemoveDupes && !C.isEmpty() && n == 1 && !previousUnmatched &&
                          rule.DestSize > 0 && rule.Dest[0] == C.back();
      if (!repeat) {
        // Replacements are a character or two: append(ptr, n) is an out-of-line call.
        for (qsizetype i = 0; i < rule.DestSize; ++i)
          C.append(rule.Dest[i]);
        budget -= int(rule.DestSize);
        if (budget <= 0)
          return code();
      }
      previousUnmatched = false;
      // A rule always moves on, even one written to consume nothing.
      if (n < 1)
        n = 1;
      pos += n;
    } else {
      previousUnmatched = true;
      if (pos == Size - 1 && English && W[pos] == u'y')
        C.append(u'y');
      ++pos;
    }
  }
  return code();
}

template <std::size_t N>
void AddRules(TReplaceNode &Root, const TRule (&Rules)[N])
{
  for (const TRule &r : Rules)
    Root.AddMap(QString::fromUtf16(r.Source), QString::fromUtf16(r.Dest), r.SourceLength);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TReplaceNode

TReplaceNode::TReplaceNode() = default;

TReplaceNode::~TReplaceNode() { ClearMap(); }

TReplaceNode *TReplaceNode::FindChild(QChar c) const
{
  const char16_t u = c.unicode();
  if (u <= 0xFF)
    return FTree ? (*FTree)[u].get() : nullptr;
  const auto it = FStringTree.find(u);
  return it == FStringTree.end() ? nullptr : it->second.get();
}

TReplaceNode *TReplaceNode::FindOrCreateChild(QChar c)
{
  const char16_t u = c.unicode();
  std::unique_ptr<TReplaceNode> *slot;
  if (u <= 0xFF) {
    if (!FTree)
      FTree = std::make_unique<TChildTable>();
    slot = &(*FTree)[u];
  } else {
    slot = &FStringTree[u];
  }
  if (!*slot)
    *slot = std::make_unique<TReplaceNode>();
  return slot->get();
}

bool TReplaceNode::Match(const QString &Text, QString &Dest, int Index, int &SourceLength) const
{
  Dest.clear();
  if (Index >= 1 && Index <= Text.size()) {
    if (const TReplaceNode *child = FindChild(Text.at(Index - 1))) {
      if (child->Match(Text, Dest, Index + 1, SourceLength))
        return true;
    }
  }
  if (FDestination) {
    Dest = FDestWord;
    SourceLength = FSourceLength;
    return true;
  }
  return false;
}

void TReplaceNode::ClearMap()
{
  FTree.reset();
  FStringTree.clear();
  FChildren = false;
}

void TReplaceNode::AddMap(const QString &Source, const QString &Dest, int SourceLength)
{
  if (Source.isEmpty()) {
    FDestination = true;
    FDestWord = Dest;
    FSourceLength = SourceLength;
    return;
  }
  FChildren = true;
  FindOrCreateChild(Source.at(0))->AddMap(Source.mid(1), Dest, SourceLength);
}

// ---------------------------------------------------------------------------------------------
// TPhoneticsMap

TPhoneticsMap::TPhoneticsMap() = default;

TPhoneticsMap::~TPhoneticsMap() = default;

void TPhoneticsMap::SetLanguage(quint32 V)
{
  if (V == FLanguage)
    return;
  FLanguage = V;
  quint64 table;
  switch (V & 0xFF) {
  case 9:
    table = rtEnglish;
    break;
  case 25:
    table = rtRussian;
    break;
  case 12:
    table = rtFrench;
    break;
  default:
    table = rtDefault;
    break;
  }
  // A table's tree as it was loaded is kept for the next switch back to it.
  if (FRulesKey >= rtEnglish && FRulesKey <= rtDefault)
    FSavedTrees[FRulesKey] = {std::move(FTree), std::move(FStringTree), FChildren};
  ClearMap();
  const auto saved = FSavedTrees.find(table);
  if (saved != FSavedTrees.end()) {
    FTree = std::move(saved->second.Tree);
    FStringTree = std::move(saved->second.StringTree);
    FChildren = saved->second.Children;
    FSavedTrees.erase(saved);
  } else if (table == rtEnglish) {
    AddEnglishRules();
  } else if (table == rtRussian) {
    AddRussianRules();
  } else if (table == rtFrench) {
    AddFrenchRules();
  } else {
    AddDefaultRules();
  }
  FRulesKey = table;
}

void TPhoneticsMap::ClearMap()
{
  TReplaceNode::ClearMap();
  FRulesKey = ++LastCustomRules;
}

void TPhoneticsMap::AddMap(const QString &Source, const QString &Dest, int SourceLength)
{
  TReplaceNode::AddMap(Source, Dest, SourceLength);
  FRulesKey = ++LastCustomRules;
}

void TPhoneticsMap::SetStartDepth(int V)
{
  if (V > 0)
    FStartDepth = V;
}

void TPhoneticsMap::AddEnglishRules() { AddRules(*this, EnglishRules); }

void TPhoneticsMap::AddRussianRules() { AddRules(*this, RussianRules); }

void TPhoneticsMap::AddFrenchRules() { AddRules(*this, FrenchRules); }

void TPhoneticsMap::AddDefaultRules() { AddRules(*this, DefaultRules); }

QString TPhoneticsMap::GetMapping(const QString &Word) const
{
  return typeid(*this) == typeid(TPhoneticsMap) ? TreeMapping(Word) : MatchMapping(Word);
}

// Codes built in place with the rules read from the tree: 90 ns a word of the shipped list
// instead of 190 through toLower and Match, which copies a QString per rule
// (BM_PhoneticCode_Linewright). A flattened copy of the tree (one table step per character, no
// pointers) measured 10 % slower than this walk and is not worth its upkeep.
QString TPhoneticsMap::TreeMapping(const QString &Word) const
{
  const bool english = (FLanguage & 0xFF) == 9;
  QVarLengthArray<char16_t, 64> lower(Word.size());
  QString folded;
  const char16_t *w = lower.data();
  qsizetype size = Word.size();
  if (!LowerLatin1(Word, lower.data())) {
    folded = Word.toLower(); // may differ in length (U+0130)
    w = Units(folded);
    size = folded.size();
  }
  return CodeOf(
      w, size, FStartDepth, FLimit, FRemoveDupes, english,
      [&](qsizetype Index, TRuleView &Rule) { return LongestMatch(w, size, Index, Rule); });
}

QString TPhoneticsMap::MatchMapping(const QString &Word) const
{
  const QString w = Word.toLower();
  QString dest;
  return CodeOf(Units(w), w.size(), FStartDepth, FLimit, FRemoveDupes, (FLanguage & 0xFF) == 9,
                [&](qsizetype Index, TRuleView &Rule) {
                  int n = Rule.SourceLength;
                  if (!Match(w, dest, int(Index + 1), n))
                    return false;
                  Rule.Dest = Units(dest);
                  Rule.DestSize = dest.size();
                  Rule.SourceLength = n;
                  return true;
                });
}

bool TPhoneticsMap::AcceptableDistance(const QString &OldWord, int Dist) const
{
  if (Dist > FDistanceMax)
    return false;
  if (FDistanceDivisor <= 0)
    return true;
  return OldWord.size() / FDistanceDivisor >= Dist;
}
