// The check loop of TWrightSpellBase (declared in wrSpellBase.h): starting checks, the loop,
// the dialog commands, undo, the dialog's placement and the counting operations.
#include "wrSpellBase.h"

#include "rtAssert.h"
#include "wrCustomDictionary.h"
#include "wrParseEngine.h"
#include "wrStringParser.h"
#include "wrWinAPIParser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <algorithm>

namespace {

// The busy cursor appears after this much checking.
constexpr qint64 HourglassDelayMs = 1000;

// Parsers address columns from 0, except the string parser, which counts from 1.
int FirstColumn(TControlParser *Parser) { return dynamic_cast<TStringParser *>(Parser) ? 1 : 0; }

// A parser rectangle (exclusive Left/Top/Right/Bottom edges) as a screen rectangle; empty when
// the parser has no screen position.
QRect ScreenRectFromParser(const QRect &R)
{
  if (R.left() == -1 && R.top() == -1 && R.right() == -1 && R.bottom() == -1)
    return QRect();
  return QRect(R.left(), R.top(), R.right() - R.left(), R.bottom() - R.top());
}

QString TrimTrailingSpace(const QString &S)
{
  qsizetype n = S.size();
  while (n > 0 && S.at(n - 1).isSpace())
    --n;
  return S.left(n);
}

} // namespace

// === Starting checks =============================================================================

void TWrightSpellBase::CheckParser(TControlParser *Parser, TCheckType CheckType)
{
  if (!Parser)
    return;
  if (FChecking || (FCheckingSequenceRef > 0 && FCanceled)) {
    if (FFreeParser)
      delete Parser;
    return;
  }
  if (CheckType == ctSmart) {
    CheckSmart(Parser);
    return;
  }
  FBeforeChangeFired = false;
  FChecking = true;
  FCanceled = false;
  ++FCheckSerial;
  FPresenting = false;
  FResumePending = false;
  EnsureConfigurationLoaded();
  FParser = Parser;
  ShowSelectionDuringCheck(Parser);
  Parser->GetCursorPosition(FOriginalX, FOriginalY);
  FLastWord.clear();
  FExecutingRepeat = false;
  FParsingEngine->Initialize(Parser, int(CheckType));
  FUndoList.clear();
  if (FCheckingSequenceRef == 0) {
    FWordCount = 0;
    FOptimizeCount = 100;
    FDialogEverShown = false;
  }
  if (FImmediateDialog)
    ShowSpellDialog();
  OptimizeDictionaryOrder();
  // An immediate modal dialog starts the loop from its show hook.
  if (FChecking && !(FImmediateDialog && FModalDialog && FDialogShown))
    ContinueCheck();
  BeginWork();
  // Without an application there is no event loop to wait in: the check stays open for the
  // host's commands, as an asynchronous one.
  if (FProcessMessages && QCoreApplication::instance()) {
    QEventLoop loop;
    while (FChecking)
      loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::EventLoopExec);
  }
  EndWork();
}

// The wrappers own their parser when the component does not. A check still waiting for the
// user when the call returns (no SynchronousCheck) would be left on a freed parser: it is
// cancelled first.
void TWrightSpellBase::RunWrappedCheck(TControlParser *Parser, TCheckType CheckType)
{
  const bool ownParser = !FFreeParser;
  CheckParser(Parser, CheckType);
  if (ownParser) {
    if (FChecking && FParser == Parser)
      StopCheck(true);
    delete Parser;
  }
}

void TWrightSpellBase::CheckWinControl(QObject *Control, TCheckType CheckType)
{
  auto *parser = new TWinAPIControlParser;
  parser->Initialize(Control);
  RunWrappedCheck(parser, CheckType);
}

void TWrightSpellBase::CheckRichEdit(QObject *Control, TCheckType CheckType)
{
  auto *parser = new TWinAPIControlParser;
  parser->Initialize(Control);
  parser->SetControlType(actRichEdit);
  RunWrappedCheck(parser, CheckType);
}

void TWrightSpellBase::CheckWinControlHWND(HWND ControlHWND, TCheckType CheckType)
{
  auto *parser = new TWinAPIControlParser;
  parser->InitializeFromHWND(ControlHWND);
  RunWrappedCheck(parser, CheckType);
}

void TWrightSpellBase::CheckString(QString &Text)
{
  auto *parser = new TStringParser;
  parser->Initialize(&Text);
  RunWrappedCheck(parser, ctAll);
}

void TWrightSpellBase::CheckLiveSpellWord(QObject *Control, HWND Handle)
{
  const TSpellEndMessage oldEnd = FEndMessage;
  const TSpellDialogInitialPos oldPos = FInitialPos;
  const bool oldModal = FModalDialog;
  auto *engine = dynamic_cast<TMainParsingEngine *>(FParsingEngine.get());
  const bool oldIncomplete = engine ? engine->AllowIncompleteLastWord : false;
  FEndMessage = emNever;
  FInitialPos = ipUnderSelection;
  FModalDialog = true;
  if (engine)
    engine->AllowIncompleteLastWord = true;
  if (Control)
    CheckWinControl(Control, ctSelected);
  else
    CheckWinControlHWND(Handle, ctSelected);
  FEndMessage = oldEnd;
  FInitialPos = oldPos;
  FModalDialog = oldModal;
  // The engine may have been replaced meanwhile; only restore the one that was changed.
  if (engine && engine == FParsingEngine.get())
    engine->AllowIncompleteLastWord = oldIncomplete;
}

