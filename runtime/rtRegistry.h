#pragma once
// The registry as the program sees it: root keys, keys addressed by backslash paths, named
// string values and a key's default (unnamed) value. A store behind it answers the reads, so
// that the class registry can be backed by this desktop's file associations and tests can
// give it fixed contents.
//
// Desktop backing of the class registry (TDesktopClassesStore):
//   "\.ext"                       exists when the MIME database knows the extension;
//                                 default value = the MIME type name ("application/vnd.ms-excel")
//   "\<type>\shell\open\command"  exists when a default application is registered for the
//                                 type (mimeapps.list, then mimeinfo.cache, in the XDG
//                                 directories); default value = "\"<desktop id>\" /open %1",
//                                 so that "the text before the first /" with quotes removed is
//                                 the application's desktop id, which the shell stand-in opens
//                                 (runtime/rtShell.h, which also reads the desktop entries).

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

enum class TRootKey { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };

// What the registry reads. Paths are normalised: no leading or trailing backslash.
class TRegistryStore {
public:
  virtual ~TRegistryStore() = default;
  virtual bool KeyExists(TRootKey root, const QString &path) = 0;
  // A value of an existing key; nullopt when the key or the value does not exist. The empty
  // name is the key's default value.
  virtual std::optional<QString> ReadValue(TRootKey root, const QString &path,
                                           const QString &name) = 0;
};

// Fixed contents, for tests and for keys the program defines itself. Key paths and value
// names compare without regard to letter case, as on the real registry.
class TMemoryRegistryStore : public TRegistryStore {
public:
  // Creates the key (and its parents).
  void AddKey(TRootKey root, const QString &path);
  // Creates the key when needed and sets the value.
  void SetValue(TRootKey root, const QString &path, const QString &name, const QString &value);

  bool KeyExists(TRootKey root, const QString &path) override;
  std::optional<QString> ReadValue(TRootKey root, const QString &path,
                                   const QString &name) override;

private:
  static QString Key(TRootKey root, const QString &path);
  QHash<QString, QHash<QString, QString>> FKeys; // key -> lower-case name -> value
};

// The class registry of this desktop (see the header comment). Only HKEY_CLASSES_ROOT has keys.
class TDesktopClassesStore : public TRegistryStore {
public:
  bool KeyExists(TRootKey root, const QString &path) override;
  std::optional<QString> ReadValue(TRootKey root, const QString &path,
                                   const QString &name) override;

  // The MIME type name registered for an extension (".xls"), or empty.
  static QString MimeTypeOfExtension(const QString &extension);
  // The desktop id of the default application for a MIME type, or empty. Entries that cannot
  // run here (missing desktop file, TryExec not found) are passed over.
  static QString DefaultApplication(const QString &mimeType);
};

// The store the registry uses unless one is given: a TDesktopClassesStore. Tests replace it;
// the previous store is returned.
std::shared_ptr<TRegistryStore> SetDefaultRegistryStore(std::shared_ptr<TRegistryStore> store);
std::shared_ptr<TRegistryStore> DefaultRegistryStore();

class TRegistry {
public:
  explicit TRegistry(std::shared_ptr<TRegistryStore> store = DefaultRegistryStore());
  ~TRegistry() { CloseKey(); }

  TRootKey RootKey() const { return FRootKey; }
  void SetRootKey(TRootKey root);

  // Opens a key: a path starting with "\" is taken from the root, others relative to the open
  // key. Keys are never created here (the stores are read-only), so canCreate only documents
  // the caller's intent.
  bool OpenKey(const QString &path, bool canCreate);
  void CloseKey();
  QString CurrentPath() const { return FCurrentPath; }
  bool HasCurrentKey() const { return FOpen; }
  // A string value of the open key; empty when there is none. The empty name reads the
  // default value.
  QString ReadString(const QString &name) const;
  bool ValueExists(const QString &name) const;

private:
  std::shared_ptr<TRegistryStore> FStore;
  TRootKey FRootKey = TRootKey::HKEY_CURRENT_USER;
  QString FCurrentPath;
  bool FOpen = false;
};

// The open command registered for a file extension such as ".xls": the default value of
// "\<type>\shell\open\command", where <type> is the default value of "\<extension>" (or the
// extension itself when that is empty). Empty when any step fails.
QString GetAssociatedOpenCommand(const QString &extension);
