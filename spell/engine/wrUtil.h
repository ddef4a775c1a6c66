#pragma once
// Small services shared by the spelling engine, live spelling and the thesaurus: path macros,
// code-page conversion of stored words, the custom dictionary's hash functions and a few
// file-system helpers. It also includes the engine's other shared units, so that one include
// brings them all: the program's data layout (wrDataLayout.h), word distances (wrDistance.h),
// file stamps (wrFileStamp.h), the desktop trash (wrRecycleBin.h) and notification lists
// (wrEventList.h).
//
// Paths: names are written with "\" as the separator ("%AppDir%\Dictionaries\Spell.cfg").
// Every path function here treats "\" and "/" alike; NativePath() gives the name to open.

#include "rtEditWindow.h"
#include "rtTypes.h"
#include "wrDataLayout.h"
#include "wrDistance.h"
#include "wrEventList.h"
#include "wrFileStamp.h"
#include "wrRecycleBin.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdint>
#include <functional>

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

// --- Code pages of stored words ------------------------------------------------------------------
// CodePage CP_ACP is the system's 8-bit code page (Windows-1252), CP_UTF8 UTF-8 (rtCodePage.h).
// Writes the encoded text and a zero byte into Dest (Capacity bytes, at least 2) and answers the
// byte count without the zero. Text that does not fit gives the empty text (count 0).
int WideToCodePage(quint32 CodePage, char *Dest, int Capacity, const QString &Text);
// Decodes the zero-terminated bytes; MaxLength bounds the read where the bytes come from a
// mapped file (the text then ends at the first zero or after MaxLength bytes).
QString CodePageToWide(quint32 CodePage, const char *Text);
QString CodePageToWide(quint32 CodePage, const char *Text, qsizetype MaxLength);

// --- Custom dictionary hashing ---------------------------------------------------------------------
// Custom dictionary hashing; results are stored in files, so they are reproduced bit for bit
// (signed 32-bit arithmetic with wrap-around).
int32_t HashWord(const QString &Word, int32_t M);
int32_t HashStep(int32_t h);
int32_t NextHashSize(int32_t n);

// --- Files -------------------------------------------------------------------------------------------
void ForceFolders(const QString &Folder);
// Never destroys an existing file: only a file the probe created itself is removed afterwards.
bool CanCreateFile(const QString &FileName, bool RemoveAfter);
// Executables carry no version resource here: always false, both halves 0.
bool GetFileVersion(const QString &FileName, quint32 &VersionHigh, quint32 &VersionLow);

// --- Windows -------------------------------------------------------------------------------------------
bool IsRichEditWindow(HWND Window);
// Not a Windows system: false (no extra frame allowance when placing dialogs).
bool IsWindowsVistaOrLater();
