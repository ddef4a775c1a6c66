#pragma once
// Helpers shared by the parser tests: run the engine over a parser and collect the words,
// checking after each word that it occupies the positions just before the cursor.

#include "wrParseEngine.h"
#include "wrStringParser.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <vector>

// A text and the words the default engine forms from it. The same tables run through the
// string parser and through the window parser over the editor.
struct WordCase {
  const char *text;
  QStringList words;
};

inline const std::vector<WordCase> &WordCases()
{
  static const std::vector<WordCase> cases = {
      {"don't stop", {"don't", "stop"}},
      {"'quoted' word", {"quoted", "word"}},
      {"\"double\"", {"double"}},
      {"the end.", {"the", "end"}},
      {"see e.g. this", {"see", "e.g.", "this"}},
      {"U.S.A. today", {"U.S.A.", "today"}},
      {"pi is 3.14 and no.5 too", {"pi", "is", "3.14", "and", "no.5", "too"}},
      {"stop. Go", {"stop", "Go"}},
      {"AT&T", {"AT", "&T"}},
      {"&nbsp;x", {"&nbsp", "x"}},
      {"\u2019tis", {"tis"}},
      {"rock\u2019n\u2019roll\u2019", {"rock\u2019n\u2019roll"}},
      {"James' car", {"James", "car"}},
      {"one,two;three", {"one", "two", "three"}},
      {"l'homme", {"l'homme"}},
      {"caf\u00e9 na\u00efve \u0436\u0443\u043a",
       {"caf\u00e9", "na\u00efve", "\u0436\u0443\u043a"}},
      {"", {}},
      {" .,;-- ", {}},
      {"''' \"\"", {}},
  };
  return cases;
}

// The same with French rules (language 0x040C).
inline const std::vector<WordCase> &FrenchWordCases()
{
  static const std::vector<WordCase> cases = {
      {"l'homme", {"l", "homme"}},
      {"aujourd'hui", {"aujourd'hui"}},
      {"Entr'acte", {"Entr'acte"}},
      {"AUJOURD'HUI", {"AUJOURD'HUI"}},
      {"qu'il", {"qu", "il"}},
      {"l\u2019homme", {"l\u2019homme"}}, // only the straight apostrophe is treated so
  };
  return cases;
}

// Breaks Text with the string parser; each word must end just before the cursor.
inline QStringList WordsOf(TMainParsingEngine &engine, const QString &Text)
{
  QString text = Text;
  TStringParser parser;
  parser.Initialize(&text);
  QStringList words;
  for (int guard = 0; guard < 1000; ++guard) {
    const QString w = engine.NextWord(&parser);
    if (w.isEmpty())
      break;
    int x = 0, y = 0;
    parser.GetPosition(x, y);
    EXPECT_EQ(text.mid(x - 1 - w.size(), w.size()), w)
        << "cursor " << x << " after word " << w.toStdString();
    words << w;
  }
  return words;
}

inline std::string Show(const QStringList &l)
{
  return ("[" + l.join(QStringLiteral("|")) + "]").toStdString();
}
