#include "wrThesaurusDialog.h"

#include "rtDialogControls.h"
#include "rtErrorBox.h"
#include "rtFormPlacement.h"
#include "wrThesaurusDialogCtrl.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

namespace {

// A read-only report list without headers that selects whole rows and keeps its selection
// visible when it does not have the focus.
QTreeWidget *MakeReportList(QWidget *parent, const QString &name, int columns)
{
  auto *lv = new QTreeWidget(parent);
  lv->setObjectName(name);
  lv->setColumnCount(columns);
  lv->setHeaderHidden(true);
  lv->header()->setStretchLastSection(false);
  lv->setRootIsDecorated(false);
  lv->setItemsExpandable(false);
  lv->setUniformRowHeights(true);
  lv->setSelectionMode(QAbstractItemView::SingleSelection);
  lv->setSelectionBehavior(QAbstractItemView::SelectRows);
  lv->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lv->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  lv->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QPalette p = lv->palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  lv->setPalette(p);
  return lv;
}
} // namespace

TThesDialog::TThesDialog(QWidget *Parent) : QDialog(Parent)
{
  setObjectName(QStringLiteral("ThesDialog"));
  SetFixedDialogFrame(this);
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  setFixedSize(361, 211);
  setWindowTitle(QStringLiteral("xxThesaurus"));

  LookupCombo = new QComboBox(this);
  LookupCombo->setObjectName(QStringLiteral("LookupCombo"));
  LookupCombo->setEditable(false);
  LookupCombo->setGeometry(8, 24, 161, 21);
  ContextLV = MakeReportList(this, QStringLiteral("ContextLV"), 2);
  ContextLV->setGeometry(8, 72, 161, 105);
  ReplaceEdit = new QLineEdit(this);
  ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
  ReplaceEdit->setGeometry(184, 24, 169, 21);
  WordList = MakeReportList(this, QStringLiteral("WordList"), 1);
  WordList->setGeometry(192, 48, 162, 129);
  FileProblemLabel = new QLabel(this);
  FileProblemLabel->setObjectName(QStringLiteral("FileProblemLabel"));
  FileProblemLabel->setGeometry(WordList->geometry());
  FileProblemLabel->setWordWrap(true);
  FileProblemLabel->setTextFormat(Qt::PlainText);
  FileProblemLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FileProblemLabel->setFrameShape(QFrame::StyledPanel);
  FileProblemLabel->hide();
  LookedUpLabel =
      MakeLabel(this, QStringLiteral("LookedUpLabel"), QRect(8, 8, 160, 16), LookupCombo);
  ContextsLabel =
      MakeLabel(this, QStringLiteral("ContextsLabel"), QRect(8, 56, 160, 16), ContextLV);
  ReplaceWithLabel =
      MakeLabel(this, QStringLiteral("ReplaceWithLabel"), QRect(184, 8, 160, 16), ReplaceEdit);
  PreviousButton = MakeButton(this, QStringLiteral("PreviousButton"), QRect(8, 184, 79, 23));
  LookupButton = MakeButton(this, QStringLiteral("LookupButton"), QRect(94, 184, 75, 23));
  ReplaceButton = MakeButton(this, QStringLiteral("ReplaceButton"), QRect(192, 184, 79, 23));
  CloseButton = MakeButton(this, QStringLiteral("CloseButton"), QRect(278, 184, 75, 23));
  PreviousButton->setEnabled(false);
  LookupButton->setEnabled(false);
  ReplaceButton->setEnabled(false);

  LookedUpLabel->setText(QStringLiteral("xxLooked Up:"));
  ContextsLabel->setText(QStringLiteral("xxContexts:"));
  ReplaceWithLabel->setText(QStringLiteral("xxReplace With:"));
  PreviousButton->setText(QStringLiteral("xxPrevious"));
  LookupButton->setText(QStringLiteral("xxLookup"));
  ReplaceButton->setText(QStringLiteral("xxReplace"));
  CloseButton->setText(QStringLiteral("xxClose"));

  SetTabOrderChain({LookupCombo, ContextLV, ReplaceEdit, WordList, PreviousButton, ReplaceButton,
                    CloseButton, LookupButton});
  WordList->setFocus();

  DialogControl = new TThesaurusDialogCtrl(this);
  DialogControl->OnActivate = [this](QObject *s) { DialogControlActivate(s); };
  DialogControl->OnPromptLookup = [this](QObject *s, const QString &w, TThesaurusEntryList &l) {
    DialogControlPromptLookup(s, w, l);
  };
  DialogControl->OnPromptContext = [this](QObject *s, QStringList &w) {
    DialogControlPromptContext(s, w);
  };

  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(10);
  Timer->setSingleShot(false); // stopped by its own handler, like a window timer

  connect(ContextLV, &QTreeWidget::itemSelectionChanged, this, &TThesDialog::ContextLVChange);
  connect(WordList, &QTreeWidget::itemSelectionChanged, this, &TThesDialog::WordListChange);
  connect(WordList, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem *i) { WordListDblClick(i); });
  connect(ReplaceEdit, &QLineEdit::textChanged, this, &TThesDialog::ReplaceEditChange);
  connect(Timer, &QTimer::timeout, this, &TThesDialog::TimerTimer);
  connect(LookupButton, &QPushButton::clicked, this, &TThesDialog::LookupButtonClick);
  connect(LookupCombo, &QComboBox::activated, this, &TThesDialog::LookupComboSelect);
  connect(PreviousButton, &QPushButton::clicked, this, &TThesDialog::PreviousButtonClick);
  connect(ReplaceButton, &QPushButton::clicked, this, &TThesDialog::ReplaceButtonClick);
  connect(CloseButton, &QPushButton::clicked, this, &TThesDialog::CloseButtonClick);
}

