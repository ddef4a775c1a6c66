#pragma once
// Small services shared by the spelling engine, live spelling and the thesaurus: path macros,
// code-page conversion of stored words, the notification list, word distance, the custom
// dictionary's hash functions and a few file-system helpers.
//
// Paths: names are written with "\" as the separator ("%AppDir%\Dictionaries\Spell.cfg").
// Every path function here treats "\" and "/" alike; NativePath() gives the name to open.

#include "rtEditWindow.h"
#include "rtTypes.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QObject;

// --- Path macros ---------------------------------------------------------------------------------

// Shell folder identifiers understood by GetShellFolder.
inline constexpr int CSIDL_PERSONAL = 5;          // %MyDocuments%
inline constexpr int CSIDL_APPDATA = 26;          // %AppData%
inline constexpr int CSIDL_COMMON_APPDATA = 35;   // %CommonAppData%
inline constexpr int CSIDL_COMMON_DOCUMENTS = 46; // %CommonDocuments%

// All macros but %ConfigID%, then %NAME% environment variables.
QString ExpandPathMacros(const QString &Path);
// %ModuleName%, %AppName%, %UserName% only (first occurrence of each).
QString ExpandNameMacros(const QString &Path);
// %ModuleDir%, %AppDir%, %AppData%, %CommonDocuments%, %CommonAppData%, %MyDocuments%.
QString ExpandFolderMacros(const QString &Path);
// %NAME% -> the environment variable NAME; unknown names stay as written. Fails (ok = false,
// text unchanged) when the result would not fit 4,096 characters with its terminator.
QString ExpandEnvironmentStrings(const QString &Text, bool *ok = nullptr);
QString ReplaceFirst(const QString &Pattern, const QString &Replacement, const QString &Source);
// The folder without trailing separator, or empty. The shell folders map to their XDG
// counterparts on this desktop:
//   CSIDL_APPDATA          $XDG_DATA_HOME (absolute), else $HOME/.local/share
//   CSIDL_COMMON_APPDATA   the first absolute entry of $XDG_DATA_DIRS, else /usr/local/share
//   CSIDL_PERSONAL         the user's documents folder (XDG_DOCUMENTS_DIR, else ~/Documents)
//   CSIDL_COMMON_DOCUMENTS the user's public share folder (XDG_PUBLICSHARE_DIR, else ~/Public)
// Folders are neither created nor required to exist.
QString GetShellFolder(int Folder);

// The running program: full executable path, its folder (no trailing separator) and its name
// without folder and extension. The engine is linked into the executable, so the module
// values equal the application values.
QString AppExeName();
QString AppDir();
QString AppName();
QString ModuleDir();
QString ModuleName();
// AppDir (and ModuleDir, %AppDir%) answers Dir instead of the executable's folder; empty restores
// it. For a library loaded into another program, whose executable says nothing of where this
// program's files are.
void SetAppDirOverride(const QString &Dir);
// The log-on name of the current user; empty when it cannot be read.
QString GetLogOnUserName();
// Replaces the source of the log-on name (null restores the system's); for hosts and tests.
void SetLogOnUserNameSource(std::function<QString()> source);

// --- Path handling (both separators) -------------------------------------------------------------
bool IsPathSeparator(QChar c);
bool HasPathSeparator(const QString &Path);
// The name to hand to the file system: every "\" becomes "/".
QString NativePath(const QString &Path);
// clang-format off
QString ExtractFileName(const QString &Path);   // after the last separator
QString ExtractFileDir(const QString &Path);    // before the last separator (none: empty)
QString ExtractFileExt(const QString &Path);    // ".ext" of the name part, or empty
QString ChangeFileExt(const QString &Path, const QString &Ext);
QString ExcludeTrailingPathDelimiter(const QString &Path);
bool FileExists(const QString &Path);           // an existing file that is not a folder
bool DirectoryExists(const QString &Path);
// clang-format on

// Why a dictionary or thesaurus file was not read or written, for the user: the readers keep the
// last one (ffNone after a success) beside the reason they log.
enum TFileFailure {
  ffNone,
  ffMissing,     // no such file
  ffUnreadable,  // there, but it cannot be opened or mapped
  ffWrongFormat, // not a file of its kind (banner or header)
  ffDamaged,     // its kind, but its contents do not fit their own counts
  ffNotCreated,  // missing, and its folder does not let it be created
  ffNotWritten   // a save failed: the file on disk stays as it was
};

// Identity of a file's last write: modification and inode-change times (ns), size and inode. A
// rename over the file changes the inode, a rewrite within the clock's resolution the size or the
// change time. A file that cannot be read answers {-1, -1, -1, 0}.
struct TFileStamp {
  qint64 time = 0;
  qint64 changeTime = 0; // inode change (permissions, links, renames)
  qint64 size = 0;
  quint64 inode = 0;
  bool operator==(const TFileStamp &) const = default;
};
TFileStamp ReadFileStamp(const QString &Path);
TFileStamp ReadFileStamp(int Fd); // an open descriptor; -1 answers as a file that cannot be read