void TWrightSpellBase::StartSequenceCheck()
{
  FWordCount = 0;
  FOptimizeCount = 100;
  FCanceled = false;
  // Only the outermost sequence saves the flags, so nested ones restore the caller's values.
  if (FCheckingSequenceRef++ == 0) {
    FDialogEverShown = false;
    FOldCloseDialog = FCloseDialog;
    FOldKeepActive = FKeepDictionariesActive;
    FCloseDialog = false;
    FKeepDictionariesActive = true;
  }
}

void TWrightSpellBase::StopSequenceCheck()
{
  if (FCheckingSequenceRef <= 0)
    return;
  if (--FCheckingSequenceRef > 0)
    return;
  FCloseDialog = true;
  ShowEndMessage();
  CloseSpellDialog();
  EndSelectionDuringCheck();
  FCloseDialog = FOldCloseDialog;
  SetKeepDictionariesActive(FOldKeepActive);
}

void TWrightSpellBase::StopCheck(bool Canceled)
{
  if (!FChecking)
    return;
  FCanceled = Canceled;
  CompleteCheck();
}

void TWrightSpellBase::ResetUndo() { FUndoList.clear(); }

void TWrightSpellBase::CloseSpellDialog() { HideSpellDialog(); }

void TWrightSpellBase::CheckSmart(TControlParser *Parser)
{
  const bool oldSync = FProcessMessages;
  const bool oldFree = FFreeParser;
  FProcessMessages = true;
  FFreeParser = false;
  StartSequenceCheck();
  int xs = 0, ys = 0, xe = 0, ye = 0;
  Parser->GetSelectionPosition(xs, ys, xe, ye);
  const int origin = FirstColumn(Parser);
  if (xs == xe && ys == ye) {
    CheckParser(Parser, ctFromCursor);
    Parser->SetPosition(origin, 0, ptCurrent);
    Parser->SetPosition(xs, ys, ptEnd);
    CheckParser(Parser, ctCurrent);
  } else {
    CheckParser(Parser, ctSelected);
    if (!FCanceled) {
      const bool yes = FSpellUIType != suiSilent && FCheckHost &&
                       FCheckHost->AskYesNo(GetString(TSpellLanguageString::lsEndSelectionMessage),
                                            GetString(TSpellLanguageString::lsSpelling));
      if (yes) {
        Parser->SetPosition(xe, ye, ptCurrent);
        Parser->SetPosition(2147483647, 2147483647, ptEnd);
        CheckParser(Parser, ctCurrent);
        Parser->SetPosition(origin, 0, ptCurrent);
        Parser->SetPosition(xs, ys, ptEnd);
        CheckParser(Parser, ctCurrent);
      } else {
        FCanceled = true;
      }
    }
  }
  StopSequenceCheck();
  FProcessMessages = oldSync;
  FFreeParser = oldFree;
  if (FFreeParser)
    delete Parser;
}

// === The loop ====================================================================================

void TWrightSpellBase::ContinueCheck()
{
  if (!FChecking || !FParser)
    return;
  const quint32 serial = FCheckSerial;
  QElapsedTimer started;
  started.start();
  for (;;) {
    FResumePending = false;
    const QString w = FParsingEngine->NextWord(FParser);
    FWord = w;
    if (w.isEmpty()) {
      SetBusy(false);
      CompleteCheck();
      return;
    }
    ++FWordCount;
    if (FOptimizeCount > 0 && --FOptimizeCount == 0)
      OptimizeDictionaryOrder();

    TWordCheckType kind = wcDenied;
    QString correction;
    if (WordAcceptable(w)) {
      kind = wcAccepted;
      if (FUseAutoCorrectFirst && WordHasCorrection(w, correction)) {
        kind = wcCorrected;
      } else if (FRepeated) {
        if (w == FLastWord && IsRepeatedWord(w))
          kind = wcRepeated;
        FLastWord = w;
      }
    } else if (WordHasCorrection(w, correction)) {
      kind = wcCorrected;
    } else if (FUseExclude && (WordExcluded(w) || WordExcluded(ModifyCase(w)))) {
      kind = wcExcluded;
    }
    FireWordCheck(GetCheckedControl(), w, kind, correction);
    if (!FChecking || serial != FCheckSerial)
      return; // a handler ended the check

    if (kind == wcCorrected) {
      FParser->SelectWord(int(w.size()));
      AddUndo(saChange, correction, uaExact, uaByLoop);
      ReplaceCurrentWord(correction, 2);
    }
    if (FUseHourglass && !FBusyCursor && started.elapsed() > HourglassDelayMs)
      SetBusy(true);
    if (kind == wcAccepted || kind == wcCorrected)
      continue;

    SetBusy(false);
    FExecutingRepeat = kind == wcRepeated;
    if (FExecutingRepeat)
      FWord = w + QLatin1Char(' ') + w;
    FParser->SelectWord(int(FWord.size()));
    FParser->CenterSelection();
    ShowSpellDialog();
    if (!FChecking || serial != FCheckSerial)
      return;
    // A command given from inside the word hook only marks the loop to go on, so a host that
    // answers at once walks any number of words without nesting.
    FPresenting = true;
    const bool told = PresentWord();
    if (serial != FCheckSerial)
      return;
    FPresenting = false;
    if (!FChecking)
      return;
    if (FResumePending)
      continue;
    // Nobody can answer: a synchronous check would wait for ever.
    if (!told && FProcessMessages) {
      StopCheck(true);
      return;
    }
    return;
  }
}

