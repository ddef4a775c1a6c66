#pragma once
// The current user's key-value store, standing in for the per-user branch of a registry.
//
// A key path such as "Software\Vendor\App" (either separator) names one INI file below the
// user's configuration folder:
//   $XDG_CONFIG_HOME/linewright-registry/software/vendor/app.ini   (default ~/.config)
// Key names compare without regard to letter case, so each path component is stored in lower
// case; empty, "." and ".." components are dropped, so a key can never leave the store's folder.
// A subkey of the key is a section of that file and a named string value a line of it; names
// compare without regard to letter case. The file inherits TIniFile's guarantees (a save is
// all or nothing and writers in different processes do not lose each other's sections) and its
// limits (values up to 2,047 characters, line breaks stored as spaces).

#include "rtIniFile.h"

#include <QString>
#include <memory>

class TUserStore {
public:
  // Key: the key path below the user's root. An empty path names no store: reads give their
  // defaults and writes fail.
  explicit TUserStore(const QString &Key);
  ~TUserStore();
  TUserStore(const TUserStore &) = delete;
  TUserStore &operator=(const TUserStore &) = delete;

  // The folder holding every key's file.
  static QString StoreRoot();
  // The file that holds Key, or empty for an empty key path.
  static QString StoreFileName(const QString &Key);

  const QString &FileName() const { return FFileName; }
  bool IsValid() const { return FIni != nullptr; }

  QString ReadString(const QString &SubKey, const QString &Name, const QString &Default);
  // Creates the key's folders and file as needed; false when the value cannot be stored.
  bool WriteString(const QString &SubKey, const QString &Name, const QString &Value);
  bool SubKeyExists(const QString &SubKey);

  // One locked read-modify-write around many writes (see TIniFile).
  bool BeginUpdate();
  bool EndUpdate();
  void CancelUpdate();

private:
  bool EnsureFolder();
  QString FFileName;
  std::unique_ptr<TIniFile> FIni;
};
