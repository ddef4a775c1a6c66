#include "rtIniFile.h"

#include "rtCodePage.h"
#include "rtFileLock.h"
#include "rtLog.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// How the file's bytes map to text. A write encodes the text the way it was read, so another
// program's section comes back byte for byte.
enum class TIniEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Windows1252 };

// The file split at line feeds, each line keeping its own line end (none on a last line
// without one), so the lines joined give the text back exactly. A block is a section header
// and the lines up to the next one; the first block holds the lines before any header. Keys
// and sections are indexed once per read: look-ups must not rescan the file (a section with a
// few thousand lines read 65,536 times took 93 s to load).
struct TIniFile::TContent {
  struct TBlock {
    QString Header; // the header line; empty in the first block
    std::vector<QString> Lines;
    QHash<QString, qsizetype> Keys; // folded key -> index of its first line
  };
  std::vector<TBlock> Blocks{1};
  QHash<QString, size_t> Sections; // folded section name -> its first block
  TIniEncoding Encoding = TIniEncoding::Utf8;
  QByteArray Tail;   // an odd last byte of a UTF-16 file, kept as it was
  bool CrLf = false; // the file used CR LF line ends; new lines follow suit
  bool Exact = true; // encoding the text gives the file back; else no writes
};

namespace {

QString toSlashes(QString path)
{
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return path;
}

bool isBlank(const QString &line) { return line.trimmed().isEmpty(); }

QString fold(const QString &name) { return name.toCaseFolded(); }

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

bool endsLine(const QString &line) { return line.endsWith(QLatin1Char('\n')); }

// The line end of `line` ("\n", "\r\n" or none).
QString lineEnd(const QString &line)
{
  if (line.endsWith(QLatin1String("\r\n")))
    return QStringLiteral("\r\n");
  return endsLine(line) ? QStringLiteral("\n") : QString();
}

QString decodeUtf16(const QByteArray &bytes, bool bigEndian)
{
  const qsizetype n = (bytes.size() - 2) / 2;
  QString text(n, Qt::Uninitialized);
  const auto *p = reinterpret_cast<const uchar *>(bytes.constData()) + 2;
  for (qsizetype i = 0; i < n; ++i, p += 2)
    text[i] = QChar(bigEndian ? char16_t(p[0] << 8 | p[1]) : char16_t(p[1] << 8 | p[0]));
  return text;
}

QByteArray encodeUtf16(const QString &text, bool bigEndian)
{
  QByteArray out(bigEndian ? "\xFE\xFF" : "\xFF\xFE", 2);
  out.reserve(2 + text.size() * 2);
  for (QChar c : text) {
    const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
    out.append(bigEndian ? hi : lo);
    out.append(bigEndian ? lo : hi);
  }
  return out;
}

// The text of the file and how to write it back. UTF-8 is taken only when it gives the same
// bytes back, so nothing is ever rewritten with replacement characters; other files are the
// 8-bit code page older programs wrote.
QString decode(const QByteArray &bytes, TIniEncoding &encoding, QByteArray &tail)
{
  tail.clear();
  if (bytes.size() >= 2 && (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))) {
    const bool bigEndian = uchar(bytes[0]) == 0xFE;
    encoding = bigEndian ? TIniEncoding::Utf16Be : TIniEncoding::Utf16Le;
    if (bytes.size() % 2 != 0)
      tail = bytes.right(1);
    return decodeUtf16(bytes, bigEndian);
  }
  const bool bom = bytes.startsWith("\xEF\xBB\xBF");
  const QByteArray body = bom ? bytes.mid(3) : bytes;
  const QString utf8 = QString::fromUtf8(body);
  if (utf8.toUtf8() == body) {
    encoding = bom ? TIniEncoding::Utf8Bom : TIniEncoding::Utf8;
    return utf8;
  }
  encoding = TIniEncoding::Windows1252;
  return DecodeWindows1252(bytes);
}

// False when the text cannot be written in the encoding without changing it.
bool encode(const QString &text, TIniEncoding encoding, QByteArray &bytes)
{
  switch (encoding) {
  case TIniEncoding::Utf8:
    bytes = text.toUtf8();
    return true;
  case TIniEncoding::Utf8Bom:
    bytes = "\xEF\xBB\xBF" + text.toUtf8();
    return true;
  case TIniEncoding::Utf16Le:
  case TIniEncoding::Utf16Be:
    bytes = encodeUtf16(text, encoding == TIniEncoding::Utf16Be);
    return true;
  case TIniEncoding::Windows1252:
    for (QChar c : text)
      if (!IsWindows1252Char(c.unicode()))
        return false;
    bytes = EncodeWindows1252(text);
    return true;
  }
  return false;
}

