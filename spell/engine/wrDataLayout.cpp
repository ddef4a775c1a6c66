#include "wrDataLayout.h"

#include "wrUtil.h"

#include <QDir>

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
    const QString dataHome = GetShellFolder(CSIDL_APPDATA);
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
