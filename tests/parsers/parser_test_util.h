#pragma once
// Helpers shared by the parser tests: run the engine over a parser and collect the words,
// checking after each word that it occupies the positions just before the cursor.

#include "wrParseEngine.h"
#include "wrStringParser.h"

#include <QStringList>
#include <gtest/gtest.h>

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
    EXPECT_EQ(text.mid(x - 1 - w.size(), w.size()), w) << "cursor " << x << " after word " << w.toStdString();
    words << w;
  }
  return words;
}

inline std::string Show(const QStringList &l)
{
  return ("[" + l.join(QStringLiteral("|")) + "]").toStdString();
}