void TWrightSpellBase::ResumeCheck()
{
  if (FPresenting)
    FResumePending = true;
  else
    ContinueCheck();
}

bool TWrightSpellBase::CommandAllowed(bool AllowRepeated) const
{
  return FChecking && FParser && (AllowRepeated || !FExecutingRepeat);
}

bool TWrightSpellBase::IsRepeatedWord(const QString &Word)
{
  return IsRepeatedWordAt(FParser, Word);
}

bool TWrightSpellBase::IsRepeatedWordAt(TControlParser *Parser, const QString &Word)
{
  if (!Parser || Word.isEmpty())
    return false;
  int x = 0, y = 0;
  Parser->GetPosition(x, y);
  const int length = int(Word.size());
  bool repeated = true;
  for (int i = 0; i <= length && repeated; ++i)
    repeated = Parser->MovePrevious();
  if (repeated && Parser->GetChar() == QLatin1Char(' ')) {
    for (int i = length - 1; i >= 0 && repeated; --i)
      repeated = Parser->MovePrevious() && Parser->GetChar() == Word.at(i);
  } else {
    repeated = false;
  }
  Parser->SetPosition(x, y, ptCurrent);
  return repeated;
}

void TWrightSpellBase::SetBusy(bool Busy)
{
  if (Busy == FBusyCursor)
    return;
  FBusyCursor = Busy;
  if (FCheckHost)
    FCheckHost->SetBusyCursor(Busy);
}

// === Commands ====================================================================================

void TWrightSpellBase::Check_Ignore()
{
  if (!CommandAllowed(true))
    return;
  AddUndo(saIgnore, QString(), uaExact, uaByUser);
  IgnoreCurrentWord(10);
  ResumeCheck();
}

void TWrightSpellBase::Check_RepeatIgnore() { Check_Ignore(); }

void TWrightSpellBase::Check_IgnoreAll()
{
  if (!CommandAllowed(false))
    return;
  AddUndo(saIgnoreAll, QString(), uaExact, uaByUser);
  FInternalCustom->AddIgnore(FWord);
  IgnoreCurrentWord(11);
  ResumeCheck();
}

void TWrightSpellBase::Check_Change(const QString &Word)
{
  if (!CommandAllowed(false))
    return;
  const QString old = FWord;
  AddUndo(saChange, Word, uaExact, uaByUser);
  ReplaceCurrentWord(Word, 0);
  if (FRecheckReplaced)
    for (qsizetype i = 0; i < Word.size(); ++i)
      FParser->MovePrevious();
  LearnSuggestion(old, Word);
  ResumeCheck();
}

void TWrightSpellBase::Check_ChangeLine(const QString &NewLine)
{
  if (!CommandAllowed(false))
    return;
  const QString old = TrimTrailingSpace(FParser->GetLine());
  rtAssert(NewLine != old, "wrSpellBase", "the line is unchanged");
  const int oldLength = int(old.size());
  const int newLength = int(NewLine.size());
  int prefix = 0;
  while (prefix < oldLength && prefix < newLength && old.at(prefix) == NewLine.at(prefix))
    ++prefix;
  int suffix = 0;
  while (suffix < oldLength - prefix && suffix < newLength - prefix &&
         old.at(oldLength - 1 - suffix) == NewLine.at(newLength - 1 - suffix))
    ++suffix;
  int x = 0, y = 0;
  FParser->GetPosition(x, y);
  FParser->SetPosition(FirstColumn(FParser) + oldLength - suffix, y, ptCurrent);
  FParser->SelectWord(oldLength - suffix - prefix);
  FWord = old.mid(prefix, oldLength - suffix - prefix);
  const QString replacement = NewLine.mid(prefix, newLength - suffix - prefix);
  AddUndo(saChange, replacement, uaAdjust, uaByUser);
  ReplaceCurrentWord(replacement, 0);
  if (FRecheckReplaced)
    for (qsizetype i = 0; i < replacement.size(); ++i)
      FParser->MovePrevious();
  FParser->GetPosition(x, y);
  FParsingEngine->AdjustToPosition(FParser, x, y);
  ResumeCheck();
}