bool TThesDialog::Enabled(TThesaurusDialogCommand c) const
{
  return HasCommand(DialogControl->CommandsEnabled, c);
}

bool TThesDialog::Visible(TThesaurusDialogCommand c) const
{
  return HasCommand(DialogControl->CommandsVisible, c);
}

int TThesDialog::ScrollBarWidth() const
{
  return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void TThesDialog::Run(const std::function<void()> &Command) { RunCommand(Command); }

void TThesDialog::reject()
{
  if (DialogControl->Thesaurus())
    DialogControl->Cancel();
  else
    QDialog::reject();
}

void TThesDialog::DialogControlActivate(QObject *)
{
  TThesaurusDialogCtrl *c = DialogControl;
  setWindowTitle(c->GetString(lsThesaurus));
  LookedUpLabel->setText(c->GetString(lsDlgLookedUp));
  ContextsLabel->setText(c->GetString(lsDlgContexts));
  ReplaceWithLabel->setText(c->GetString(lsDlgReplaceWith));
  PreviousButton->setText(c->GetString(lsDlgPrevious));
  LookupButton->setText(c->GetString(lsDlgLookup));
  ReplaceButton->setText(c->GetString(lsDlgReplace));
  CloseButton->setText(c->GetString(lsDlgClose));
  CloseButton->setEnabled(Enabled(tdcClose));
  LookedUpLabel->setEnabled(Enabled(tdcLookedUp));
  LookupCombo->setEnabled(Enabled(tdcLookedUp));
  if (!Visible(tdcLookedUp)) {
    LookedUpLabel->hide();
    LookupCombo->hide();
    const int d = ContextsLabel->y() - LookedUpLabel->y();
    ContextsLabel->move(ContextsLabel->x(), ContextsLabel->y() - d);
    ContextLV->setGeometry(ContextLV->x(), ContextLV->y() - d, ContextLV->width(),
                           ContextLV->height() + d);
  }
  PreviousButton->setVisible(Visible(tdcPrevious));
  LookupButton->setVisible(Visible(tdcLookup));
  ReplaceButton->setVisible(Visible(tdcReplace));
  CloseButton->setVisible(Visible(tdcClose));
}

void TThesDialog::DialogControlPromptLookup(QObject *, const QString &Word,
                                            TThesaurusEntryList &ContextList)
{
  const int old = LookupCombo->findText(Word, Qt::MatchFixedString); // ignores letter case
  if (old >= 0)
    LookupCombo->removeItem(old);
  if (!Word.isEmpty()) {
    LookupCombo->insertItem(0, Word);
    LookupCombo->setCurrentIndex(0);
  } else {
    LookupCombo->setCurrentIndex(-1);
  }

  {
    const QSignalBlocker block(ContextLV);
    ContextLV->clear();
    for (const auto &c : ContextList)
      new QTreeWidgetItem(ContextLV, QStringList{c->ContextWord, c->ContextKindName});
  }
  ContextLV->resizeColumnToContents(1);
  ContextLV->setColumnWidth(0,
                            ContextLV->width() - ScrollBarWidth() - ContextLV->columnWidth(1) - 4);
  ContextLV->setEnabled(ContextLV->topLevelItemCount() > 0);
  if (ContextLV->topLevelItemCount() > 0) {
    ContextLV->setCurrentItem(ContextLV->topLevelItem(0));
  } else {
    {
      const QSignalBlocker block(ContextLV);
      new QTreeWidgetItem(ContextLV, QStringList{DialogControl->GetString(lsDlgNotFound)});
    }
    const QSignalBlocker block(WordList);
    WordList->clear();
  }
  PreviousButton->setEnabled(LookupCombo->count() >= 2 && Enabled(tdcPrevious));
  ShowFileProblem();
}

void TThesDialog::ShowFileProblem()
{
  const TWrightThesaurusBase *thesaurus = DialogControl->Thesaurus();
  const QString problem = thesaurus ? thesaurus->FileProblem() : QString();
  // A path has no spaces to wrap at: let it break after each folder.
  QString shown = problem;
  shown.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
  FileProblemLabel->setText(shown);
  FileProblemLabel->setToolTip(problem);
  FileProblemLabel->setVisible(!problem.isEmpty());
  WordList->setVisible(problem.isEmpty());
}

void TThesDialog::ContextLVChange()
{
  const QList<QTreeWidgetItem *> sel = ContextLV->selectedItems();
  if (sel.isEmpty())
    return;
  const int index = ContextLV->indexOfTopLevelItem(sel.front());
  Run([&] { DialogControl->SetContext(index); });
}

void TThesDialog::DialogControlPromptContext(QObject *, QStringList &Words)
{
  {
    const QSignalBlocker block(WordList);
    WordList->clear();
    for (const QString &w : Words)
      new QTreeWidgetItem(WordList, QStringList{w});
  }
  WordList->setColumnWidth(0, WordList->width() - ScrollBarWidth() - 4);
  if (LookupCombo->count() > 0) {
    const QString top = LookupCombo->itemText(0);
    int row = -1;
    for (int i = 0; i < Words.size() && row < 0; ++i)
      if (Words[i].compare(top, Qt::CaseInsensitive) == 0)
        row = i;
    if (row >= 0) {
      QTreeWidgetItem *item = WordList->topLevelItem(row);
      WordList->setCurrentItem(item);
      WordList->scrollToItem(item);
      ReplaceEdit->clear();
      Timer->start();
    }
  }
  LookupButton->setEnabled(false);
  ReplaceButton->setEnabled(false);
}

void TThesDialog::TimerTimer()
{
  Timer->stop();
  QTreeWidgetItem *item = WordList->currentItem();
  if (!item)
    return;
  const int delta = WordList->visualItemRect(item).top() - WordList->viewport()->height() / 2;
  QScrollBar *bar = WordList->verticalScrollBar();
  bar->setValue(bar->value() + delta);
}

void TThesDialog::WordListChange()
{
  const QList<QTreeWidgetItem *> sel = WordList->selectedItems();
  if (sel.isEmpty())
    return;
  const QString text = sel.front()->text(0);
  if (text.toLower() != LookupCombo->currentText().toLower())
    ReplaceEdit->setText(text);
  else
    ReplaceEdit->clear();
}

void TThesDialog::ReplaceEditChange()
{
  const bool filled = !ReplaceEdit->text().isEmpty();
  LookupButton->setEnabled(filled && Enabled(tdcLookup));
  ReplaceButton->setEnabled(filled && Enabled(tdcReplace));
}

void TThesDialog::LookupButtonClick()
{
  const QString word = ReplaceEdit->text();
  Run([&] { DialogControl->LookupWord(word); });
}

void TThesDialog::LookupComboSelect(int Index)
{
  if (Index < 0)
    return;
  const QString word = LookupCombo->itemText(Index);
  Run([&] { DialogControl->LookupWord(word); });
}

void TThesDialog::PreviousButtonClick()
{
  if (LookupCombo->count() <= 1)
    return;
  LookupCombo->removeItem(0);
  const QString word = LookupCombo->itemText(0);
  Run([&] { DialogControl->LookupWord(word); });
}

void TThesDialog::ReplaceButtonClick() { DialogControl->ReplaceWord(ReplaceEdit->text()); }

void TThesDialog::WordListDblClick(QTreeWidgetItem *Item)
{
  QTreeWidgetItem *focused = WordList->currentItem();
  if (!focused || focused != Item)
    return;
  const QString word = focused->text(0);
  Run([&] { DialogControl->DoubleClickWord(word); });
}

void TThesDialog::CloseButtonClick() { reject(); }