// Saves before QSaveFile wrote "<file>.tmp.<pid>.<n>": true with the writer's process id.
bool isOwnTempName(const QByteArray &name, const QByteArray &base, pid_t &pid)
{
  const QByteArray prefix = base + ".tmp.";
  if (!name.startsWith(prefix))
    return false;
  const QByteArray rest = name.mid(prefix.size());
  const qsizetype dot = rest.indexOf('.');
  if (dot <= 0 || dot == rest.size() - 1)
    return false;
  auto digits = [](const QByteArray &s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  bool ok = false;
  pid = pid_t(rest.left(dot).toLong(&ok));
  return ok && digits(rest.left(dot)) && digits(rest.mid(dot + 1));
}

// Removes the temporary files that writers killed before their rename left beside `target`.
// Called under the lock, which every writer holds from creating its temporary file until it is
// renamed or removed, so any such file is a dead writer's. The lock is taken on the name the
// writer was given, though, and two names (a link and its target) mean two locks: a file is
// only taken for stale when its writer's process is gone or it is over an hour old.
void removeStaleTempFiles(const QByteArray &target)
{
  const qsizetype slash = target.lastIndexOf('/');
  const QByteArray dir =
      slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : target.left(slash));
  const QByteArray base = target.mid(slash + 1);
  DIR *d = ::opendir(dir.constData());
  if (!d)
    return;
  const time_t now = ::time(nullptr);
  while (const dirent *e = ::readdir(d)) {
    const QByteArray name(e->d_name);
    pid_t pid = 0;
    if (!isOwnTempName(name, base, pid))
      continue;
    const QByteArray path = dir + '/' + name;
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
      continue;
    const bool writerGone = pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH);
    if (writerGone || now - st.st_mtime > 3600)
      ::unlink(path.constData());
  }
  ::closedir(d);
}

} // namespace

TIniFile::TIniFile(const QString &FileName) : FFileName(FileName), FPath(toSlashes(FileName)) {}

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
  const QString text = decode(bytes, content.Encoding, content.Tail);
  QByteArray again;
  content.Exact = encode(text, content.Encoding, again) && again + content.Tail == bytes;
  content.CrLf = text.contains(QLatin1String("\r\n"));

  QString name, key, value;
  for (qsizetype from = 0; from < text.size();) {
    qsizetype to = text.indexOf(QLatin1Char('\n'), from);
    to = to < 0 ? text.size() : to + 1;
    QString line = text.mid(from, to - from);
    from = to;
    if (sectionHeader(line, name)) {
      const QString folded = fold(name);
      if (!content.Sections.contains(folded))
        content.Sections.insert(folded, content.Blocks.size());
      content.Blocks.push_back({line, {}, {}});
      continue;
    }
    TContent::TBlock &block = content.Blocks.back();
    if (entryLine(line, key, value)) {
      const QString folded = fold(key);
      if (!block.Keys.contains(folded))
        block.Keys.insert(folded, qsizetype(block.Lines.size()));
    }
    block.Lines.push_back(std::move(line));
  }
  return true;
}

bool TIniFile::Writable() const
{
  if (FPath.isEmpty() || FPath.endsWith(QLatin1Char('/')))
    return false;
  const QByteArray path = QFile::encodeName(FPath);
  struct stat st {};
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
  // A file whose bytes our reading does not give back is not rewritten: its other sections
  // would change.
  if (!content.Exact)
    return false;
  QString text;
  for (const TContent::TBlock &block : content.Blocks) {
    text += block.Header;
    for (const QString &line : block.Lines)
      text += line;
  }
  QByteArray bytes;
  if (!encode(text, content.Encoding, bytes))
    return false;
  bytes += content.Tail;

  // A symbolic link stays a link: the file it points to is replaced.
  QByteArray target = QFile::encodeName(FPath);
  {
    char resolved[PATH_MAX];
    struct stat lst {};
    if (::lstat(target.constData(), &lst) == 0 && S_ISLNK(lst.st_mode) &&
        ::realpath(target.constData(), resolved))
      target = QByteArray(resolved);
  }
  struct stat st {};
  const bool existed = ::stat(target.constData(), &st) == 0;

  // Leftovers of killed saves: this program's older "<file>.tmp.<pid>.<n>" and QSaveFile's.
  removeStaleTempFiles(target);
  RemoveStaleSaveFiles(QFile::decodeName(target));
  QSaveFile file(QFile::decodeName(target));
  file.setDirectWriteFallback(false);
  // Unbuffered, so that a failing write (full disk, size limit) is seen before the rename.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    return false;
  bool ok =
      file.write(bytes) == bytes.size() && file.flush() && file.error() == QFileDevice::NoError;
  // Every mode bit of the original, which QFile's permissions do not all carry.
  if (ok && existed)
    ok = ::fchmod(file.handle(), st.st_mode & 07777) == 0;
  if (!ok) {
    file.cancelWriting();
    return false;
  }
  return file.commit(); // synced to disk, then renamed into place
}