void TWrightSpellBase::Check_ChangeAll(const QString &Word)
{
  if (!CommandAllowed(false))
    return;
  const QString old = FWord;
  AddUndo(saChangeAll, Word, uaExact, uaByUser);
  FInternalCustom->AddAutoCorrect(old, Word);
  ReplaceCurrentWord(Word, 1);
  LearnSuggestion(old, Word);
  ResumeCheck();
}

void TWrightSpellBase::Check_Add()
{
  if (!CommandAllowed(false))
    return;
  AddUndo(saAdd, QString(), uaExact, uaByUser);
  if (FActiveCustom)
    FActiveCustom->AddIgnore(FWord);
  IgnoreCurrentWord(12);
  ResumeCheck();
}

void TWrightSpellBase::Check_AutoCorrect(const QString &Word)
{
  if (!CommandAllowed(false))
    return;
  const QString old = FWord;
  AddUndo(saAutoCorrect, Word, uaExact, uaByUser);
  if (FActiveCustom)
    FActiveCustom->AddAutoCorrect(old, Word);
  LearnSuggestion(old, Word);
  ReplaceCurrentWord(Word, 2);
  ResumeCheck();
}

void TWrightSpellBase::Check_RepeatDelete()
{
  if (!FChecking || !FParser || !FExecutingRepeat)
    return;
  const QString single = FWord.left((FWord.size() - 1) / 2);
  AddUndo(saChange, single, uaExact, uaByUser);
  ReplaceCurrentWord(single, 0);
  ResumeCheck();
}

void TWrightSpellBase::Check_Undo()
{
  if (!FChecking || !FParser || !CanUndo())
    return;
  UndoLastAction();
  ResumeCheck();
}

// The parser waits at the start of the current word (SelectWord left it there), so that start
// is where the word's check resumes; stepping back by its length as well would re-show words
// the user already decided on.
void TWrightSpellBase::Check_ControlEdited()
{
  if (!FChecking || !FParser)
    return;
  ResetUndo();
  int ax = 0, ay = 0;
  FParser->GetPosition(ax, ay);
  ax = std::max(ax, FirstColumn(FParser));
  int cx = 0, cy = 0;
  FParser->GetCursorPosition(cx, cy);
  int x = cx, y = cy;
  if (FResumeFromLastPosition && (ay < cy || (ay == cy && ax < cx))) {
    x = ax;
    y = ay;
  }
  FParsingEngine->AdjustToPosition(FParser, x, y);
  ResumeCheck();
}

void TWrightSpellBase::Check_Help() {}

void TWrightSpellBase::Check_Cancel()
{
  if (!FChecking)
    return;
  FCanceled = true;
  CompleteCheck();
}

void TWrightSpellBase::IgnoreCurrentWord(qint32 State)
{
  QObject *sender = GetCheckedControl();
  if (OnParserIgnoreWord)
    OnParserIgnoreWord(sender, true, State);
  FOnParserIgnoreWordList.State = State;
  FOnParserIgnoreWordList.Before = true;
  FOnParserIgnoreWordList.Notify(sender);
  if (FParser)
    FParser->IgnoreWord(State);
  if (OnParserIgnoreWord)
    OnParserIgnoreWord(sender, false, State);
  FOnParserIgnoreWordList.State = State;
  FOnParserIgnoreWordList.Before = false;
  FOnParserIgnoreWordList.Notify(sender);
}

void TWrightSpellBase::ReplaceCurrentWord(const QString &Replacement, qint32 State)
{
  FireBeforeChange();
  QObject *sender = GetCheckedControl();
  if (OnParserReplaceWord)
    OnParserReplaceWord(sender, true, Replacement, State);
  if (FParser)
    FParser->ReplaceWord(Replacement, State);
  if (OnParserReplaceWord)
    OnParserReplaceWord(sender, false, Replacement, State);
}

void TWrightSpellBase::FireBeforeChange()
{
  if (FBeforeChangeFired)
    return;
  FBeforeChangeFired = true;
  if (OnBeforeChange)
    OnBeforeChange(GetCheckedControl());
}

void TWrightSpellBase::FirePromptWord(QObject *EventSender, const QString &Word, bool Repeated)
{
  if (OnPromptWord)
    OnPromptWord(EventSender, Word, Repeated);
}

void TWrightSpellBase::FireCreateSpellDialog(QObject *&SpellForm, bool Create)
{
  if (OnCreateSpellDialog)
    OnCreateSpellDialog(this, SpellForm, Create);
}

void TWrightSpellBase::FireAddCustomIgnore()
{
  if (OnAddCustomIgnore)
    OnAddCustomIgnore(this);
  FOnAddCustomIgnoreList.Notify(this);
}

QObject *TWrightSpellBase::GetCheckedControl()
{
  if (auto *p2 = dynamic_cast<TControlParser2 *>(FParser))
    if (QObject *control = p2->GetControl())
      return control;
  return this;
}

