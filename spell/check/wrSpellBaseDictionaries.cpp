// The dictionaries of TWrightSpellBase (declared in wrSpellBase.h): opening main and custom
// dictionaries through the search folders, loading the configured set, the available lists and
// changing the set of custom dictionaries.
#include "wrSpellBase.h"
#include "wrSpellBasePrivate.h"

#include "rtRegistry.h"
#include "wrCustomDictionary.h"
#include "wrMainDictionary.h"
#include "wrParseEngine.h"
#include "wrSuggestions.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringConverter>
#include <QStringDecoder>

#include <algorithm>
#include <utility>

using wrSpellBasePrivate::IsEnglish;
using wrSpellBasePrivate::JoinFolder;

// === Dictionaries
// ===================================================================================

namespace {

// Installed layout (TDataLayout): the program's folder stands for the user's folder, searched
// first, and the shipped folder. Spell.cfg, new dictionaries and changed shipped dictionaries
// (copy on write) go to the user's folder; nothing is written under the installation. Beside
// the executable both helpers are the identity.

// The dictionary folders, expanded, in search order; the first is where new dictionaries go.
QStringList DictionarySearchFolders(TWrightSpellBase &Spell, const TStringList &Merged)
{
  const TDataLayout layout = ProgramDataLayout();
  QStringList folders;
  for (int i = 0; i < Merged.Count(); ++i)
    folders << layout.SearchFolders(Spell.ExpandVars(Merged.Strings(i)));
  return folders;
}

// Where changes to the dictionary file Path are saved: a file of the shipped folder as a copy
// in the user's folder, any other file in place.
QString WritablePath(const QString &Path)
{
  const TDataLayout layout = ProgramDataLayout();
  if (!layout.Installed() || layout.UserFolder().isEmpty() ||
      QDir::cleanPath(NativePath(ExtractFileDir(Path))) != layout.ShippedFolder())
    return Path;
  return NativePath(layout.UserFolder() + QLatin1Char('/') + ExtractFileName(Path));
}

} // namespace

bool TWrightSpellBase::SameFile(const QString &A, const QString &B)
{
  return QDir::cleanPath(NativePath(A)) == QDir::cleanPath(NativePath(B));
}

std::unique_ptr<TMainDictionary> TWrightSpellBase::GetMainDictionary(const QString &Filename)
{
  auto dictionary = std::make_unique<TMainDictionary>();
  FLastOpenFile.clear();
  FLastOpenFailure = ffMissing;
  // Why it failed: the first folder's file when none is there, else the file that was refused.
  auto note = [this, &dictionary](const QString &path) {
    if (FLastOpenFile.isEmpty() ||
        (FLastOpenFailure == ffMissing && dictionary->Failure() != ffMissing)) {
      FLastOpenFile = path;
      FLastOpenFailure = dictionary->Failure();
    }
  };
  if (!HasPathSeparator(Filename)) {
    for (const QString &folder : DictionarySearchFolders(*this, FMergedDictionaryDir)) {
      const QString candidate = NativePath(ExpandVars(JoinFolder(folder, Filename)));
      dictionary->SetFilename(candidate);
      if (dictionary->Filename() == candidate)
        break;
      note(candidate);
    }
  } else {
    const QString path = NativePath(ProgramDataLayout().ReadableFile(ExpandVars(Filename)));
    dictionary->SetFilename(path);
    note(path);
  }
  dictionary->SetConfigurationName(Filename);
  if (dictionary->Filename().isEmpty())
    return nullptr;
  // A file whose header passes but whose body does not map is as absent as a missing one;
  // keeping it would retry the mapping on every word.
  dictionary->SetLoaded(true);
  FLastOpenFile = dictionary->Filename();
  FLastOpenFailure = dictionary->Failure();
  if (!dictionary->Loaded())
    return nullptr;
  return dictionary;
}

