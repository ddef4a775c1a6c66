#include "wrUtil.h"

#include "rtAssert.h"
#include "rtCodePage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxUserName = 256;        // characters the log-on name may have
constexpr int kEnvironmentBuffer = 4096; // expansion result, terminator included

std::function<QString()> &userNameSource()
{
  static std::function<QString()> source;
  return source;
}

std::function<bool(const QString &)> &recycleConfirmation()
{
  static std::function<bool(const QString &)> confirm;
  return confirm;
}

QString systemUserName()
{
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
  passwd pw{};
  passwd *result = nullptr;
  if (getpwuid_r(getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result &&
      result->pw_name)
    return QString::fromLocal8Bit(result->pw_name);
  QString name = qEnvironmentVariable("USER");
  if (name.isEmpty())
    name = qEnvironmentVariable("LOGNAME");
  return name;
}

QString withoutTrailingSeparator(QString path)
{
  while (path.size() > 1 && IsPathSeparator(path.back()))
    path.chop(1);
  return path;
}

QString homeDir() { return qEnvironmentVariable("HOME"); }

QString xdgDataHome()
{
  const QString env = qEnvironmentVariable("XDG_DATA_HOME");
  if (!env.isEmpty() && QDir::isAbsolutePath(env))
    return withoutTrailingSeparator(env);
  const QString home = homeDir();
  return home.isEmpty() ? QString() : withoutTrailingSeparator(home) + "/.local/share";
}

QString xdgFirstDataDir()
{
  const QStringList dirs = qEnvironmentVariable("XDG_DATA_DIRS").split(':', Qt::SkipEmptyParts);
  for (const QString &d : dirs)
    if (QDir::isAbsolutePath(d))
      return withoutTrailingSeparator(d);
  return QStringLiteral("/usr/local/share");
}

} // namespace

// --- Path macros -----------------------------------------------------------------------------------

QString ReplaceFirst(const QString &Pattern, const QString &Replacement, const QString &Source)
{
  if (Pattern.isEmpty())
    return Source;
  const qsizetype at = Source.indexOf(Pattern, 0, Qt::CaseSensitive);
  if (at < 0)
    return Source;
  QString result = Source;
  result.replace(at, Pattern.size(), Replacement);
  return result;
}

QString GetShellFolder(int Folder)
{
  QString path;
  switch (Folder) {
  case CSIDL_APPDATA:
    path = xdgDataHome();
    break;
  case CSIDL_COMMON_APPDATA:
    path = xdgFirstDataDir();
    break;
  case CSIDL_PERSONAL:
    path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    break;
  case CSIDL_COMMON_DOCUMENTS:
    path = QStandardPaths::writableLocation(QStandardPaths::PublicShareLocation);
    break;
  default:
    break;
  }
  return withoutTrailingSeparator(path);
}