// === Undo ========================================================================================

void TWrightSpellBase::AddUndo(TSpellAction Action, const QString &Replacement, TUndoAdjust Adjust,
                               TUndoAutomatic Automatic)
{
  if (!FParser || FMaxUndo == 0)
    return;
  auto record = std::make_unique<TWrightUndo>();
  FParser->GetPosition(record->FXPos, record->FYPos);
  record->FWord = FWord;
  record->FReplacement = Replacement;
  record->FAction = Action;
  record->FAutomatic = Automatic;
  record->FAdjust = Adjust;
  record->FData = 0;
  FUndoList.push_back(std::move(record));
  NotifyUndo(0, Action, FUndoList.back()->FData);
  while (FMaxUndo != -1 && qint32(FUndoList.size()) > FMaxUndo)
    FUndoList.erase(FUndoList.begin());
}

void TWrightSpellBase::NotifyUndo(qint32 UndoState, TSpellAction Action, qint32 &Data)
{
  if (OnParserUndoLast)
    OnParserUndoLast(GetCheckedControl(), UndoState, Action, Data);
  if (FParser)
    FParser->UndoLast(UndoState, int(Action), Data);
}

void TWrightSpellBase::UndoLastAction()
{
  bool automatic = true;
  // One undo reverts the automatic corrections since the last user action, and that action.
  while (automatic && FParser && !FUndoList.empty()) {
    TWrightUndo r = *FUndoList.back();
    NotifyUndo(1, r.FAction, r.FData);
    const auto selectReplacement = [&] {
      const int length = int(r.FReplacement.size());
      FParser->SetPosition(r.FXPos + length, r.FYPos, ptCurrent);
      FParser->SelectWord(length);
    };
    switch (r.FAction) {
    case saIgnore:
      break;
    case saIgnoreAll:
      FInternalCustom->RemoveIgnore(r.FWord);
      break;
    case saChange:
      selectReplacement();
      ReplaceCurrentWord(r.FWord, 3);
      break;
    case saChangeAll:
      FInternalCustom->RemoveAutoCorrect(r.FWord);
      selectReplacement();
      ReplaceCurrentWord(r.FWord, 4);
      break;
    case saAdd:
      if (FActiveCustom)
        FActiveCustom->RemoveIgnore(r.FWord);
      break;
    case saAutoCorrect:
      if (FActiveCustom)
        FActiveCustom->RemoveAutoCorrect(r.FWord);
      FInternalCustom->RemoveAutoCorrect(r.FWord);
      selectReplacement();
      ReplaceCurrentWord(r.FWord, 5);
      break;
    }
    if (r.FAction == saChange && r.FAdjust)
      FParsingEngine->AdjustToPosition(FParser, r.FXPos, r.FYPos);
    else
      FParser->SetPosition(r.FXPos, r.FYPos, ptCurrent);
    FWord = r.FWord;
    FUndoList.pop_back();
    NotifyUndo(2, r.FAction, r.FData);
    automatic = r.FAutomatic;
  }
}

// === The dialog ==================================================================================

TSpellDialogForm *TWrightSpellBase::DialogFormLink() const
{
  return dynamic_cast<TSpellDialogForm *>(FDialogForm);
}

void TWrightSpellBase::BindDialogController(QObject *Form, TCustomDictionary *Dictionary)
{
  FDialogController = nullptr;
  FDialogCtrl = nullptr;
  if (!Form)
    return;
  // The form's own components first, then anything deeper.
  QList<QObject *> candidates = Form->children();
  candidates += Form->findChildren<QObject *>();
  for (QObject *c : candidates) {
    if (auto *ctrl = dynamic_cast<TSpellDialogController *>(c)) {
      ctrl->SetWrightSpell(this);
      ctrl->SetCustomDictionary(Dictionary);
      FDialogController = ctrl;
      FDialogCtrl = c;
      return;
    }
  }
}

void TWrightSpellBase::ShowSpellDialog()
{
  if (FSpellUIType == suiSilent)
    return;
  if (!FDialogCtrl) {
    FDeactivated = false;
    if (!FDialogForm) {
      QObject *form = nullptr;
      FireCreateSpellDialog(form, true);
      if (!form)
        form = CreateSpellDialog();
      FDialogForm = form;
      if (TSpellDialogForm *f = DialogFormLink())
        f->SetHelp(FHelpFile, HelpCtxSpellDialog);
    }
    BindDialogController(FDialogForm, nullptr);
  }
  if (!FDialogForm)
    return;
  TSpellDialogForm *f = DialogFormLink();
  bool runModal = false;
  if (!FDialogShown) {
    FDialogShown = true;
    FDialogEverShown = true;
    if (OnSpellDialogShow)
      OnSpellDialogShow(this);
    PlaceDialogInitially();
    if (f) {
      if (!FModalDialog)
        f->ShowModeless();
      FOldOnShow = f->OnShow;
      FOldOnActivate = f->OnActivate;
      FOldOnDeactivate = f->OnDeactivate;
      f->OnShow = [this](QObject *Sender) { DialogShowHandler(Sender); };
      f->OnActivate = [this](QObject *Sender) { DialogActivateHandler(Sender); };
      f->OnDeactivate = [this](QObject *Sender) { DialogDeactivateHandler(Sender); };
      runModal = FModalDialog;
    }
  }
  AvoidSelection();
  if (runModal) {
    BeginWork();
    f->RunModal();
    EndWork();
  }
}

