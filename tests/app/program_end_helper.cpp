// The real main window with the program's ending, driven from the command line for the tests
// that end it with signals:
//   program_end_helper <folder> <tag> <count>
// uses <folder> for its dictionaries and Spell.cfg, then through the live menu adds the words
// <tag>a0, <tag>a1, ... (Add) and gives <tag>c0, ... the correction "the" (Auto-Correct), <count>
// of each; through a dictionary object of the kind the options dialog opens it excludes
// <tag>x0, ...; it turns the option "ignore words in capitals" on. Then it prints
// "ready <active dictionary>" and runs the event loop until something ends it.

#include "ProgramEnd.h"
#include "RichTextEd.h"
#include "rtErrorBox.h"
#include "wrCustomDictionary.h"
#include "wrLiveAutospell.h"
#include "wrRichEdit.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
  TApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() != 4) {
    std::fprintf(stderr, "usage: program_end_helper <folder> <tag> <count>\n");
    return 2;
  }
  const QString dir = args[1];
  const QString tag = args[2];
  const int count = args[3].toInt();

  TRichTextEd window;
  TWrightAutoLiveSpell *spell = window.WrightAutoLiveSpell1;
  TStringList folders;
  folders.Add(dir);
  spell->SetConfigDictionaryDir(folders);
  spell->SetConfigFilename(dir + "/Spell.cfg");
  new TProgramEnd(window);
  window.show();

  qint32 action = 0;
  QString chosen;
  spell->OnPopupDoMenu = [&](QObject *, QObject *, qint32, qint32, qint32 &PopupAction,
                             QString &PopupWord) {
    PopupAction = action;
    PopupWord = chosen;
  };
  const auto live = [&](const QString &word, qint32 menuAction, const QString &correction) {
    action = menuAction;
    chosen = correction;
    QString text = word;
    return spell->ShowPopupMenu(window.Editor, spell->LiveMenuOptions(), 0, 0, text);
  };
  for (int i = 0; i < count; ++i) {
    const QString n = QString::number(i);
    if (live(tag + "a" + n, 4, tag + "a" + n) != spAdd ||
        live(tag + "c" + n, 2, QStringLiteral("the")) != spAutoCorrect) {
      std::fprintf(stderr, "the live menu refused a word\n");
      return 3;
    }
  }
  // The options dialog's word pages edit an object of their own on the active file.
  std::unique_ptr<TCustomDictionary> page =
      spell->GetCustomDictionary(spell->Configuration()->ActiveCustomDictionary());
  if (!page) {
    std::fprintf(stderr, "no active dictionary\n");
    return 3;
  }
  for (int i = 0; i < count; ++i)
    page->AddExclude(tag + "x" + QString::number(i));
  TSpellOptions options = spell->Configuration()->SpellOptions();
  options.Set(soUpcase, true);
  spell->Configuration()->SetSpellOptions(options);

  std::printf("ready %s\n", qPrintable(spell->ActiveCustomDictionary()->Filename()));
  std::fflush(stdout);
  const int code = app.exec();
  page.reset();
  return code;
}