// --- The program's folder: build tree and installed layouts ----------------------------------------
// The program names one folder for its files, "%AppDir%\Dictionaries" (ProgramDataFolder). Where it
// really is depends on how the program was laid out, judged from the executable's folder:
//   beside the executable  a "Dictionaries" folder sits next to the executable (the build tree, a
//                          copied folder): it is read and written as named; nothing is mapped.
//   installed              no such folder, but <AppDir>/../share/linewright/Dictionaries exists
//                          (the executable in <prefix>/bin). That shipped folder is only read.
//                          Everything the program writes (Spell.cfg, the user's custom
//                          dictionaries) goes to the user folder $XDG_DATA_HOME/linewright/
//                          Dictionaries (else ~/.local/share/...), which is searched first so that
//                          the user's files win over shipped files of the same name.
// Only the program's folder is mapped; any other folder (one the user added) is used as named.
// Nothing is created here. Without a home folder an installed layout has no user folder: the
// shipped folder is then both searched and named for writing, and writes there simply fail.
inline constexpr const char *ProgramDataFolder = "%AppDir%\\Dictionaries";

class TDataLayout {
public:
  // Looks at the file system around AppDir, the executable's folder.
  static TDataLayout Of(const QString &AppDir);
  // <AppDir>/../share/linewright/Dictionaries, cleaned: where an installed program finds its files.
  static QString InstalledShippedFolder(const QString &AppDir);

  bool Installed() const { return FInstalled; }
  QString ShippedFolder() const { return FShipped; } // absolute, "/" separators
  QString UserFolder() const { return FUser; }       // installed only; else empty

  // Folder (macros allowed) -> the folders to read from, in search order. Beside the executable,
  // and for any folder but the program's, just Folder as given.
  QStringList SearchFolders(const QString &Folder) const;
  // Folder -> the one folder to write into (the first of SearchFolders).
  QString WritableFolder(const QString &Folder) const;
  // A file named with its folder ("%AppDir%\Dictionaries\Wordnest.wdt"): the first search folder
  // that holds it, else the last (shipped) one; unmapped names come back unchanged.
  QString ReadableFile(const QString &FileName) const;
  // The same file in the writable folder.
  QString WritableFile(const QString &FileName) const;

private:
  bool IsProgramFolder(const QString &Folder) const;

  QString FAppDir;
  QString FShipped;
  QString FUser;
  bool FInstalled = false;
};

// The layout of the running program (looked at on every call: a few file-status queries).
TDataLayout ProgramDataLayout();

// --- Code pages of stored words ------------------------------------------------------------------
// CodePage CP_ACP is the system's 8-bit code page (Windows-1252), CP_UTF8 UTF-8 (rtCodePage.h).
// Writes the encoded text and a zero byte into Dest (Capacity bytes, at least 2) and answers the
// byte count without the zero. Text that does not fit gives the empty text (count 0).
int WideToCodePage(quint32 CodePage, char *Dest, int Capacity, const QString &Text);
// Decodes the zero-terminated bytes; MaxLength bounds the read where the bytes come from a
// mapped file (the text then ends at the first zero or after MaxLength bytes).
QString CodePageToWide(quint32 CodePage, const char *Text);
QString CodePageToWide(quint32 CodePage, const char *Text, qsizetype MaxLength);

// --- Words ---------------------------------------------------------------------------------------------
// Restricted edit distance (insert, delete, substitute, swap two neighbours: 1 each); ASCII
// letters compare without case, so 0 means equal up to ASCII case. Texts of 255 or more code
// units give the larger length.
int EditDistance(const QString &A, const QString &B);
// EditDistance(A, B) when it is at most Bound (0 or more), else Bound + 1; gives up as soon as
// the bound is out of reach. For callers that only need to know "close enough, and how close".
int EditDistanceWithin(QStringView A, QStringView B, int Bound);

