#include "wrUtil.h"

#include "rtAssert.h"
#include "rtCodePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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

QString &appDirOverride()
{
  static QString dir;
  return dir;
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

// Not QStandardPaths::GenericDataLocation: Qt 6.4 takes a relative XDG_DATA_HOME as it stands
// (the XDG rules say to ignore it; the folder would move with the working folder) and without
// HOME answers "//.local/share" at the root of the file system, where this answers no folder.
// The documents and public folders below agree with Qt's answers and come from it.
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
  if (!appDirOverride().isEmpty())
    return appDirOverride();
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

void SetAppDirOverride(const QString &Dir) { appDirOverride() = withoutTrailingSeparator(Dir); }

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

bool DirectoryExists(const QString &Path)
{
  return !Path.isEmpty() && QFileInfo(NativePath(Path)).isDir();
}

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

// --- Custom dictionary hashing ---------------------------------------------------------------------

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
    const QByteArray folder = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : path.left(slash);
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
