#pragma once
// TCustomDictionaryPages: the three word-list pages of a custom dictionary (added words,
// auto-correct pairs, excluded words) in the page control EditCustomTabs. The options dialog's
// custom-dictionary page and the dictionary editor both place one; every rule of the pages lives
// here: filling a page when it is shown, re-evaluating an edit, Add, Delete and the row selected
// after it, copying a selected row into the edits, the 5 ms re-evaluation timer, replacing a
// focused pair when With changes, and Enter and Delete in the edits and lists.
//
// Every change goes to the dictionary at once; a row is added or removed only when the
// dictionary accepted the change, so a refused word (too long, a zero, a text that would not
// read back) leaves the list as it was. A word holding a control character (a line break, a
// tab) is no word: Add stays disabled for it. A pair is replaced only when the new pair is
// accepted; otherwise the old pair is put back, so the dictionary never loses it. The pages
// never own or free the dictionary.

#include <QObject>
#include <QRect>
#include <QTreeWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QWidget;
class TCustomDictionary;

enum TWordListPage { wpAdded, wpAutoCorrect, wpExcluded };

class TCustomDictionaryPages : public QObject {
  Q_OBJECT
public:
  // Creates EditCustomTabs on Parent at Geometry; the lists grow with the page control.
  TCustomDictionaryPages(QWidget *Parent, const QRect &Geometry);

  QTabWidget *EditCustomTabs;
  QWidget *AddedWordsSheet;
  QLabel *AddedWordsExplain;
  QLabel *IgnoreEditLabel;
  QLineEdit *IgnoreEdit;
  QPushButton *AddIgnoreButton;
  QPushButton *DeleteIgnoreButton;
  QTreeWidget *IgnoreList;
  QWidget *AutoCorrectWordsSheet;
  QLabel *AutoCorrectWordsExplain;
  QLabel *ReplaceEditLabel;
  QLineEdit *ReplaceEdit;
  QLabel *WithEditLabel;
  QLineEdit *WithEdit;
  QPushButton *AddAutoCorrectButton;
  QPushButton *DeleteAutoCorrectButton;
  QTreeWidget *AutoCorrectList;
  QWidget *ExcludedWordsSheet;
  QLabel *ExcludeWordsExplanation;
  QLabel *ExcludeEditLabel;
  QLineEdit *ExcludeEdit;
  QPushButton *AddExcludeButton;
  QPushButton *DeleteExcludeButton;
  QTreeWidget *ExcludeList;
  // 5 ms, single shot: re-evaluates the active page's edit after a focused row lost its
  // selection (a click elsewhere in the list may select another row meanwhile).
  QTimer *Timer;

  TCustomDictionary *Dictionary() const { return FDictionary; }
  // Not owned. Clears the lists and edits; nothing is filled until a page is shown.
  void SetDictionary(TCustomDictionary *Dictionary);

  // The page objects of each kind, and the page currently shown.
  QWidget *Sheet(TWordListPage Page) const;
  TWordListPage ActivePage() const;
  void SetPageVisible(TWordListPage Page, bool Visible);
  bool PageVisible(TWordListPage Page) const;
  // Entries of the kind in the dictionary (0 without one).
  int EntryCount(TWordListPage Page) const;
  // When the active page's list would be empty, the page with the most entries: Auto-Correct
  // when it has more than both others, else Exclusions when it has more than both others, else
  // Adds. Hidden pages count as empty.
  void ChooseFullestPage();
  // Fills the active page's list when it is empty (the page-shown rule).
  void ActivePageShown();
  void ClearListsAndEdits();

  // The page rules, one per control event.
  void IgnoreEditChange();
  void ReplaceEditChange();
  void WithEditChange();
  void ExcludeEditChange();
  void AddIgnoreButtonClick();
  void AddAutoCorrectButtonClick();
  void AddExcludeButtonClick();
  void DeleteIgnoreButtonClick();
  void DeleteAutoCorrectButtonClick();
  void DeleteExcludeButtonClick();
  // Re-evaluates the edit of the page shown.
  void EvaluateActiveEdit();

  // Captions of the pages' own controls (the tabs, labels and buttons), in the order the
  // interface strings give them.
  void SetCaptions(const QString &AddedWords, const QString &AddedExplanation,
                   const QString &IgnoreThisWord, const QString &AutoCorrectPairs,
                   const QString &AutoCorrectExplanation, const QString &Replace,
                   const QString &With, const QString &ExcludedWords,
                   const QString &ExcludedExplanation, const QString &ExcludeThisWord,
                   const QString &Add, const QString &Delete);

  // Focus entered (true) or left (false) one of the edits: the dialog's OK stops or starts
  // being the default button.
  std::function<void(bool InEdit)> OnEditFocus;
  // A page was shown without a dictionary (the editor closes then).
  std::function<void()> OnNoDictionary;

  // The first-column width of the auto-correct list: the distance between Replace and With.
  int ReplaceColumnWidth() const;

protected:
  bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
  struct TPage {
    QTreeWidget *List;
    QLineEdit *Edit;
    QPushButton *Add;
    QPushButton *Delete;
  };
  TPage Page(TWordListPage P) const;
  void FillList(TWordListPage P);
  void EvaluateEdit(TWordListPage P);
  void AddWord(TWordListPage P);
  void DeleteWord(TWordListPage P);
  void ListSelectionChanged(TWordListPage P);
  QTreeWidgetItem *FindRow(QTreeWidget *List, const QString &Text) const;
  // The current row when it is selected ("focused" in the rules), else null.
  QTreeWidgetItem *FocusedRow(QTreeWidget *List) const;
  QTreeWidgetItem *AppendRow(QTreeWidget *List, const QString &Text,
                             const QString &Correction = QString());
  void SelectRow(QTreeWidget *List, QTreeWidgetItem *Row);
  void LayoutSheet(TWordListPage P);

  TCustomDictionary *FDictionary = nullptr;
  // Rows are being filled or selected by the pages themselves: selection events are not the
  // user's.
  bool FUpdating = false;
};

// A word the pages may offer to the dictionary: non-empty, without control characters.
bool IsListableWord(const QString &Word);
