#include "wrCustomDictionary.h"

#include "wrEngineLog.h"
#include "wrUtil.h"

#include "rtFileLock.h"
#include "rtRegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr char Banner41[] = "Wright User Dictionary, Version 4.1\r\n"
                            "User word lists: added, excluded\r\n"
                            "Ignore, exclude and auto-correct.\r\n"
                            "Stored as UTF-8; do not edit.\r\n"
                            "\r\n";
constexpr char Banner40[] = "Wright User Dictionary, Version 4.0\r\n"
                            "User word lists: added, excluded\r\n"
                            "Entries in ANSI code page\r\n"
                            "Do not edit this.\r\n"
                            "\r\n";
static_assert(sizeof(Banner41) - 1 == 139, "the 4.1 banner is 139 characters");
static_assert(sizeof(Banner40) - 1 == 119, "the 4.0 banner is 119 characters");

constexpr int EntryBufferSize = 512;

bool isKind(char c)
{
  return c == TCustomDictionary::KindIgnore || c == TCustomDictionary::KindExclude ||
         c == TCustomDictionary::KindAutoCorrect;
}

bool isPrimeTableSize(int32_t T)
{
  for (int32_t size = NextHashSize(0);; size = NextHashSize(size)) {
    if (size == T)
      return true;
    if (size > T || size == 2147483647)
      return false;
  }
}

// Whether the folders of a file in a folder that does not exist could be made: the nearest
// existing one is a folder this program may write.
bool CanMakeFoldersFor(const QString &Path)
{
  QString folder = QFileInfo(Path).absolutePath();
  if (QFileInfo(folder).exists())
    return false; // the folder exists, and the file could not be created in it
  while (!QFileInfo(folder).exists()) {
    const QString up = QFileInfo(folder).path();
    if (up == folder)
      return false;
    folder = up;
  }
  const QFileInfo existing(folder);
  return existing.isDir() && existing.isWritable() && existing.isExecutable();
}

} // namespace

QByteArray TCustomDictionary::Banner(quint32 CodePage)
{
  return CodePage == 0 ? QByteArray(Banner40) : QByteArray(Banner41);
}

TCustomDictionary::TCustomDictionary() = default;

TCustomDictionary::~TCustomDictionary()
{
  if (OnDestroying)
    OnDestroying(this);
  SetLoaded(false);
}

bool TCustomDictionary::OpenDictionaryFile(const QString &Name, bool KeepOpen,
                                           std::unique_ptr<QFile> &file, quint32 &codePage)
{
  file.reset();
  if (Name.isEmpty())
    return true;
  auto f = std::make_unique<QFile>(NativePath(Name));
  // An existing file that cannot be read is refused rather than taken for a new one: a later
  // save would replace it. A file that appears between the two looks was just saved by another
  // program and is read: taken for unreadable, the name was refused, and every word this object
  // then took was lost (four programs saving one new dictionary: one lost all its words in about
  // one run of twenty).
  // Only a regular file: a FIFO would block the reader for ever (an editor starting the
  // command-line checker waited with no banner), a device would never end.
  for (int look = 0; !OpenRegularFile(*f); ++look) {
    if (!f->exists()) {
      const bool creatable =
          CanCreateFile(Name, true) || (FNewFolders && CanMakeFoldersFor(NativePath(Name)));
      FFailure = creatable ? ffNone : ffNotCreated;
      return creatable;
    }
    if (look > 0) {
      FFailure = ffUnreadable;
      return false;
    }
  }
  const QByteArray head = f->read(HeaderSize(CP_UTF8));
  if (head.size() >= HeaderSize(0) && head.left(119) == Banner(0)) {
    codePage = 0;
  } else if (head.size() >= HeaderSize(CP_UTF8) && head.left(139) == Banner(CP_UTF8)) {
    codePage = CP_UTF8;
  } else {
    FFailure = ffWrongFormat;
    return false;
  }
  FFailure = ffNone;
  if (KeepOpen) {
    f->seek(HeaderSize(codePage));
    file = std::move(f);
  }
  return true;
}

