#pragma once
// Live spell components over the small dictionaries of the session fixture (a compiled main
// dictionary, the user's "tester.wdu" as the active custom dictionary, a configuration file of
// its own), and a driver for the live menu: it waits for the menu to pop up, reads its items
// and clicks one by its captions (or closes the menu), from inside the menu's own loop.

#include "session_fixture.h"
#include "wrLiveAutospell.h"
#include "wrLiveBase.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>

// Configures a live component like the main window's, on the fixture's folder.
template <class T>
void ConfigureLive(T &s, const QString &Dir, TSpellOptions Options)
{
  s.SetConfigStorage(csFile);
  s.SetConfigID(QStringLiteral("tester"));
  s.SetConfigFilename(Dir + QStringLiteral("/Spell.cfg"));
  TStringList dirs;
  dirs.Add(Dir);
  s.SetConfigDictionaryDir(dirs);
  TStringList main;
  main.Add(QStringLiteral("test.wdm"));
  s.SetConfigDefaultMain(main);
  s.SetConfigDefaultOptions(Options);
  s.SetConfigUseMSWordCustom(false);
  s.SetSuggestionsLearning(false);
  s.SetUseAutoCorrectFirst(false);
}

// The live base with its abstract steps recorded.
class TProbeLive : public TLiveWrightSpellBase {
public:
  QStringList Calls;
  using TLiveWrightSpellBase::BuildSuggestions;

protected:
  void SpellCheckLiveWord() override
  {
    Calls << QStringLiteral("dialog %1 %2").arg(int(EndMessage())).arg(int(DialogInitialPos()));
  }
  void StartLiveSpelling() override { Calls << QStringLiteral("start spelling"); }
  void StopLiveSpelling() override { Calls << QStringLiteral("stop spelling"); }
  void StartLiveCorrect() override { Calls << QStringLiteral("start correct"); }
  void StopLiveCorrect() override { Calls << QStringLiteral("stop correct"); }
};

// One live menu: what it showed, and the captions to click (a submenu's header, then its item);
// an empty Click closes the menu.
struct TMenuScript {
  QStringList Click;
  QStringList Items;
  bool Shown = false;
};

// "caption", "caption (disabled)", "-" or "header {item|item}".
inline QStringList DescribeMenu(QMenu *Menu)
{
  QStringList items;
  for (QAction *a : Menu->actions()) {
    if (a->isSeparator())
      items << QStringLiteral("-");
    else if (a->menu()) {
      QStringList sub;
      for (QAction *s : a->menu()->actions())
        sub << s->text();
      items << a->text() + QStringLiteral(" {") + sub.join(u'|') + u'}';
    } else
      items << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
  }
  return items;
}

// Arms a poll that finds the next live menu (for up to 5 s) and plays Script on it.
inline void ArmMenu(TMenuScript &Script)
{
  auto *poll = new QTimer;
  auto *clock = new QElapsedTimer;
  clock->start();
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, clock, &Script] {
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu || menu->objectName() != QLatin1String("LivePopupMenu")) {
      if (clock->elapsed() > 5000) {
        poll->deleteLater();
        delete clock;
      }
      return;
    }
    poll->stop();
    poll->deleteLater();
    delete clock;
    Script.Shown = true;
    Script.Items = DescribeMenu(menu);
    QAction *target = nullptr;
    QMenu *in = menu;
    for (const QString &caption : Script.Click) {
      target = nullptr;
      for (QAction *a : in ? in->actions() : QList<QAction *>())
        if (a->text() == caption)
          target = a;
      in = target ? target->menu() : nullptr;
    }
    // A disabled item takes no click: the menu just closes.
    if (target && !target->menu() && target->isEnabled())
      target->trigger();
    else
      menu->close();
  });
  poll->start();
}

class LiveTest : public SessionTest {
protected:
  void SetUp() override
  {
    SessionTest::SetUp();
    UserDictionary = ReadAll(Dir + "/tester.wdu");
  }
  // The folder as SetUp left it: no configuration, the user's dictionary as first written.
  void ResetFiles()
  {
    QFile::remove(Dir + "/Spell.cfg");
    WriteFile(Dir + "/tester.wdu", UserDictionary);
  }

  QByteArray UserDictionary;

  // A live base over the fixture's folder with live options on.
  std::unique_ptr<TProbeLive> NewLive(TSpellOptions Options = {soLiveSpelling, soLiveCorrect,
                                                               soDUalCaps})
  {
    auto s = std::make_unique<TProbeLive>();
    ConfigureLive(*s, Dir, Options);
    return s;
  }
  std::unique_ptr<TWrightAutoLiveSpell> NewAuto(QObject *Owner,
                                                TSpellOptions Options = {soLiveSpelling,
                                                                         soLiveCorrect, soDUalCaps})
  {
    auto s = std::make_unique<TWrightAutoLiveSpell>(Owner);
    ConfigureLive(*s, Dir, Options);
    return s;
  }

  // Shows the live menu for Word, plays Script and answers the outcome; Word becomes the text
  // the component answers.
  static TSpellPopupOption RunMenu(
      TWrightSpellBase &Spell, QString &Word, TMenuScript &Script,
      TSpellPopupOptions Options = TSpellPopupOptions::Range(spDialog, spReplace))
  {
    ArmMenu(Script);
    return Spell.ShowPopupMenu(nullptr, Options, 100, 100, Word);
  }
};
