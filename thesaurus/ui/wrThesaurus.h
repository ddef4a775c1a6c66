#pragma once
// The thesaurus component with its standard dialog, and the published variants the main
// window holds.

#include "wrThesaurusBase.h"
#include "wrTypes.h" // TWrightDialog

class TWrightThesaurus : public TWrightThesaurusBase {
  Q_OBJECT
public:
  using TWrightDialogCreateEvent = std::function<void(QObject *Sender, QObject *OwnerParam,
                                                      TWrightDialog Dialog, QDialog *&Form)>;

  explicit TWrightThesaurus(QObject *Owner = nullptr);

  TWrightDialogCreateEvent OnCreateWrightDialog;
  // The dialog takes the font of the window it belongs to instead of its own.
  bool ParentFont = false;

protected:
  QDialog *CreateDialog() override;
  virtual QDialog *CreateWrightDialog(QObject *OwnerParam, TWrightDialog Dialog);
};

// Published variants: same behaviour, no members of their own.
class TThesaurus3Base : public TWrightThesaurusBase {
  Q_OBJECT
public:
  using TWrightThesaurusBase::TWrightThesaurusBase;
};

class TThesaurus3 : public TWrightThesaurus {
  Q_OBJECT
public:
  using TWrightThesaurus::TWrightThesaurus;
};
