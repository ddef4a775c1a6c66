#pragma once
// TWordCommonness: how common each word of a main dictionary is, read from the side file
// "<name>.wdf" beside "<name>.wdm" (written by tools/wdmcommon from SCOWL's size levels). Among
// suggestions of equal rank the commoner word goes first.
//
// File: UTF-8 text; the first line is "LWCOMMON 1"; then groups, each a line "=<class>"
// followed by its words one a line. Classes are SCOWL size levels (10 the commonest, 95 the
// rarest); a word in no group has class Unknown.
//
// Failures: a missing file, a wrong first line or a malformed class line give no commonness
// (Load answers false, ForDictionary null), and the caller keeps its own order.

#include <QHash>
#include <QString>

#include <memory>

class TWordCommonness {
public:
  static constexpr int Unknown = 100;
  static QString SideFileName(const QString &DictionaryFile);

  bool Load(const QString &FileName);
  // The word's class; a capitalised or upper-case word also finds its lower-case form.
  int Class(const QString &Word) const;
  qsizetype Count() const { return FClasses.size(); }

  // The side file of a main dictionary, read once per process and file (the data is
  // read-only, so every session on that dictionary shares it); null when there is none.
  static std::shared_ptr<const TWordCommonness> ForDictionary(const QString &DictionaryFile);

private:
  QHash<QString, quint8> FClasses;
};