QString TWrightSpellBase::ResolveCustomPath(const QString &Filename, bool &Exists)
{
  Exists = false;
  if (HasPathSeparator(Filename)) {
    const TDataLayout layout = ProgramDataLayout();
    QString named = ExpandVars(Filename);
    // An installed program's own folder is never written: a file named beside the executable
    // (the learnt suggestions) lives with the user's dictionaries.
    if (layout.Installed() && SameFile(ExtractFileDir(named), AppDir()))
      named = ExpandPathMacros(QString::fromLatin1(ProgramDataFolder)) + QLatin1Char('/') +
              ExtractFileName(named);
    QString path = NativePath(layout.ReadableFile(named));
    if (!FileExists(path))
      path = NativePath(layout.WritableFile(named));
    // Its folders are made by the save that writes it, not by a look at it.
    Exists = FileExists(path);
    return path;
  }
  const QStringList folders = DictionarySearchFolders(*this, FMergedDictionaryDir);
  for (const QString &folder : folders) {
    const QString path = NativePath(ExpandVars(JoinFolder(folder, Filename)));
    if (FileExists(path)) {
      Exists = true;
      return path;
    }
  }
  if (folders.isEmpty())
    return QString();
  return NativePath(ExpandVars(JoinFolder(folders.constFirst(), Filename)));
}

void TWrightSpellBase::SaveOpenDictionariesOn(const QString &Path)
{
  for (auto &d : FCustomDictionaries)
    if (d->Loaded() && SameFile(d->Filename(), Path))
      d->Save();
  if (FActiveCustom && FActiveCustom->Loaded() && SameFile(FActiveCustom->Filename(), Path))
    FActiveCustom->Save();
}

std::unique_ptr<TCustomDictionary> TWrightSpellBase::GetCustomDictionary(const QString &Filename)
{
  if (Filename.isEmpty())
    return nullptr;
  std::unique_ptr<TCustomDictionary> dictionary;
  if (OnCreateCustomDictionary) {
    TCustomDictionary *supplied = nullptr;
    OnCreateCustomDictionary(this, supplied);
    dictionary.reset(supplied);
  }
  if (!dictionary)
    dictionary = std::make_unique<TCustomDictionary>();
  bool exists = false;
  const QString path = ResolveCustomPath(Filename, exists);
  FLastOpenFile = path;
  FLastOpenFailure = ffNotCreated; // no dictionary folder to create it in
  if (path.isEmpty())
    return nullptr;
  SaveOpenDictionariesOn(path);
  dictionary->SetNewFolders(TCustomDictionary::nfMadeBySave);
  dictionary->SetFilename(path);
  FLastOpenFailure = dictionary->Failure();
  if (dictionary->Filename() != path)
    return nullptr;
  // A refused file (damaged body) stays untouched; the dictionary is absent rather than an
  // empty one that takes new words it could never save.
  dictionary->SetLoaded(true);
  FLastOpenFailure = dictionary->Failure();
  if (!dictionary->Loaded())
    return nullptr;
  const QString target = WritablePath(path);
  if (target != path)
    dictionary->SetSaveFilename(target);
  WatchDictionary(*dictionary);
  return dictionary;
}

std::unique_ptr<TCustomDictionary> TWrightSpellBase::GetMSWordCustomDictionary(
    const QString &Filename)
{
  const QString path = NativePath(ExpandVars(Filename));
  if (!FileExists(path))
    return nullptr;
  auto dictionary = std::make_unique<TCustomDictionary>();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return dictionary; // unreadable: an empty list
  const QByteArray data = file.readAll();
  QString text;
  if (auto encoding = QStringConverter::encodingForData(data)) {
    QStringDecoder decoder(*encoding);
    text = decoder.decode(data);
  } else {
    QStringDecoder utf8(QStringConverter::Utf8);
    text = utf8.decode(data);
    if (utf8.hasError()) {
      QStringDecoder latin(QStringConverter::Latin1);
      text = latin.decode(data);
    }
  }
  const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
  qsizetype first = 0;
  // A LibreOffice word book: "OOoUserDict1", "lang: ...", "type: ...", then "---".
  if (!lines.isEmpty() && lines.front().startsWith(QLatin1String("OOoUserDict"))) {
    const qsizetype end = lines.indexOf(QStringLiteral("---"));
    first = end < 0 ? lines.size() : end + 1;
  }
  for (qsizetype i = first; i < lines.size(); ++i) {
    const QString word = lines[i].trimmed();
    if (!word.isEmpty() && word.size() <= TCustomDictionary::MaxEntryUnits)
      dictionary->AddIgnore(word);
  }
  dictionary->SetModified(false);
  return dictionary;
}

