#include "wrThesaurusBase.h"

#include "rtFormPlacement.h"
#include "wrParseEngine.h"
#include "wrThesaurusDialogCtrl.h"
#include "wrTypes.h"
#include "wrUtil.h"
#include "wrWinAPIParser.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

QString ThesaurusEnglishString(TThesaurusLanguageString s)
{
  switch (s) {
  case lsThesaurus:
    return QStringLiteral("Thesaurus: %name%");
  case lsDlgLookedUp:
    return QStringLiteral("Looked Up:");
  case lsDlgContexts:
    return QStringLiteral("Contexts:");
  case lsDlgReplaceWith:
    return QStringLiteral("Replace With:");
  case lsDlgPrevious:
    return QStringLiteral("&Previous");
  case lsDlgLookup:
    return QStringLiteral("&Lookup");
  case lsDlgReplace:
    return QStringLiteral("&Replace");
  case lsDlgClose:
    return QStringLiteral("&Close");
  case lsDlgNotFound:
    return QStringLiteral("(not found)");
  }
  return QString();
}

// The form's show handler during a lookup: runs before the form's own show handling.
class TWrightThesaurusBase::TShowFilter : public QObject {
public:
  explicit TShowFilter(TWrightThesaurusBase *Owner) : FOwner(Owner) {}
  bool eventFilter(QObject *Watched, QEvent *Event) override
  {
    if (Event->type() == QEvent::Show && Watched == FOwner->FDialogForm)
      FOwner->DialogShow();
    return false;
  }

private:
  TWrightThesaurusBase *FOwner;
};

TWrightThesaurusBase::TWrightThesaurusBase(QObject *Owner)
    : QObject(Owner), FParsingEngine(std::make_unique<TMainParsingEngine>()),
      FThesaurusFile(std::make_unique<TThesaurusFile>())
{
  SetFilename(QStringLiteral("%AppDir%\\Wordnest.wdt"));
}

TWrightThesaurusBase::~TWrightThesaurusBase() { RestoreCursor(); }

void TWrightThesaurusBase::SetFilename(const QString &Value)
{
  FFilename = Value;
  // Installed, a name in the program's folder is read from the user's folder when the user has
  // a copy there, else from the shipped data folder.
  FThesaurusFile->SetFileName(
      NativePath(ProgramDataLayout().ReadableFile(ExpandPathMacros(Value))));
}

void TWrightThesaurusBase::SetParsingEngine(TMainParsingEngine *Value)
{
  if (!Value || Value == FParsingEngine.get())
    return;
  FParsingEngine.reset(Value);
}

QWidget *TWrightThesaurusBase::MainWindow() const
{
  for (QObject *o = parent(); o; o = o->parent())
    if (o->isWidgetType())
      return static_cast<QWidget *>(o)->window();
  if (QWidget *w = QApplication::activeWindow())
    return w;
  for (QWidget *w : QApplication::topLevelWidgets())
    if (w->isVisible() && !qobject_cast<QDialog *>(w))
      return w;
  return nullptr;
}

void TWrightThesaurusBase::ShowBusyCursor()
{
  if (FOldCursor)
    return;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  FOldCursor = true;
}

void TWrightThesaurusBase::RestoreCursor()
{
  if (!FOldCursor)
    return;
  QGuiApplication::restoreOverrideCursor();
  FOldCursor = false;
}

bool TWrightThesaurusBase::LookupWinControl(QObject *Control)
{
  TWinAPIControlParser parser;
  parser.Initialize(Control);
  if (!parser.ControlHWND())
    return false;
  return LookupParser(&parser);
}

bool TWrightThesaurusBase::LookupParser(TControlParser *Parser)
{
  if (!Parser)
    return false;
  FParsingEngine->Initialize(Parser, ctFromCursor);
  const QString w = FParsingEngine->NextWord(Parser);
  if (w.isEmpty())
    return false;
  Parser->SelectWord(int(w.size()));
  Parser->GetSelectionScreenPosition(FDialogPosition);
  const QString r = ExecuteLookup(w);
  if (!r.isEmpty()) {
    if (OnBeforeChange)
      OnBeforeChange(this);
    Parser->ReplaceWord(r, 0);
  }
  return true;
}