QString AppExeName()
{
  if (QCoreApplication::instance())
    return QCoreApplication::applicationFilePath();
  return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

QString AppDir()
{
  if (QCoreApplication::instance())
    return withoutTrailingSeparator(QCoreApplication::applicationDirPath());
  return withoutTrailingSeparator(QFileInfo(AppExeName()).absolutePath());
}

QString AppName() { return QFileInfo(AppExeName()).completeBaseName(); }

QString ModuleDir() { return AppDir(); }

QString ModuleName() { return AppName(); }

QString GetLogOnUserName()
{
  const QString name = userNameSource() ? userNameSource()() : systemUserName();
  return name.size() > kMaxUserName ? QString() : name;
}

void SetLogOnUserNameSource(std::function<QString()> source)
{
  userNameSource() = std::move(source);
}

namespace {

// Replaces the first occurrence of Macro; its value is only worked out when Macro occurs.
template <class Value>
void replaceMacro(QString &Text, const char *Macro, Value value)
{
  const QLatin1StringView macro(Macro);
  const qsizetype at = Text.indexOf(macro);
  if (at >= 0)
    Text.replace(at, macro.size(), value());
}

} // namespace

QString ExpandNameMacros(const QString &Path)
{
  QString result = Path;
  replaceMacro(result, "%ModuleName%", ModuleName);
  replaceMacro(result, "%AppName%", AppName);
  replaceMacro(result, "%UserName%", [] {
    const QString user = GetLogOnUserName();
    return user.isEmpty() ? QStringLiteral("default") : user;
  });
  return result;
}

QString ExpandFolderMacros(const QString &Path)
{
  QString result = Path;
  replaceMacro(result, "%ModuleDir%", ModuleDir);
  replaceMacro(result, "%AppDir%", AppDir);
  replaceMacro(result, "%AppData%", [] {
    const QString f = GetShellFolder(CSIDL_APPDATA);
    return f.isEmpty() ? AppDir() : f;
  });
  replaceMacro(result, "%CommonDocuments%", [] { return GetShellFolder(CSIDL_COMMON_DOCUMENTS); });
  replaceMacro(result, "%CommonAppData%", [] {
    const QString f = GetShellFolder(CSIDL_COMMON_APPDATA);
    return f.isEmpty() ? AppDir() : f;
  });
  replaceMacro(result, "%MyDocuments%", [] { return GetShellFolder(CSIDL_PERSONAL); });
  return result;
}

QString ExpandEnvironmentStrings(const QString &Text, bool *ok)
{
  QString out;
  out.reserve(Text.size());
  qsizetype i = 0;
  const qsizetype n = Text.size();
  while (i < n) {
    if (Text[i] != QLatin1Char('%')) {
      out += Text[i++];
      continue;
    }
    const qsizetype close = Text.indexOf(QLatin1Char('%'), i + 1);
    if (close < 0) {
      out += QStringView(Text).mid(i);
      break;
    }
    const QString name = Text.mid(i + 1, close - i - 1);
    const QByteArray key = name.toLocal8Bit();
    if (!name.isEmpty() && !name.contains(QLatin1Char('=')) &&
        qEnvironmentVariableIsSet(key.constData())) {
      out += qEnvironmentVariable(key.constData());
      i = close + 1;
    } else {
      // Unknown: keep "%name" and let the closing percent sign open the next name.
      out += QStringView(Text).mid(i, close - i);
      i = close;
    }
  }
  // The result is a zero-terminated buffer: it ends at the first zero character.
  const qsizetype zero = out.indexOf(QChar(0));
  if (zero >= 0)
    out.truncate(zero);
  if (out.size() >= kEnvironmentBuffer) {
    if (ok)
      *ok = false;
    return Text;
  }
  if (ok)
    *ok = true;
  return out;
}

QString ExpandPathMacros(const QString &Path)
{
  return ExpandEnvironmentStrings(ExpandFolderMacros(ExpandNameMacros(Path)));
}

// --- Path handling ------------------------------------------------------------------------------------

bool IsPathSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

bool HasPathSeparator(const QString &Path)
{
  return std::any_of(Path.begin(), Path.end(), IsPathSeparator);
}

QString NativePath(const QString &Path)
{
  QString p = Path;
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return p;
}

static qsizetype lastSeparator(const QString &Path)
{
  for (qsizetype i = Path.size() - 1; i >= 0; --i)
    if (IsPathSeparator(Path[i]))
      return i;
  return -1;
}

QString ExtractFileName(const QString &Path) { return Path.mid(lastSeparator(Path) + 1); }

QString ExtractFileDir(const QString &Path)
{
  const qsizetype s = lastSeparator(Path);
  if (s < 0)
    return QString();
  return s == 0 ? Path.left(1) : Path.left(s);
}

QString ExtractFileExt(const QString &Path)
{
  const QString name = ExtractFileName(Path);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot);
}

QString ChangeFileExt(const QString &Path, const QString &Ext)
{
  const QString ext = ExtractFileExt(Path);
  return Path.left(Path.size() - ext.size()) + Ext;
}