void TCustomDictionary::SetFilename(const QString &F)
{
  std::unique_ptr<QFile> file;
  quint32 codePage = CP_UTF8;
  if (!OpenDictionaryFile(F, false, file, codePage)) {
    qCInfo(lcSpellEngine) << "custom dictionary refused (unreadable or not a custom dictionary):"
                          << F;
    return;
  }
  const bool wasLoaded = FLoaded;
  SetLoaded(false);
  FFilename = F;
  FSaveFilename.clear();
  FRefused = false;
  FTrackOps = !F.isEmpty();
  SetLoaded(wasLoaded);
}

void TCustomDictionary::SetLoaded(bool V)
{
  if (V == FLoaded)
    return;
  if (V)
    Load();
  else
    Unload();
}

bool TCustomDictionary::EnsureLoaded()
{
  if (!FLoaded)
    Load();
  return FLoaded;
}

void TCustomDictionary::Load()
{
  Clear();
  if (FFilename.isEmpty()) {
    FLoaded = true;
    return;
  }
  // Every operation retries a load; a file refused before is read again only once it changed,
  // so that checking each word against a damaged dictionary costs one stat, not one read.
  const TFileStamp current = ReadFileStamp(FFilename);
  if (FRefused && current == FRefusedStamp)
    return;
  FRefused = false;
  std::unique_ptr<QFile> file;
  quint32 codePage = CP_UTF8;
  if (!OpenDictionaryFile(FFilename, true, file, codePage)) {
    qCInfo(lcSpellEngine) << "custom dictionary refused (unreadable or not a custom dictionary):"
                          << FFilename;
    FRefused = current.inode != 0;
    FRefusedStamp = current;
    return;
  }
  if (!file) {
    FFileTime = TFileStamp();
    FModified = true;
    FLoaded = true;
    return;
  }
  // The stamp of the very file that is read, even if another writer renames a new one into
  // place meanwhile: that one must take the merging path at the next save.
  const TFileStamp stamp = ReadFileStamp(file->handle());
  FCodePage = codePage;
  if (!ReadBody(*file)) {
    // A file that does not fit its own counts is refused: nothing is loaded from it, and
    // nothing will be written over it.
    qCInfo(lcSpellEngine) << "custom dictionary damaged, not loaded and not written over:"
                          << FFilename;
    FFailure = ffDamaged;
    Clear();
    FRefused = true;
    FRefusedStamp = stamp;
    return;
  }
  FFileTime = stamp;
  FLoaded = true;
}