void TWrightSpellBase::DialogShowHandler(QObject *Sender)
{
  if (FModalDialog) {
    if (FImmediateDialog)
      ContinueCheck();
    else
      PresentWord();
  }
  if (FOldOnShow)
    FOldOnShow(Sender);
}

void TWrightSpellBase::DialogDeactivateHandler(QObject *Sender)
{
  if (!FDeactivated) {
    FDeactivated = true;
    if (OnDialogDeactivate)
      OnDialogDeactivate(this);
  }
  if (FOldOnDeactivate)
    FOldOnDeactivate(Sender);
}

void TWrightSpellBase::DialogActivateHandler(QObject *Sender)
{
  if (FOldOnActivate)
    FOldOnActivate(Sender);
  if (FDeactivated) {
    FDeactivated = false;
    if (OnDialogActivate)
      OnDialogActivate(this);
    Check_ControlEdited();
  }
}

bool TWrightSpellBase::PresentWord()
{
  OptimizeDictionaryOrder();
  bool told = false;
  if (FDialogController) {
    if (const TWordPromptEvent hook = FDialogController->PromptWordHook()) {
      hook(this, FWord, FExecutingRepeat);
      told = true;
    }
  }
  if (OnPromptWord) {
    FirePromptWord(GetCheckedControl(), FWord, FExecutingRepeat);
    told = true;
  }
  // A visible dialog without a word hook can still be answered by its buttons.
  return told || (FDialogShown && DialogFormLink());
}

void TWrightSpellBase::HideSpellDialog()
{
  if (FSpellUIType == suiSilent || !FDialogForm)
    return;
  TSpellDialogForm *f = DialogFormLink();
  if (f && FInitialPos == ipLastUserPos) {
    const QRect frame = f->FrameRect();
    FConfiguration->SetDialogX(frame.x());
    FConfiguration->SetDialogY(frame.y());
  }
  if (!FCloseDialog && !FModalDialog)
    return;
  FDialogShown = false;
  if (f) {
    f->OnShow = FOldOnShow;
    f->OnActivate = FOldOnActivate;
    f->OnDeactivate = FOldOnDeactivate;
    FOldOnShow = nullptr;
    FOldOnActivate = nullptr;
    FOldOnDeactivate = nullptr;
    if (FModalDialog)
      f->EndModal();
    else
      f->HideModeless();
  }
  if (OnSpellDialogHide)
    OnSpellDialogHide(this);
  FDialogController = nullptr;
  FDialogCtrl = nullptr;
  QObject *form = FDialogForm;
  FDialogForm = nullptr;
  FireCreateSpellDialog(form, false);
  // A handler that takes the form back clears it; otherwise it goes once control is back in
  // the event loop (a modal run may still be unwinding).
  if (form)
    form->deleteLater();
}

void TWrightSpellBase::DetachDialog()
{
  if (!FDialogForm)
    return;
  if (TSpellDialogForm *f = DialogFormLink(); f && FDialogShown) {
    f->OnShow = FOldOnShow;
    f->OnActivate = FOldOnActivate;
    f->OnDeactivate = FOldOnDeactivate;
  }
  QObject *form = FDialogForm;
  FDialogForm = nullptr;
  FDialogCtrl = nullptr;
  FDialogController = nullptr;
  form->deleteLater();
}

// === Placement ===================================================================================

void TWrightSpellBase::PlaceDialogInitially()
{
  TSpellDialogForm *f = DialogFormLink();
  if (!f)
    return;
  const auto centreOn = [f](const QRect &area) {
    const QRect d = f->FrameRect();
    f->MoveTo(QPoint(area.x() + (area.width() - d.width()) / 2,
                     area.y() + (area.height() - d.height()) / 2));
  };
  switch (FInitialPos) {
  case ipScreenCenter:
    centreOn(f->ScreenRect());
    break;
  case ipUnderSelection:
    if (!FImmediateDialog)
      PlaceDialogNearSelection(true, true);
    break;
  case ipAvoidControl:
    PlaceDialogBesideControl();
    break;
  case ipUserDefined:
    if (OnPositionDialog)
      OnPositionDialog(this);
    break;
  case ipLastUserPos: {
    const int x = FConfiguration->DialogX();
    if (x == -1)
      PlaceDialogBesideControl();
    else
      f->MoveInsideWorkArea(QPoint(x, FConfiguration->DialogY()));
    break;
  }
  case ipIgnore:
    f->UseDefaultPosition();
    break;
  case ipDesktopCenter:
    centreOn(f->DesktopRect());
    break;
  }
}

