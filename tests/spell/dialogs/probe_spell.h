#pragma once
// A spell component whose check commands only record that they were called, with the state a
// running check shows its dialog (word, repeated flag, parser, active custom dictionary,
// suggestions, undo) set by the test. It drives the real dialogs without a check loop.

#include "wrCustomDictionary.h"
#include "wrParserBase.h"
#include "wrSpell.h"

#include <QStringList>

// A parser over one line with its cursor at a column: what the dialog reads to show the sentence.
class TLineParser : public TControlParser {
public:
  QString Line;
  int X = 0;
  void Initialize(void *) override {}
  QChar GetChar() override { return {}; }
  QString GetLine() override { return Line; }
  bool MoveNext() override { return false; }
  bool MovePrevious() override { return false; }
  void SetPosition(int, int, TPositionType) override {}
  void GetPosition(int &XPos, int &YPos) override
  {
    XPos = X;
    YPos = 0;
  }
  void SelectWord(int) override {}
  void ReplaceWord(const QString &, int) override {}
  void IgnoreWord(int) override {}
  void CenterSelection() override {}
  void GetCursorPosition(int &XPos, int &YPos) override { XPos = YPos = 0; }
  void GetSelectionPosition(int &a, int &b, int &c, int &d) override { a = b = c = d = 0; }
  void GetControlScreenPosition(QRect &r) override { r = QRect(); }
  void GetSelectionScreenPosition(QRect &r) override { r = QRect(); }
  void UndoLast(int, int, int &) override {}
};

class TProbeSpell : public TWrightSpellDialogs {
public:
  TProbeSpell()
  {
    SetConfigStorage(csNone);
    FParser = &Parser;
  }
  ~TProbeSpell() override
  {
    FChecking = false;
    FParser = nullptr;
  }

  TLineParser Parser;
  QStringList Calls;
  QStringList Suggestions;
  bool Undoable = false;

  void SetWord(const QString &Word, bool Repeated)
  {
    FWord = Word;
    FExecutingRepeat = Repeated;
  }
  void SetChecking(bool Value) { FChecking = Value; }
  using TWrightSpellBase::BindDialogController;
  void GiveActiveCustom() { FActiveCustom = std::make_unique<TCustomDictionary>(); }
  // Creates the dialog form as a check would and binds its controller.
  QObject *CreateAndBind()
  {
    QObject *form = CreateSpellDialog();
    for (QObject *c : form->children())
      if (auto *ctrl = dynamic_cast<TSpellDialogController *>(c)) {
        ctrl->SetWrightSpell(this);
        break;
      }
    return form;
  }

  void Suggest(const QString &, TStringList &Words) override
  {
    Words.Clear();
    for (const QString &s : Suggestions)
      Words.Add(s);
  }
  void Check_Ignore() override { Calls << QStringLiteral("Ignore"); }
  void Check_IgnoreAll() override { Calls << QStringLiteral("IgnoreAll"); }
  void Check_Change(const QString &Word) override { Calls << QStringLiteral("Change:") + Word; }
  void Check_ChangeLine(const QString &NewLine) override
  {
    Calls << QStringLiteral("ChangeLine:") + NewLine;
  }
  void Check_ChangeAll(const QString &Word) override
  {
    Calls << QStringLiteral("ChangeAll:") + Word;
  }
  void Check_Add() override { Calls << QStringLiteral("Add"); }
  void Check_AutoCorrect(const QString &Word) override
  {
    Calls << QStringLiteral("AutoCorrect:") + Word;
  }
  void Check_Undo() override { Calls << QStringLiteral("Undo"); }
  void Check_RepeatIgnore() override { Calls << QStringLiteral("RepeatIgnore"); }
  void Check_RepeatDelete() override { Calls << QStringLiteral("RepeatDelete"); }
  void Check_ControlEdited() override { Calls << QStringLiteral("ControlEdited"); }
  void Check_Cancel() override { Calls << QStringLiteral("Cancel"); }

protected:
  bool GetCanUndo() const override { return Undoable; }
};
