#pragma once
// The thesaurus component: takes the word at the caret of a text control, looks it up in the
// thesaurus file and lets a dialog choose a replacement. This layer holds the lookup logic and
// no dialog of its own (wrThesaurus adds the standard one).

#include "rtTypes.h"
#include "wrThesaurusFile.h"

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;
class TControlParser;
class TMainParsingEngine;
class TThesaurusDialogCtrl;

enum TDialogDoubleClickAction { dcaNone, dcaReplace, dcaLookup };

enum TThesaurusDialogCommand { tdcLookedUp, tdcPrevious, tdcLookup, tdcReplace, tdcClose };
using TThesaurusDialogCommands = TSet<TThesaurusDialogCommand, quint8>;
inline constexpr TThesaurusDialogCommands ThesaurusCommandBit(TThesaurusDialogCommand c)
{
  return c;
}
inline constexpr TThesaurusDialogCommands AllThesaurusCommands =
    TThesaurusDialogCommands::Range(tdcLookedUp, tdcClose);
inline constexpr bool HasCommand(TThesaurusDialogCommands set, TThesaurusDialogCommand c)
{
  return set.Contains(c);
}

enum TThesaurusLanguageString {
  lsThesaurus,
  lsDlgLookedUp,
  lsDlgContexts,
  lsDlgReplaceWith,
  lsDlgPrevious,
  lsDlgLookup,
  lsDlgReplace,
  lsDlgClose,
  lsDlgNotFound
};

// Interface languages; only English has texts of its own, the others read as English.
enum TThesaurusLanguageType {
  ltEnglish,
  ltGerman,
  ltFrench,
  ltSpanish,
  ltItalian,
  ltDutch,
  ltPortuguese,
  ltDanish,
  ltSwedish,
  ltNorwegian,
  ltFinnish,
  ltPolish,
  ltCzech,
  ltHungarian,
  ltRussian,
  ltGreek,
  ltTurkish,
  ltCatalan
};

// The English text of an interface string.
QString ThesaurusEnglishString(TThesaurusLanguageString s);

class TWrightThesaurusBase : public QObject {
  Q_OBJECT
public:
  // Events. Form: the dialog to use (Create true) or to dispose of (Create false).
  using TCreateThesaurusDialogEvent =
      std::function<void(QObject *Sender, QDialog *&ThesaurusForm, bool Create)>;
  using TPromptLookupEvent =
      std::function<void(QObject *Sender, const QString &Word, TThesaurusEntryList &ContextList)>;
  using TPromptContextEvent = std::function<void(QObject *Sender, QStringList &Words)>;
  using TGetStringEvent =
      std::function<void(QObject *Sender, TThesaurusLanguageString LanguageString, QString &Text)>;

  explicit TWrightThesaurusBase(QObject *Owner = nullptr);
  ~TWrightThesaurusBase() override;

  // Published properties.
  // Filename keeps the name as set; the file opened is its expansion, read from the user's or
  // the shipped folder when the program is installed (ProgramDataLayout, wrUtil).
  QString Filename() const { return FFilename; }
  virtual void SetFilename(const QString &Value);
  bool SortedLists = false;
  TDialogDoubleClickAction DoubleClickAction = dcaReplace;
  TThesaurusLanguageType UILanguage = ltEnglish;
  TThesaurusDialogCommands CommandsEnabled = AllThesaurusCommands;
  TThesaurusDialogCommands CommandsVisible = AllThesaurusCommands;
  QString HelpFile;
  int HelpCtxThesaurusDialog = 0;

  TCreateThesaurusDialogEvent OnCreateThesaurusDialog;
  TPromptLookupEvent OnPromptLookup;
  TPromptContextEvent OnPromptContext;
  TNotifyEvent OnBeforeChange;
  TGetStringEvent OnGetString;

  // Public properties.
  TMainParsingEngine *ParsingEngine() const { return FParsingEngine.get(); }
  // Takes ownership; the old engine is freed. A null engine is ignored.
  virtual void SetParsingEngine(TMainParsingEngine *Value);
  TThesaurusFile *ThesaurusFile() const { return FThesaurusFile.get(); }
  QString ReplacementWord;

  // The word at the caret of a control (a widget with an edit window): looked up and, when the
  // user chooses a replacement, replaced. True when there was a word at the caret.
  virtual bool LookupWinControl(QObject *Control);
  virtual bool LookupParser(TControlParser *Parser);
  // The dialog for a word without a text control; answers the chosen replacement or empty.
  virtual QString LookupWord(const QString &Word);
  virtual QString GetString(TThesaurusLanguageString LanguageString);

  // What the dialog asks for, through its TThesaurusDialogCtrl.
  virtual void Lookup_SetContext(int Index);
  virtual void Lookup_LookupWord(const QString &Word);
  virtual void Lookup_ReplaceWord(const QString &Word);
  virtual void Lookup_DoubleClickWord(const QString &Word);
  virtual void Lookup_Cancel();

  // True while a lookup dialog of this component is open.
  bool InLookup() const { return FInLookup; }
  // The dialog of the running lookup (null outside a lookup).
  QDialog *DialogForm() const { return FDialogForm; }
  // Empty, or why the last lookup found nothing: the thesaurus file could not be read (missing,
  // refused, or damaged where the lookup read it). The lookup then still shows its dialog, which
  // says so, instead of nothing or a bare read error.
  QString FileProblem() const { return FFileProblem; }

protected:
  virtual void PositionDialog();
  virtual QString ExecuteLookup(const QString &Word);
  virtual TThesaurusDialogCtrl *FindDialogCtrl(QDialog *Form);
  virtual void PromptLookup();
  virtual void DialogShow();
  virtual QDialog *CreateDialog();
  // The window a dialog without a form owner is centred on.
  QWidget *MainWindow() const;

  bool FInLookup = false;
  QRect FDialogPosition{QPoint(-1, -1), QPoint(-1, -1)};
  QPointer<QDialog> FDialogForm;
  TThesaurusDialogCtrl *FDialogCtrl = nullptr;
  bool FOldCursor = false; // the busy cursor of this lookup is showing

private:
  void ShowBusyCursor();
  void RestoreCursor();
  // The file's lookup of Word; a file that cannot be read sets FFileProblem and no contexts.
  void ReadLookup(const QString &Word);
  class TShowFilter;

  QString FFileProblem;
  QString FFilename;
  std::unique_ptr<TMainParsingEngine> FParsingEngine;
  std::unique_ptr<TThesaurusFile> FThesaurusFile;
};
