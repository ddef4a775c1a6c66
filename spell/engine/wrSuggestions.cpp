#include "wrSuggestions.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int UnlimitedCount = 65535;
constexpr int MaxWordLength = 250;

// Letters of the 8-bit Cyrillic code page that sit below U+00E0 (ё, Ё, №, і, ї).
constexpr char16_t TrailingLetters[] = u"\u00B8\u00A8\u00B9\u00B3\u00BF";

// Extra letters per language, appended to both sets.
constexpr char16_t CzechLetters[] =
    u"\u00E1\u00E8\u00EF\u00E9\u00EC\u00ED\u00F2\u00F3\u00F8\u0161\u009D\u00FA\u00F9\u00FD\u017E"
    u"\u00C1\u00C8\u00CF\u00C9\u00CC\u00CD\u00D2\u00D3\u00D8\u0160\u008D\u00DA\u00D9\u00DD\u017D";
constexpr char16_t FrenchLetters[] = u"\u0153";
constexpr char16_t RussianLetters[] = u"\u00B2\u00A2\u00B1\u00A1\u00BC\u00AC\u00B6\u00A6";
constexpr char16_t PolishLetters[] = u"\u00B9\u00E6\u00EA\u00B3\u00B3\u00F1\u00F3\u0153\u00BF\u0178"
                                     u"\u00A5\u00C6\u00CA\u00A3\u00D1\u00D3\u0152\u00AF\u008F";

bool IsLower(const QString &s) { return s == s.toLower(); }

// Restores a character set when the request ends, also when the word test throws.
class TCharSetRestore {
public:
  explicit TCharSetRestore(QString &Set) : FSet(Set), FSaved(Set) {}
  ~TCharSetRestore() { FSet = std::move(FSaved); }
  TCharSetRestore(const TCharSetRestore &) = delete;
  TCharSetRestore &operator=(const TCharSetRestore &) = delete;

private:
  QString &FSet;
  QString FSaved;
};

} // namespace

QString TSuggestionsGenerator::DefaultUsageCharSet()
{
  QString s;
  s += u'\'';
  for (char16_t c = u'a'; c <= u'z'; ++c)
    s += QChar(c);
  s += QStringLiteral(u"\u00D7\u00DE\u00DF");
  for (char16_t c = 0x00E0; c <= 0x00FF; ++c)
    s += QChar(c);
  s += QString::fromUtf16(TrailingLetters);
  return s;
}

QString TSuggestionsGenerator::DefaultStartCharSet()
{
  QString s;
  s += u'\'';
  for (char16_t c = u'a'; c <= u'z'; ++c)
    s += QChar(c);
  for (char16_t c = u'A'; c <= u'Z'; ++c)
    s += QChar(c);
  for (char16_t c = 0x00C0; c <= 0x00FF; ++c)
    s += QChar(c);
  s += QString::fromUtf16(TrailingLetters);
  return s;
}

TSuggestionsGenerator::TSuggestionsGenerator()
    : FUsageCharSet(DefaultUsageCharSet()), FStartCharSet(DefaultStartCharSet())
{
}

TSuggestionsGenerator::~TSuggestionsGenerator() = default;

void TSuggestionsGenerator::SetLanguage(quint32 V)
{
  if (V == FLanguage)
    return;
  FLanguage = V;
  SetDefaultSuggestionTypes(FDefaultSuggestionTypes);
  // The sets are never reset: switching back to a language appends its letters again,
  // which only repeats tests.
  const char16_t *extra = nullptr;
  if (V == 1029)
    extra = CzechLetters;
  else if ((V & 0xFF) == 12)
    extra = FrenchLetters;
  else if (V == 1049)
    extra = RussianLetters;
  else if (V == 1045)
    extra = PolishLetters;
  if (extra) {
    const QString letters = QString::fromUtf16(extra);
    FUsageCharSet += letters;
    FStartCharSet += letters;
  }
}

void TSuggestionsGenerator::SetDefaultSuggestionTypes(bool V)
{
  FDefaultSuggestionTypes = V;
  if (!V)
    return;
  FSuggestionTypes = AllSuggestionTypes;
  if (FLanguage == 1053) // Swedish writes compounds as one word: no split suggestions
    FSuggestionTypes.Exclude(TSuggestionType::stSplitWord);
}

void TSuggestionsGenerator::SetSuggestionTypes(TSuggestionTypes V)
{
  FSuggestionTypes = V * AllSuggestionTypes;
  FDefaultSuggestionTypes = false;
}

bool TSuggestionsGenerator::Exists(const QString &Word) const
{
  bool exists = false;
  FExistsFunc(Word, exists);
  return exists;
}

void TSuggestionsGenerator::AddSuggestion(const QString &S)
{
  // The list's own search may ignore case and find another casing first; only an entry
  // spelled exactly like S makes S a duplicate.
  const int i = FWords->IndexOf(S);
  if (i >= 0) {
    for (int k = i; k < FWords->Count(); ++k)
      if (FWords->Strings(k) == S)
        return;
  }
  FWords->Add(S);
}