bool TCustomDictionary::ReadBody(QFile &file)
{
  const qint64 fileSize = file.size();
  const qint64 H = file.pos();
  const QByteArray counts = file.read(20);
  if (counts.size() != 20)
    return false;
  const auto *c = reinterpret_cast<const uchar *>(counts.constData());
  const int32_t ignoreCount = qFromLittleEndian<qint32>(c);
  const int32_t excludeCount = qFromLittleEndian<qint32>(c + 4);
  const int32_t autoCorrectCount = qFromLittleEndian<qint32>(c + 8);
  const int32_t wordCount = qFromLittleEndian<qint32>(c + 12);
  const int32_t T = qFromLittleEndian<qint32>(c + 16);
  if (ignoreCount < 0 || excludeCount < 0 || autoCorrectCount < 0 || wordCount < 0 || T < 0)
    return false;
  if (T != 0 && !isPrimeTableSize(T))
    return false;
  if (H + 24 + 4 * qint64(T) > fileSize)
    return false;
  std::vector<int32_t> table(size_t(T), 0);
  if (T > 0 && file.read(reinterpret_cast<char *>(table.data()), 4 * qint64(T)) != 4 * qint64(T))
    return false;
  for (int32_t &slot : table)
    slot = qFromLittleEndian(slot);
  const QByteArray usedBytes = file.read(4);
  if (usedBytes.size() != 4)
    return false;
  const int32_t U = qFromLittleEndian<qint32>(usedBytes.constData());
  if (U < 0 || H + 24 + 4 * qint64(T) + U > fileSize || qint64(U) + AreaStep > 0x7FFFFFFF)
    return false;
  std::vector<char> area;
  try {
    area.assign(size_t(U / AreaStep) * AreaStep + AreaStep, '\0');
  } catch (const std::bad_alloc &) {
    return false;
  }
  if (U > 0 && file.read(area.data(), U) != U)
    return false;

  // Every live slot must reference a whole entry of the area, and the counts must be the
  // table's: the lookups and the growth of the table rely on both.
  int live[3] = {0, 0, 0};
  for (int32_t v : table) {
    if (v <= 0) {
      if (v < -1)
        return false;
      continue;
    }
    if (v > U - 1)
      return false;
    const char kind = area[size_t(v) - 1];
    if (!isKind(kind))
      return false;
    // An entry is never longer than the buffer it was built in; the bound also keeps a table
    // of many references to one huge "word" from costing time quadratic in the file size.
    const int32_t entryEnd = int32_t(qMin<qint64>(U, qint64(v) - 1 + EntryBufferSize));
    const void *end = std::memchr(area.data() + v, 0, size_t(entryEnd - v));
    if (!end)
      return false;
    if (kind == KindAutoCorrect) {
      const int32_t next = int32_t(static_cast<const char *>(end) - area.data()) + 1;
      if (next >= entryEnd || !std::memchr(area.data() + next, 0, size_t(entryEnd - next)))
        return false;
    }
    ++live[kind == KindIgnore ? 0 : kind == KindExclude ? 1 : 2];
  }
  if (live[0] + live[1] + live[2] != wordCount || live[0] != ignoreCount ||
      live[1] != excludeCount || live[2] != autoCorrectCount)
    return false;
  // Additions keep the table at most a quarter full. A fuller one makes every missing word probe
  // most of it, and a full one rebuild it (20 s a lookup with all of 65,521 slots live).
  if (qint64(wordCount) * 2 > T)
    return false;
  const qint64 empty = std::count(table.begin(), table.end(), 0);

  FIgnoreCount = ignoreCount;
  FExcludeCount = excludeCount;
  FAutoCorrectCount = autoCorrectCount;
  FWordCount = wordCount;
  FUpperBound = T;
  FHashTable = std::move(table);
  FUsed = U;
  FAllocated = int(area.size());
  FWords = std::move(area);
  FIndexLists = false;
  // Many additions and removals can leave few empty slots among the deleted marks, and a miss
  // then probes up to the whole table each time (5.5 ms at 1,048,573 slots with one empty):
  // rebuilt, at least half the slots are empty.
  if (empty * 2 < T)
    RebuildTable(T);
  return true;
}

void TCustomDictionary::Unload()
{
  if (FModified)
    Save();
  Clear();
}

void TCustomDictionary::Clear()
{
  ClearStore();
  FCodePage = CP_UTF8;
  FModified = false;
  FLoaded = false;
  FFileTime = TFileStamp();
}

void TCustomDictionary::ClearStore()
{
  FIgnoreCount = FExcludeCount = FAutoCorrectCount = FWordCount = 0;
  FUpperBound = 0;
  FHashTable.clear();
  FWords.clear();
  FUsed = FAllocated = 0;
  FIndexLists = false;
  FIgnoreSortedValid = false;
  FIgnoreSorted.clear();
  FIgnoreList.clear();
  FExcludeList.clear();
  FAutoCorrectList.clear();
  ClearChangeLog();
}

void TCustomDictionary::ClearChangeLog()
{
  for (QStringList *l :
       {&FAddedIgnore, &FAddedExclude, &FAddedAutoCorrect, &FAddedAutoCorrectReplace,
        &FRemovedIgnore, &FRemovedExclude, &FRemovedAutoCorrect})
    l->clear();
}