QString ExcludeTrailingPathDelimiter(const QString &Path) { return withoutTrailingSeparator(Path); }

bool FileExists(const QString &Path)
{
  if (Path.isEmpty())
    return false;
  const QFileInfo info(NativePath(Path));
  return info.exists() && !info.isDir();
}

namespace {

TFileStamp StampOf(const struct stat &st)
{
  return {qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
          qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec, qint64(st.st_size),
          quint64(st.st_ino)};
}

} // namespace

TFileStamp ReadFileStamp(const QString &Path)
{
  struct stat st;
  if (::stat(QFile::encodeName(NativePath(Path)).constData(), &st) != 0)
    return TFileStamp{-1, -1, -1, 0};
  return StampOf(st);
}

TFileStamp ReadFileStamp(int Fd)
{
  struct stat st;
  if (Fd < 0 || ::fstat(Fd, &st) != 0)
    return TFileStamp{-1, -1, -1, 0};
  return StampOf(st);
}

bool DirectoryExists(const QString &Path)
{
  return !Path.isEmpty() && QFileInfo(NativePath(Path)).isDir();
}

// --- The program's folder ------------------------------------------------------------------------------

// Set by the build from the install rules: the data folder as seen from the executable's folder.
#ifndef LW_DATA_FROM_BIN
#define LW_DATA_FROM_BIN "../share/linewright"
#endif

namespace {

QString cleanFolder(const QString &Path) { return QDir::cleanPath(NativePath(Path)); }

} // namespace

QString TDataLayout::InstalledShippedFolder(const QString &AppDir)
{
  return cleanFolder(AppDir + QStringLiteral("/" LW_DATA_FROM_BIN "/Dictionaries"));
}

TDataLayout TDataLayout::Of(const QString &AppDir)
{
  TDataLayout layout;
  layout.FAppDir = cleanFolder(AppDir);
  const QString beside = layout.FAppDir + QStringLiteral("/Dictionaries");
  const QString installed = InstalledShippedFolder(AppDir);
  // A folder beside the executable wins, so the build tree keeps working as it always has.
  layout.FInstalled = !DirectoryExists(beside) && DirectoryExists(installed);
  if (layout.FInstalled) {
    layout.FShipped = installed;
    const QString dataHome = xdgDataHome();
    if (!dataHome.isEmpty())
      layout.FUser = dataHome + QStringLiteral("/linewright/Dictionaries");
  } else {
    layout.FShipped = beside;
  }
  return layout;
}

bool TDataLayout::IsProgramFolder(const QString &Folder) const
{
  return cleanFolder(ExpandPathMacros(Folder)) == FAppDir + QStringLiteral("/Dictionaries");
}

QStringList TDataLayout::SearchFolders(const QString &Folder) const
{
  if (!FInstalled || !IsProgramFolder(Folder))
    return {Folder};
  if (FUser.isEmpty())
    return {FShipped};
  return {FUser, FShipped};
}

QString TDataLayout::WritableFolder(const QString &Folder) const
{
  return SearchFolders(Folder).constFirst();
}

QString TDataLayout::ReadableFile(const QString &FileName) const
{
  const QString folder = ExtractFileDir(FileName);
  if (!FInstalled || folder.isEmpty() || !IsProgramFolder(folder))
    return FileName;
  const QString name = ExtractFileName(FileName);
  const QStringList folders = SearchFolders(folder);
  for (const QString &f : folders)
    if (FileExists(f + QLatin1Char('/') + name))
      return f + QLatin1Char('/') + name;
  return folders.constLast() + QLatin1Char('/') + name;
}

QString TDataLayout::WritableFile(const QString &FileName) const
{
  const QString folder = ExtractFileDir(FileName);
  if (!FInstalled || folder.isEmpty() || !IsProgramFolder(folder))
    return FileName;
  return WritableFolder(folder) + QLatin1Char('/') + ExtractFileName(FileName);
}

