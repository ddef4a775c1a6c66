#include "rtEditWindow.h"

#include <QHash>
#include <QObject>

namespace {
QHash<QObject *, HWND> &registry()
{
  static QHash<QObject *, HWND> map;
  return map;
}
std::function<HWND(QObject *)> &factory()
{
  static std::function<HWND(QObject *)> f;
  return f;
}
} // namespace

TEditWindow::~TEditWindow() = default;

int TEditWindow::GetSelStart() const
{
  int s = 0, e = 0;
  GetSel(s, e);
  // A start above 0x7FFFFFFE reads as 0 (an unsigned -1 from the control).
  if (static_cast<unsigned>(s) > 0x7FFFFFFEu)
    return 0;
  return s;
}

int TEditWindow::GetSelLength() const
{
  int s = 0, e = 0;
  GetSel(s, e);
  return e > s ? e - s : 0;
}

void TEditWindow::SetSelStart(int start) { SetSel(start, start); }

void TEditWindow::SetSelLength(int length)
{
  const int s = GetSelStart();
  SetSel(s, s + length);
  ScrollCaret();
}

void TEditWindow::SetParagraph(const TParaAttributes &p)
{
  TParaAttributeSet which = AllParaAttributes;
  if (p.Numbering == GetParagraph().Numbering)
    which.Exclude(TParaAttribute::paNumbering);
  SetParagraphAttributes(p, which);
}

HWND TEditWindow::FromControl(QObject *control)
{
  if (!control)
    return nullptr;
  if (HWND w = registry().value(control, nullptr))
    return w;
  if (factory())
    return factory()(control);
  return nullptr;
}

void TEditWindow::Register(QObject *control, HWND window)
{
  if (control)
    registry().insert(control, window);
}

void TEditWindow::Unregister(QObject *control) { registry().remove(control); }

void TEditWindow::SetFactory(std::function<HWND(QObject *)> f) { factory() = std::move(f); }
