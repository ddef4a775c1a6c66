#include "ReplaceDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TReplaceDialog::TReplaceDialog(QWidget *parent) : QDialog(parent)
{
  setWindowTitle(QStringLiteral("Replace"));
  setModal(false);

  FindEdit = new QLineEdit(this);
  FindEdit->setObjectName(QStringLiteral("FindEdit"));
  ReplaceEdit = new QLineEdit(this);
  ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
  auto *findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
  findLabel->setBuddy(FindEdit);
  auto *replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
  replaceLabel->setBuddy(ReplaceEdit);

  WholeWordBox = new QCheckBox(QStringLiteral("Match &whole word only"), this);
  MatchCaseBox = new QCheckBox(QStringLiteral("Match &case"), this);
  auto *direction = new QGroupBox(QStringLiteral("Direction"), this);
  UpButton = new QRadioButton(QStringLiteral("&Up"), direction);
  DownButton = new QRadioButton(QStringLiteral("&Down"), direction);
  DownButton->setChecked(true);
  auto *dirLayout = new QHBoxLayout(direction);
  dirLayout->addWidget(UpButton);
  dirLayout->addWidget(DownButton);

  FindNextButton = new QPushButton(QStringLiteral("&Find Next"), this);
  ReplaceButton = new QPushButton(QStringLiteral("&Replace"), this);
  ReplaceAllButton = new QPushButton(QStringLiteral("Replace &All"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  FindNextButton->setDefault(true);

  auto *grid = new QGridLayout;
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(FindEdit, 0, 1);
  grid->addWidget(replaceLabel, 1, 0);
  grid->addWidget(ReplaceEdit, 1, 1);
  auto *options = new QVBoxLayout;
  options->addWidget(WholeWordBox);
  options->addWidget(MatchCaseBox);
  auto *lower = new QHBoxLayout;
  lower->addLayout(options);
  lower->addWidget(direction);
  auto *left = new QVBoxLayout;
  left->addLayout(grid);
  left->addLayout(lower);
  left->addStretch(1);
  auto *buttons = new QVBoxLayout;
  for (QPushButton *b : {FindNextButton, ReplaceButton, ReplaceAllButton, CancelButton})
    buttons->addWidget(b);
  buttons->addStretch(1);
  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  // Nothing to act on without a text to find.
  auto enable = [this] {
    const bool any = !FindEdit->text().isEmpty();
    FindNextButton->setEnabled(any);
    ReplaceButton->setEnabled(any);
    ReplaceAllButton->setEnabled(any);
  };
  connect(FindEdit, &QLineEdit::textChanged, this, enable);
  enable();

  connect(FindNextButton, &QPushButton::clicked, this, [this] {
    if (OnFind)
      OnFind(this);
  });
  connect(ReplaceButton, &QPushButton::clicked, this, [this] { Replace(false); });
  connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { Replace(true); });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::close);
}

QString TReplaceDialog::FindText() const { return FindEdit->text(); }
void TReplaceDialog::SetFindText(const QString &text) { FindEdit->setText(text); }
QString TReplaceDialog::ReplaceText() const { return ReplaceEdit->text(); }
void TReplaceDialog::SetReplaceText(const QString &text) { ReplaceEdit->setText(text); }
bool TReplaceDialog::MatchCase() const { return MatchCaseBox->isChecked(); }
void TReplaceDialog::SetMatchCase(bool on) { MatchCaseBox->setChecked(on); }
bool TReplaceDialog::WholeWord() const { return WholeWordBox->isChecked(); }
bool TReplaceDialog::Down() const { return DownButton->isChecked(); }

void TReplaceDialog::Replace(bool all)
{
  FReplaceAll = all;
  if (OnReplace)
    OnReplace(this);
}

void TReplaceDialog::Execute()
{
  show();
  raise();
  activateWindow();
}
