#pragma once
// Contents of the small thesaurus files used by the reader, dialog and bad-input tests.

#include "ThesaurusWriter.h"

#include <QStringList>
#include <array>

inline std::array<QStringList, 4> InList(int kind, const QStringList &words)
{
  std::array<QStringList, 4> lists;
  lists[size_t(kind - 1)] = words;
  return lists;
}

// The "happy" thesaurus: two adjective senses of happy, a noun and a verb, a kind-0 context
// and a kind-3 context for "merry" whose first list is not empty.
inline void AddHappyContent(TThesaurusWriter &w)
{
  w.Name = QStringLiteral("Test Thesaurus");
  const int cHappy =
      w.AddContext("happy", InList(3, {"happy", "cheerful", "joyful", "content", "glad"}));
  const int cGlad = w.AddContext("glad", InList(3, {"glad", "happy", "willing"}));
  const int cHouse = w.AddContext("home", InList(1, {"home", "house", "dwelling"}));
  const int cRun = w.AddContext("sprint", InList(2, {"sprint", "run", "dash"}));
  std::array<QStringList, 4> merry;
  merry[0] = QStringList{"festivity", "revel"};
  merry[2] = QStringList{"jolly", "merry", "jovial"};
  const int cMerry = w.AddContext("jolly", merry);
  std::array<QStringList, 4> mixed;
  mixed[0] = QStringList{"cheer"};
  mixed[1] = QStringList{"gladden", "cheer up"};
  const int cMixed = w.AddContext("gladden", mixed);
  w.AddLink("happy", cHappy, 3);
  w.AddLink("happy", cGlad, 3);
  w.AddLink("glad", cGlad, 3);
  w.AddLink("cheerful", cHappy, 3);
  w.AddLink("house", cHouse, 1);
  w.AddLink("run", cRun, 2);
  w.AddLink("merry", cMerry, 3);
  w.AddLink("gladden", cMixed, 0);
}

// Words whose last letters lie on tail chains, and a word that is only a prefix ("car").
inline void AddTailContent(TThesaurusWriter &w)
{
  w.AddContext("happy", InList(3, {"happy", "hat", "carpet", "cartoon", "cart", "a"}));
  w.AddLink("happy", 0, 3);
  w.AddLink("cartoon", 0, 3);
}