void TCustomDictionary::WriteToFile(const QString &Name)
{
  QByteArray data;
  data.reserve(HeaderSize(FCodePage) + 24 + 4 * FUpperBound + FUsed);
  data.append(Banner(FCodePage));
  data.append('\0');
  data.append('\x1A');
  auto put = [&data](int32_t v) {
    char b[4];
    qToLittleEndian<qint32>(v, b);
    data.append(b, 4);
  };
  put(FIgnoreCount);
  put(FExcludeCount);
  put(FAutoCorrectCount);
  put(FWordCount);
  put(FUpperBound);
  for (int32_t v : FHashTable)
    put(v);
  put(FUsed);
  data.append(FWords.data(), FUsed);
  // Written beside the target and renamed into place: a failure part way leaves the old file.
  QSaveFile file(NativePath(Name));
  file.setDirectWriteFallback(false);
  // Unbuffered, so that a failing write (full disk, size limit) is seen here and not lost in a
  // flush at commit time, which would rename a short file into place.
  FFailure = ffNotWritten;
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    qCInfo(lcSpellEngine) << "custom dictionary not saved:" << Name << file.errorString();
    return;
  }
  if (file.write(data) != data.size() || !file.flush() || file.error() != QFileDevice::NoError) {
    qCInfo(lcSpellEngine) << "custom dictionary not saved:" << Name << file.errorString();
    file.cancelWriting();
    return;
  }
  if (!file.commit()) {
    qCInfo(lcSpellEngine) << "custom dictionary not saved:" << Name << file.errorString();
    return;
  }
  FFailure = ffNone;
}

void TCustomDictionary::Save()
{
  // Only a loaded store has anything to write: an object whose file was refused must never
  // replace that file with its empty store.
  if (FLoaded && FModified && !FSaveFilename.isEmpty()) {
    // Copy on write: the copy takes the whole content. Should a copy exist already (another
    // program made it), its stamp differs from the loaded file's and the changes are replayed
    // on it below.
    FFilename = FSaveFilename;
    FSaveFilename.clear();
  }
  if (FLoaded && FModified && !FFilename.isEmpty()) {
    // The look at the file, the re-read of another writer's content and the write happen under
    // one lock: without it, programs saving at the same moment each wrote over the others' words
    // (three programs saving 300 words each kept fewer than half). A merging save's sibling
    // runs under its owner's lock. Where the lock file cannot be created, neither can the new
    // file: the save goes ahead and fails as it would.
    // The folders a new file names are made now that it is written, never when it is only
    // looked at (a check-only run made every folder Spell.cfg named).
    ForceFolders(ExtractFileDir(NativePath(FFilename)));
    std::optional<TFileLock> lock;
    if (!FSaveLocked)
      lock.emplace(NativePath(FFilename));
    if (lock && lock->Locked())
      RemoveStaleSaveFiles(NativePath(FFilename));
    std::unique_ptr<QFile> file;
    quint32 codePage = CP_UTF8;
    const bool opened = OpenDictionaryFile(FFilename, true, file, codePage);
    if (!opened)
      FFailure = ffNotWritten;
    if (opened) {
      TFileStamp disk = FFileTime;
      if (file) {
        disk = ReadFileStamp(FFilename);
        file.reset();
      }
      if (disk == FFileTime) {
        WriteToFile(FFilename);
      } else {
        // Another writer changed the file since it was loaded: replay this object's changes on
        // the current content.
        std::unique_ptr<TCustomDictionary> sibling = CreateSibling();
        sibling->FSaveLocked = true;
        sibling->SetFilename(FFilename);
        sibling->SetLoaded(true);
        for (const QString &w : FAddedIgnore)
          sibling->AddIgnore(w);
        for (const QString &w : FAddedExclude)
          sibling->AddExclude(w);
        for (qsizetype i = 0; i < FAddedAutoCorrect.size(); ++i)
          sibling->AddAutoCorrect(FAddedAutoCorrect[i], FAddedAutoCorrectReplace.value(i));
        for (const QString &w : FRemovedIgnore)
          sibling->RemoveIgnore(w);
        for (const QString &w : FRemovedExclude)
          sibling->RemoveExclude(w);
        for (const QString &w : FRemovedAutoCorrect)
          sibling->RemoveAutoCorrect(w);
        sibling->Save();
        FFailure = sibling->Failure() == ffNone ? ffNone : ffNotWritten;
      }
    }
    if (FFailure == ffNotWritten && OnSaveFailed)
      OnSaveFailed(*this);
  }
  FModified = false;
  ClearChangeLog();
}

