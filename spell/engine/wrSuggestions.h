#pragma once
// Edit-based suggestions: corrections for a misspelled word made by editing it one step at a
// time (insert, delete, replace or swap characters, split into two words), keeping every edit
// the caller's word test accepts. The generator knows no dictionary and does not rank: it
// appends candidates in the order it finds them and stops at a limit.

#include "rtStringList.h"
#include "rtTypes.h"

#include <QString>
#include <QtGlobal>
#include <functional>

// The kinds of typing error to repair, named after the error in the misspelled word.
enum class TSuggestionType : unsigned {
  stSingleDeletion = 0, // a letter was left out: insert one
  stTransposition = 1,  // two letters were swapped: swap back
  stInsertion = 2,      // an extra letter was typed: delete one
  stSubstitution = 3,   // a wrong letter was typed: replace one
  stSplitWord = 4,      // two words were run together: split
};
using TSuggestionTypes = TSet<TSuggestionType, quint8>;

inline constexpr TSuggestionTypes SuggestionTypeBit(TSuggestionType t) { return t; }
inline constexpr TSuggestionTypes AllSuggestionTypes =
    TSuggestionTypes::Range(TSuggestionType::stSingleDeletion, TSuggestionType::stSplitWord);

// The caller's word test: sets Exists when Word is a valid word.
using TExistsEvent = std::function<void(const QString &Word, bool &Exists)>;
// The caller's prefix test: how many leading characters (UTF-16 units) of Word some word its word
// test accepts starts with; Word.size() when Word itself may begin one, or when it cannot tell.
// An edit after that many characters keeps one character too many of Word and is not tested.
using TPrefixEvent = std::function<int(const QString &Word)>;

class TSuggestionsGenerator {
public:
  TSuggestionsGenerator();
  virtual ~TSuggestionsGenerator();

  TSuggestionsGenerator(const TSuggestionsGenerator &) = delete;
  TSuggestionsGenerator &operator=(const TSuggestionsGenerator &) = delete;

  // Re-applies the default types and appends the language's extra letters to both sets.
  virtual void SetLanguage(quint32 V);
  // When true, the types follow the defaults of the current language.
  virtual void SetDefaultSuggestionTypes(bool V);
  // Takes the set and turns the language defaults off.
  virtual void SetSuggestionTypes(TSuggestionTypes V);

protected:
  // Appends S unless the list already holds exactly S (other casings may coexist).
  virtual void AddSuggestion(const QString &S);
  // Tests one candidate; answers true ("stop") when a valid candidate is found while the
  // list already holds more than the limit.
  virtual bool TestCandidate(const QString &K);
  virtual bool TryInsertions();
  virtual bool TryTranspositions(int Distance);
  virtual bool TryDeletions();
  virtual bool TrySubstitutions();
  virtual bool TrySplits();
  virtual void GenerateAll(const QString &W);

public:
  // Appends candidates for Word to Words. MaxSuggestions -1 means 65,535; a request adds at
  // most one entry beyond the limit. A mixed-case word gets a second pass on a re-cased form.
  // PrefixFunc (optional) spares the word test the candidates it would refuse: the same words
  // come out in the same order.
  virtual void Suggest(const QString &Word, int MaxSuggestions, TStringList *Words,
                       const TExistsEvent &ExistsFunc, const TPrefixEvent &PrefixFunc = {});

  quint32 Language() const { return FLanguage; }
  const QString &UsageCharSet() const { return FUsageCharSet; }
  void SetUsageCharSet(const QString &V) { FUsageCharSet = V; }
  const QString &StartCharSet() const { return FStartCharSet; }
  void SetStartCharSet(const QString &V) { FStartCharSet = V; }
  bool DefaultSuggestionTypes() const { return FDefaultSuggestionTypes; }
  TSuggestionTypes SuggestionTypes() const { return FSuggestionTypes; }
  bool RestrictSuggestionCase() const { return FRestrictCase; }
  void SetRestrictSuggestionCase(bool V) { FRestrictCase = V; }

  // The sets a new generator starts with (the order decides which candidates come first).
  static QString DefaultUsageCharSet();
  static QString DefaultStartCharSet();

protected:
  bool Exists(const QString &Word) const;
  bool HasType(TSuggestionType t) const { return FSuggestionTypes.Contains(t); }
  bool ListFull() const { return FWords->Count() > FMaxCount; }

  // Request state, meaningful only during GenerateAll.
  QString FWord;
  int FLength = 0;
  TStringList *FWords = nullptr;
  TExistsEvent FExistsFunc;
  TPrefixEvent FPrefixFunc;
  // Edits at positions past this keep a prefix of FWord no accepted word starts with.
  int FLastEdit = 0;
  int FMaxCount = 0;
  bool FWordIsLower = false;

  quint32 FLanguage = 0;
  QString FUsageCharSet;
  QString FStartCharSet;
  bool FDefaultSuggestionTypes = true;
  TSuggestionTypes FSuggestionTypes = AllSuggestionTypes;
  bool FRestrictCase = false;
};
