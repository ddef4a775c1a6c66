#include "wrNewCustomDictionaryDialog.h"

#include "rtDialogControls.h"
#include "rtFormPlacement.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrCustomDictionaryPages.h"
#include "wrSpellDialogForm.h"
#include "wrUtil.h"

#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

using LS = TSpellLanguageString;

TNewCustomDictionary::TNewCustomDictionary(QWidget *Parent) : QDialog(Parent)
{
  setObjectName(QStringLiteral("NewCustomDictionary"));
  SetFixedDialogFrame(this);
  setFont(SpellDialogFont());
  setFixedSize(DesignWidth, 102);
  setWindowTitle(QStringLiteral("xxNew Custom Dictionary"));

  NameEdit = new QLineEdit(this);
  NameEdit->setObjectName(QStringLiteral("NameEdit"));
  NameEdit->setGeometry(8, 32, 215, 21);
  EditLabel = new QLabel(QStringLiteral("xx&Enter the new custom dictionary name:"), this);
  EditLabel->setObjectName(QStringLiteral("EditLabel"));
  EditLabel->setGeometry(8, 10, 215, 16);
  EditLabel->setBuddy(NameEdit);
  OKButton = new QPushButton(QStringLiteral("xxOK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(68, 70, 75, 23);
  OKButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("xxCancel"), this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  CancelButton->setGeometry(148, 70, 75, 23);
  CancelButton->setAutoDefault(false);
  SetTabOrderChain({NameEdit, OKButton, CancelButton});

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->OnConfigurationAvailable = [this](QObject *s) {
    DialogControlConfigurationAvailable(s);
  };
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TNewCustomDictionary::DialogControlConfigurationAvailable(QObject *)
{
  const auto s = [this](LS id) { return DialogControl->GetString(id); };
  setWindowTitle(s(LS::lsNewCustomTitle));
  EditLabel->setText(s(LS::lsDlgNewCustom));
  OKButton->setText(s(LS::lsDlgOK));
  CancelButton->setText(s(LS::lsDlgCancel));
  FitToTexts();
}

void TNewCustomDictionary::FitToTexts()
{
  // The design width cuts the title short in a desktop's title font, and a longer label of
  // another language would be cut too: the dialog grows, the field with it, the buttons stay
  // at the right.
  const int labelWidth = EditLabel->fontMetrics().horizontalAdvance(EditLabel->text());
  const int w = std::max({DesignWidth, TitleFrameWidth(windowTitle()), labelWidth + 16});
  setFixedSize(w, height());
  NameEdit->setGeometry(8, 32, w - 16, 21);
  EditLabel->setGeometry(8, 10, w - 16, 16);
  OKButton->move(w - 163, 70);
  CancelButton->move(w - 83, 70);
}

QString NewCustomDictionaryName(const QString &Text)
{
  const QString name = ChangeFileExt(ExtractFileName(Text).trimmed(), QStringLiteral(".wdu"));
  if (!name.isEmpty() && !IsListableWord(name))
    return QString();
  if (QFile::encodeName(name).size() > 255)
    return QString();
  return name;
}

QString AskNewCustomDictionaryName(QWidget *Owner, TConfigurationDialogCtrl *Control)
{
  TNewCustomDictionary dialog(Owner);
  dialog.DialogControl->SetWrightSpell(Control->WrightSpell());
  if (const TSpellDialogAppearance *look = Control->Appearance())
    look->SetupFormFonts(&dialog, false);
  dialog.FitToTexts();
  if (dialog.exec() != QDialog::Accepted)
    return QString();
  return NewCustomDictionaryName(dialog.NameEdit->text());
}