bool TIniFile::LockFile()
{
  if (FLockFd >= 0)
    return true;
  FLockFd = LockFileBeside(FPath);
  return FLockFd >= 0;
}

void TIniFile::UnlockFile()
{
  // Removed with the lock, as the custom dictionaries' are: the folder keeps no lock file after
  // the program ends (a waiter that then gets the removed file locks the current one instead).
  UnlockFileBeside(FLockFd, FPath, RemoveTheLockFile);
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
  const auto block = FContent->Sections.constFind(fold(Section.trimmed()));
  const QString key = Key.trimmed();
  if (block == FContent->Sections.cend() || key.isEmpty())
    return Default;
  const TContent::TBlock &b = FContent->Blocks[*block];
  const auto at = b.Keys.constFind(fold(key));
  if (at == b.Keys.cend())
    return Default;
  QString k, value;
  entryLine(b.Lines[size_t(*at)], k, value);
  return value.left(MaxValueLength);
}

QStringList TIniFile::ReadSections()
{
  EnsureRead();
  QStringList result;
  QString name;
  for (size_t i = 1; i < FContent->Blocks.size(); ++i)
    if (sectionHeader(FContent->Blocks[i].Header, name) &&
        FContent->Sections.value(fold(name)) == i)
      result.append(name);
  return result;
}

QList<QPair<QString, QString>> TIniFile::ReadSection(const QString &Section)
{
  EnsureRead();
  QList<QPair<QString, QString>> result;
  const auto block = FContent->Sections.constFind(fold(Section.trimmed()));
  if (block == FContent->Sections.cend())
    return result;
  const TContent::TBlock &b = FContent->Blocks[*block];
  QString key, value;
  for (size_t i = 0; i < b.Lines.size(); ++i)
    if (entryLine(b.Lines[i], key, value) && b.Keys.value(fold(key)) == qsizetype(i))
      result.append({key, value.left(MaxValueLength)});
  return result;
}

bool TIniFile::SectionExists(const QString &Section)
{
  EnsureRead();
  return FContent->Sections.contains(fold(Section.trimmed()));
}

bool TIniFile::IsValidKey(const QString &Key)
{
  const QString key = Key.trimmed();
  return !key.isEmpty() && !key.contains(QLatin1Char('=')) && !key.contains(QLatin1Char('\n')) &&
         !key.contains(QLatin1Char('\r')) && !key.startsWith(QLatin1Char('[')) &&
         !key.startsWith(QLatin1Char(';'));
}

bool TIniFile::ApplyWrite(TContent &content, const QString &Section, const QString &Key,
                          const QString &Value)
{
  const QString section = Section.trimmed();
  const QString key = Key.trimmed();
  auto hasBreak = [](const QString &s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
  };
  if (section.isEmpty() || section.contains(QLatin1Char(']')) || hasBreak(section) ||
      !IsValidKey(key))
    return false;
  QString value = Value;
  value.replace(QLatin1String("\r\n"), QLatin1String(" "));
  value.replace(QLatin1Char('\r'), QLatin1Char(' '));
  value.replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QString newline = content.CrLf ? QStringLiteral("\r\n") : QStringLiteral("\n");
  const QString line = key + QLatin1Char('=') + value;
  // The line before a new one gets a line end when it was the file's last and had none.
  auto endLine = [&newline](QString &previous) {
    if (!previous.isEmpty() && !endsLine(previous))
      previous += newline;
  };

  const auto found = content.Sections.constFind(fold(section));
  if (found == content.Sections.cend()) {
    TContent::TBlock &last = content.Blocks.back();
    endLine(last.Lines.empty() ? last.Header : last.Lines.back());
    content.Sections.insert(fold(section), content.Blocks.size());
    TContent::TBlock block{
        QLatin1Char('[') + section + QLatin1Char(']') + newline, {line + newline}, {}};
    block.Keys.insert(fold(key), 0);
    content.Blocks.push_back(std::move(block));
    return true;
  }
  TContent::TBlock &block = content.Blocks[*found];
  if (const auto at = block.Keys.constFind(fold(key)); at != block.Keys.cend()) {
    QString &old = block.Lines[size_t(*at)];
    old = line + lineEnd(old);
    return true;
  }
  // After the section's last non-blank line, so blank lines between sections stay between them
  // (and no indexed line moves).
  size_t at = block.Lines.size();
  while (at > 0 && isBlank(block.Lines[at - 1]))
    --at;
  endLine(at == 0 ? block.Header : block.Lines[at - 1]);
  block.Lines.insert(block.Lines.begin() + qsizetype(at), line + newline);
  block.Keys.insert(fold(key), qsizetype(at));
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
    qCInfo(lcRuntime) << "INI write not saved (unwritable, locked, unreadable or a bad key):"
                      << FPath << Section << Key;
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
