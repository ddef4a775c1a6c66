#include "wrThesaurusDialogCtrl.h"

TThesaurusDialogCtrl::TThesaurusDialogCtrl(QObject *Owner) : QObject(Owner)
{
  setObjectName(QStringLiteral("DialogControl"));
}

void TThesaurusDialogCtrl::SetThesaurus(TWrightThesaurusBase *Value)
{
  if (FThesaurus || !Value)
    return;
  FThesaurus = Value;
  CommandsEnabled = Value->CommandsEnabled;
  CommandsVisible = Value->CommandsVisible;
  if (OnActivate)
    OnActivate(this);
}

void TThesaurusDialogCtrl::SetContext(int Index)
{
  if (FThesaurus)
    FThesaurus->Lookup_SetContext(Index);
}

void TThesaurusDialogCtrl::LookupWord(const QString &Word)
{
  if (FThesaurus)
    FThesaurus->Lookup_LookupWord(Word);
}

void TThesaurusDialogCtrl::ReplaceWord(const QString &Word)
{
  if (FThesaurus)
    FThesaurus->Lookup_ReplaceWord(Word);
}

void TThesaurusDialogCtrl::DoubleClickWord(const QString &Word)
{
  if (FThesaurus)
    FThesaurus->Lookup_DoubleClickWord(Word);
}

void TThesaurusDialogCtrl::Cancel()
{
  if (FThesaurus)
    FThesaurus->Lookup_Cancel();
}

QString TThesaurusDialogCtrl::GetString(TThesaurusLanguageString LanguageString)
{
  return FThesaurus ? FThesaurus->GetString(LanguageString) : QString();
}
