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

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class TWordCommonness {
public:
  static constexpr int Unknown = 100;
  static QString SideFileName(const QString &DictionaryFile);

  bool Load(const QString &FileName);
  // The word's class; a capitalised or upper-case word also finds its lower-case form.
  int Class(const QString &Word) const;
  qsizetype Count() const { return FCount; }

  // The side file of a main dictionary, read once per process and file (the data is
  // read-only, so every session on that dictionary shares it); null when there is none.
  static std::shared_ptr<const TWordCommonness> ForDictionary(const QString &DictionaryFile);

private:
  // The words back to back in FPool (each its length, then its UTF-16 units) and an open-addressing
  // table of slots: the word's hash and 1 + its pool offset (bits 0 to 24), its class (25 to 31).
  // Against the QHash of QStrings it replaced: a suggestion request's 90 lookups took 7 instead
  // of 21 us, loading the shipped file 35 instead of 119 ms.
  struct TSlot {
    quint32 hash = 0;
    quint32 entry = 0; // 0: empty
  };
  static constexpr int OffsetBits = 25;
  static quint32 Hash(QStringView Word);
  static constexpr size_t NotFound = ~size_t(0);
  size_t Find(QStringView Word, quint32 Hash) const; // the word's slot, or NotFound
  bool Add(QStringView Word, int Class);
  void Clear();

  std::vector<char16_t> FPool;
  std::vector<TSlot> FSlots;
  qsizetype FCount = 0;
};