void TWrightSpellBase::PlaceDialogNearSelection(bool Horizontal, bool Vertical)
{
  TSpellDialogForm *f = DialogFormLink();
  if (!f || !FParser)
    return;
  QRect r;
  FParser->GetSelectionScreenPosition(r);
  const QRect anchor = ScreenRectFromParser(r);
  if (anchor.isNull())
    return;
  f->PlaceNearRect(anchor, Horizontal, Vertical);
}

void TWrightSpellBase::PlaceDialogBesideControl()
{
  TSpellDialogForm *f = DialogFormLink();
  if (!f || !FParser)
    return;
  QRect r;
  FParser->GetControlScreenPosition(r);
  if (ScreenRectFromParser(r).isNull()) {
    PlaceDialogNearSelection(true, true);
    return;
  }
  const int left = r.left(), top = r.top(), right = r.right(), bottom = r.bottom();
  const QRect d = f->FrameRect();
  const QRect m = f->MonitorRect();
  const int w = d.width(), h = d.height();
  QPoint p;
  if (bottom + h <= m.y() + m.height())
    p = QPoint(left, bottom);
  else if (right + w <= m.x() + m.width())
    p = QPoint(right, top);
  else if (top - h >= m.y())
    p = QPoint(left, top - h);
  else if (left - w >= m.x())
    p = QPoint(left - w, top);
  else if (FImmediateDialog)
    p = QPoint(left + (right - left - w) / 2, top + (bottom - top - h) / 2);
  else {
    PlaceDialogNearSelection(true, true);
    return;
  }
  f->MoveInsideWorkArea(p);
}

void TWrightSpellBase::AvoidSelection()
{
  TSpellDialogForm *f = DialogFormLink();
  if (!f || !FParser || FAvoidPos == saNone)
    return;
  QRect r;
  FParser->GetSelectionScreenPosition(r);
  const QRect s = ScreenRectFromParser(r);
  const bool overlap = !s.isNull() && s.intersects(f->FrameRect());
  switch (FAvoidPos) {
  case saAvoid:
    if (overlap)
      PlaceDialogNearSelection(true, true);
    break;
  case saAvoidUpDown:
    if (overlap)
      PlaceDialogNearSelection(false, true);
    break;
  case saMove:
    PlaceDialogNearSelection(true, true);
    break;
  case saMoveUpDown:
    PlaceDialogNearSelection(false, true);
    break;
  case saNone:
    break;
  }
}

// === The end =====================================================================================

void TWrightSpellBase::MoveToEndPosition(TControlParser *Parser, int OriginalX, int OriginalY)
{
  switch (FEndPosition) {
  case epHome:
    Parser->SetPosition(FirstColumn(Parser), 0, ptCurrent);
    break;
  case epOriginal:
    Parser->SetPosition(OriginalX, OriginalY, ptCurrent);
    break;
  case epNoModify:
    break;
  }
  Parser->SelectWord(0);
}

void TWrightSpellBase::CompleteCheck()
{
  SetBusy(false);
  if (OnCompleteCheck)
    OnCompleteCheck(this);
  ShowEndMessage();
  TControlParser *parser = FParser;
  if (!FCanceled && parser)
    MoveToEndPosition(parser, FOriginalX, FOriginalY);
  FParser = nullptr;
  if (FFreeParser)
    delete parser;
  HideSpellDialog();
  if (FCheckingSequenceRef == 0)
    EndSelectionDuringCheck();
  ResetUndo();
  FChecking = false;
  FPresenting = false;
  FResumePending = false;
  FExecutingRepeat = false;
  UnloadDictionaries();
}

void TWrightSpellBase::ShowSelectionDuringCheck(TControlParser *Parser)
{
  if (FSelectionWindow)
    return; // a later check of the same sequence
  const auto *parser = dynamic_cast<TWinAPIControlParser *>(Parser);
  if (!parser || !parser->ControlHWND())
    return;
  FSelectionWindow = parser->ControlHWND();
  FSelectionWasHidden = FSelectionWindow->HideSelection();
  FSelectionWindow->SetHideSelection(false);
}

void TWrightSpellBase::EndSelectionDuringCheck()
{
  HWND window = FSelectionWindow;
  if (!window)
    return;
  FSelectionWindow = nullptr;
  window->SetHideSelection(FSelectionWasHidden);
  if (FDialogEverShown && !FDialogShown)
    window->SetFocus();
}

void TWrightSpellBase::ShowEndMessage()
{
  if (FSpellUIType == suiSilent || FCheckingSequenceRef > 0)
    return;
  const bool show = FEndMessage == emAlways || (FEndMessage == emExceptCancel && !FCanceled) ||
                    (FEndMessage == emNoDialog && !FDialogEverShown);
  if (!show)
    return;
  if (FCloseDialog)
    HideSpellDialog();
  if (OnShowEndMessage) {
    OnShowEndMessage(this);
    return;
  }
  QString text = GetString(TSpellLanguageString::lsEndMessage);
  if (FEndMessageWordCount)
    text += QStringLiteral("\r\n\r\n") + GetString(TSpellLanguageString::lsWordsChecked) +
            QLatin1Char(' ') + QString::number(FWordCount);
  if (FCheckHost)
    FCheckHost->ShowInformation(text, GetString(TSpellLanguageString::lsSpelling));
}