bool TSuggestionsGenerator::TestCandidate(const QString &K)
{
  if (K.size() < 2)
    return false;
  if (!Exists(K))
    return false;
  if (ListFull())
    return true;
  if (FWordIsLower && !IsLower(K)) {
    // The lower-case form is found by its own edit.
    if (Exists(K.toLower()))
      return false;
  }
  if (FRestrictCase && !IsLower(K)) {
    const QString tail = K.mid(1);
    if (tail != tail.toLower() && tail != tail.toUpper())
      return false;
  }
  AddSuggestion(K);
  return false;
}

bool TSuggestionsGenerator::TryTranspositions(int Distance)
{
  if (FLength <= Distance + 1)
    return false;
  QString k = FWord;
  for (int i = std::min(FLength - Distance - 1, FLastEdit); i >= 0; --i) {
    std::swap(k[i], k[i + Distance]);
    if (TestCandidate(k))
      return true;
    std::swap(k[i], k[i + Distance]);
  }
  return false;
}

bool TSuggestionsGenerator::TryInsertions()
{
  // Insert before every position from the end back to the second character.
  for (int p = std::min(FLength, FLastEdit); p >= 1; --p) {
    QString k = FWord;
    k.insert(p, QChar(u' '));
    for (const QChar c : std::as_const(FUsageCharSet)) {
      k[p] = c;
      if (TestCandidate(k))
        return true;
    }
  }
  QString k = FWord;
  k.prepend(QChar(u' '));
  for (const QChar c : std::as_const(FStartCharSet)) {
    k[0] = c;
    if (TestCandidate(k))
      return true;
  }
  return false;
}

bool TSuggestionsGenerator::TryDeletions()
{
  for (int p = std::min(FLength - 1, FLastEdit); p >= 0; --p) {
    QString k = FWord;
    k.remove(p, 1);
    if (TestCandidate(k))
      return true;
  }
  return false;
}

bool TSuggestionsGenerator::TrySubstitutions()
{
  QString k = FWord;
  for (int p = std::min(FLength - 1, FLastEdit); p >= 1; --p) {
    const QChar original = k[p];
    for (const QChar c : std::as_const(FUsageCharSet)) {
      k[p] = c;
      if (TestCandidate(k))
        return true;
    }
    k[p] = original;
  }
  for (const QChar c : std::as_const(FStartCharSet)) {
    k[0] = c;
    if (TestCandidate(k))
      return true;
  }
  return false;
}

bool TSuggestionsGenerator::TrySplits()
{
  if (FLength >= 4) {
    for (int i = 2; i <= FLength - 2; ++i) {
      const QString left = FWord.left(i);
      const QString right = FWord.mid(i);
      if (Exists(left) && Exists(right)) {
        if (ListFull())
          return true;
        AddSuggestion(left + u' ' + right);
      }
    }
  }
  // A missing space after a full stop: "end.The" -> "end.  The".
  const int dot = FWord.lastIndexOf(u'.');
  if (dot > 0 && dot + 1 < FLength) {
    const QString next = FWord.mid(dot + 1, 1);
    if (next == next.toUpper() && Exists(FWord.left(dot)) && Exists(FWord.mid(dot + 1)) &&
        !ListFull())
      AddSuggestion(FWord.left(dot + 1) + QStringLiteral("  ") + FWord.mid(dot + 1));
  }
  return false;
}

void TSuggestionsGenerator::GenerateAll(const QString &W)
{
  FLength = W.size();
  if (!FExistsFunc || !FWords || W.isEmpty() || FMaxCount <= 0 || FLength > MaxWordLength)
    return;
  FWord = W;
  FWordIsLower = IsLower(W);
  FLastEdit = FLength;
  if (FPrefixFunc)
    FLastEdit = std::clamp(FPrefixFunc(W), 0, FLength);

  const TCharSetRestore restore(FUsageCharSet);
  // A word with a capital gets capitals tried at every position.
  if (!FWordIsLower)
    FUsageCharSet = FStartCharSet;

  if (HasType(TSuggestionType::stTransposition) && TryTranspositions(1))
    return;
  if (HasType(TSuggestionType::stSingleDeletion) && TryInsertions())
    return;
  if (HasType(TSuggestionType::stInsertion) && TryDeletions())
    return;
  if (HasType(TSuggestionType::stSubstitution) && TrySubstitutions())
    return;
  if (HasType(TSuggestionType::stTransposition) && TryTranspositions(2))
    return;
  if (HasType(TSuggestionType::stSplitWord))
    TrySplits();
}

void TSuggestionsGenerator::Suggest(const QString &Word, int MaxSuggestions, TStringList *Words,
                                    const TExistsEvent &ExistsFunc, const TPrefixEvent &PrefixFunc)
{
  FWords = Words;
  FExistsFunc = ExistsFunc;
  FPrefixFunc = PrefixFunc;
  FMaxCount = MaxSuggestions == -1 ? UnlimitedCount : MaxSuggestions;

  GenerateAll(Word);
  if (Word != Word.toUpper() && Word != Word.toLower()) {
    // Mixed case: try again on the capitalised form, or on the lower-case word.
    const QString first = Word.left(1);
    if (first == first.toUpper())
      GenerateAll(first + Word.mid(1).toLower());
    else
      GenerateAll(Word.toLower());
  }

  FWords = nullptr;
  FExistsFunc = nullptr;
  FPrefixFunc = nullptr;
}