TDataLayout ProgramDataLayout() { return TDataLayout::Of(AppDir()); }

// --- Code pages ---------------------------------------------------------------------------------------

int WideToCodePage(quint32 CodePage, char *Dest, int Capacity, const QString &Text)
{
  rtAssert(Capacity >= 2 && Dest != nullptr, "wrUtil",
           "WideToCodePage needs a buffer of at least 2 bytes");
  Dest[0] = 0;
  QByteArray bytes;
  qsizetype total = 0;
  if (CodePage == CP_UTF8) {
    if (Text.size() > Capacity)
      return 0; // every code unit takes at least one byte: does not fit
    bytes = EncodeUtf8(Text);
    total = bytes.size();
    if (total > Capacity)
      return 0; // does not fit
    // Exactly full: the last whole character goes to make room for the zero byte.
    if (total == Capacity)
      do
        --total;
      while (total > 0 && (uchar(bytes[total]) & 0xC0) == 0x80);
  } else {
    bool ok = false;
    bytes = EncodeCodePage(CodePage, Text, &ok);
    if (!ok || bytes.size() > Capacity - 1)
      return 0;
    total = bytes.size();
  }
  std::memcpy(Dest, bytes.constData(), size_t(total));
  Dest[total] = 0;
  return int(total);
}

QString CodePageToWide(quint32 CodePage, const char *Text)
{
  if (!Text)
    return QString();
  return DecodeCodePage(CodePage, QByteArrayView(Text, qsizetype(std::strlen(Text))));
}

QString CodePageToWide(quint32 CodePage, const char *Text, qsizetype MaxLength)
{
  if (!Text || MaxLength <= 0)
    return QString();
  const void *zero = std::memchr(Text, 0, size_t(MaxLength));
  const qsizetype length = zero ? static_cast<const char *>(zero) - Text : MaxLength;
  return DecodeCodePage(CodePage, QByteArrayView(Text, length));
}

// --- Words ------------------------------------------------------------------------------------------------

int EditDistance(const QString &A, const QString &B)
{
  const int la = int(A.size());
  const int lb = int(B.size());
  if (la >= 255 || lb >= 255)
    return std::max(la, lb);
  auto fold = [](char16_t c) -> char16_t {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
  };
  // Restricted edit distance: insertion, deletion, substitution and a swap of two neighbouring
  // characters each cost 1, all in one table, so 0 means equal up to ASCII case. (Crediting
  // swaps afterwards by position, without alignment, gave 0 to "aranged" and "ranged".)
  // The suggestion walk calls this twice for every dictionary word it visits: three rows of the
  // table on the stack instead of the whole table on the heap saved a sixth of its time
  // (callgrind, 30 misspellings).
  char16_t fa[256], fb[256];
  for (int i = 0; i < la; ++i)
    fa[i] = fold(A[i].unicode());
  for (int j = 0; j < lb; ++j)
    fb[j] = fold(B[j].unicode());
  quint8 rows[3][256];
  quint8 *before = rows[0], *prev = rows[1], *cur = rows[2];
  for (int j = 0; j <= lb; ++j)
    prev[j] = quint8(j);
  for (int i = 1; i <= la; ++i) {
    const char16_t a = fa[i - 1];
    cur[0] = quint8(i);
    for (int j = 1; j <= lb; ++j) {
      const char16_t b = fb[j - 1];
      int v;
      if (a == b)
        v = prev[j - 1];
      else
        v = 1 + std::min({int(prev[j]), int(cur[j - 1]), int(prev[j - 1])});
      if (i > 1 && j > 1 && a != b && a == fb[j - 2] && fa[i - 2] == b)
        v = std::min(v, before[j - 2] + 1);
      cur[j] = quint8(v);
    }
    quint8 *spare = before;
    before = prev;
    prev = cur;
    cur = spare;
  }
  return prev[lb];
}