void TCustomDictionary::SaveAs(const QString &NewFilename)
{
  if (EnsureLoaded()) {
    ForceFolders(ExtractFileDir(NativePath(NewFilename)));
    WriteToFile(NewFilename);
  }
}

std::unique_ptr<TCustomDictionary> TCustomDictionary::CreateSibling()
{
  return std::make_unique<TCustomDictionary>();
}

int TCustomDictionary::IgnoreCount()
{
  if (!FIndexLists)
    BuildIndexLists();
  return int(FIgnoreList.size());
}

int TCustomDictionary::ExcludeCount()
{
  if (!FIndexLists)
    BuildIndexLists();
  return int(FExcludeList.size());
}

int TCustomDictionary::AutoCorrectCount()
{
  if (!FIndexLists)
    BuildIndexLists();
  return int(FAutoCorrectList.size());
}

void TCustomDictionary::AddToIndexList(char Kind, int32_t Reference)
{
  switch (Kind) {
  case KindIgnore:
    FIgnoreList.push_back(Reference);
    break;
  case KindExclude:
    FExcludeList.push_back(Reference);
    break;
  case KindAutoCorrect:
    FAutoCorrectList.push_back(Reference);
    break;
  default:
    break;
  }
}

void TCustomDictionary::BuildIndexLists()
{
  if (!EnsureLoaded())
    return;
  for (auto *l : {&FIgnoreList, &FExcludeList, &FAutoCorrectList}) {
    l->clear();
    l->reserve(size_t(FWordCount) + 256);
  }
  for (int32_t v : FHashTable)
    if (v > 0)
      AddToIndexList(FWords[size_t(v) - 1], v);
  FIndexLists = true;
}

int32_t TCustomDictionary::NextString(int32_t Reference) const
{
  if (Reference <= 0 || Reference >= FUsed)
    return FUsed;
  const void *end = std::memchr(FWords.data() + Reference, 0, size_t(FUsed - Reference));
  return end ? int32_t(static_cast<const char *>(end) - FWords.data()) + 1 : FUsed;
}

QString TCustomDictionary::DecodeString(int32_t Reference) const
{
  if (Reference <= 0 || Reference >= FUsed)
    return QString();
  return CodePageToWide(FCodePage, FWords.data() + Reference, FUsed - Reference);
}

void TCustomDictionary::RebuildTable(int32_t size)
{
  std::vector<int32_t> table(size_t(size), 0);
  for (int32_t v : FHashTable)
    if (v > 0)
      PutInTable(table, DecodeString(v), v);
  FHashTable = std::move(table);
  FUpperBound = size;
  FIndexLists = false;
}

bool TCustomDictionary::FindEntry(char Kind, const QString &Word, int32_t &Reference, int &Slot)
{
  Reference = 0;
  Slot = -1;
  if (!EnsureLoaded() || FUpperBound == 0)
    return false;
  const int32_t T = FUpperBound;
  int32_t s = HashWord(Word, T);
  const int32_t step = HashStep(s);
  int32_t probes = 0;
  for (;;) {
    const int32_t v = FHashTable[size_t(s)];
    if (v == 0)
      return false;
    if (v > 0 && DecodeString(v) == Word) {
      if (Kind != KindAny && FWords[size_t(v) - 1] != Kind)
        return false;
      Reference = v;
      Slot = s;
      return true;
    }
    s = int32_t((qint64(s) + step) % T);
    if (probes > T) {
      RebuildTable(T);
      return false;
    }
    ++probes;
  }
}

void TCustomDictionary::AppendBytes(const char *Bytes, int Length)
{
  if (Length >= FAllocated - FUsed) {
    FAllocated += AreaStep;
    FWords.resize(size_t(FAllocated), '\0');
  }
  std::memcpy(FWords.data() + FUsed, Bytes, size_t(Length));
  FUsed += Length;
}

