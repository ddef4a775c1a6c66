#pragma once
// Small thesaurus files written by the builder for the reader and dialog tests.

#include "ThesaurusWriter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
  const int cHappy = w.AddContext("happy", InList(3, {"happy", "cheerful", "joyful", "content", "glad"}));
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

// Writes the file and answers its path; the directory lives as long as the fixture.
class ThesaurusFileFixture {
public:
  QString Write(TThesaurusWriter &w, const QString &name = QStringLiteral("test.wdt"))
  {
    QByteArray data;
    EXPECT_TRUE(w.Build(data)) << qPrintable(w.Error);
    return WriteBytes(data, name);
  }
  QString WriteBytes(const QByteArray &data, const QString &name)
  {
    const QString path = QDir(FDir.path()).filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    return path;
  }
  QString Dir() const { return FDir.path(); }

private:
  QTemporaryDir FDir;
};