int EditDistanceWithin(QStringView A, QStringView B, int Bound)
{
  const int la = int(A.size());
  const int lb = int(B.size());
  if (la >= 255 || lb >= 255)
    return std::min(std::max(la, lb), Bound + 1);
  if (std::abs(la - lb) > Bound)
    return Bound + 1;
  auto fold = [](char16_t c) -> char16_t {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
  };
  // The table of EditDistance row by row; its row minimum never decreases, so a row whose
  // minimum is past the bound ends the work.
  const char16_t *a = A.utf16();
  const char16_t *b = B.utf16();
  quint8 rows[3][256];
  quint8 *before = rows[0], *prev = rows[1], *cur = rows[2];
  for (int j = 0; j <= lb; ++j)
    prev[j] = quint8(j);
  for (int i = 1; i <= la; ++i) {
    const char16_t ca = fold(a[i - 1]);
    cur[0] = quint8(i);
    int least = i;
    for (int j = 1; j <= lb; ++j) {
      const char16_t cb = fold(b[j - 1]);
      int v;
      if (ca == cb)
        v = prev[j - 1];
      else
        v = 1 + std::min({int(prev[j]), int(cur[j - 1]), int(prev[j - 1])});
      if (i > 1 && j > 1 && ca != cb && ca == fold(b[j - 2]) && fold(a[i - 2]) == cb)
        v = std::min(v, before[j - 2] + 1);
      cur[j] = quint8(v);
      least = std::min(least, v);
    }
    if (least > Bound)
      return Bound + 1;
    quint8 *spare = before;
    before = prev;
    prev = cur;
    cur = spare;
  }
  return std::min<int>(prev[lb], Bound + 1);
}

bool TDistanceColumns::SetPattern(QStringView Pattern)
{
  FAscii.fill(0);
  FPattern.clear();
  FSize = 0;
  if (Pattern.size() > MaxPattern)
    return false;
  FSize = int(Pattern.size());
  FPattern.reserve(FSize);
  for (int j = 0; j < FSize; ++j) {
    char16_t c = Pattern[j].unicode();
    if (c >= u'a' && c <= u'z')
      c = char16_t(c - 32);
    FPattern += QChar(c);
    if (c < 128)
      FAscii[c] |= quint64(1) << j;
  }
  return true;
}

quint64 TDistanceColumns::LetterAbove(char16_t C) const
{
  quint64 bits = 0;
  for (int j = 0; j < FSize; ++j)
    if (FPattern[j].unicode() == C)
      bits |= quint64(1) << j;
  return bits;
}

int TDistanceColumns::Distance(QStringView Text) const
{
  if (Text.size() >= 255) // as EditDistance gives up
    return std::max(int(Text.size()), FSize);
  TColumn column = First();
  for (const QChar c : Text)
    column = Next(column, c.unicode());
  return column.last;
}


namespace {
inline int32_t wrapAdd(int32_t x, int32_t y)
{
  return static_cast<int32_t>(static_cast<uint32_t>(x) + static_cast<uint32_t>(y));
}
inline int32_t wrapMul(int32_t x, int32_t y)
{
  return static_cast<int32_t>(static_cast<uint32_t>(x) * static_cast<uint32_t>(y));
}
} // namespace

int32_t HashWord(const QString &Word, int32_t M)
{
  if (M < 2)
    return 0; // a table of one slot (or none) has only slot 0; also keeps "mod (M - 1)" defined
  int32_t a = 31415;
  const int32_t b = 27183;
  int32_t h = 0;
  for (QChar ch : Word) {
    h = wrapAdd(int32_t(ch.unicode()), wrapMul(a, h)) % M;
    if (h < 0)
      h = (-h) % M; // |h| < M here, so the negation cannot overflow
    a = wrapMul(a, b) % (M - 1);
  }
  return h;
}

int32_t HashStep(int32_t h) { return (h % 97) + 1; }

