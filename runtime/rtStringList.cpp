#include "rtStringList.h"

#include "rtText.h"

#include <algorithm>

namespace {

// Runs body between BeginUpdate and EndUpdate; the update also ends when body throws.
template <class F>
void withinUpdate(TStringList &list, F &&body)
{
  list.BeginUpdate();
  try {
    body();
  } catch (...) {
    list.EndUpdate();
    throw;
  }
  list.EndUpdate();
}

} // namespace

TStringList::TStringList(const TStringList &other)
    : FItems(other.FItems), FSorted(other.FSorted), FDuplicates(other.FDuplicates),
      FCaseSensitive(other.FCaseSensitive)
{
}

TStringList &TStringList::operator=(const TStringList &other)
{
  Assign(other);
  return *this;
}

void TStringList::CheckIndex(int index) const
{
  if (index < 0 || index >= Count())
    throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

void TStringList::CheckNotSorted(const char *) const
{
  if (FSorted)
    throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
}

const QString &TStringList::Strings(int index) const
{
  CheckIndex(index);
  return FItems[index].S;
}

void TStringList::SetStrings(int index, const QString &s)
{
  CheckNotSorted("SetStrings");
  CheckIndex(index);
  Changing();
  FItems[index].S = s;
  Changed();
}

void *TStringList::Objects(int index) const
{
  CheckIndex(index);
  return FItems[index].Object;
}

void TStringList::SetObjects(int index, void *object)
{
  CheckIndex(index);
  Changing();
  FItems[index].Object = object;
  Changed();
}

int TStringList::CompareStrings(const QString &a, const QString &b) const
{
  return QString::compare(a, b, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

bool TStringList::Find(const QString &s, int &index) const
{
  if (!FSorted) {
    for (int i = 0; i < Count(); ++i)
      if (CompareStrings(FItems[i].S, s) == 0) {
        index = i;
        return true;
      }
    index = Count();
    return false;
  }
  // Lower bound, so that with accepted duplicates the first equal item is found.
  int lo = 0, hi = Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (CompareStrings(FItems[mid].S, s) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  index = lo;
  return lo < Count() && CompareStrings(FItems[lo].S, s) == 0;
}

int TStringList::IndexOf(const QString &s) const
{
  int index = -1;
  return Find(s, index) ? index : -1;
}

int TStringList::IndexOfObject(const void *object) const
{
  for (int i = 0; i < Count(); ++i)
    if (FItems[i].Object == object)
      return i;
  return -1;
}

void TStringList::InsertItem(int index, const QString &s, void *object)
{
  Changing();
  FItems.insert(FItems.begin() + index, TItem{s, object});
  Changed();
}

int TStringList::AddObject(const QString &s, void *object)
{
  int index = Count();
  if (FSorted) {
    if (Find(s, index)) {
      switch (FDuplicates) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError(QStringLiteral("String list does not allow duplicates"));
      case dupAccept:
        // Keep equal items in insertion order: go past the existing run.
        while (index < Count() && CompareStrings(FItems[index].S, s) == 0)
          ++index;
        break;
      }
    }
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::AddStrings(const TStringList &other)
{
  withinUpdate(*this, [&] {
    for (int i = 0; i < other.Count(); ++i)
      AddObject(other.FItems[i].S, other.FItems[i].Object);
  });
}

void TStringList::AddStrings(const QStringList &other)
{
  withinUpdate(*this, [&] {
    for (const QString &s : other)
      Add(s);
  });
}

void TStringList::InsertObject(int index, const QString &s, void *object)
{
  CheckNotSorted("Insert");
  if (index < 0 || index > Count())
    throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(index));
  InsertItem(index, s, object);
}

void TStringList::Delete(int index)
{
  CheckIndex(index);
  Changing();
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TStringList::Clear()
{
  if (FItems.empty())
    return;
  Changing();
  FItems.clear();
  Changed();
}

void TStringList::Exchange(int index1, int index2)
{
  CheckNotSorted("Exchange");
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(FItems[index1], FItems[index2]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
  CheckNotSorted("Move");
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  if (curIndex == newIndex)
    return;
  Changing();
  TItem item = std::move(FItems[curIndex]);
  FItems.erase(FItems.begin() + curIndex);
  FItems.insert(FItems.begin() + newIndex, std::move(item));
  Changed();
}

void TStringList::Assign(const TStringList &other)
{
  if (&other == this)
    return;
  Changing();
  FItems = other.FItems;
  FSorted = other.FSorted;
  FDuplicates = other.FDuplicates;
  FCaseSensitive = other.FCaseSensitive;
  Changed();
}

QString TStringList::Names(int index) const
{
  const QString &s = Strings(index);
  const int eq = s.indexOf(QLatin1Char('='));
  return eq < 0 ? QString() : s.left(eq);
}

QString TStringList::ValueFromIndex(int index) const
{
  const QString &s = Strings(index);
  const int eq = s.indexOf(QLatin1Char('='));
  return eq < 0 ? QString() : s.mid(eq + 1);
}

int TStringList::IndexOfName(const QString &name) const
{
  for (int i = 0; i < Count(); ++i) {
    const QString &s = FItems[i].S;
    const int eq = s.indexOf(QLatin1Char('='));
    if (eq >= 0 && CompareStrings(s.left(eq), name) == 0)
      return i;
  }
  return -1;
}

QString TStringList::Values(const QString &name) const
{
  const int i = IndexOfName(name);
  return i < 0 ? QString() : ValueFromIndex(i);
}

void TStringList::SetValues(const QString &name, const QString &value)
{
  const int i = IndexOfName(name);
  if (value.isEmpty()) {
    if (i >= 0)
      Delete(i);
    return;
  }
  const QString item = name + QLatin1Char('=') + value;
  if (i < 0)
    Add(item);
  else if (FSorted) {
    Delete(i);
    Add(item);
  } else
    SetStrings(i, item);
}

void TStringList::SortItems()
{
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const TItem &a, const TItem &b) { return CompareStrings(a.S, b.S) < 0; });
}

void TStringList::Sort()
{
  Changing();
  SortItems();
  Changed();
}

void TStringList::CustomSort(const std::function<int(const TStringList &, int, int)> &compare)
{
  CheckNotSorted("CustomSort");
  // Sort an index permutation so that the callback sees the items in their current places.
  std::vector<int> order(FItems.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return compare(*this, a, b) < 0; });
  Changing();
  std::vector<TItem> sorted;
  sorted.reserve(FItems.size());
  for (int i : order)
    sorted.push_back(FItems[i]);
  FItems = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool value)
{
  if (FSorted == value)
    return;
  if (value)
    Sort();
  FSorted = value;
}

void TStringList::SetCaseSensitive(bool value)
{
  if (FCaseSensitive == value)
    return;
  FCaseSensitive = value;
  if (FSorted)
    Sort();
}

QString TStringList::Text() const
{
  QString result;
  for (const TItem &item : FItems) {
    result += item.S;
    result += QLatin1String("\r\n");
  }
  return result;
}

void TStringList::SetText(const QString &text)
{
  withinUpdate(*this, [&] {
    Clear();
    ForEachLine(text, lbCrLfOnly, [this](QStringView line) { Add(line.toString()); });
  });
}

QString TStringList::CommaText() const
{
  QString result;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0)
      result += QLatin1Char(',');
    const QString &s = FItems[i].S;
    bool quote = s.isEmpty();
    for (QChar c : s)
      if (c.unicode() <= 0x20 || c == QLatin1Char(',') || c == QLatin1Char('"')) {
        quote = true;
        break;
      }
    if (quote) {
      QString q = s;
      q.replace(QLatin1Char('"'), QLatin1String("\"\""));
      result += QLatin1Char('"') + q + QLatin1Char('"');
    } else
      result += s;
  }
  return result;
}

void TStringList::SetCommaText(const QString &text)
{
  auto isSpace = [](QChar c) { return c.unicode() >= 1 && c.unicode() <= 0x20; };
  withinUpdate(*this, [&] {
    Clear();
    const int n = text.size();
    int i = 0;
    while (i < n && isSpace(text[i]))
      ++i;
    while (i < n) {
      QString item;
      if (text[i] == QLatin1Char('"')) {
        ++i;
        while (i < n) {
          if (text[i] == QLatin1Char('"')) {
            if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
              item += QLatin1Char('"');
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          item += text[i++];
        }
      } else {
        while (i < n && !isSpace(text[i]) && text[i] != QLatin1Char(','))
          item += text[i++];
      }
      Add(item);
      while (i < n && isSpace(text[i]))
        ++i;
      if (i < n && text[i] == QLatin1Char(',')) {
        ++i;
        // A trailing comma stands for one more, empty, item.
        if (i == n)
          Add(QString());
        while (i < n && isSpace(text[i]))
          ++i;
      }
    }
  });
}

QStringList TStringList::ToQStringList() const
{
  QStringList result;
  result.reserve(Count());
  for (const TItem &item : FItems)
    result << item.S;
  return result;
}

void TStringList::BeginUpdate()
{
  if (FUpdateCount == 0)
    Changing();
  ++FUpdateCount;
}

void TStringList::EndUpdate()
{
  if (FUpdateCount <= 0)
    return;
  if (--FUpdateCount == 0)
    Changed();
}

void TStringList::Changing()
{
  if (FUpdateCount == 0 && OnChanging)
    OnChanging(this);
}

void TStringList::Changed()
{
  if (FUpdateCount == 0 && OnChange)
    OnChange(this);
}
