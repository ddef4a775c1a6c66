#pragma once
// Small thesaurus files written by the builder for the reader and dialog tests.

#include "thesaurus_content.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
