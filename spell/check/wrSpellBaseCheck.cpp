// The check loop of TWrightSpellBase (declared in wrSpellBase.h): starting checks, the loop,
// the dialog commands, undo, the dialog's placement and the counting operations.
#include "wrSpellBase.h"

void TWrightSpellBase::CheckParser(TControlParser *, TCheckType) {}
void TWrightSpellBase::CheckWinControl(QObject *, TCheckType) {}
void TWrightSpellBase::CheckRichEdit(QObject *, TCheckType) {}
void TWrightSpellBase::CheckWinControlHWND(HWND, TCheckType) {}
void TWrightSpellBase::CheckString(QString &) {}
void TWrightSpellBase::CheckLiveSpellWord(QObject *, HWND) {}
void TWrightSpellBase::StartSequenceCheck() {}
void TWrightSpellBase::StopSequenceCheck() {}
void TWrightSpellBase::StopCheck(bool) {}
void TWrightSpellBase::ResetUndo() { FUndoList.clear(); }
void TWrightSpellBase::CloseSpellDialog() {}
void TWrightSpellBase::Check_Ignore() {}
void TWrightSpellBase::Check_IgnoreAll() {}
void TWrightSpellBase::Check_Change(const QString &) {}
void TWrightSpellBase::Check_ChangeLine(const QString &) {}
void TWrightSpellBase::Check_ChangeAll(const QString &) {}
void TWrightSpellBase::Check_Add() {}
void TWrightSpellBase::Check_AutoCorrect(const QString &) {}
void TWrightSpellBase::Check_Undo() {}
void TWrightSpellBase::Check_RepeatIgnore() {}
void TWrightSpellBase::Check_RepeatDelete() {}
void TWrightSpellBase::Check_ControlEdited() {}
void TWrightSpellBase::Check_Help() {}
void TWrightSpellBase::Check_Cancel() {}
qint32 TWrightSpellBase::GetWordCountString(const QString &) { return 0; }
qint32 TWrightSpellBase::GetWordCountWinControl(QObject *, TCheckType) { return 0; }
qint32 TWrightSpellBase::GetWordCountParser(TControlParser *, TCheckType) { return 0; }
qint32 TWrightSpellBase::GetErrorCountString(const QString &) { return 0; }
qint32 TWrightSpellBase::GetErrorCountWinControl(QObject *, TCheckType) { return 0; }
qint32 TWrightSpellBase::GetErrorCountParser(TControlParser *, TCheckType) { return 0; }
bool TWrightSpellBase::ErrorsPresentInString(const QString &) { return false; }
bool TWrightSpellBase::ErrorsPresentInWinControl(QObject *, TCheckType) { return false; }
bool TWrightSpellBase::ErrorsPresentInParser(TControlParser *, TCheckType) { return false; }
TSpellDialogForm *TWrightSpellBase::DialogFormLink() const { return nullptr; }
void TWrightSpellBase::BindDialogController(QObject *, TCustomDictionary *) {}
void TWrightSpellBase::DialogShowHandler(QObject *) {}
void TWrightSpellBase::DialogDeactivateHandler(QObject *) {}
void TWrightSpellBase::DialogActivateHandler(QObject *) {}
void TWrightSpellBase::PresentWord() {}
void TWrightSpellBase::PlaceDialogNearSelection(bool, bool) {}
void TWrightSpellBase::PlaceDialogBesideControl() {}
void TWrightSpellBase::PlaceDialogInitially() {}
void TWrightSpellBase::AvoidSelection() {}
void TWrightSpellBase::ShowSpellDialog() {}
void TWrightSpellBase::HideSpellDialog() {}
void TWrightSpellBase::ShowEndMessage() {}
QObject *TWrightSpellBase::GetCheckedControl() { return this; }
void TWrightSpellBase::ReplaceCurrentWord(const QString &, qint32) {}
void TWrightSpellBase::IgnoreCurrentWord(qint32) {}
void TWrightSpellBase::NotifyUndo(qint32, TSpellAction, qint32 &) {}
void TWrightSpellBase::FireBeforeChange() {}
void TWrightSpellBase::FirePromptWord(QObject *, const QString &, bool) {}
void TWrightSpellBase::FireCreateSpellDialog(QObject *&, bool) {}
void TWrightSpellBase::FireAddCustomIgnore() {}
bool TWrightSpellBase::IsRepeatedWord(const QString &) { return false; }
void TWrightSpellBase::CountWords(TControlParser *, TCheckType, qint32 &, qint32 &, bool, bool) {}
void TWrightSpellBase::UndoLastAction() {}
void TWrightSpellBase::AddUndo(TSpellAction, const QString &, TUndoAdjust, TUndoAutomatic) {}
void TWrightSpellBase::CompleteCheck() {}
void TWrightSpellBase::ContinueCheck() {}
void TWrightSpellBase::CheckSmart(TControlParser *) {}
void TWrightSpellBase::ResumeCheck() {}
bool TWrightSpellBase::CommandAllowed(bool) const { return false; }
void TWrightSpellBase::SetBusy(bool) {}
