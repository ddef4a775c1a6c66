#pragma once
// The shipped word list written as a plain trie (every path its own nodes, the older compiler
// output), with its phonetic codes side file, in a temporary folder: the benchmarks measure it
// beside the shipped file, whose equal endings are shared.

#include "wdmcCompiler.h"
#include "wrMainDictionary.h"
#include "wrPhoneticsMap.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// The folder holding "aussie.wdm" in trie form and its "aussie.wdp"; empty when it cannot be
// written. Made once per process.
inline QString TreeDictionaryFolder(const QString &WordList)
{
  static const std::unique_ptr<QTemporaryDir> dir = [&WordList] {
    auto d = std::make_unique<QTemporaryDir>();
    TMainDictionarySource source;
    QString error;
    if (!ReadWordList(WordList, source.words, error))
      return d;
    source.title = QStringLiteral("English (Australian)");
    source.language = 3081;
    source.sharing = TNodeSharing::Tree;
    QByteArray image;
    if (!CompileMainDictionary(source, image, error))
      return d;
    const QString file = d->filePath(QStringLiteral("aussie.wdm"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(image) != image.size())
      return d;
    out.close();
    // The maps wdmc --codes writes.
    std::vector<std::unique_ptr<TPhoneticsMap>> maps;
    std::vector<const TPhoneticsMap *> views;
    for (const quint32 rules : {3081u, 0u})
      for (const int depth : {2, 1}) {
        auto map = std::make_unique<TPhoneticsMap>();
        map->SetLanguage(rules);
        map->SetStartDepth(depth);
        views.push_back(map.get());
        maps.push_back(std::move(map));
      }
    TMainDictionary dictionary;
    dictionary.SetFilename(file);
    QFile codes(TMainDictionary::CodeFileName(file));
    if (codes.open(QIODevice::WriteOnly))
      codes.write(dictionary.CodeFileImage(views));
    return d;
  }();
  return QFile::exists(dir->filePath(QStringLiteral("aussie.wdm"))) ? dir->path() : QString();
}
