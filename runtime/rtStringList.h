#pragma once
// TStringList: an indexed list of strings with an optional attached object per item.
//
// Behaviour later code relies on:
// - Sorted lists stay sorted on every Add and are searched by binary search (Find, IndexOf).
// - Duplicates governs Add on a sorted list: dupIgnore keeps the existing item and answers its
//   index, dupAccept adds another, dupError throws EStringListError. Unsorted lists accept
//   duplicates whatever the setting.
// - CaseSensitive is false by default: searching, sorting and duplicate detection then ignore
//   letter case.
// - OnChanging / OnChange fire around every change; between BeginUpdate and EndUpdate they are
//   held back, and the outermost EndUpdate fires them once.
// - Objects are not owned: the list never deletes what is attached to its items.

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

class EStringListError : public std::runtime_error {
public:
  explicit EStringListError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList {
public:
  TStringList() = default;
  TStringList(const TStringList &other);            // copies items and settings, not the events
  TStringList &operator=(const TStringList &other); // Assign
  virtual ~TStringList() = default;

  // --- Items ----------------------------------------------------------------------------
  int Count() const { return static_cast<int>(FItems.size()); }
  const QString &Strings(int index) const;
  void SetStrings(int index, const QString &s); // not allowed on a sorted list
  void *Objects(int index) const;
  void SetObjects(int index, void *object);

  int Add(const QString &s) { return AddObject(s, nullptr); }
  int AddObject(const QString &s, void *object);
  void AddStrings(const TStringList &other);
  void AddStrings(const QStringList &other);
  void Insert(int index, const QString &s) { InsertObject(index, s, nullptr); }
  void InsertObject(int index, const QString &s, void *object); // not allowed on a sorted list
  void Delete(int index);
  void Clear();
  void Exchange(int index1, int index2); // not allowed on a sorted list
  void Move(int curIndex, int newIndex); // not allowed on a sorted list
  void Assign(const TStringList &other);

  // --- Search ---------------------------------------------------------------------------
  // Index of the first item equal to s (under CaseSensitive), or -1.
  virtual int IndexOf(const QString &s) const;
  int IndexOfObject(const void *object) const;
  // Sorted lists: binary search; index receives the item's index or where it would be
  // inserted. Unsorted lists: linear search; index receives Count when s is missing.
  bool Find(const QString &s, int &index) const;
  // Compares two strings as this list does (CaseSensitive).
  int CompareStrings(const QString &a, const QString &b) const;

  // --- Name=Value items -----------------------------------------------------------------
  QString Names(int index) const;
  QString ValueFromIndex(int index) const;
  int IndexOfName(const QString &name) const;
  QString Values(const QString &name) const;
  void SetValues(const QString &name, const QString &value); // empty value deletes the item

  // --- Settings -------------------------------------------------------------------------
  bool Sorted() const { return FSorted; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates value) { FDuplicates = value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value);
  void Sort();
  void CustomSort(const std::function<int(const TStringList &, int, int)> &compare);

  // --- Whole-list texts -----------------------------------------------------------------
  // Text: every item followed by CR LF. Setting it splits at CR LF, lone CR and lone LF.
  QString Text() const;
  void SetText(const QString &text);
  // CommaText: items joined by ","; an item holding a space, comma, quotation mark or a
  // character up to U+0020 (or an empty item) is quoted with inner quotes doubled. Setting it
  // splits at commas and at white space outside quotes.
  QString CommaText() const;
  void SetCommaText(const QString &text);
  QStringList ToQStringList() const;

  // --- Change notification --------------------------------------------------------------
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  std::function<void(TStringList *)> OnChanging;
  std::function<void(TStringList *)> OnChange;

protected:
  virtual void Changing();
  virtual void Changed();

private:
  struct TItem {
    QString S;
    void *Object = nullptr;
  };
  void CheckIndex(int index) const;
  void CheckNotSorted(const char *operation) const;
  void InsertItem(int index, const QString &s, void *object);
  void SortItems();

  std::vector<TItem> FItems;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FCaseSensitive = false;
  int FUpdateCount = 0;
};