void TCustomDictionary::PutInTable(std::vector<int32_t> &Table, const QString &Word,
                                   int32_t Reference)
{
  const int32_t size = int32_t(Table.size());
  int32_t s = HashWord(Word, size);
  if (Table[size_t(s)] > 0) {
    const int32_t step = HashStep(s);
    // A table kept at most a quarter full always has an empty slot on the probe path (the size
    // is prime); a loaded table crowded with deleted marks falls back to the first of those.
    int32_t firstDeleted = -1;
    for (int32_t probes = 0;; ++probes) {
      s = int32_t((qint64(s) + step) % size);
      if (Table[size_t(s)] == 0)
        break;
      if (Table[size_t(s)] < 0 && firstDeleted < 0)
        firstDeleted = s;
      if (probes > size) {
        s = firstDeleted;
        break;
      }
    }
  }
  if (s >= 0)
    Table[size_t(s)] = Reference;
}

void TCustomDictionary::InsertHashed(const QString &Word, int32_t Reference)
{
  if (qint64(FWordCount) * 4 >= FUpperBound)
    RebuildTable(NextHashSize(FUpperBound));
  PutInTable(FHashTable, Word, Reference);
}

bool TCustomDictionary::AddEntry(char Kind, const QString &Word, const QString &Correction)
{
  if (!EnsureLoaded())
    return false;
  if (Word.size() + Correction.size() > MaxEntryUnits || Word.isEmpty())
    return false;
  // A zero ends the stored text: the word would be kept cut short under the hash of the whole
  // word, never to be found or removed again.
  if (Word.contains(QChar(0)) || Correction.contains(QChar(0)))
    return false;
  char buffer[EntryBufferSize];
  buffer[0] = Kind;
  const int wordBytes = WideToCodePage(FCodePage, buffer + 1, EntryBufferSize - 1, Word);
  // A word that does not fit the buffer would be stored empty and never found again.
  if (wordBytes == 0)
    return false;
  int length = 1 + wordBytes + 1;
  if (Kind == KindAutoCorrect) {
    const int room = EntryBufferSize - length;
    if (room < 2)
      return false;
    const int correctionBytes = WideToCodePage(FCodePage, buffer + length, room, Correction);
    if (correctionBytes == 0 && !Correction.isEmpty())
      return false;
    length += correctionBytes + 1;
  }
  // UTF-8 text must read back as it was given: a leading U+FEFF is dropped by the decoder, so
  // such an entry would come back changed after a save (or never be found again).
  if (FCodePage == CP_UTF8) {
    if (CodePageToWide(FCodePage, buffer + 1, wordBytes) != Word)
      return false;
    if (Kind == KindAutoCorrect && CodePageToWide(FCodePage, buffer + 1 + wordBytes + 1,
                                                  length - (1 + wordBytes + 1) - 1) != Correction)
      return false;
  }
  int32_t reference;
  int slot;
  if (FindEntry(KindAny, Word, reference, slot))
    return false;
  if (qint64(FUsed) + length + AreaStep > 0x7FFFFFFF)
    return false;
  reference = FUsed + 1;
  AppendBytes(buffer, length);
  ++FWordCount;
  FIgnoreSortedValid = false;
  InsertHashed(Word, reference);
  if (FIndexLists)
    AddToIndexList(Kind, reference);
  return true;
}

bool TCustomDictionary::RemoveEntry(char Kind, const QString &Word)
{
  int32_t reference;
  int slot;
  if (!FindEntry(Kind, Word, reference, slot))
    return false;
  FIndexLists = false;
  FIgnoreSortedValid = false;
  FHashTable[size_t(slot)] = -1;
  --FWordCount;
  return true;
}

QString TCustomDictionary::GetIgnoreWord(unsigned Index)
{
  if (!FIndexLists)
    BuildIndexLists();
  return Index < FIgnoreList.size() ? DecodeString(FIgnoreList[Index]) : QString();
}

QString TCustomDictionary::GetExcludeWord(unsigned Index)
{
  if (!FIndexLists)
    BuildIndexLists();
  return Index < FExcludeList.size() ? DecodeString(FExcludeList[Index]) : QString();
}