std::unique_ptr<TMainDictionary> TWrightSpellBase::ReuseMainDictionary(
    const QString &Name, std::vector<std::unique_ptr<TMainDictionary>> &OldList)
{
  for (auto it = OldList.begin(); it != OldList.end(); ++it)
    if (*it && (*it)->ConfigurationName() == Name) {
      std::unique_ptr<TMainDictionary> d = std::move(*it);
      OldList.erase(it);
      return d;
    }
  return GetMainDictionary(Name);
}

void TWrightSpellBase::LoadDictionaries()
{
  FAllowPossessive = false;
  FOptimizeCount = 100;

  std::vector<std::unique_ptr<TMainDictionary>> old = std::move(FMainDictionaries);
  FMainDictionaries.clear();
  const TStringList main = FConfiguration->MainDictionaries();
  std::vector<TFileProblem> mainProblems;
  for (int i = 0; i < main.Count(); ++i) {
    FLastOpenFile.clear();
    FLastOpenFailure = ffNone;
    std::unique_ptr<TMainDictionary> d = ReuseMainDictionary(main.Strings(i), old);
    if (!d) {
      mainProblems.push_back({FLastOpenFile.isEmpty() ? main.Strings(i) : FLastOpenFile,
                              FLastOpenFailure == ffNone ? ffUnreadable : FLastOpenFailure,
                              feWordsUnknown});
      continue;
    }
    if (IsEnglish(d->Language()))
      FAllowPossessive = true;
    FMainDictionaries.push_back(std::move(d));
  }
  old.clear();
  // Every word underlined for want of a dictionary must say so.
  for (TFileProblem &p : mainProblems) {
    if (FMainDictionaries.empty())
      p.Effect = feNoChecking;
    ReportFileProblem(p);
  }

  const QString active = FConfiguration->ActiveCustomDictionary();
  FCustomDictionaries.clear();
  const TStringList custom = FConfiguration->CustomDictionaries();
  for (int i = 0; i < custom.Count(); ++i) {
    if (QString::compare(ExpandVars(custom.Strings(i)), active, Qt::CaseInsensitive) == 0)
      continue;
    if (auto d = GetCustomDictionary(custom.Strings(i))) {
      WatchSaves(d.get(), feNoAdding);
      FCustomDictionaries.push_back(std::move(d));
    } else {
      ReportOpenFailure(custom.Strings(i), feNotUsed);
    }
  }

  FMSWordDictionaries.clear();
  const TStringList words = FConfiguration->MSWordCustomDictionaries();
  for (int i = 0; i < words.Count(); ++i)
    if (auto d = GetMSWordCustomDictionary(words.Strings(i)))
      FMSWordDictionaries.push_back(std::move(d));

  FActiveCustom.reset();
  FActiveCustom = GetCustomDictionary(active);
  if (FActiveCustom)
    WatchSaves(FActiveCustom.get(), feNoAdding);
  else if (!active.isEmpty())
    ReportOpenFailure(active, feNoAdding);

  if (!FMappingCustom && !FMappingDictionary.isEmpty()) {
    FMappingCustom = GetCustomDictionary(FMappingDictionary);
    if (!FMappingCustom)
      ReportOpenFailure(FMappingDictionary, feNotUsed);
  }
  if (!FLearningCustom && FLearnSuggestions) {
    FLearningCustom = GetCustomDictionary(FSuggestionsDictFN);
    if (FLearningCustom)
      WatchSaves(FLearningCustom.get(), feNoLearning);
    else
      ReportOpenFailure(FSuggestionsDictFN, feNoLearning);
  }

  FireDictionariesChanged();
}

