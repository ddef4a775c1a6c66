#pragma once
// The controller a thesaurus dialog form carries: the form talks to the thesaurus component
// only through it, so any form holding one can serve as the lookup dialog.

#include "wrThesaurusBase.h"

#include <QObject>
#include <QPointer>
#include <functional>

class TThesaurusDialogCtrl : public QObject {
  Q_OBJECT
public:
  explicit TThesaurusDialogCtrl(QObject *Owner = nullptr);

  TWrightThesaurusBase *Thesaurus() const { return FThesaurus; }
  // Attaches the component (only when none is attached yet): copies its command sets and
  // raises OnActivate.
  void SetThesaurus(TWrightThesaurusBase *Value);
  TThesaurusDialogCommands CommandsEnabled = AllThesaurusCommands;
  TThesaurusDialogCommands CommandsVisible = AllThesaurusCommands;

  std::function<void(QObject *Sender)> OnActivate;
  TWrightThesaurusBase::TPromptLookupEvent OnPromptLookup;
  TWrightThesaurusBase::TPromptContextEvent OnPromptContext;

  // Forwarded to the attached component; nothing without one.
  void SetContext(int Index);
  void LookupWord(const QString &Word);
  void ReplaceWord(const QString &Word);
  void DoubleClickWord(const QString &Word);
  void Cancel();
  QString GetString(TThesaurusLanguageString LanguageString);

private:
  QPointer<TWrightThesaurusBase> FThesaurus;
};
