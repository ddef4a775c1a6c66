#pragma once
// The main dictionary writer, shared by the wdmc tool, the build of the shipped dictionaries
// and the tests.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// How the compiler lays out the words: equal subtrees written once (the minimal automaton: same
// character, packed bytes, end-of-word flag and children), or a plain trie, each path its own
// nodes (the older output, kept for comparison). Readers take both alike.
enum class TNodeSharing { Shared, Tree };

struct TMainDictionarySource {
  QStringList words;    // any order, duplicates allowed
  QString title;        // at most 255 UTF-16 code units
  quint32 language = 0; // Windows language identifier
  int minorVersion = 1; // 1: UTF-8 (version 4.1), 0: Windows-1252 (version 4.0)
  TNodeSharing sharing = TNodeSharing::Shared;
};

struct TMainDictionaryStats {
  quint32 wordCount = 0;
  quint32 nodeCount = 0;     // as written (shared)
  quint64 trieNodeCount = 0; // the unshared trie's, packed runs included
  quint32 linkageSize = 0;
  quint32 classCounts[9] = {};
  int skipped = 0; // words that cannot be stored (empty, too long, not in the code page)
  QStringList skippedSamples;
};

// Compiles the words into a main dictionary image. On failure returns false and puts into
// `error` a message that names the limit that was exceeded.
bool CompileMainDictionary(const TMainDictionarySource &source, QByteArray &image, QString &error,
                           TMainDictionaryStats *stats = nullptr);

// Reads a UTF-8 text file with one entry a line (a byte-order mark, CR and surrounding white space
// are dropped; empty lines and lines starting with '#' are skipped).
bool ReadWordList(const QString &fileName, QStringList &lines, QString &error);
// The same for the file's contents.
void ParseWordList(QByteArray data, QStringList &lines);
