#include "rtIniFile.h"

#include "rtCodePage.h"
#include "rtLog.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The file as lines, kept verbatim so that a write changes only the line it is about.
struct TIniFile::TContent {
  std::vector<QString> Lines;
  bool CrLf = false; // the file used CR LF line ends; new lines follow suit
};

namespace {

QString toSlashes(QString path)
{
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return path;
}

bool isBlank(const QString &line)
{
  return line.trimmed().isEmpty();
}

// "[Name]" (blanks around allowed): true and the trimmed name.
bool sectionHeader(const QString &line, QString &name)
{
  const QString t = line.trimmed();
  if (!t.startsWith(QLatin1Char('[')))
    return false;
  const qsizetype close = t.indexOf(QLatin1Char(']'));
  if (close < 0)
    return false;
  name = t.mid(1, close - 1).trimmed();
  return true;
}

// "Key=Value": true with the trimmed key and value; comment lines and lines without "=" are no
// entries.
bool entryLine(const QString &line, QString &key, QString &value)
{
  const QString t = line.trimmed();
  if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
    return false;
  const qsizetype eq = t.indexOf(QLatin1Char('='));
  if (eq <= 0)
    return false;
  key = t.left(eq).trimmed();
  value = t.mid(eq + 1).trimmed();
  return !key.isEmpty();
}

bool sameName(const QString &a, const QString &b)
{
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the header line of the first section called `section`, or -1.
qsizetype findSection(const std::vector<QString> &lines, const QString &section)
{
  QString name;
  for (size_t i = 0; i < lines.size(); ++i)
    if (sectionHeader(lines[i], name) && sameName(name, section))
      return qsizetype(i);
  return -1;
}

// One past the last line of the section whose header is at `header`.
qsizetype sectionEnd(const std::vector<QString> &lines, qsizetype header)
{
  QString name;
  qsizetype i = header + 1;
  while (i < qsizetype(lines.size()) && !sectionHeader(lines[size_t(i)], name))
    ++i;
  return i;
}

// Index of the first line in [header + 1, end) that holds `key`, or -1; its value into `value`.
qsizetype findKey(const std::vector<QString> &lines, qsizetype header, qsizetype end, const QString &key,
                  QString &value)
{
  QString k;
  for (qsizetype i = header + 1; i < end; ++i)
    if (entryLine(lines[size_t(i)], k, value) && sameName(k, key))
      return i;
  return -1;
}

QString decode(const QByteArray &bytes)
{
  if (bytes.startsWith("\xEF\xBB\xBF"))
    return QString::fromUtf8(bytes.mid(3));
  if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xFE) // UTF-16 LE
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2),
                              (bytes.size() - 2) / 2);
  // UTF-8 when it is valid UTF-8, else the 8-bit code page older files were written in.
  const QString utf8 = QString::fromUtf8(bytes);
  if (!utf8.contains(QChar::ReplacementCharacter) || bytes.contains("\xEF\xBF\xBD"))
    return utf8;
  return DecodeWindows1252(bytes);
}

std::atomic<unsigned> tempCounter{0};

} // namespace

TIniFile::TIniFile(const QString &FileName)
    : FFileName(FileName), FPath(toSlashes(FileName))
{
}

TIniFile::~TIniFile()
{
  if (FUpdating)
    CancelUpdate();
}

bool TIniFile::ReadFile(TContent &content) const
{
  content = TContent();
  if (FPath.isEmpty())
    return false;
  QFile file(FPath);
  if (!file.exists())
    return true; // a missing file reads as an empty one
  if (!file.open(QIODevice::ReadOnly))
    return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    return false;
  const QString text = decode(bytes);
  content.CrLf = text.contains(QLatin1String("\r\n"));
  const QStringList lines = text.split(QLatin1Char('\n'));
  content.Lines.reserve(size_t(lines.size()));
  for (QString line : lines) {
    if (line.endsWith(QLatin1Char('\r')))
      line.chop(1);
    content.Lines.push_back(line);
  }
  // A final line end leaves one empty piece behind; it is no line of the file.
  if (!content.Lines.empty() && content.Lines.back().isEmpty())
    content.Lines.pop_back();
  return true;
}