QString TWrightThesaurusBase::LookupWord(const QString &Word)
{
  FDialogPosition = QRect(QPoint(-1, -1), QPoint(-1, -1));
  return ExecuteLookup(Word);
}

QString TWrightThesaurusBase::ExecuteLookup(const QString &Word)
{
  if (FInLookup)
    return QString();
  FInLookup = true;
  const bool wasLoaded = FThesaurusFile->Loaded();
  ShowBusyCursor();
  // Whatever ends the lookup (a damaged file raises EReadError), the component is left
  // ready for the next one: cursor back, file state back, no lookup running.
  struct TLookupEnd {
    TWrightThesaurusBase *self;
    bool wasLoaded;
    ~TLookupEnd()
    {
      self->FDialogCtrl = nullptr;
      if (QDialog *form = self->FDialogForm) {
        self->FDialogForm = nullptr;
        if (self->OnCreateThesaurusDialog)
          self->OnCreateThesaurusDialog(self, form, false);
        else
          delete form;
      }
      self->RestoreCursor();
      self->FThesaurusFile->SetLoaded(wasLoaded);
      self->FInLookup = false;
    }
  } end{this, wasLoaded};

  ReadLookup(Word);

  QDialog *form = nullptr;
  if (OnCreateThesaurusDialog)
    OnCreateThesaurusDialog(this, form, true);
  else
    form = CreateDialog();
  FDialogForm = form;
  ReplacementWord.clear();
  if (form) {
    form->setProperty("HelpFile", HelpFile);
    form->setProperty("HelpContext", HelpCtxThesaurusDialog);
    TShowFilter filter(this);
    form->installEventFilter(&filter);
    FDialogCtrl = FindDialogCtrl(form);
    PositionDialog();
    form->exec();
    if (FDialogForm)
      FDialogForm->removeEventFilter(&filter);
  } else {
    PromptLookup();
  }
  return ReplacementWord; // the form is disposed of on the way out
}

TThesaurusDialogCtrl *TWrightThesaurusBase::FindDialogCtrl(QDialog *Form)
{
  if (!Form)
    return nullptr;
  const auto ctrls = Form->findChildren<TThesaurusDialogCtrl *>();
  if (ctrls.isEmpty())
    return nullptr;
  ctrls.front()->SetThesaurus(this);
  return ctrls.front();
}

void TWrightThesaurusBase::PositionDialog()
{
  QDialog *form = FDialogForm;
  if (!form)
    return;
  if (FDialogPosition.left() == -1 && FDialogPosition.top() == -1) {
    QWidget *owner = form->parentWidget() ? form->parentWidget()->window() : MainWindow();
    QRect area = owner && owner->isVisible() ? owner->frameGeometry() : QRect();
    if (area.isEmpty()) {
      QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
      if (screen)
        area = screen->availableGeometry();
    }
    if (area.isEmpty())
      return;
    const QSize size = form->frameGeometry().size();
    MoveFormInsideWorkArea(form, area.left() + (area.width() - size.width()) / 2,
                           area.top() + (area.height() - size.height()) / 2);
  } else {
    // The selection's rectangle has exclusive right and bottom corners; the placement takes
    // a rectangle by its size.
    const QRect &r = FDialogPosition;
    PlaceFormNearRect(form, QRect(r.topLeft(), QSize(r.right() - r.left(), r.bottom() - r.top())),
                      true, true);
  }
}

void TWrightThesaurusBase::DialogShow()
{
  PositionDialog();
  PromptLookup();
  RestoreCursor();
}

