#include "rtUserStore.h"

#include <QDir>
#include <QFileInfo>

QString TUserStore::StoreRoot()
{
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base))
    base = QDir::homePath() + QStringLiteral("/.config");
  while (base.size() > 1 && base.endsWith(QLatin1Char('/')))
    base.chop(1);
  return base + QStringLiteral("/linewright-registry");
}

QString TUserStore::StoreFileName(const QString &Key)
{
  QString path = Key;
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QStringList parts;
  for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    const QString p = part.trimmed().toLower();
    if (p.isEmpty() || p == QLatin1String(".") || p == QLatin1String(".."))
      continue;
    parts.append(p);
  }
  if (parts.isEmpty())
    return QString();
  return StoreRoot() + QLatin1Char('/') + parts.join(QLatin1Char('/')) + QStringLiteral(".ini");
}

TUserStore::TUserStore(const QString &Key) : FFileName(StoreFileName(Key))
{
  if (!FFileName.isEmpty())
    FIni = std::make_unique<TIniFile>(FFileName);
}

TUserStore::~TUserStore() = default;

bool TUserStore::EnsureFolder()
{
  if (!FIni)
    return false;
  const QString dir = QFileInfo(FFileName).absolutePath();
  return QFileInfo(dir).isDir() || QDir().mkpath(dir);
}

QString TUserStore::ReadString(const QString &SubKey, const QString &Name, const QString &Default)
{
  return FIni ? FIni->ReadString(SubKey, Name, Default) : Default;
}

bool TUserStore::WriteString(const QString &SubKey, const QString &Name, const QString &Value)
{
  if (!FIni)
    return false;
  if (!FIni->Updating() && !EnsureFolder())
    return false;
  return FIni->WriteString(SubKey, Name, Value);
}

bool TUserStore::SubKeyExists(const QString &SubKey) { return FIni && FIni->SectionExists(SubKey); }

bool TUserStore::BeginUpdate()
{
  if (!FIni)
    return false;
  EnsureFolder();
  return FIni->BeginUpdate();
}

bool TUserStore::EndUpdate() { return FIni && FIni->EndUpdate(); }

void TUserStore::CancelUpdate()
{
  if (FIni)
    FIni->CancelUpdate();
}
