#include "wrRecycleBin.h"

#include "wrUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStandardPaths>
#include <QUrl>

namespace {

std::function<bool(const QString &)> &recycleConfirmation()
{
  static std::function<bool(const QString &)> confirm;
  return confirm;
}

// Qt 6.4 writes the origin as it stands, where the trash layout has it percent-encoded as in a
// URL: a file manager would restore "my 100%41.txt" as "my 100A.txt". The origin is encoded here
// when it reads as the file's own path (absolute, or relative to the top of its file system);
// one a later Qt encoded differs from that wherever encoding changes anything, and is left alone.
void EscapeTrashInfoPath(const QString &Original, const QString &Trashed)
{
  const QFileInfo trashedFile(Trashed);
  const QString infoName = trashedFile.dir().absolutePath() + QStringLiteral("/../info/") +
                           trashedFile.fileName() + QStringLiteral(".trashinfo");
  QFile info(QDir::cleanPath(infoName));
  if (!info.open(QIODevice::ReadWrite))
    return;
  QList<QByteArray> lines = info.readAll().split('\n');
  bool changed = false;
  for (QByteArray &line : lines) {
    if (!line.startsWith("Path="))
      continue;
    const QString raw = QString::fromUtf8(line.mid(5));
    const QByteArray escaped = QUrl::toPercentEncoding(raw, "/");
    const bool asItStands =
        raw == Original || (!raw.startsWith(QLatin1Char('/')) && Original.endsWith('/' + raw));
    if (asItStands && escaped != line.mid(5)) {
      line = "Path=" + escaped;
      changed = true;
    }
    break;
  }
  if (!changed)
    return;
  info.resize(0);
  info.seek(0);
  info.write(lines.join('\n'));
}

} // namespace

void SetRecycleBinConfirmation(std::function<bool(const QString &)> confirm)
{
  recycleConfirmation() = std::move(confirm);
}

bool DeleteToRecycleBin(const QString &FileName, bool Confirm)
{
  if (FileName.isEmpty())
    return false;
  const QString path = NativePath(FileName);
  // A dangling symbolic link is still a name to move.
  if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
    return false;
  if (Confirm && recycleConfirmation() && !recycleConfirmation()(FileName))
    return false;
  // Qt 6.4 makes the home trash only inside an existing data folder, and when it cannot make
  // one it moves the file into "files" and "info" below the working folder instead; it takes a
  // relative XDG_DATA_HOME as relative to the working folder too. So the home trash is made here
  // first, and a file that lands anywhere but under an absolute trash folder is put back.
  const QString dataHome = GetShellFolder(CSIDL_APPDATA);
  if (dataHome.isEmpty() || !QDir().mkpath(dataHome + QStringLiteral("/Trash")) ||
      !QDir::isAbsolutePath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)))
    return false;
  // Qt writes the freedesktop.org layout: the file in <trash>/files under a name no other
  // trashed file has, its origin and deletion date in <trash>/info/<name>.trashinfo.
  QString trashed;
  if (!QFile::moveToTrash(path, &trashed))
    return false;
  const QFileInfo trashedFile(trashed);
  if (!trashedFile.isAbsolute() || trashedFile.dir().dirName() != QLatin1String("files") ||
      !trashedFile.dir().absolutePath().contains(QLatin1String("/Trash"), Qt::CaseInsensitive)) {
    QFile::rename(trashed, path);
    QFile::remove(trashedFile.dir().absolutePath() + QStringLiteral("/../info/") +
                  trashedFile.fileName() + QStringLiteral(".trashinfo"));
    return false;
  }
  EscapeTrashInfoPath(QFileInfo(path).absoluteFilePath(), trashed);
  return true;
}