// EditDistance's table one column at a time against a fixed pattern of at most 64 code units,
// 64 cells per step (bit-parallel, with neighbour swaps). A column holds the steps between the
// cells of the pattern's prefixes for one text prefix: cell j (0 to the pattern's size) is
// EditDistance(text prefix, pattern.left(j)). The suggestion walk extends one column per trie
// letter; the row loop it replaced cost six times as many instructions per letter (callgrind).
class TDistanceColumns {
public:
  struct TColumn {
    quint64 up = ~0ull; // bit j - 1: cell j is one more than cell j - 1
    quint64 down = 0;   // bit j - 1: cell j is one less than cell j - 1
    quint64 zero = 0;   // diagonal steps of no cost (kept for the swap of the next letter)
    quint64 letter = 0; // the pattern's positions of the letter that made this column
    int last = 0;       // the last cell (the whole pattern), kept so that it needs no count
  };
  static constexpr int MaxPattern = 64;
  // False (and every letter unmatched) for a pattern longer than MaxPattern.
  bool SetPattern(QStringView Pattern);
  int PatternSize() const { return FSize; }
  // The column of the empty text.
  TColumn First() const
  {
    TColumn column;
    column.last = FSize;
    return column;
  }
  // The column after Prev for the text letter C.
  TColumn Next(const TColumn &Prev, char16_t C) const
  {
    // Myers' column step with Hyyroe's swap term; the top cell of every column is one more than
    // the last (the text prefix grows by a letter), hence the 1 shifted in.
    const quint64 x = Letter(C);
    const quint64 swap = ((~Prev.zero & x) << 1) & Prev.letter;
    const quint64 zero = (((x & Prev.up) + Prev.up) ^ Prev.up) | x | Prev.down | swap;
    const quint64 hUpBelow = Prev.down | ~(zero | Prev.up);
    const quint64 hDownBelow = Prev.up & zero;
    const quint64 hUp = hUpBelow << 1 | 1;
    const quint64 hDown = hDownBelow << 1;
    const int last = FSize == 0 ? Prev.last + 1
                                : Prev.last + int((hUpBelow >> (FSize - 1)) & 1) -
                                      int((hDownBelow >> (FSize - 1)) & 1);
    return TColumn{hDown | ~(zero | hUp), zero & hUp, zero, x, last};
  }
  // Cell j of a column whose text prefix has TextLength letters.
  static int Cell(const TColumn &Column, int TextLength, int J)
  {
    const quint64 mask = J >= 64 ? ~0ull : (quint64(1) << J) - 1;
    return TextLength + BitCount(Column.up & mask) - BitCount(Column.down & mask);
  }
  // The bits set in X, inline: built for any x86-64, std::popcount is a library call.
  static int BitCount(quint64 X)
  {
#if defined(__POPCNT__)
    return int(__builtin_popcountll(X));
#else
    X = X - ((X >> 1) & 0x5555555555555555ull);
    X = (X & 0x3333333333333333ull) + ((X >> 2) & 0x3333333333333333ull);
    X = (X + (X >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int((X * 0x0101010101010101ull) >> 56);
#endif
  }
  // EditDistance(Text, pattern), a column per letter of Text.
  int Distance(QStringView Text) const;

private:
  quint64 Letter(char16_t C) const
  {
    if (C >= u'a' && C <= u'z')
      C = char16_t(C - 32);
    return C < 128 ? FAscii[C] : LetterAbove(C);
  }
  quint64 LetterAbove(char16_t C) const;
  std::array<quint64, 128> FAscii{};
  QString FPattern; // folded
  int FSize = 0;
};

// Custom dictionary hashing; results are stored in files, so they are reproduced bit for bit
// (signed 32-bit arithmetic with wrap-around).
int32_t HashWord(const QString &Word, int32_t M);
int32_t HashStep(int32_t h);
int32_t NextHashSize(int32_t n);

// --- Files -------------------------------------------------------------------------------------------
void ForceFolders(const QString &Folder);
// Never destroys an existing file: only a file the probe created itself is removed afterwards.
bool CanCreateFile(const QString &FileName, bool RemoveAfter);
// Moves the file to the desktop trash (freedesktop.org layout: files/ and info/).
bool DeleteToRecycleBin(const QString &FileName, bool Confirm);
// Asked before a confirmed deletion (Confirm = true); answers whether to go on. Unset: no
// question is asked. The widgets layer installs a message box.
void SetRecycleBinConfirmation(std::function<bool(const QString &FileName)> confirm);
// Executables carry no version resource here: always false, both halves 0.
bool GetFileVersion(const QString &FileName, quint32 &VersionHigh, quint32 &VersionLow);

// --- Windows -------------------------------------------------------------------------------------------
bool IsRichEditWindow(HWND Window);
// Not a Windows system: false (no extra frame allowance when placing dialogs).
bool IsWindowsVistaOrLater();

// --- Notification lists -------------------------------------------------------------------------------

class TEventList {
public:
  TEventList();
  virtual ~TEventList();
  TEventList(const TEventList &) = delete;
  TEventList &operator=(const TEventList &) = delete;

  // Registers Listener once; a second Add for the same listener changes nothing.
  void Add(const void *Listener, const TNotifyEvent &EventHandler);
  void Remove(const void *Listener);
  // Calls the handlers registered when the call starts, in order, with Sender.
  void Notify(QObject *Sender);
  const TNotifyEvent &Items(int Index) const { return *FEvents.at(size_t(Index)); }
  int Count() const { return int(FListeners.size()); }

protected:
  std::vector<const void *> FListeners;
  std::vector<std::unique_ptr<TNotifyEvent>> FEvents;
};