bool TIniFile::Writable() const
{
  if (FPath.isEmpty() || FPath.endsWith(QLatin1Char('/')))
    return false;
  const QByteArray path = QFile::encodeName(FPath);
  struct stat st{};
  if (::stat(path.constData(), &st) == 0) {
    if (!S_ISREG(st.st_mode))
      return false;
    // A file without any write permission counts as read-only even for a privileged user.
    if ((st.st_mode & 0222) == 0 || ::access(path.constData(), W_OK) != 0)
      return false;
  }
  const QString dir = QFileInfo(FPath).absolutePath();
  return ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) == 0;
}

bool TIniFile::WriteFile(const TContent &content) const
{
  const QString newline = content.CrLf ? QStringLiteral("\r\n") : QStringLiteral("\n");
  QString text;
  for (const QString &line : content.Lines) {
    text += line;
    text += newline;
  }
  const QByteArray bytes = text.toUtf8();

  // A symbolic link stays a link: the file it points to is replaced.
  QByteArray target = QFile::encodeName(FPath);
  {
    char resolved[PATH_MAX];
    struct stat lst{};
    if (::lstat(target.constData(), &lst) == 0 && S_ISLNK(lst.st_mode) &&
        ::realpath(target.constData(), resolved))
      target = QByteArray(resolved);
  }
  struct stat st{};
  const bool existed = ::stat(target.constData(), &st) == 0;

  const QByteArray temp = target + ".tmp." + QByteArray::number(qint64(::getpid())) + "." +
                          QByteArray::number(tempCounter.fetch_add(1));
  const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0)
    return false;
  bool ok = true;
  qsizetype done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR)
      continue;
    ok = n > 0;
    if (ok)
      done += n;
  }
  if (ok && existed)
    ok = ::fchmod(fd, st.st_mode & 07777) == 0;
  if (ok)
    ok = ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok)
    ok = ::rename(temp.constData(), target.constData()) == 0;
  if (!ok)
    ::unlink(temp.constData());
  return ok;
}

bool TIniFile::LockFile()
{
  if (FLockFd >= 0)
    return true;
  const QByteArray lockPath = QFile::encodeName(FPath + QStringLiteral(".lock"));
  const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0)
    return false;
  int r;
  do
    r = ::flock(fd, LOCK_EX);
  while (r != 0 && errno == EINTR);
  if (r != 0) {
    ::close(fd);
    return false;
  }
  FLockFd = fd;
  return true;
}

void TIniFile::UnlockFile()
{
  if (FLockFd < 0)
    return;
  ::flock(FLockFd, LOCK_UN);
  ::close(FLockFd);
  FLockFd = -1;
}

bool TIniFile::EnsureRead()
{
  if (FContent)
    return true;
  auto content = std::make_unique<TContent>();
  if (!ReadFile(*content))
    content = std::make_unique<TContent>(); // unreadable: every read gives its default
  FContent = std::move(content);
  return true;
}

void TIniFile::Refresh()
{
  if (FUpdating)
    return; // the snapshot taken under the lock is the one being changed
  FContent.reset();
}

QString TIniFile::ReadString(const QString &Section, const QString &Key, const QString &Default)
{
  EnsureRead();
  const std::vector<QString> &lines = FContent->Lines;
  const qsizetype header = findSection(lines, Section.trimmed());
  const QString key = Key.trimmed();
  if (header < 0 || key.isEmpty())
    return Default;
  QString value;
  if (findKey(lines, header, sectionEnd(lines, header), key, value) < 0)
    return Default;
  return value.left(MaxValueLength);
}

QStringList TIniFile::ReadSections()
{
  EnsureRead();
  QStringList result;
  QString name;
  for (const QString &line : FContent->Lines)
    if (sectionHeader(line, name) && !result.contains(name, Qt::CaseInsensitive))
      result.append(name);
  return result;
}

