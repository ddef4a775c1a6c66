#pragma once
// A check session over the shipped aussie.wdm for benchmarks that measure checking: its
// configuration file and the desktop folders (XDG_CONFIG_HOME, XDG_DATA_HOME) lie in Folder, so
// a run writes nothing outside it, and its dictionaries stay open between checks, so that the
// figures are the work and not the first open. Nothing is read before the first word test: the
// caller may still set the default options. Needs LW_AUSSIE_WDM.
#include "wrSpellBase.h"

#include <QFileInfo>
#include <QString>

#include <memory>

inline std::unique_ptr<TWrightSpell3Base> NewShippedSession(const QString &Folder)
{
  qputenv("XDG_CONFIG_HOME", (Folder + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (Folder + "/data").toUtf8());
  auto spell = std::make_unique<TWrightSpell3Base>();
  spell->SetConfigStorage(csFile);
  spell->SetConfigID(QStringLiteral("bench"));
  spell->SetConfigFilename(Folder + QStringLiteral("/Spell.cfg"));
  TStringList dirs;
  dirs.Add(QFileInfo(QStringLiteral(LW_AUSSIE_WDM)).absolutePath());
  spell->SetConfigDictionaryDir(dirs);
  TStringList main;
  main.Add(QStringLiteral("aussie.wdm"));
  spell->SetConfigDefaultMain(main);
  spell->SetConfigUseMSWordCustom(false);
  spell->SetSuggestionsLearning(false);
  spell->SetKeepDictionariesActive(true);
  return spell;
}