void TWrightSpellBase::OptimizeDictionaryOrder()
{
  if (FMainDictionaries.size() > 1) {
    size_t best = 0;
    for (size_t i = 1; i < FMainDictionaries.size(); ++i)
      if (FMainDictionaries[i]->WordsFoundCount() > FMainDictionaries[best]->WordsFoundCount())
        best = i;
    if (best != 0)
      std::rotate(FMainDictionaries.begin(), FMainDictionaries.begin() + qsizetype(best),
                  FMainDictionaries.begin() + qsizetype(best) + 1);
  }
  if (!FMainDictionaries.empty()) {
    FSuggestions->SetLanguage(FMainDictionaries.front()->Language());
    if (auto *engine = dynamic_cast<TMainParsingEngine *>(FParsingEngine.get()))
      engine->SetLanguage(FSuggestions->Language());
  }
}

void TWrightSpellBase::UnloadDictionaries()
{
  if (FKeepDictionariesActive || FChecking)
    return;
  FConfiguration->SaveConfiguration();
  for (auto &d : FMainDictionaries)
    d->SetLoaded(false);
  if (FActiveCustom)
    FActiveCustom->SetLoaded(false);
  for (auto &d : FCustomDictionaries)
    d->SetLoaded(false);
  if (FLearningCustom)
    FLearningCustom->SetLoaded(false);
}

// --- Available dictionaries ---------------------------------------------------------------------

