#include "rtRegistry.h"

#include "rtShell.h"

#include <QMimeDatabase>

namespace {

QString normalisePath(QString path)
{
  while (path.startsWith(QLatin1Char('\\')))
    path.remove(0, 1);
  while (path.endsWith(QLatin1Char('\\')))
    path.chop(1);
  return path;
}

const QString kShellOpenCommand = QStringLiteral("\\shell\\open\\command");

std::shared_ptr<TRegistryStore> &defaultStore()
{
  static std::shared_ptr<TRegistryStore> store = std::make_shared<TDesktopClassesStore>();
  return store;
}

} // namespace

// --- TMemoryRegistryStore -----------------------------------------------------------------------

QString TMemoryRegistryStore::Key(TRootKey root, const QString &path)
{
  return QString::number(static_cast<int>(root)) + QLatin1Char(':') + normalisePath(path).toLower();
}

void TMemoryRegistryStore::AddKey(TRootKey root, const QString &path)
{
  const QString p = normalisePath(path);
  const QStringList parts = p.split(QLatin1Char('\\'));
  QString sub;
  for (const QString &part : parts) {
    sub = sub.isEmpty() ? part : sub + QLatin1Char('\\') + part;
    const QString key = Key(root, sub);
    if (!FKeys.contains(key))
      FKeys.insert(key, {});
  }
}

void TMemoryRegistryStore::SetValue(TRootKey root, const QString &path, const QString &name,
                                    const QString &value)
{
  AddKey(root, path);
  FKeys[Key(root, path)].insert(name.toLower(), value);
}

bool TMemoryRegistryStore::KeyExists(TRootKey root, const QString &path)
{
  return FKeys.contains(Key(root, path));
}

std::optional<QString> TMemoryRegistryStore::ReadValue(TRootKey root, const QString &path,
                                                       const QString &name)
{
  const auto key = FKeys.constFind(Key(root, path));
  if (key == FKeys.constEnd())
    return std::nullopt;
  const auto value = key->constFind(name.toLower());
  if (value == key->constEnd())
    return std::nullopt;
  return *value;
}

// --- TDesktopClassesStore -----------------------------------------------------------------------

QString TDesktopClassesStore::MimeTypeOfExtension(const QString &extension)
{
  if (extension.size() < 2 || !extension.startsWith(QLatin1Char('.')) ||
      extension.contains(QLatin1Char('/')))
    return QString();
  const QMimeDatabase db;
  const QMimeType type =
      db.mimeTypeForFile(QStringLiteral("file") + extension, QMimeDatabase::MatchExtension);
  if (!type.isValid() || type.isDefault())
    return QString();
  return type.name();
}

QString TDesktopClassesStore::DefaultApplication(const QString &mimeType)
{
  if (mimeType.isEmpty())
    return QString();
  QStringList types{mimeType};
  const QMimeDatabase db;
  const QMimeType type = db.mimeTypeForName(mimeType);
  if (type.isValid())
    types << type.aliases();
  for (const QString &t : types)
    for (const QString &id : XdgDefaultApplications(t))
      if (FindDesktopEntry(id).Usable)
        return id;
  return QString();
}

bool TDesktopClassesStore::KeyExists(TRootKey root, const QString &pathIn)
{
  return ReadValue(root, pathIn, QString()).has_value();
}

std::optional<QString> TDesktopClassesStore::ReadValue(TRootKey root, const QString &pathIn,
                                                       const QString &name)
{
  if (root != TRootKey::HKEY_CLASSES_ROOT || !name.isEmpty())
    return std::nullopt;
  const QString path = normalisePath(pathIn);
  if (path.startsWith(QLatin1Char('.')) && !path.contains(QLatin1Char('\\'))) {
    const QString mime = MimeTypeOfExtension(path);
    if (mime.isEmpty())
      return std::nullopt;
    return mime;
  }
  const QString suffix = kShellOpenCommand.mid(1);
  if (path.endsWith(suffix, Qt::CaseInsensitive) && path.size() > suffix.size() + 1) {
    const QString type = path.left(path.size() - suffix.size() - 1);
    const QString id = DefaultApplication(type);
    if (id.isEmpty())
      return std::nullopt;
    return QLatin1Char('"') + id + QLatin1String("\" /open \"%1\"");
  }
  return std::nullopt;
}

// --- Default store ----------------------------------------------------------------------------

std::shared_ptr<TRegistryStore> SetDefaultRegistryStore(std::shared_ptr<TRegistryStore> store)
{
  std::shared_ptr<TRegistryStore> old = defaultStore();
  defaultStore() = store ? std::move(store) : std::make_shared<TDesktopClassesStore>();
  return old;
}

std::shared_ptr<TRegistryStore> DefaultRegistryStore() { return defaultStore(); }

// --- TRegistry ----------------------------------------------------------------------------------

TRegistry::TRegistry(std::shared_ptr<TRegistryStore> store) : FStore(std::move(store)) {}

void TRegistry::SetRootKey(TRootKey root)
{
  CloseKey();
  FRootKey = root;
}

bool TRegistry::OpenKey(const QString &path, bool)
{
  QString full = path.startsWith(QLatin1Char('\\')) || !FOpen
                     ? normalisePath(path)
                     : normalisePath(FCurrentPath + QLatin1Char('\\') + path);
  if (!FStore || !FStore->KeyExists(FRootKey, full))
    return false;
  FCurrentPath = full;
  FOpen = true;
  return true;
}

void TRegistry::CloseKey()
{
  FOpen = false;
  FCurrentPath.clear();
}

QString TRegistry::ReadString(const QString &name) const
{
  if (!FOpen || !FStore)
    return QString();
  return FStore->ReadValue(FRootKey, FCurrentPath, name).value_or(QString());
}

bool TRegistry::ValueExists(const QString &name) const
{
  return FOpen && FStore && FStore->ReadValue(FRootKey, FCurrentPath, name).has_value();
}

// --- File associations ----------------------------------------------------------------------------

QString GetAssociatedOpenCommand(const QString &extension)
{
  QString result;
  TRegistry reg;
  reg.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
  if (reg.OpenKey(QLatin1Char('\\') + extension, false)) {
    QString typeName = reg.ReadString(QString());
    if (typeName.isEmpty())
      typeName = extension;
    reg.CloseKey();
    if (reg.OpenKey(QLatin1Char('\\') + typeName + kShellOpenCommand, false)) {
      const QString command = reg.ReadString(QString());
      if (!command.isEmpty())
        result = command;
    }
  }
  reg.CloseKey();
  return result;
}
