#include "wrConfigurationDialogCtrl.h"

#include "wrCustomDictionary.h"
#include "wrMainDictionary.h"
#include "wrSpellBase.h"

TSpellDialogAppearance::~TSpellDialogAppearance() = default;
QObject *TSpellDialogAppearance::AttachLiveSpellingSample(QWidget *) { return nullptr; }

TConfigurationDialogCtrl::TConfigurationDialogCtrl(QObject *AOwner) : QObject(AOwner)
{
  setObjectName(QStringLiteral("DialogControl"));
}

void TConfigurationDialogCtrl::SetWrightSpell(TWrightSpellBase *WrightSpell)
{
  if (FWrightSpell)
    return;
  FWrightSpell = WrightSpell;
  if (!FWrightSpell)
    return;
  FConfiguration = FWrightSpell->Configuration();
  FAvailableOptions = FWrightSpell->ConfigAvailableOptions();
  if (OnConfigurationAvailable)
    OnConfigurationAvailable(this);
}

void TConfigurationDialogCtrl::SetCustomDictionary(TCustomDictionary *CustomDictionary)
{
  FCustomDictionary = CustomDictionary;
  if (FCustomDictionary && OnCustomDictionaryAvailable)
    OnCustomDictionaryAvailable(this);
}

TStringList TConfigurationDialogCtrl::AvailableMain() const
{
  return FWrightSpell ? FWrightSpell->ConfigAvailableMain() : TStringList();
}
TStringList TConfigurationDialogCtrl::AvailableCustom() const
{
  return FWrightSpell ? FWrightSpell->ConfigAvailableCustom() : TStringList();
}
TStringList TConfigurationDialogCtrl::AvailableMSWordCustom() const
{
  return FWrightSpell ? FWrightSpell->ConfigAvailableMSWordCustom() : TStringList();
}
bool TConfigurationDialogCtrl::UseExcludeWords() const
{
  return !FWrightSpell || FWrightSpell->UseExcludeWords();
}
bool TConfigurationDialogCtrl::CanUndo() const { return FWrightSpell && FWrightSpell->CanUndo(); }
TCustomDictionary *TConfigurationDialogCtrl::InternalCustom() const
{
  return FWrightSpell ? FWrightSpell->InternalCustom() : nullptr;
}
TCustomDictionary *TConfigurationDialogCtrl::ActiveCustomDictionary() const
{
  return FWrightSpell ? FWrightSpell->ActiveCustomDictionary() : nullptr;
}
TSpellDialogCommands TConfigurationDialogCtrl::CommandsVisible() const
{
  return FWrightSpell ? FWrightSpell->CommandsVisible() : TSpellDialogCommands();
}
TSpellDialogCommands TConfigurationDialogCtrl::CommandsEnabled() const
{
  return FWrightSpell ? FWrightSpell->CommandsEnabled() : TSpellDialogCommands();
}
qint32 TConfigurationDialogCtrl::HelpCtxSpellDialog() const
{
  return FWrightSpell ? FWrightSpell->HelpCtxSpellDialog : 0;
}
qint32 TConfigurationDialogCtrl::HelpCtxConfigDialog() const
{
  return FWrightSpell ? FWrightSpell->HelpCtxConfigDialog : 0;
}
qint32 TConfigurationDialogCtrl::HelpCtxDictionariesDialog() const
{
  return FWrightSpell ? FWrightSpell->HelpCtxDictionariesDialog : 0;
}
qint32 TConfigurationDialogCtrl::HelpCtxDictionaryEditDialog() const
{
  return FWrightSpell ? FWrightSpell->HelpCtxDictionaryEditDialog : 0;
}
QString TConfigurationDialogCtrl::CurrentWord() const
{
  return FWrightSpell ? FWrightSpell->CurrentWord() : QString();
}
bool TConfigurationDialogCtrl::RepeatedWord() const
{
  return FWrightSpell && FWrightSpell->RepeatedWord();
}
TControlParser *TConfigurationDialogCtrl::ControlParser() const
{
  return FWrightSpell ? FWrightSpell->ControlParser() : nullptr;
}
TSpellDialogAppearance *TConfigurationDialogCtrl::Appearance() const
{
  return dynamic_cast<TSpellDialogAppearance *>(FWrightSpell);
}

QString TConfigurationDialogCtrl::GetString(TSpellLanguageString LangString) const
{
  return FWrightSpell ? FWrightSpell->GetString(LangString) : QString();
}

