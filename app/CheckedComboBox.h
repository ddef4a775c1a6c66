#pragma once
// A drop-down list of check boxes with a read-only edit field that shows the names of the
// checked items joined by ",".
//
// Text rules: checking an item (by hand or by program) appends its name at the end, unchecking
// removes it; Select all and Invert all rebuild the text in item order, Deselect all empties
// it. Clicking an item in the open list toggles it and keeps the list open; Esc closes it.

#include <QComboBox>
#include <QStringList>
#include <functional>

class QMenu;
class QStandardItemModel;

class TCheckedComboBox : public QComboBox {
  Q_OBJECT
public:
  explicit TCheckedComboBox(QWidget *parent = nullptr);

  void SetItems(const QStringList &items); // all unchecked, text empty
  int ItemCount() const;
  QString ItemText(int index) const;
  bool Checked(int index) const;
  void SetChecked(int index, bool checked);
  void Toggle(int index) { SetChecked(index, !Checked(index)); }

  void SelectAll();
  void DeselectAll();
  void InvertAll();

  // The edit field's text.
  QString Text() const { return FText; }
  QString Delimiter() const { return FDelimiter; }

  // The pop-up menu of the drop-down list ("&Select all", "&Deselect all", "&Invert all").
  QMenu *PopupMenu() const { return FMenu; }

  // What hovering shows: the tool tip, then the checked names one per line (the edit field is
  // often too narrow to show them all), or "(none)".
  QString HoverText() const;

  // Raised after every change of the checked items.
  std::function<void(TCheckedComboBox *)> OnChange;

protected:
  bool event(QEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void SetCheckedInternal(int index, bool checked);
  void RebuildText();
  void ShowText();
  void Changed();
  void ShowMenu(QWidget *from, const QPoint &pos);

  QStandardItemModel *FModel;
  QMenu *FMenu;
  QString FText;
  QString FDelimiter = QStringLiteral(",");
};