// === Counting ====================================================================================

void TWrightSpellBase::CountWords(TControlParser *Parser, TCheckType CheckType, qint32 &WordCount,
                                  qint32 &ErrorCount, bool StopAtFirst, bool CountErrors)
{
  WordCount = 0;
  ErrorCount = 0;
  if (!Parser)
    return;
  if (CheckType != ctAll && CheckType != ctSelected) {
    if (FFreeParser)
      delete Parser;
    return;
  }
  EnsureConfigurationLoaded();
  int ox = 0, oy = 0;
  Parser->GetCursorPosition(ox, oy);
  TMainParsingEngine engine;
  engine.OnInlineIgnore = [this](QChar c, TControlParser *p, bool &ignore) {
    RunInlineIgnore(c, p, ignore);
  };
  engine.OnPreCheckIgnore = [this](const QString &w, TControlParser *p, bool &ignore) {
    RunPreCheckIgnore(w, p, ignore);
  };
  engine.Initialize(Parser, int(CheckType));
  const bool wasBusy = FBusyCursor;
  QElapsedTimer started;
  started.start();
  QString previous;
  for (;;) {
    const QString w = engine.NextWord(Parser);
    if (w.isEmpty())
      break;
    ++WordCount;
    if (CountErrors) {
      bool error = !WordAcceptable(w);
      if (!error) {
        if (FRepeated && w == previous && IsRepeatedWordAt(Parser, w))
          error = true;
        previous = w;
      }
      if (error) {
        ++ErrorCount;
        if (StopAtFirst)
          break;
      }
    }
    if (FUseHourglass && !FBusyCursor && started.elapsed() > HourglassDelayMs)
      SetBusy(true);
  }
  SetBusy(wasBusy);
  MoveToEndPosition(Parser, ox, oy);
  if (FFreeParser)
    delete Parser;
}

qint32 TWrightSpellBase::GetWordCountParser(TControlParser *Parser, TCheckType CheckType)
{
  qint32 words = 0, errors = 0;
  CountWords(Parser, CheckType, words, errors, false, false);
  return words;
}

qint32 TWrightSpellBase::GetErrorCountParser(TControlParser *Parser, TCheckType CheckType)
{
  qint32 words = 0, errors = 0;
  CountWords(Parser, CheckType, words, errors, false, true);
  return errors;
}

bool TWrightSpellBase::ErrorsPresentInParser(TControlParser *Parser, TCheckType CheckType)
{
  qint32 words = 0, errors = 0;
  CountWords(Parser, CheckType, words, errors, true, true);
  return errors > 0;
}

// The string and window forms make their own parser; it is freed here when the component
// does not free it.
template <typename Count>
static auto CountOverString(TWrightSpellBase *Self, const QString &Text, Count &&count)
{
  QString copy = Text;
  auto *parser = new TStringParser;
  parser->Initialize(&copy);
  const bool own = !Self->FreeParser();
  const auto result = count(parser);
  if (own)
    delete parser;
  return result;
}

template <typename Count>
static auto CountOverWindow(TWrightSpellBase *Self, QObject *Control, Count &&count)
{
  auto *parser = new TWinAPIControlParser;
  parser->Initialize(Control);
  const bool own = !Self->FreeParser();
  const auto result = count(parser);
  if (own)
    delete parser;
  return result;
}

qint32 TWrightSpellBase::GetWordCountString(const QString &CountString)
{
  return CountOverString(this, CountString,
                         [&](TControlParser *p) { return GetWordCountParser(p, ctAll); });
}

qint32 TWrightSpellBase::GetWordCountWinControl(QObject *Control, TCheckType CheckType)
{
  return CountOverWindow(this, Control,
                         [&](TControlParser *p) { return GetWordCountParser(p, CheckType); });
}

qint32 TWrightSpellBase::GetErrorCountString(const QString &CountString)
{
  return CountOverString(this, CountString,
                         [&](TControlParser *p) { return GetErrorCountParser(p, ctAll); });
}

qint32 TWrightSpellBase::GetErrorCountWinControl(QObject *Control, TCheckType CheckType)
{
  return CountOverWindow(this, Control,
                         [&](TControlParser *p) { return GetErrorCountParser(p, CheckType); });
}

bool TWrightSpellBase::ErrorsPresentInString(const QString &CountString)
{
  return CountOverString(this, CountString,
                         [&](TControlParser *p) { return ErrorsPresentInParser(p, ctAll); });
}

bool TWrightSpellBase::ErrorsPresentInWinControl(QObject *Control, TCheckType CheckType)
{
  return CountOverWindow(this, Control,
                         [&](TControlParser *p) { return ErrorsPresentInParser(p, CheckType); });
}