int32_t NextHashSize(int32_t n)
{
  static constexpr int32_t sizes[] = {
      251,      509,      1021,     2039,      4093,      8191,      16381,      32749,
      65521,    131071,   262139,   524287,    1048573,   2097143,   4194301,    8388593,
      16777213, 33554393, 67108859, 134217689, 268435399, 536870909, 1073741789, 2147483647};
  for (int32_t s : sizes)
    if (s > n)
      return s;
  return sizes[std::size(sizes) - 1]; // nothing larger exists in 32 bits
}

// --- Files ------------------------------------------------------------------------------------------------

void ForceFolders(const QString &Folder)
{
  const QString path = NativePath(Folder);
  if (path.isEmpty() || QFileInfo(path).isDir())
    return;
  QDir().mkpath(path);
}

bool CanCreateFile(const QString &FileName, bool RemoveAfter)
{
  if (FileName.isEmpty())
    return false;
  const QByteArray path = QFile::encodeName(NativePath(FileName));
  struct stat st;
  if (RemoveAfter && ::lstat(path.constData(), &st) != 0 && errno == ENOENT) {
    // The name itself is not created, not even for a moment: another program may rename a whole
    // file into place meanwhile, and removing the probe would delete it (four programs saving
    // one new custom dictionary lost all the words of one in 2 to 4 runs of 40). A file of a
    // name of its own in the same folder answers for the folder.
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    if (path.size() - slash - 1 > NAME_MAX)
      return false;
    QByteArray probe = folder + "/.lw-probe-XXXXXX";
    const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0)
      return false;
    ::close(fd);
    ::unlink(probe.constData());
    return true;
  }
  int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    ::close(fd);
    if (RemoveAfter)
      ::unlink(path.constData());
    return true;
  }
  if (errno != EEXIST)
    return false;
  // The name exists: probe that it opens for writing, without truncating or removing it.
  fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0)
    return false;
  ::close(fd);
  return true;
}

void SetRecycleBinConfirmation(std::function<bool(const QString &)> confirm)
{
  recycleConfirmation() = std::move(confirm);
}

namespace {

bool makePrivateDir(const QByteArray &dir)
{
  if (::mkdir(dir.constData(), 0700) == 0)
    return true;
  struct stat st {};
  return errno == EEXIST && ::lstat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The trash directory for a file on device `dev`, and the prefix its info paths are relative to
// (empty: absolute paths).
bool findTrash(const QString &absPath, dev_t dev, QByteArray &trash, QString &relativeTo)
{
  const QString dataHome = xdgDataHome();
  if (!dataHome.isEmpty()) {
    QDir().mkpath(dataHome);
    struct stat st {};
    if (::stat(QFile::encodeName(dataHome).constData(), &st) == 0 && st.st_dev == dev) {
      trash = QFile::encodeName(dataHome + "/Trash");
      relativeTo.clear();
      return makePrivateDir(trash);
    }
  }
  // Another file system: the trash at the top of its mount.
  QString top = QFileInfo(absPath).absolutePath();
  for (;;) {
    const QString parent = QFileInfo(top).absolutePath();
    struct stat st {};
    if (parent == top || ::stat(QFile::encodeName(parent).constData(), &st) != 0 ||
        st.st_dev != dev)
      break;
    top = parent;
  }
  const QString uid = QString::number(getuid());
  const QString topPrefix = top == QLatin1String("/") ? QString() : top;
  // $top/.Trash/$uid, only when .Trash is a real sticky directory.
  struct stat st {};
  const QByteArray shared = QFile::encodeName(topPrefix + "/.Trash");
  if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
    trash = shared + "/" + uid.toLatin1();
    if (makePrivateDir(trash)) {
      relativeTo = topPrefix;
      return true;
    }
  }
  trash = QFile::encodeName(topPrefix + "/.Trash-" + uid);
  relativeTo = topPrefix;
  return makePrivateDir(trash);
}

} // namespace

