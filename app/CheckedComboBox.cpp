#include "CheckedComboBox.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QToolTip>

TCheckedComboBox::TCheckedComboBox(QWidget *parent)
    : QComboBox(parent), FModel(new QStandardItemModel(this)), FMenu(new QMenu(this))
{
  setModel(FModel);
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  lineEdit()->setReadOnly(true);

  FMenu->setObjectName(QStringLiteral("PopupMenu"));
  QAction *selectAll = FMenu->addAction(QStringLiteral("&Select all"));
  QAction *deselectAll = FMenu->addAction(QStringLiteral("&Deselect all"));
  QAction *invertAll = FMenu->addAction(QStringLiteral("&Invert all"));
  selectAll->setObjectName(QStringLiteral("SelectAllItem"));
  deselectAll->setObjectName(QStringLiteral("DeselectAllItem"));
  invertAll->setObjectName(QStringLiteral("InvertAllItem"));
  connect(selectAll, &QAction::triggered, this, [this] { SelectAll(); });
  connect(deselectAll, &QAction::triggered, this, [this] { DeselectAll(); });
  connect(invertAll, &QAction::triggered, this, [this] { InvertAll(); });

  // The menu on the list and on the edit field (which would otherwise show its own).
  lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lineEdit(), &QWidget::customContextMenuRequested, this,
          [this](const QPoint &p) { ShowMenu(lineEdit(), p); });
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint &p) { ShowMenu(this, p); });
  // view() creates the pop-up container, which filters the list's events; a filter installed
  // after it runs first, so clicks toggle items instead of choosing one and closing the list.
  view()->viewport()->installEventFilter(this);
  view()->installEventFilter(this);
  view()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view(), &QWidget::customContextMenuRequested, this,
          [this](const QPoint &p) { ShowMenu(view(), p); });

  // Whatever the combo box does with its current item, the field shows the checked names.
  connect(this, &QComboBox::currentIndexChanged, this, [this] { ShowText(); });
  connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString &t) {
    if (t != FText)
      ShowText();
  });
}

void TCheckedComboBox::SetItems(const QStringList &items)
{
  FModel->clear();
  for (const QString &s : items) {
    auto *item = new QStandardItem(s);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setData(Qt::Unchecked, Qt::CheckStateRole);
    FModel->appendRow(item);
  }
  setMaxVisibleItems(qMax(1, static_cast<int>(items.size())));
  setCurrentIndex(-1);
  FText.clear();
  ShowText();
}

int TCheckedComboBox::ItemCount() const { return FModel->rowCount(); }

QString TCheckedComboBox::ItemText(int index) const
{
  const QStandardItem *item = FModel->item(index);
  return item ? item->text() : QString();
}

bool TCheckedComboBox::Checked(int index) const
{
  const QStandardItem *item = FModel->item(index);
  return item && item->checkState() == Qt::Checked;
}

void TCheckedComboBox::SetCheckedInternal(int index, bool checked)
{
  if (QStandardItem *item = FModel->item(index))
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TCheckedComboBox::SetChecked(int index, bool checked)
{
  if (index < 0 || index >= ItemCount() || Checked(index) == checked)
    return;
  SetCheckedInternal(index, checked);
  const QString name = ItemText(index);
  QStringList names = FText.isEmpty() ? QStringList() : FText.split(FDelimiter);
  if (checked)
    names.append(name);
  else
    names.removeOne(name);
  FText = names.join(FDelimiter);
  ShowText();
  Changed();
}

void TCheckedComboBox::RebuildText()
{
  QStringList names;
  for (int i = 0; i < ItemCount(); ++i)
    if (Checked(i))
      names << ItemText(i);
  FText = names.join(FDelimiter);
  ShowText();
}

void TCheckedComboBox::SelectAll()
{
  for (int i = 0; i < ItemCount(); ++i)
    SetCheckedInternal(i, true);
  RebuildText();
  Changed();
}

void TCheckedComboBox::DeselectAll()
{
  for (int i = 0; i < ItemCount(); ++i)
    SetCheckedInternal(i, false);
  FText.clear();
  ShowText();
  Changed();
}

void TCheckedComboBox::InvertAll()
{
  for (int i = 0; i < ItemCount(); ++i)
    SetCheckedInternal(i, !Checked(i));
  RebuildText();
  Changed();
}

void TCheckedComboBox::ShowText()
{
  if (lineEdit()->text() != FText) {
    const QSignalBlocker block(lineEdit());
    lineEdit()->setText(FText);
  }
  lineEdit()->setCursorPosition(0);
}

void TCheckedComboBox::Changed()
{
  if (OnChange)
    OnChange(this);
}

void TCheckedComboBox::ShowMenu(QWidget *from, const QPoint &pos)
{
  FMenu->popup(from->mapToGlobal(pos));
}

QString TCheckedComboBox::HoverText() const
{
  const QString names = FText.isEmpty() ? QStringLiteral("(none)")
                                        : QString(FText).replace(FDelimiter, QStringLiteral("\n"));
  return toolTip().isEmpty() ? names : toolTip() + QStringLiteral(":\n") + names;
}

bool TCheckedComboBox::event(QEvent *event)
{
  // Also reached from the edit field, which has no tool tip of its own.
  if (event->type() == QEvent::ToolTip) {
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), HoverText(), this);
    return true;
  }
  return QComboBox::event(event);
}

bool TCheckedComboBox::eventFilter(QObject *watched, QEvent *event)
{
  if (watched == view()->viewport()) {
    if (event->type() == QEvent::MouseButtonRelease) {
      auto *me = static_cast<QMouseEvent *>(event);
      if (me->button() == Qt::LeftButton) {
        const QModelIndex index = view()->indexAt(me->position().toPoint());
        if (index.isValid())
          Toggle(index.row());
      }
      return true; // never choose an item and close the list
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      auto *me = static_cast<QMouseEvent *>(event);
      return me->button() != Qt::RightButton;
    }
  } else if (watched == view() && event->type() == QEvent::KeyPress) {
    auto *ke = static_cast<QKeyEvent *>(event);
    if (ke->key() == Qt::Key_Space || ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
      const QModelIndex index = view()->currentIndex();
      if (index.isValid())
        Toggle(index.row());
      return true;
    }
  }
  return QComboBox::eventFilter(watched, event);
}