void TWrightThesaurusBase::PromptLookup()
{
  TThesaurusEntryList &contexts = FThesaurusFile->Contexts();
  if (SortedLists)
    std::stable_sort(contexts.begin(), contexts.end(), [](const auto &a, const auto &b) {
      return QString::compare(a->ContextWord, b->ContextWord, Qt::CaseSensitive) < 0;
    });
  const QString word = FThesaurusFile->ContextWord();
  if (OnPromptLookup)
    OnPromptLookup(this, word, contexts);
  if (FDialogCtrl && FDialogCtrl->OnPromptLookup)
    FDialogCtrl->OnPromptLookup(FDialogCtrl, word, contexts);
}

QDialog *TWrightThesaurusBase::CreateDialog() { return nullptr; }

QString TWrightThesaurusBase::GetString(TThesaurusLanguageString LanguageString)
{
  QString text = ThesaurusEnglishString(LanguageString);
  if (OnGetString)
    OnGetString(this, LanguageString, text);
  if (LanguageString == lsThesaurus)
    text = ReplaceFirst(QStringLiteral("%name%"), FThesaurusFile->Name(), text);
  return text;
}

void TWrightThesaurusBase::Lookup_SetContext(int Index)
{
  TThesaurusEntryList &contexts = FThesaurusFile->Contexts();
  if (Index < 0 || Index >= int(contexts.size()))
    return;
  TThesaurusEntry &c = *contexts[size_t(Index)];
  int k = 0; // list index 0..3
  if (c.ContextKind >= 1 && c.ContextKind <= 4) {
    k = c.ContextKind - 1;
  } else {
    // Kind 0: the list holding the master word; failing that, the longest list (the first
    // list may well be empty, which would show nothing).
    const QString master = c.ContextWord.toLower();
    int found = -1;
    for (int i = 0; i < 4 && found < 0; ++i)
      if (c.Words[i].contains(master, Qt::CaseInsensitive))
        found = i;
    if (found < 0) {
      found = 0;
      for (int i = 1; i < 4; ++i)
        if (c.Words[i].size() > c.Words[found].size())
          found = i;
    }
    k = found;
  }
  QStringList &list = c.Words[k];
  if (SortedLists)
    std::sort(list.begin(), list.end(), [](const QString &a, const QString &b) {
      return QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
  if (OnPromptContext)
    OnPromptContext(this, list);
  if (FDialogCtrl && FDialogCtrl->OnPromptContext)
    FDialogCtrl->OnPromptContext(FDialogCtrl, list);
}

void TWrightThesaurusBase::Lookup_LookupWord(const QString &Word)
{
  ReadLookup(Word);
  PromptLookup();
}

void TWrightThesaurusBase::ReadLookup(const QString &Word)
{
  FFileProblem.clear();
  try {
    FThesaurusFile->LookupWord(Word);
  } catch (const EReadError &) {
    // Damage past the header shows where a lookup reads it: the file as a whole is not to be
    // trusted, whatever part of the word's entry was read.
    FThesaurusFile->Contexts().clear();
    FThesaurusFile->SetLoaded(false);
  }
  if (FThesaurusFile->Loaded())
    return;
  const QString file =
      FThesaurusFile->FileName().isEmpty()
          ? NativePath(ProgramDataLayout().ReadableFile(ExpandPathMacros(FFilename)))
          : FThesaurusFile->FileName();
  FFileProblem =
      QStringLiteral("The thesaurus file \"") + file + QStringLiteral("\" could not be read.");
}

void TWrightThesaurusBase::Lookup_ReplaceWord(const QString &Word)
{
  ReplacementWord = Word;
  if (FDialogForm)
    FDialogForm->done(QDialog::Accepted);
}

void TWrightThesaurusBase::Lookup_DoubleClickWord(const QString &Word)
{
  switch (DoubleClickAction) {
  case dcaLookup:
    Lookup_LookupWord(Word);
    break;
  case dcaReplace:
    Lookup_ReplaceWord(Word);
    break;
  case dcaNone:
    break;
  }
}

void TWrightThesaurusBase::Lookup_Cancel()
{
  if (FDialogForm)
    FDialogForm->done(QDialog::Rejected);
}