QList<QPair<QString, QString>> TIniFile::ReadSection(const QString &Section)
{
  EnsureRead();
  QList<QPair<QString, QString>> result;
  const std::vector<QString> &lines = FContent->Lines;
  const qsizetype header = findSection(lines, Section.trimmed());
  if (header < 0)
    return result;
  const qsizetype end = sectionEnd(lines, header);
  QString key, value;
  for (qsizetype i = header + 1; i < end; ++i) {
    if (!entryLine(lines[size_t(i)], key, value))
      continue;
    const bool seen = std::any_of(result.cbegin(), result.cend(),
                                  [&key](const auto &p) { return sameName(p.first, key); });
    if (!seen)
      result.append({key, value.left(MaxValueLength)});
  }
  return result;
}

bool TIniFile::SectionExists(const QString &Section)
{
  EnsureRead();
  return findSection(FContent->Lines, Section.trimmed()) >= 0;
}

bool TIniFile::ApplyWrite(TContent &content, const QString &Section, const QString &Key,
                          const QString &Value)
{
  const QString section = Section.trimmed();
  const QString key = Key.trimmed();
  auto hasBreak = [](const QString &s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
  };
  if (section.isEmpty() || key.isEmpty() || section.contains(QLatin1Char(']')) || hasBreak(section) ||
      key.contains(QLatin1Char('=')) || hasBreak(key) || key.startsWith(QLatin1Char('[')) ||
      key.startsWith(QLatin1Char(';')))
    return false;
  QString value = Value;
  value.replace(QLatin1String("\r\n"), QLatin1String(" "));
  value.replace(QLatin1Char('\r'), QLatin1Char(' '));
  value.replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QString line = key + QLatin1Char('=') + value;

  std::vector<QString> &lines = content.Lines;
  const qsizetype header = findSection(lines, section);
  if (header < 0) {
    lines.push_back(QLatin1Char('[') + section + QLatin1Char(']'));
    lines.push_back(line);
    return true;
  }
  const qsizetype end = sectionEnd(lines, header);
  QString old;
  if (const qsizetype at = findKey(lines, header, end, key, old); at >= 0) {
    lines[size_t(at)] = line;
    return true;
  }
  // After the section's last non-blank line, so blank lines between sections stay between them.
  qsizetype at = end;
  while (at > header + 1 && isBlank(lines[size_t(at - 1)]))
    --at;
  lines.insert(lines.begin() + at, line);
  return true;
}

bool TIniFile::WriteString(const QString &Section, const QString &Key, const QString &Value)
{
  if (FUpdating) {
    if (FUpdateFailed || !FContent)
      return false;
    if (!ApplyWrite(*FContent, Section, Key, Value))
      return false;
    FDirty = true;
    return true;
  }
  if (!Writable() || !LockFile())
    return false;
  // Read afresh under the lock, so changes other programs made since our snapshot survive.
  auto content = std::make_unique<TContent>();
  bool ok = ReadFile(*content) && ApplyWrite(*content, Section, Key, Value) && WriteFile(*content);
  UnlockFile();
  if (ok)
    FContent = std::move(content);
  else
    qCInfo(lcRuntime) << "INI write not saved (unwritable, locked, unreadable or a bad key):" << FPath
                      << Section << Key;
  return ok;
}

bool TIniFile::BeginUpdate()
{
  if (FUpdating)
    return !FUpdateFailed;
  FUpdating = true;
  FDirty = false;
  FUpdateFailed = true;
  if (!Writable() || !LockFile())
    return false;
  auto content = std::make_unique<TContent>();
  if (!ReadFile(*content)) {
    UnlockFile();
    return false;
  }
  FContent = std::move(content);
  FUpdateFailed = false;
  return true;
}

bool TIniFile::EndUpdate()
{
  if (!FUpdating)
    return false;
  bool ok = !FUpdateFailed;
  if (ok && FDirty)
    ok = WriteFile(*FContent);
  UnlockFile();
  FUpdating = false;
  FDirty = false;
  if (!ok) {
    qCInfo(lcRuntime) << "INI update not saved:" << FPath;
    FContent.reset(); // what we hold was not written; read the file again on next use
  }
  return ok;
}

void TIniFile::CancelUpdate()
{
  if (!FUpdating)
    return;
  UnlockFile();
  FUpdating = false;
  FDirty = false;
  FContent.reset();
}