QString TCustomDictionary::GetAutoCorrectWord(unsigned Index, QString &Correction)
{
  Correction.clear();
  if (!FIndexLists)
    BuildIndexLists();
  if (Index >= FAutoCorrectList.size())
    return QString();
  const int32_t reference = FAutoCorrectList[Index];
  Correction = DecodeString(NextString(reference));
  return DecodeString(reference);
}

bool TCustomDictionary::IgnoreExists(const QString &Word)
{
  int32_t reference;
  int slot;
  return FindEntry(KindIgnore, Word, reference, slot);
}

int TCustomDictionary::IgnorePrefixLength(const QString &Word)
{
  if (!FIgnoreSortedValid) {
    const int count = IgnoreCount(); // loads the file when needed
    FIgnoreSorted.clear();
    FIgnoreSorted.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
      FIgnoreSorted.push_back(GetIgnoreWord(unsigned(i)));
    std::sort(FIgnoreSorted.begin(), FIgnoreSorted.end());
    FIgnoreSortedValid = true;
  }
  // The word sharing the longest prefix with Word sorts right before or right after it.
  auto common = [&Word](const QString &s) {
    qsizetype i = 0;
    while (i < s.size() && i < Word.size() && s[i] == Word[i])
      ++i;
    return int(i);
  };
  const auto at = std::lower_bound(FIgnoreSorted.begin(), FIgnoreSorted.end(), Word);
  int longest = 0;
  if (at != FIgnoreSorted.end())
    longest = common(*at);
  if (at != FIgnoreSorted.begin())
    longest = std::max(longest, common(*(at - 1)));
  return longest;
}

bool TCustomDictionary::ExcludeExists(const QString &Word)
{
  int32_t reference;
  int slot;
  return FindEntry(KindExclude, Word, reference, slot);
}

bool TCustomDictionary::AutoCorrectExists(const QString &Word, QString &Correction)
{
  int32_t reference;
  int slot;
  Correction.clear();
  if (!FindEntry(KindAutoCorrect, Word, reference, slot))
    return false;
  Correction = DecodeString(NextString(reference));
  return true;
}

void TCustomDictionary::NoteChange(int &KindCount, int Delta, QStringList &Log, const QString &Word)
{
  if (FTrackOps)
    Log.append(Word);
  FModified = true;
  KindCount += Delta;
  if (OnChanged)
    OnChanged(this);
}

bool TCustomDictionary::AddIgnore(const QString &Word)
{
  if (!AddEntry(KindIgnore, Word, QString()))
    return false;
  NoteChange(FIgnoreCount, 1, FAddedIgnore, Word);
  return true;
}

bool TCustomDictionary::AddExclude(const QString &Word)
{
  if (!AddEntry(KindExclude, Word, QString()))
    return false;
  NoteChange(FExcludeCount, 1, FAddedExclude, Word);
  return true;
}

bool TCustomDictionary::AddAutoCorrect(const QString &Misspelled, const QString &Correction)
{
  if (!AddEntry(KindAutoCorrect, Misspelled, Correction))
    return false;
  if (FTrackOps)
    FAddedAutoCorrectReplace.append(Correction);
  NoteChange(FAutoCorrectCount, 1, FAddedAutoCorrect, Misspelled);
  return true;
}

bool TCustomDictionary::RemoveIgnore(const QString &Word)
{
  if (!RemoveEntry(KindIgnore, Word))
    return false;
  NoteChange(FIgnoreCount, -1, FRemovedIgnore, Word);
  return true;
}

bool TCustomDictionary::RemoveExclude(const QString &Word)
{
  if (!RemoveEntry(KindExclude, Word))
    return false;
  NoteChange(FExcludeCount, -1, FRemovedExclude, Word);
  return true;
}

bool TCustomDictionary::RemoveAutoCorrect(const QString &Misspelled)
{
  if (!RemoveEntry(KindAutoCorrect, Misspelled))
    return false;
  NoteChange(FAutoCorrectCount, -1, FRemovedAutoCorrect, Misspelled);
  return true;
}

void TCustomDictionary::RemoveAll()
{
  if (EnsureLoaded())
    ClearStore();
}
