#pragma once
// A check session over small dictionaries in a temporary folder: a compiled main dictionary,
// custom dictionaries written through the dictionary class, and a configuration file of its
// own. The desktop folders (trash, LibreOffice profile, application data) point into the same
// temporary folder, so nothing outside it is touched.

#include "env_guard.h"
#include "wdmcCompiler.h"
#include "wrCustomDictionary.h"
#include "wrSpellBase.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

// Language identifiers: en-AU (primary 9) and de-DE (primary 7).
inline constexpr quint32 EnglishAU = 3081;
inline constexpr quint32 GermanDE = 1031;

inline QString WriteWdm(const QString &FileName, const QStringList &Words,
                        quint32 Language = EnglishAU)
{
  TMainDictionarySource source;
  source.words = Words;
  source.title = QStringLiteral("Session words");
  source.language = Language;
  source.minorVersion = 1;
  QByteArray image;
  QString error;
  if (!CompileMainDictionary(source, image, error, nullptr))
    return error;
  QFile f(FileName);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(image) != image.size())
    return QStringLiteral("cannot write ") + FileName;
  return QString();
}

inline QByteArray ReadAll(const QString &FileName)
{
  QFile f(FileName);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteFile(const QString &FileName, const QByteArray &Bytes)
{
  QFile f(FileName);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(Bytes);
}

// The session with its protected operations opened for tests.
class TTestSession : public TWrightSpell3Base {
public:
  using TWrightSpellBase::ModifyCase;
  using TWrightSpellBase::OptimizeDictionaryOrder;
};

class SessionTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(Temp.isValid());
    Dir = Temp.path() + QStringLiteral("/Dictionaries");
    ASSERT_TRUE(QDir().mkpath(Dir));
    Data = std::make_unique<TEnvGuard>("XDG_DATA_HOME", (Temp.path() + "/data").toUtf8());
    Config = std::make_unique<TEnvGuard>("XDG_CONFIG_HOME", (Temp.path() + "/config").toUtf8());
    ASSERT_EQ(WriteWdm(Dir + "/test.wdm", MainWords()), QString());
    // The user's dictionary: an exclusion and two corrections, one of them for a good word.
    TCustomDictionary user;
    user.SetFilename(Dir + "/tester.wdu");
    user.AddExclude(QStringLiteral("colour"));
    user.AddAutoCorrect(QStringLiteral("teh"), QStringLiteral("the"));
    user.AddAutoCorrect(QStringLiteral("house"), QStringLiteral("home"));
    user.AddIgnore(QStringLiteral("Linewright"));
    user.Save();
    TCustomDictionary autocorrect;
    autocorrect.SetFilename(Dir + "/Autocorrect.wdu");
    autocorrect.AddAutoCorrect(QStringLiteral("recieve"), QStringLiteral("receive"));
    autocorrect.AddIgnore(QStringLiteral("Qt"));
    autocorrect.Save();
  }

  static QStringList MainWords()
  {
    return {"house",   "home",     "the",      "John",   "colour",   "receive",
            "believe", "arable",   "variable", "ranged", "arranged", "word",
            "words",   "spelling", "check",    "checks", "cheque"};
  }

  // A session on the folder, configured like the main window's component; nothing loaded yet.
  std::unique_ptr<TTestSession> NewSession(TSpellOptions Options = {soDUalCaps})
  {
    auto s = std::make_unique<TTestSession>();
    s->SetConfigStorage(csFile);
    s->SetConfigID(QStringLiteral("tester"));
    s->SetConfigFilename(Dir + QStringLiteral("/Spell.cfg"));
    TStringList dirs;
    dirs.Add(Dir);
    s->SetConfigDictionaryDir(dirs);
    TStringList main;
    main.Add(QStringLiteral("test.wdm"));
    s->SetConfigDefaultMain(main);
    s->SetConfigDefaultOptions(Options);
    s->SetConfigUseMSWordCustom(false);
    s->SetSuggestionsLearning(false);
    s->SetUseAutoCorrectFirst(false);
    return s;
  }

  QTemporaryDir Temp;
  QString Dir;
  std::unique_ptr<TEnvGuard> Data, Config;
};
