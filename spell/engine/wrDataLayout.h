#pragma once
// Where the program's own files are: the build tree and installed layouts.
//
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

#include <QString>
#include <QStringList>

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
