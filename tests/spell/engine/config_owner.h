#pragma once
// A stand-in for the check session that owns a TWrightConfig: the values of the main window's
// spell component, and a record of what the configuration told it.

#include "wrConfiguration.h"
#include "wrUtil.h"

#include <QMap>
#include <QString>

class TTestConfigOwner : public TWrightConfigOwner {
public:
  TTestConfigOwner()
  {
    DefaultMain.Add(QStringLiteral("aussie.wdm"));
    DefaultCustom.Add(QStringLiteral("Autocorrect.wdu"));
  }

  TConfigStorage Storage = csFile;
  QString ID = QStringLiteral("%UserName%");
  QString Filename;
  QString RegistryKey = QStringLiteral("Software\\Linewright\\%AppName%");
  TStringList DefaultMain;
  TStringList DefaultCustom;
  TStringList AvailableMSWord;
  QString DefaultActiveCustom = QStringLiteral("%ConfigID%.wdu");
  TSpellOptions DefaultOptions{soLiveSpelling,  soLiveCorrect, soInternet,
                               soAbbreviations, soRepeated,    soDUalCaps};
  bool UseMSWord = false;
  bool DefaultUseMSWord = false;
  QString Quotes = QStringLiteral(">");

  // What happened.
  int BeforeLoadCount = 0;
  bool LastFirstLoad = false;
  int LoadedCount = 0;
  int SavedCount = 0;
  int DictionaryChanges = 0;
  int OtherChanges = 0;
  QMap<QString, QString> CallbackStore; // "id/key" -> value

  TConfigStorage ConfigStorage() override { return Storage; }
  QString ConfigID() override { return ID; }
  QString ConfigFilename() override { return Filename; }
  QString ConfigRegistryKey() override { return RegistryKey; }
  QString ExpandVars(const QString &Path) override
  {
    return ExpandWrightVars(ExpandPathMacros(Path));
  }
  QString ExpandWrightVars(const QString &Path) override
  {
    return ReplaceFirst(QStringLiteral("%ConfigID%"), ExpandPathMacros(ID), Path);
  }
  const TStringList &ConfigDefaultMain() override { return DefaultMain; }
  const TStringList &ConfigDefaultCustom() override { return DefaultCustom; }
  QString ConfigDefaultActiveCustom() override { return DefaultActiveCustom; }
  TSpellOptions ConfigDefaultOptions() override { return DefaultOptions; }
  bool ConfigUseMSWordCustom() override { return UseMSWord; }
  bool ConfigDefaultUseMSWordCustom() override { return DefaultUseMSWord; }
  const TStringList &ConfigAvailableMSWordCustom() override { return AvailableMSWord; }
  QString QuoteChars() override { return Quotes; }
  void FireConfigBeforeLoad(bool FirstLoad) override
  {
    ++BeforeLoadCount;
    LastFirstLoad = FirstLoad;
  }
  void FireConfigLoaded() override { ++LoadedCount; }
  void FireConfigSaved() override { ++SavedCount; }
  void FireConfigurationChanged(bool DictionaryChange) override
  {
    ++(DictionaryChange ? DictionaryChanges : OtherChanges);
  }
  QString FireReadString(const QString &ConfigID, const QString &Key,
                         const QString &Default) override
  {
    return CallbackStore.value(ConfigID + QLatin1Char('/') + Key, Default);
  }
  void FireWriteString(const QString &ConfigID, const QString &Key, const QString &Value) override
  {
    CallbackStore.insert(ConfigID + QLatin1Char('/') + Key, Value);
  }
};
