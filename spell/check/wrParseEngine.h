#pragma once
// The word breaker of the spelling checker: which code units form words, where words may
// start and end, and how periods, apostrophes and '&' behave inside them.

#include "wrParserBase.h"

#include <array>

class TMainParsingEngine : public TParsingEngine {
public:
  TMainParsingEngine();

  // The built-in set of extra word characters (189 code units, repeats included).
  static QString DefaultCharSet();

  void Initialize(TControlParser *Parser, int CheckType) override;
  void AdjustToPosition(TControlParser *Parser, int XPos, int YPos) override;
  QString NextWord(TControlParser *Parser) override;

  // Character classes.
  bool IsWordChar(QChar u) const
  {
    return u.unicode() < 0x00FF ? FBCharSetFast[u.unicode()] : IsWordCharBeyondLatin1(u);
  }
  bool IsWordStartChar(QChar u) const { return IsWordChar(u) && !Holds(ForbidStart, u); }
  bool IsWordMiddleChar(QChar u) const { return IsWordChar(u) && !Holds(ForbidMidWord, u); }
  bool IsWordEndChar(QChar u) const { return IsWordChar(u) && !Holds(ForbidEnd, u); }

  const QString &CharSet() const { return FCharSet; }
  void SetCharSet(const QString &Value);
  const QString &ForbidCharSet() const { return FForbidCharSet; }
  void SetForbidCharSet(const QString &Value);
  const QString &CurrentWord() const { return FCurrentWord; }
  bool AllowFrenchExceptions() const { return FAllowFrenchExceptions; }
  void SetAllowFrenchExceptions(bool Value);
  quint32 Language() const { return FLanguage; }
  void SetLanguage(quint32 Value);

  QString ForbidStart;   // word characters that may not begin a word
  QString ForbidEnd;     // word characters trimmed off the end of a word
  QString ForbidMidWord; // word characters that end a word after its first character
  bool AllowMidPeriod = true;
  bool AllowIncompleteLastWord = false;

protected:
  void RebuildCharSets();
  bool IsWordCharBeyondLatin1(QChar u) const;
  // The forbid sets hold a few characters and are asked about every character of a text: a
  // loop in line costs a fifth of QString::contains's call.
  static bool Holds(const QString &Set, QChar u)
  {
    for (QChar c : Set)
      if (c == u)
        return true;
    return false;
  }

  QString FCharSet;
  std::array<bool, 256> FBCharSetFast{};
  QString FSlowCharSet;
  QString FForbidCharSet;
  QString FCurrentWord;
  bool FAllowFrenchExceptions = false;
  quint32 FLanguage = 0;
};