QString TConfigurationDialogCtrl::GetOptionString(TSpellOption Option) const
{
  if (!FWrightSpell)
    return {};
  if (Option >= soUser1 && Option <= soUser4)
    return FWrightSpell->ConfigUserOption(int(Option) - int(soUser1) + 1);
  return FWrightSpell->GetString(TSpellLanguageString(int(Option)));
}

std::unique_ptr<TMainDictionary> TConfigurationDialogCtrl::GetMainDictionary(
    const QString &Filename)
{
  return FWrightSpell ? FWrightSpell->GetMainDictionary(Filename) : nullptr;
}
std::unique_ptr<TCustomDictionary> TConfigurationDialogCtrl::GetCustomDictionary(
    const QString &Filename)
{
  return FWrightSpell ? FWrightSpell->GetCustomDictionary(Filename) : nullptr;
}

// Each forwards to the component when there is one.
#define LW_FORWARD(call)                                                                           \
  if (FWrightSpell)                                                                                \
  FWrightSpell->call

void TConfigurationDialogCtrl::Setup() { LW_FORWARD(Setup()); }
void TConfigurationDialogCtrl::SetupCustomDictionaries() { LW_FORWARD(SetupCustomDictionaries()); }
void TConfigurationDialogCtrl::EditCustomDictionary(TCustomDictionary *CustomDictionary)
{
  LW_FORWARD(EditCustomDictionary(CustomDictionary));
}
void TConfigurationDialogCtrl::SetupAddDictionaryDir() { LW_FORWARD(SetupAddDictionaryDir()); }
bool TConfigurationDialogCtrl::EnableCustomDictionary(const QString &Filename, bool Enabled)
{
  return FWrightSpell && FWrightSpell->EnableCustomDictionary(Filename, Enabled);
}
bool TConfigurationDialogCtrl::EnableWordDictionary(const QString &Filename, bool Enabled)
{
  return FWrightSpell && FWrightSpell->EnableWordDictionary(Filename, Enabled);
}
bool TConfigurationDialogCtrl::RemoveCustomDictionary(const QString &Filename, bool Prompt)
{
  return FWrightSpell && FWrightSpell->RemoveCustomDictionary(Filename, Prompt);
}
bool TConfigurationDialogCtrl::CreateNewCustomDictionary(const QString &Filename)
{
  return FWrightSpell && FWrightSpell->CreateNewCustomDictionary(Filename);
}
bool TConfigurationDialogCtrl::RenameCustomDictionary(const QString &OldFilename,
                                                      const QString &NewFilename)
{
  return FWrightSpell && FWrightSpell->RenameCustomDictionary(OldFilename, NewFilename);
}
void TConfigurationDialogCtrl::Ignore() { LW_FORWARD(Check_Ignore()); }
void TConfigurationDialogCtrl::IgnoreAll() { LW_FORWARD(Check_IgnoreAll()); }
void TConfigurationDialogCtrl::Change(const QString &Word) { LW_FORWARD(Check_Change(Word)); }
void TConfigurationDialogCtrl::ChangeLine(const QString &NewLine)
{
  LW_FORWARD(Check_ChangeLine(NewLine));
}
void TConfigurationDialogCtrl::ChangeAll(const QString &Word) { LW_FORWARD(Check_ChangeAll(Word)); }
void TConfigurationDialogCtrl::Add() { LW_FORWARD(Check_Add()); }
void TConfigurationDialogCtrl::AutoCorrect(const QString &Word)
{
  LW_FORWARD(Check_AutoCorrect(Word));
}
void TConfigurationDialogCtrl::Undo() { LW_FORWARD(Check_Undo()); }
void TConfigurationDialogCtrl::RepeatIgnore() { LW_FORWARD(Check_RepeatIgnore()); }
void TConfigurationDialogCtrl::RepeatDelete() { LW_FORWARD(Check_RepeatDelete()); }
void TConfigurationDialogCtrl::ControlEdited() { LW_FORWARD(Check_ControlEdited()); }
void TConfigurationDialogCtrl::Cancel() { LW_FORWARD(Check_Cancel()); }

void TConfigurationDialogCtrl::Suggest(const QString &Word, TStringList &Words)
{
  if (FWrightSpell)
    FWrightSpell->Suggest(Word, Words);
  else
    Words.Clear();
}

// This program ships no help file.
void TConfigurationDialogCtrl::HelpSpellDialog() {}
void TConfigurationDialogCtrl::HelpConfigDialog() {}
void TConfigurationDialogCtrl::HelpDictionariesDialog() {}
void TConfigurationDialogCtrl::HelpDictionaryEditDialog() {}

#undef LW_FORWARD
