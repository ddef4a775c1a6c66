#pragma once
// TWordCommonness: how common each word of a main dictionary is, read from the side file
// "<name>.wdf" beside "<name>.wdm" (written by tools/wdmcommon from SCOWL's size levels). Among
// suggestions of equal rank the commoner word goes first.
//
// Two forms of the file are read:
// - The table (what wdmcommon writes), mapped and used as it lies: a 32-byte header (the 16
//   bytes of TableMagic, then the entry count, the bucket bits, the pool's length in UTF-16
//   units and a zero word, all 32-bit little-endian), the bucket starts (2^bits + 1 words), the
//   entries (count pairs of words: the word's hash, then 1 + its pool offset in bits 0 to 24
//   and its class in bits 25 to 31) and the pool (each word its length, then its UTF-16 units).
//   The entries are sorted by hash, then length, then units, and a bucket holds the entries
//   whose hash ends in its number, so a lookup is a binary search within one bucket: no choice
//   of words makes it, or the check of the table at load, worse than logarithmic per word.
// - The list it is made from: UTF-8 text; the first line is "LWCOMMON 1"; then groups, each a
//   line "=<class>" followed by its words one a line. It is sorted into the same table at load.
// Classes are SCOWL size levels (10 the commonest, 95 the rarest); a word in no group has class
// Unknown; a word listed at several levels keeps its commonest.
//
// Failures: a missing file, anything but a regular file, a file above MaxFileSize, a wrong
// first line, a malformed class line, or a table that does not hold together (sizes, bucket
// starts, order, offsets, classes or hashes) give no commonness (Load answers false,
// ForDictionary null), and the caller keeps its own order.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <utility>
#include <vector>

class TMappedFile;

class TWordCommonness {
public:
  static constexpr int Unknown = 100;
  static constexpr qint64 MaxFileSize = qint64(64) << 20;
  static constexpr char TableMagic[17] = "LWCOMMON TABLE1\n";
  static QString SideFileName(const QString &DictionaryFile);

  TWordCommonness();
  ~TWordCommonness();

  bool Load(const QString &FileName);
  // The word's class; a capitalised or upper-case word also finds its lower-case form.
  int Class(const QString &Word) const;
  qsizetype Count() const { return FCount; }

  // The table of these words and classes (empty and 0-length words, and words over 65,535
  // units, are left out), or an empty array when the words are too many to address.
  static QByteArray CompileTable(const std::vector<std::pair<QString, int>> &Words);

  // The side file of a main dictionary, read once per process and file (the data is
  // read-only, so every session on that dictionary shares it); null when there is none.
  static std::shared_ptr<const TWordCommonness> ForDictionary(const QString &DictionaryFile);

private:
  struct TEntry {
    quint32 hash;
    quint32 entry;
  };
  static constexpr int OffsetBits = 25;
  static quint32 Hash(QStringView Word);
  int Find(QStringView Word) const; // the word's class, or -1
  bool UseTable(const uchar *Data, qint64 Size);
  bool LoadList(const QByteArray &Text);
  void Clear();

  std::unique_ptr<TMappedFile> FMapped;
  QByteArray FBuilt; // the table made from a word list
  const quint32 *FBuckets = nullptr;
  const TEntry *FEntries = nullptr;
  const char16_t *FPool = nullptr;
  quint32 FBucketBits = 0;
  qsizetype FCount = 0;
};