void TWrightSpellBase::FindDictionaryFiles(const QString &Ext, TStringList &List)
{
  for (const QString &searched : DictionarySearchFolders(*this, FMergedDictionaryDir)) {
    const QString folder = NativePath(ExpandVars(ExcludeTrailingPathDelimiter(searched)));
    if (folder.isEmpty())
      continue;
    QDir dir(folder);
    const QStringList found = dir.entryList({QStringLiteral("*.") + Ext},
                                            QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    List.AddStrings(found);
  }
  for (int i = List.Count() - 1; i > 0; --i)
    for (int j = 0; j < i; ++j)
      if (List.CompareStrings(List.Strings(i), List.Strings(j)) == 0) {
        List.Delete(i);
        break;
      }
}

const TStringList &TWrightSpellBase::GetConfigAvailableMain()
{
  if (!FAvailableMainValid) {
    FConfigAvailableMain.Clear();
    FindDictionaryFiles(QStringLiteral("wdm"), FConfigAvailableMain);
    FAvailableMainValid = true;
  }
  return FConfigAvailableMain;
}

const TStringList &TWrightSpellBase::GetConfigAvailableCustom()
{
  if (!FAvailableCustomValid) {
    FConfigAvailableCustom.Clear();
    FindDictionaryFiles(QStringLiteral("wdu"), FConfigAvailableCustom);
    const QString active = FConfiguration->ActiveCustomDictionary();
    if (!active.isEmpty() && FConfigAvailableCustom.IndexOf(active) < 0)
      FConfigAvailableCustom.Insert(0, active);
    FAvailableCustomValid = true;
  }
  return FConfigAvailableCustom;
}

const TStringList &TWrightSpellBase::GetConfigAvailableMSWordCustom()
{
  if (FAvailableMSWordValid)
    return FConfigAvailableMSWord;
  FConfigAvailableMSWord.Clear();
  FAvailableMSWordValid = true;
  if (!FWordListRegistry)
    return FConfigAvailableMSWord;
  const QString appData = GetShellFolder(CSIDL_APPDATA);
  for (TRootKey root : {TRootKey::HKEY_CURRENT_USER, TRootKey::HKEY_LOCAL_MACHINE})
    for (const char *key : WordListRegistryKeys) {
      TRegistry registry(FWordListRegistry);
      registry.SetRootKey(root);
      if (!registry.OpenKey(QLatin1Char('\\') + QString::fromLatin1(key), false))
        continue;
      for (int n = 1;; ++n) {
        const QString value = registry.ReadString(QString::number(n));
        if (value.isEmpty())
          break;
        QStringList candidates;
        if (HasPathSeparator(value))
          candidates << value;
        else if (!appData.isEmpty())
          candidates << appData + QStringLiteral("\\Microsoft\\Proof\\") + value
                     << appData + QStringLiteral("\\Microsoft\\UProof\\") + value;
        for (const QString &candidate : candidates)
          if (FileExists(NativePath(candidate)) && FConfigAvailableMSWord.IndexOf(candidate) < 0)
            FConfigAvailableMSWord.Add(candidate);
      }
    }
  return FConfigAvailableMSWord;
}

// --- Changing the set of custom dictionaries ---------------------------------------------------------

bool TWrightSpellBase::EnableCustomDictionary(const QString &Filename, bool Enabled)
{
  TStringList &list = FConfiguration->CustomDictionaries();
  const int index = list.IndexOf(Filename);
  if (index >= 0) {
    if (Enabled)
      return true;
    const bool wasActive = QString::compare(FConfiguration->ActiveCustomDictionary(),
                                            ExpandVars(Filename), Qt::CaseInsensitive) == 0;
    // One reload for both edits: a reload in between would open the old active name again,
    // and opening a missing custom dictionary creates its file.
    list.BeginUpdate();
    list.Delete(index);
    if (wasActive)
      FConfiguration->SetActiveCustomDictionary(NextActiveCustomDictionary(Filename));
    list.EndUpdate();
    return true;
  }
  if (!Enabled)
    return true;
  if (!GetCustomDictionary(Filename))
    return false;
  list.Add(Filename);
  return true;
}

bool TWrightSpellBase::MayBecomeActiveCustom(const QString &Filename) const
{
  const QString name = Filename.toLower();
  for (int i = 0; i < FDefaultActiveCustomPrevent.Count(); ++i)
    if (name.contains(FDefaultActiveCustomPrevent.Strings(i).toLower()))
      return false;
  return true;
}

QString TWrightSpellBase::NextActiveCustomDictionary(const QString &SwitchedOff)
{
  const TStringList &list = FConfiguration->CustomDictionaries();
  for (int i = 0; i < list.Count(); ++i)
    if (MayBecomeActiveCustom(list.Strings(i)))
      return list.Strings(i);
  // The user's own, as a first run names it; none when that is the one switched off.
  const QString own = ExpandNameMacros(ExpandWrightVars(FDefaultActiveCustom));
  if (own.isEmpty() || !MayBecomeActiveCustom(own) ||
      QString::compare(own, ExpandVars(SwitchedOff), Qt::CaseInsensitive) == 0)
    return QString();
  return own;
}

bool TWrightSpellBase::EnableWordDictionary(const QString &Filename, bool Enabled)
{
  TStringList &list = FConfiguration->MSWordCustomDictionaries();
  const int index = list.IndexOf(Filename);
  if (index >= 0) {
    if (!Enabled)
      list.Delete(index);
    return true;
  }
  if (!Enabled)
    return true;
  if (!FileExists(NativePath(ExpandVars(Filename))))
    return false;
  list.Add(Filename);
  return true;
}

bool TWrightSpellBase::RemoveCustomDictionary(const QString &Filename, bool Prompt)
{
  FAvailableCustomValid = false;
  QString path;
  {
    std::unique_ptr<TCustomDictionary> dictionary = GetCustomDictionary(Filename);
    if (dictionary) {
      path = dictionary->Filename();
      dictionary->SetModified(false); // a missing file must not be created by this probe
    } else {
      bool exists = false;
      path = ResolveCustomPath(Filename, exists);
    }
  }
  if (path.isEmpty())
    return false;
  if (FileExists(path) && !DeleteToRecycleBin(path, Prompt))
    return false;
  // Open objects on the deleted file must not write it back when they are freed.
  for (auto &d : FCustomDictionaries)
    if (SameFile(d->Filename(), path))
      d->SetModified(false);
  if (FActiveCustom && SameFile(FActiveCustom->Filename(), path))
    FActiveCustom->SetModified(false);
  EnableCustomDictionary(Filename, false);
  return true;
}

bool TWrightSpellBase::CreateNewCustomDictionary(const QString &Filename)
{
  const QString name = ChangeFileExt(ExtractFileName(Filename), QStringLiteral(".wdu"));
  if (ExtractFileName(name) == QLatin1String(".wdu"))
    return false;
  std::unique_ptr<TCustomDictionary> dictionary = GetCustomDictionary(name);
  if (!dictionary)
    return false;
  dictionary->SetModified(true);
  dictionary->Save();
  const bool created = FileExists(dictionary->Filename());
  dictionary.reset();
  TStringList &list = FConfiguration->CustomDictionaries();
  if (list.IndexOf(name) < 0)
    list.Add(name);
  FAvailableCustomValid = false;
  return created;
}

bool TWrightSpellBase::RenameCustomDictionary(const QString &OldFilename,
                                              const QString &NewFilename)
{
  // The configuration names the file it finds: the new name always carries ".wdu".
  const QString newName = ChangeFileExt(ExtractFileName(NewFilename), QStringLiteral(".wdu"));
  if (newName == QLatin1String(".wdu") ||
      QString::compare(OldFilename, newName, Qt::CaseInsensitive) == 0)
    return false;
  if (GetConfigAvailableCustom().IndexOf(OldFilename) < 0)
    return false;
  std::unique_ptr<TCustomDictionary> dictionary = GetCustomDictionary(OldFilename);
  if (!dictionary || dictionary->Filename().isEmpty())
    return false;
  const QString oldPath = dictionary->Filename();
  // A shipped dictionary stays where it is: the renamed one is a copy in the user's folder.
  const bool copy = WritablePath(oldPath) != oldPath;
  const QString newPath = ExtractFileDir(WritablePath(oldPath)) + QLatin1Char('/') + newName;
  ForceFolders(ExtractFileDir(newPath)); // a copy goes to the user's folder, made here
  if (FileExists(newPath) || !CanCreateFile(newPath, true))
    return false;
  if (copy) {
    dictionary->SaveAs(newPath);
    dictionary->SetModified(false);
    dictionary.reset();
    if (!FileExists(newPath))
      return false;
  } else {
    dictionary->SetModified(true);
    dictionary->Save();
    dictionary.reset();
    // A rename that failed leaves the configuration naming the file that is still there.
    if (!QFile::rename(oldPath, newPath))
      return false;
  }

  const bool wasActive = QString::compare(FConfiguration->ActiveCustomDictionary(),
                                          ExpandVars(OldFilename), Qt::CaseInsensitive) == 0;
  TStringList &list = FConfiguration->CustomDictionaries();
  list.BeginUpdate();
  const int index = list.IndexOf(OldFilename);
  if (index >= 0)
    list.Delete(index);
  list.Add(newName);
  if (wasActive)
    FConfiguration->SetActiveCustomDictionary(newName);
  list.EndUpdate();
  FAvailableCustomValid = false;
  return true;
}

void TWrightSpellBase::ForgetChanges()
{
  FConfiguration->SetModified(false);
  for (TCustomDictionary *d : {FActiveCustom.get(), FInternalCustom.get(), FMappingCustom.get()})
    if (d)
      d->SetModified(false);
  for (auto &d : FCustomDictionaries)
    d->SetModified(false);
}
