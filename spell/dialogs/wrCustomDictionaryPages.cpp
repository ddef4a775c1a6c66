#include "wrCustomDictionaryPages.h"

#include "rtDialogControls.h"
#include "rtFormPlacement.h"
#include "wrCustomDictionary.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

namespace {

// Rows sort by their first column: letter case only breaks ties, so "apple" and "Apple" stay
// neighbours.
bool RowLess(const QString &a, const QString &b)
{
  const int c = QString::compare(a, b, Qt::CaseInsensitive);
  return c != 0 ? c < 0 : a < b;
}

QTreeWidget *MakeList(QWidget *parent, const char *name, int columns)
{
  auto *l = new QTreeWidget(parent);
  l->setObjectName(QLatin1String(name));
  l->setColumnCount(columns);
  l->setHeaderHidden(true);
  l->setRootIsDecorated(false);
  l->setItemsExpandable(false);
  l->setUniformRowHeights(true);
  l->setSelectionMode(QAbstractItemView::SingleSelection);
  l->setSelectionBehavior(QAbstractItemView::SelectRows);
  l->setEditTriggers(QAbstractItemView::NoEditTriggers);
  l->setAllColumnsShowFocus(columns > 1);
  l->header()->setStretchLastSection(columns == 1);
  if (columns == 1)
    l->setColumnWidth(0, 188);
  // The selection stays visible when the list loses the focus.
  QPalette p = l->palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  l->setPalette(p);
  return l;
}

QLineEdit *MakeEdit(QWidget *parent, const char *name)
{
  auto *e = new QLineEdit(parent);
  e->setObjectName(QLatin1String(name));
  return e;
}

QWidget *MakeSheet(QTabWidget *tabs, const char *name, const char *placeholder)
{
  auto *w = new QWidget;
  w->setObjectName(QLatin1String(name));
  tabs->addTab(w, QLatin1String(placeholder));
  return w;
}

class TBusyCursor {
public:
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

bool IsListableWord(const QString &Word)
{
  if (Word.isEmpty())
    return false;
  return std::none_of(Word.begin(), Word.end(), [](QChar c) {
    const QChar::Category k = c.category();
    return k == QChar::Other_Control || k == QChar::Separator_Line ||
           k == QChar::Separator_Paragraph;
  });
}

TCustomDictionaryPages::TCustomDictionaryPages(QWidget *Parent, const QRect &Geometry)
    : QObject(Parent)
{
  setObjectName(QStringLiteral("CustomDictionaryPages"));
  EditCustomTabs = new QTabWidget(Parent);
  EditCustomTabs->setObjectName(QStringLiteral("EditCustomTabs"));
  EditCustomTabs->setGeometry(Geometry);

  AddedWordsSheet = MakeSheet(EditCustomTabs, "AddedWordsSheet", "xxAdds");
  AddedWordsExplain =
      MakeLabel(AddedWordsSheet, "AddedWordsExplain", QRect(), nullptr, "xxExplain");
  IgnoreEditLabel =
      MakeLabel(AddedWordsSheet, "IgnoreEditLabel", QRect(), nullptr, "xxAdd this word:");
  IgnoreEdit = MakeEdit(AddedWordsSheet, "IgnoreEdit");
  AddIgnoreButton = MakeButton(AddedWordsSheet, "AddIgnoreButton", QRect(), "xxAdd");
  DeleteIgnoreButton = MakeButton(AddedWordsSheet, "DeleteIgnoreButton", QRect(), "xxDelete");
  IgnoreList = MakeList(AddedWordsSheet, "IgnoreList", 1);

  AutoCorrectWordsSheet = MakeSheet(EditCustomTabs, "AutoCorrectWordsSheet", "xxAuto-Correct");
  AutoCorrectWordsExplain =
      MakeLabel(AutoCorrectWordsSheet, "AutoCorrectWordsExplain", QRect(), nullptr, "xxExplain");
  ReplaceEditLabel =
      MakeLabel(AutoCorrectWordsSheet, "ReplaceEditLabel", QRect(), nullptr, "xxReplace:");
  ReplaceEdit = MakeEdit(AutoCorrectWordsSheet, "ReplaceEdit");
  WithEditLabel = MakeLabel(AutoCorrectWordsSheet, "WithEditLabel", QRect(), nullptr, "xxWith:");
  WithEdit = MakeEdit(AutoCorrectWordsSheet, "WithEdit");
  AddAutoCorrectButton =
      MakeButton(AutoCorrectWordsSheet, "AddAutoCorrectButton", QRect(), "xxAdd");
  DeleteAutoCorrectButton =
      MakeButton(AutoCorrectWordsSheet, "DeleteAutoCorrectButton", QRect(), "xxDelete");
  AutoCorrectList = MakeList(AutoCorrectWordsSheet, "AutoCorrectList", 2);

  ExcludedWordsSheet = MakeSheet(EditCustomTabs, "ExcludedWordsSheet", "xxExclusions");
  ExcludeWordsExplanation =
      MakeLabel(ExcludedWordsSheet, "ExcludeWordsExplanation", QRect(), nullptr, "xxExplain");
  ExcludeEditLabel =
      MakeLabel(ExcludedWordsSheet, "ExcludeEditLabel", QRect(), nullptr, "xxExclude this word:");
  ExcludeEdit = MakeEdit(ExcludedWordsSheet, "ExcludeEdit");
  AddExcludeButton = MakeButton(ExcludedWordsSheet, "AddExcludeButton", QRect(), "xxAdd");
  DeleteExcludeButton = MakeButton(ExcludedWordsSheet, "DeleteExcludeButton", QRect(), "xxDelete");
  ExcludeList = MakeList(ExcludedWordsSheet, "ExcludeList", 1);

  for (QLabel *l : {AddedWordsExplain, AutoCorrectWordsExplain, ExcludeWordsExplanation})
    l->setWordWrap(true);
  IgnoreEditLabel->setBuddy(IgnoreEdit);
  ReplaceEditLabel->setBuddy(ReplaceEdit);
  WithEditLabel->setBuddy(WithEdit);
  ExcludeEditLabel->setBuddy(ExcludeEdit);
  for (QPushButton *b : {AddIgnoreButton, DeleteIgnoreButton, AddAutoCorrectButton,
                         DeleteAutoCorrectButton, AddExcludeButton, DeleteExcludeButton})
    b->setEnabled(false);

  SetTabOrderChain({IgnoreEdit, AddIgnoreButton, DeleteIgnoreButton, IgnoreList});
  SetTabOrderChain(
      {ReplaceEdit, WithEdit, AddAutoCorrectButton, DeleteAutoCorrectButton, AutoCorrectList});
  SetTabOrderChain({ExcludeEdit, AddExcludeButton, DeleteExcludeButton, ExcludeList});

  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(5);
  Timer->setSingleShot(true);
  connect(Timer, &QTimer::timeout, this, &TCustomDictionaryPages::EvaluateActiveEdit);

  connect(IgnoreEdit, &QLineEdit::textChanged, this, &TCustomDictionaryPages::IgnoreEditChange);
  connect(ReplaceEdit, &QLineEdit::textChanged, this, &TCustomDictionaryPages::ReplaceEditChange);
  connect(WithEdit, &QLineEdit::textChanged, this, &TCustomDictionaryPages::WithEditChange);
  connect(ExcludeEdit, &QLineEdit::textChanged, this, &TCustomDictionaryPages::ExcludeEditChange);
  connect(AddIgnoreButton, &QPushButton::clicked, this,
          &TCustomDictionaryPages::AddIgnoreButtonClick);
  connect(AddAutoCorrectButton, &QPushButton::clicked, this,
          &TCustomDictionaryPages::AddAutoCorrectButtonClick);
  connect(AddExcludeButton, &QPushButton::clicked, this,
          &TCustomDictionaryPages::AddExcludeButtonClick);
  connect(DeleteIgnoreButton, &QPushButton::clicked, this,
          &TCustomDictionaryPages::DeleteIgnoreButtonClick);
  connect(DeleteAutoCorrectButton, &QPushButton::clicked, this,
          &TCustomDictionaryPages::DeleteAutoCorrectButtonClick);
  connect(DeleteExcludeButton, &QPushButton::clicked, this,
          &TCustomDictionaryPages::DeleteExcludeButtonClick);
  for (TWordListPage p : {wpAdded, wpAutoCorrect, wpExcluded}) {
    connect(Page(p).List, &QTreeWidget::itemSelectionChanged, this,
            [this, p] { ListSelectionChanged(p); });
    Page(p).List->installEventFilter(this);
    Page(p).Edit->installEventFilter(this);
    Sheet(p)->installEventFilter(this);
  }
  WithEdit->installEventFilter(this);
  connect(EditCustomTabs, &QTabWidget::currentChanged, this, [this] { ActivePageShown(); });
}

TCustomDictionaryPages::TPage TCustomDictionaryPages::Page(TWordListPage P) const
{
  switch (P) {
  case wpAdded:
    return {IgnoreList, IgnoreEdit, AddIgnoreButton, DeleteIgnoreButton};
  case wpAutoCorrect:
    return {AutoCorrectList, ReplaceEdit, AddAutoCorrectButton, DeleteAutoCorrectButton};
  case wpExcluded:
    break;
  }
  return {ExcludeList, ExcludeEdit, AddExcludeButton, DeleteExcludeButton};
}

QWidget *TCustomDictionaryPages::Sheet(TWordListPage P) const
{
  return P == wpAdded         ? AddedWordsSheet
         : P == wpAutoCorrect ? AutoCorrectWordsSheet
                              : ExcludedWordsSheet;
}

TWordListPage TCustomDictionaryPages::ActivePage() const
{
  const QWidget *w = EditCustomTabs->currentWidget();
  return w == AutoCorrectWordsSheet ? wpAutoCorrect
         : w == ExcludedWordsSheet  ? wpExcluded
                                    : wpAdded;
}

void TCustomDictionaryPages::SetPageVisible(TWordListPage P, bool Visible)
{
  EditCustomTabs->setTabVisible(EditCustomTabs->indexOf(Sheet(P)), Visible);
}

bool TCustomDictionaryPages::PageVisible(TWordListPage P) const
{
  return EditCustomTabs->isTabVisible(EditCustomTabs->indexOf(Sheet(P)));
}

void TCustomDictionaryPages::SetDictionary(TCustomDictionary *Dictionary)
{
  FDictionary = Dictionary;
  ClearListsAndEdits();
}

void TCustomDictionaryPages::ClearListsAndEdits()
{
  Timer->stop();
  FUpdating = true;
  for (TWordListPage p : {wpAdded, wpAutoCorrect, wpExcluded}) {
    Page(p).List->clear();
    Page(p).Edit->clear();
    Page(p).Add->setEnabled(false);
    Page(p).Delete->setEnabled(false);
  }
  WithEdit->clear();
  FUpdating = false;
}

int TCustomDictionaryPages::EntryCount(TWordListPage P) const
{
  if (!FDictionary || !PageVisible(P))
    return 0;
  switch (P) {
  case wpAdded:
    return FDictionary->IgnoreCount();
  case wpAutoCorrect:
    return FDictionary->AutoCorrectCount();
  case wpExcluded:
    break;
  }
  return FDictionary->ExcludeCount();
}

void TCustomDictionaryPages::ChooseFullestPage()
{
  if (EntryCount(ActivePage()) > 0)
    return;
  const int added = EntryCount(wpAdded), pairs = EntryCount(wpAutoCorrect),
            excluded = EntryCount(wpExcluded);
  TWordListPage page = wpAdded;
  if (pairs > added && pairs > excluded)
    page = wpAutoCorrect;
  else if (excluded > pairs && excluded > added)
    page = wpExcluded;
  // The switch itself fills the page it shows.
  EditCustomTabs->setCurrentWidget(Sheet(page));
}

void TCustomDictionaryPages::ActivePageShown()
{
  const TWordListPage p = ActivePage();
  if (!FDictionary) {
    if (p == wpAdded && OnNoDictionary)
      OnNoDictionary();
    return;
  }
  LayoutSheet(p);
  if (Page(p).List->topLevelItemCount() == 0)
    FillList(p);
}

int TCustomDictionaryPages::ReplaceColumnWidth() const { return WithEdit->x() - ReplaceEdit->x(); }

void TCustomDictionaryPages::FillList(TWordListPage P)
{
  const TPage page = Page(P);
  TBusyCursor busy;
  page.Add->setEnabled(false);
  page.Delete->setEnabled(false);
  struct Row {
    QString word, correction;
  };
  std::vector<Row> rows;
  const int n = EntryCount(P);
  rows.reserve(size_t(n));
  for (int i = 0; i < n; ++i) {
    Row r;
    if (P == wpAdded)
      r.word = FDictionary->GetIgnoreWord(unsigned(i));
    else if (P == wpAutoCorrect)
      r.word = FDictionary->GetAutoCorrectWord(unsigned(i), r.correction);
    else
      r.word = FDictionary->GetExcludeWord(unsigned(i));
    rows.push_back(r);
  }
  std::sort(rows.begin(), rows.end(),
            [](const Row &a, const Row &b) { return RowLess(a.word, b.word); });
  QList<QTreeWidgetItem *> items;
  items.reserve(qsizetype(rows.size()));
  for (const Row &r : rows)
    items << new QTreeWidgetItem(P == wpAutoCorrect ? QStringList{r.word, r.correction}
                                                    : QStringList{r.word});
  FUpdating = true;
  page.List->clear();
  page.List->addTopLevelItems(items);
  FUpdating = false;
  if (P == wpAutoCorrect) {
    const int first = ReplaceColumnWidth();
    AutoCorrectList->setColumnWidth(0, first);
    AutoCorrectList->setColumnWidth(1,
                                    qMax(0, AutoCorrectList->contentsRect().width() - first - 21));
  }
}

QTreeWidgetItem *TCustomDictionaryPages::FindRow(QTreeWidget *List, const QString &Text) const
{
  for (int i = 0; i < List->topLevelItemCount(); ++i)
    if (List->topLevelItem(i)->text(0) == Text)
      return List->topLevelItem(i);
  return nullptr;
}

QTreeWidgetItem *TCustomDictionaryPages::FocusedRow(QTreeWidget *List) const
{
  QTreeWidgetItem *row = List->currentItem();
  return row && row->isSelected() ? row : nullptr;
}

QTreeWidgetItem *TCustomDictionaryPages::AppendRow(QTreeWidget *List, const QString &Text,
                                                   const QString &Correction)
{
  // Binary search for the sorted place: the list never re-sorts itself.
  int lo = 0, hi = List->topLevelItemCount();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (RowLess(List->topLevelItem(mid)->text(0), Text))
      lo = mid + 1;
    else
      hi = mid;
  }
  auto *row = new QTreeWidgetItem(List == AutoCorrectList ? QStringList{Text, Correction}
                                                          : QStringList{Text});
  const bool updating = FUpdating;
  FUpdating = true;
  List->insertTopLevelItem(lo, row);
  FUpdating = updating;
  return row;
}

void TCustomDictionaryPages::SelectRow(QTreeWidget *List, QTreeWidgetItem *Row)
{
  if (List->currentItem() == Row && Row->isSelected())
    return;
  List->setCurrentItem(Row);
  Row->setSelected(true);
  List->scrollToItem(Row);
}

void TCustomDictionaryPages::EvaluateEdit(TWordListPage P)
{
  const TPage page = Page(P);
  const QString word = page.Edit->text();
  if (QTreeWidgetItem *row = word.isEmpty() ? nullptr : FindRow(page.List, word)) {
    page.Add->setEnabled(false);
    SelectRow(page.List, row);
    page.Delete->setEnabled(page.List->currentItem() != nullptr);
    return;
  }
  FUpdating = true;
  page.List->clearSelection();
  FUpdating = false;
  page.Delete->setEnabled(false);
  bool enable = FDictionary && IsListableWord(word);
  if (enable) {
    QString correction;
    switch (P) {
    case wpAdded:
      enable =
          !FDictionary->ExcludeExists(word) && !FDictionary->AutoCorrectExists(word, correction);
      break;
    case wpAutoCorrect:
      enable = !FDictionary->IgnoreExists(word) && !FDictionary->ExcludeExists(word) &&
               IsListableWord(WithEdit->text());
      break;
    case wpExcluded:
      enable =
          !FDictionary->IgnoreExists(word) && !FDictionary->AutoCorrectExists(word, correction);
      break;
    }
  }
  page.Add->setEnabled(enable);
}

void TCustomDictionaryPages::EvaluateActiveEdit()
{
  Timer->stop();
  EvaluateEdit(ActivePage());
}

void TCustomDictionaryPages::IgnoreEditChange() { EvaluateEdit(wpAdded); }
void TCustomDictionaryPages::ReplaceEditChange() { EvaluateEdit(wpAutoCorrect); }
void TCustomDictionaryPages::ExcludeEditChange() { EvaluateEdit(wpExcluded); }

void TCustomDictionaryPages::WithEditChange()
{
  if (FUpdating)
    return;
  const QString replace = ReplaceEdit->text(), with = WithEdit->text();
  QTreeWidgetItem *row = FocusedRow(AutoCorrectList);
  QString old;
  if (row && FDictionary && FDictionary->AutoCorrectExists(replace, old)) {
    // An empty or unchanged correction, or one naming the word itself, keeps the pair as it is.
    if (old == with || with == replace || !IsListableWord(with))
      return;
    FDictionary->RemoveAutoCorrect(replace);
    if (FDictionary->AddAutoCorrect(replace, with))
      row->setText(1, with);
    else
      FDictionary->AddAutoCorrect(replace, old);
    return;
  }
  EvaluateEdit(wpAutoCorrect);
}

void TCustomDictionaryPages::AddWord(TWordListPage P)
{
  const TPage page = Page(P);
  const QString word = page.Edit->text();
  if (!FDictionary || !page.Add->isEnabled() || !IsListableWord(word))
    return;
  bool added = false;
  if (P == wpAdded)
    added = FDictionary->AddIgnore(word);
  else if (P == wpAutoCorrect)
    added = IsListableWord(WithEdit->text()) && FDictionary->AddAutoCorrect(word, WithEdit->text());
  else
    added = FDictionary->AddExclude(word);
  if (!added)
    return;
  QTreeWidgetItem *row = AppendRow(page.List, word, WithEdit->text());
  FUpdating = true;
  SelectRow(page.List, row);
  FUpdating = false;
  EvaluateEdit(P);
  // The added word stays in view, selected in its field, so that what the user types next is
  // the next word instead of being appended to this one (a pair starts again at Replace).
  page.Edit->setFocus(Qt::OtherFocusReason);
  page.Edit->selectAll();
}

void TCustomDictionaryPages::AddIgnoreButtonClick() { AddWord(wpAdded); }
void TCustomDictionaryPages::AddAutoCorrectButtonClick() { AddWord(wpAutoCorrect); }
void TCustomDictionaryPages::AddExcludeButtonClick() { AddWord(wpExcluded); }

void TCustomDictionaryPages::DeleteWord(TWordListPage P)
{
  const TPage page = Page(P);
  QTreeWidgetItem *row = FocusedRow(page.List);
  if (!FDictionary || !row)
    return;
  // The focused row is the edit's word: selecting a row copies it into the edit.
  const QString word = row->text(0);
  const bool removed = P == wpAdded         ? FDictionary->RemoveIgnore(word)
                       : P == wpAutoCorrect ? FDictionary->RemoveAutoCorrect(word)
                                            : FDictionary->RemoveExclude(word);
  if (!removed)
    return;
  const int index = page.List->indexOfTopLevelItem(row);
  FUpdating = true;
  delete row;
  FUpdating = false;
  const int count = page.List->topLevelItemCount();
  if (count == 0) {
    EvaluateEdit(P);
    return;
  }
  // The list may already have moved its selection there by itself, silently: copy it anyway.
  SelectRow(page.List, page.List->topLevelItem(qMin(index, count - 1)));
  ListSelectionChanged(P);
}

void TCustomDictionaryPages::DeleteIgnoreButtonClick() { DeleteWord(wpAdded); }
void TCustomDictionaryPages::DeleteAutoCorrectButtonClick() { DeleteWord(wpAutoCorrect); }
void TCustomDictionaryPages::DeleteExcludeButtonClick() { DeleteWord(wpExcluded); }

void TCustomDictionaryPages::ListSelectionChanged(TWordListPage P)
{
  if (FUpdating)
    return;
  const TPage page = Page(P);
  if (QTreeWidgetItem *row = FocusedRow(page.List)) {
    // Copying is no edit of the pair: With must not rewrite it.
    FUpdating = true;
    if (P == wpAutoCorrect)
      WithEdit->setText(row->text(1));
    FUpdating = false;
    page.Edit->setText(row->text(0));
    EvaluateEdit(P);
  } else if (page.List->currentItem()) {
    Timer->start();
  }
}

void TCustomDictionaryPages::SetCaptions(
    const QString &AddedWords, const QString &AddedExplanation, const QString &IgnoreThisWord,
    const QString &AutoCorrectPairs, const QString &AutoCorrectExplanation, const QString &Replace,
    const QString &With, const QString &ExcludedWords, const QString &ExcludedExplanation,
    const QString &ExcludeThisWord, const QString &Add, const QString &Delete)
{
  EditCustomTabs->setTabText(EditCustomTabs->indexOf(AddedWordsSheet), AddedWords);
  EditCustomTabs->setTabText(EditCustomTabs->indexOf(AutoCorrectWordsSheet), AutoCorrectPairs);
  EditCustomTabs->setTabText(EditCustomTabs->indexOf(ExcludedWordsSheet), ExcludedWords);
  AddedWordsExplain->setText(AddedExplanation);
  AutoCorrectWordsExplain->setText(AutoCorrectExplanation);
  ExcludeWordsExplanation->setText(ExcludedExplanation);
  IgnoreEditLabel->setText(IgnoreThisWord);
  ReplaceEditLabel->setText(Replace);
  WithEditLabel->setText(With);
  ExcludeEditLabel->setText(ExcludeThisWord);
  for (QPushButton *b : {AddIgnoreButton, AddAutoCorrectButton, AddExcludeButton})
    b->setText(Add);
  for (QPushButton *b : {DeleteIgnoreButton, DeleteAutoCorrectButton, DeleteExcludeButton})
    b->setText(Delete);
}

void TCustomDictionaryPages::LayoutSheet(TWordListPage P)
{
  QWidget *sheet = Sheet(P);
  const int w = sheet->width(), h = sheet->height();
  const TPage page = Page(P);
  QLabel *explain = P == wpAdded         ? AddedWordsExplain
                    : P == wpAutoCorrect ? AutoCorrectWordsExplain
                                         : ExcludeWordsExplanation;
  explain->setGeometry(8, 6, w - 16, 30);
  page.Delete->setGeometry(w - 8 - 75, 55, 75, 23);
  page.Add->setGeometry(w - 8 - 75 - 81, 55, 75, 23);
  const int editWidth = page.Add->x() - 8 - 8;
  if (P == wpAutoCorrect) {
    const int half = (editWidth - 6) / 2;
    ReplaceEditLabel->setGeometry(8, 40, half, 13);
    ReplaceEdit->setGeometry(8, 56, half, 21);
    WithEditLabel->setGeometry(8 + half + 6, 40, half, 13);
    WithEdit->setGeometry(8 + half + 6, 56, editWidth - half - 6, 21);
  } else {
    QLabel *label = P == wpAdded ? IgnoreEditLabel : ExcludeEditLabel;
    label->setGeometry(8, 40, editWidth, 13);
    page.Edit->setGeometry(8, 56, editWidth, 21);
  }
  page.List->setGeometry(8, 86, w - 16, qMax(20, h - 86 - 8));
}

bool TCustomDictionaryPages::eventFilter(QObject *Watched, QEvent *Event)
{
  for (TWordListPage p : {wpAdded, wpAutoCorrect, wpExcluded}) {
    const TPage page = Page(p);
    if (Watched == Sheet(p) && Event->type() == QEvent::Resize) {
      LayoutSheet(p);
      return false;
    }
    const bool edit = Watched == page.Edit || (p == wpAutoCorrect && Watched == WithEdit);
    if (edit && (Event->type() == QEvent::FocusIn || Event->type() == QEvent::FocusOut)) {
      if (OnEditFocus)
        OnEditFocus(Event->type() == QEvent::FocusIn);
      return false;
    }
    if (Event->type() != QEvent::KeyPress)
      continue;
    const int key = static_cast<QKeyEvent *>(Event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && Watched == ReplaceEdit) {
      if (!ReplaceEdit->text().isEmpty())
        WithEdit->setFocus();
      return true;
    }
    if (enter && edit) {
      if (page.Add->isEnabled())
        AddWord(p);
      return true;
    }
    if (key == Qt::Key_Delete && Watched == page.List) {
      DeleteWord(p);
      return true;
    }
  }
  return QObject::eventFilter(Watched, Event);
}