bool DeleteToRecycleBin(const QString &FileName, bool Confirm)
{
  if (FileName.isEmpty())
    return false;
  const QString absPath = QFileInfo(NativePath(FileName)).absoluteFilePath();
  const QByteArray src = QFile::encodeName(absPath);
  struct stat st {};
  if (::lstat(src.constData(), &st) != 0)
    return false;
  if (Confirm && recycleConfirmation() && !recycleConfirmation()(FileName))
    return false;

  QByteArray trash;
  QString relativeTo;
  if (!findTrash(absPath, st.st_dev, trash, relativeTo))
    return false;
  const QByteArray filesDir = trash + "/files";
  const QByteArray infoDir = trash + "/info";
  if (!makePrivateDir(filesDir) || !makePrivateDir(infoDir))
    return false;

  QString originalPath = absPath;
  if (!relativeTo.isEmpty() && originalPath.startsWith(relativeTo + "/"))
    originalPath = originalPath.mid(relativeTo.size() + 1);
  const QByteArray info =
      "[Trash Info]\nPath=" + QUrl::toPercentEncoding(originalPath, "/") + "\nDeletionDate=" +
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
      "\n";

  const QByteArray baseName = QFile::encodeName(QFileInfo(absPath).fileName());
  for (int n = 1; n < 10000; ++n) {
    const QByteArray name = n == 1 ? baseName : baseName + "." + QByteArray::number(n);
    const QByteArray infoPath = infoDir + "/" + name + ".trashinfo";
    const QByteArray target = filesDir + "/" + name;
    // The info file is claimed first and exclusively; it reserves the name in files/.
    const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST)
        continue;
      return false;
    }
    struct stat existing {};
    if (::lstat(target.constData(), &existing) == 0) {
      ::close(fd);
      ::unlink(infoPath.constData());
      continue;
    }
    const bool written = ::write(fd, info.constData(), size_t(info.size())) == ssize_t(info.size());
    ::close(fd);
    if (written && ::rename(src.constData(), target.constData()) == 0)
      return true;
    ::unlink(infoPath.constData());
    return false;
  }
  return false;
}

bool GetFileVersion(const QString &FileName, quint32 &VersionHigh, quint32 &VersionLow)
{
  Q_UNUSED(FileName);
  VersionHigh = 0;
  VersionLow = 0;
  return false;
}

// --- Windows ------------------------------------------------------------------------------------------------

bool IsRichEditWindow(HWND Window)
{
  if (!Window)
    return false;
  int cpMin = -2, cpMax = -2;
  Window->ExGetSel(cpMin, cpMax);
  return cpMin != -2 || cpMax != -2;
}

bool IsWindowsVistaOrLater() { return false; }

// --- TEventList -----------------------------------------------------------------------------------------------

TEventList::TEventList() = default;

TEventList::~TEventList()
{
  while (!FListeners.empty())
    Remove(FListeners.front());
}

void TEventList::Add(const void *Listener, const TNotifyEvent &EventHandler)
{
  if (std::find(FListeners.begin(), FListeners.end(), Listener) != FListeners.end())
    return;
  FListeners.push_back(Listener);
  FEvents.push_back(std::make_unique<TNotifyEvent>(EventHandler));
}

void TEventList::Remove(const void *Listener)
{
  const auto it = std::find(FListeners.begin(), FListeners.end(), Listener);
  if (it == FListeners.end())
    return;
  const auto index = it - FListeners.begin();
  FListeners.erase(it);
  FEvents.erase(FEvents.begin() + index);
}

void TEventList::Notify(QObject *Sender)
{
  const size_t count = FEvents.size();
  for (size_t i = 0; i < count && i < FEvents.size(); ++i) {
    // A copy, so a handler that detaches its own listener does not destroy itself mid-call.
    const TNotifyEvent handler = *FEvents[i];
    if (handler)
      handler(Sender);
  }
}
