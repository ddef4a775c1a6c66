#include "wrLiveAutospell.h"

#include "rtEditWindow.h"
#include "rtWidgetWindow.h"
#include "wrRichEditSubclass.h"

#include <QTimer>
#include <QWidget>
#include <algorithm>

TWrightAutoLiveSpell::TWrightAutoLiveSpell(QObject *AOwner)
    : TLiveWrightSpellBase(AOwner), FTimer(std::make_unique<QTimer>())
{
  // Foreign widgets answer their window class through the edit-window factory.
  InstallEditWindowFactory();
  FTimer->setInterval(FocusInterval);
  connect(FTimer.get(), &QTimer::timeout, this, [this] { CheckFocusedControl(); });
  FTimer->start();
}

TWrightAutoLiveSpell::~TWrightAutoLiveSpell()
{
  FTimer->stop();
  // The engines unsubscribe from this component's lists while it is still whole.
  FSubclassList.clear();
  FSubclassWindowList.clear();
}

bool TWrightAutoLiveSpell::IsAutoSpellClass(const QString &ClassName)
{
  const QString name = ClassName.toLower();
  if (name.contains(u"richedit") && !name.contains(u"wright"))
    return true;
  for (const char16_t *known : {u"wwdbrichedit", u"dxedit", u"dxmemo", u"dxdbedit", u"dxdbmemo"})
    if (name.contains(QStringView(known)))
      return true;
  return false;
}

void TWrightAutoLiveSpell::CheckFocusedControl()
{
  RefreshSubclasses();
  auto *form = qobject_cast<QWidget *>(parent());
  if (form && form->isWindow()) {
    QWidget *active = form->focusWidget();
    if (active != FLastFocusControl) {
      FLastFocusControl = active;
      if (FAutoSubclassFocus && active) {
        const HWND window = TEditWindow::FromControl(active);
        if (window && IsAutoSpellClass(window->ClassName()))
          AddControl(active);
      }
    }
  }
  UpdateSubclasses();
}

// --- Attached controls ----------------------------------------------------------------------------

void TWrightAutoLiveSpell::RefreshSubclasses()
{
  for (size_t i = 0; i < FSubclassList.size(); ++i)
    if (FSubclassList[i]->WinControl() != FSubclassWindowList[i])
      FSubclassList[i]->SetWinControl(FSubclassWindowList[i]);
}

void TWrightAutoLiveSpell::UpdateSubclasses()
{
  for (size_t i = 0; i < FSubclassList.size(); ++i) {
    TWrightRichEditSubclass &sub = *FSubclassList[i];
    const bool focused = sub.HandleValid() && FLastFocusControl &&
                         FSubclassWindowList[i] == static_cast<QObject *>(FLastFocusControl);
    const bool here = focused || !FFocusedOnly;
    sub.SetLiveSpelling(FLiveEnabled && here);
    sub.SetLiveCorrect(FCorrectEnabled && here);
    sub.SetDoubleBuffered(FDoubleBuffered);
    sub.SetLiveSpellingColor(FLiveColor);
    sub.SetLiveSpellingReadOnly(FLiveReadOnly);
    sub.SetExpansionChars(FExpansionChars);
    sub.SetIrregularLineHeights(FIrregularLineHeights);
    sub.SetIrregularLeftMargin(FIrregularLeftMargin);
    sub.SetAggressiveContextMenu(FAggressiveContextMenu);
    sub.SetLiveMenuOptions(FLiveMenuOptions);
    sub.SetOnBeginEditing(FOnBeginEditing);
    sub.SetOnWordCheck(FOnWordCheck);
  }
}

bool TWrightAutoLiveSpell::ControlAdded(QObject *Control)
{
  return Control && std::find(FSubclassWindowList.begin(), FSubclassWindowList.end(), Control) !=
                        FSubclassWindowList.end();
}

TWrightRichEditSubclass *TWrightAutoLiveSpell::SubclassOf(QObject *Control) const
{
  const auto it = std::find(FSubclassWindowList.begin(), FSubclassWindowList.end(), Control);
  if (!Control || it == FSubclassWindowList.end())
    return nullptr;
  return FSubclassList[size_t(it - FSubclassWindowList.begin())].get();
}

void TWrightAutoLiveSpell::AddControl(QObject *Control)
{
  if (!Control || ControlAdded(Control))
    return;
  auto sub = std::make_unique<TWrightRichEditSubclass>();
  sub->SetWinControl(Control);
  sub->SetWrightSpell(this);
  FSubclassList.push_back(std::move(sub));
  FSubclassWindowList.push_back(Control);
  UpdateSubclasses();
  FreeNotification(Control);
}

void TWrightAutoLiveSpell::RemoveControl(QObject *Control)
{
  const auto it = std::find(FSubclassWindowList.begin(), FSubclassWindowList.end(), Control);
  if (!Control || it == FSubclassWindowList.end())
    return;
  const size_t index = size_t(it - FSubclassWindowList.begin());
  // Out of the lists before the engine goes, so nothing its destruction triggers finds it.
  std::unique_ptr<TWrightRichEditSubclass> sub = std::move(FSubclassList[index]);
  FSubclassList.erase(FSubclassList.begin() + std::ptrdiff_t(index));
  FSubclassWindowList.erase(it);
  sub.reset();
}

void TWrightAutoLiveSpell::Notification(QObject *AComponent, bool Removing)
{
  if (Removing && AComponent) {
    if (AComponent == FSingleLiveControl)
      FSingleLiveControl = nullptr;
    RemoveControl(AComponent);
  }
  TLiveWrightSpellBase::Notification(AComponent, Removing);
}

// --- Switches ---------------------------------------------------------------------------------------

// Unlike the base class, the attached controls need no followed control.
void TWrightAutoLiveSpell::EnableLiveSpelling(bool Enable)
{
  if (FLiveEnabled == Enable)
    return;
  if (Enable) {
    if (LiveOption(soLiveSpelling)) {
      FLiveEnabled = true;
      StartLiveSpelling();
    }
  } else {
    FLiveEnabled = false;
    StopLiveSpelling();
  }
}

void TWrightAutoLiveSpell::EnableLiveCorrect(bool Enable)
{
  if (FCorrectEnabled == Enable)
    return;
  if (Enable) {
    if (LiveOption(soLiveCorrect)) {
      FCorrectEnabled = true;
      StartLiveCorrect();
    }
  } else {
    FCorrectEnabled = false;
    StopLiveCorrect();
  }
}

// --- Setters -----------------------------------------------------------------------------------------

void TWrightAutoLiveSpell::SetOnWordCheck(const TWordCheckEvent &Value)
{
  FOnWordCheck = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetLiveMenuOptions(TSpellPopupOptions Value)
{
  FLiveMenuOptions = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetExpansionChars(const QString &Value)
{
  FExpansionChars = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetIrregularLineHeights(bool Value)
{
  FIrregularLineHeights = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetIrregularLeftMargin(bool Value)
{
  FIrregularLeftMargin = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetAggressiveContextMenu(bool Value)
{
  FAggressiveContextMenu = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetAutoSpellWhenFocused(bool Value)
{
  FAutoSubclassFocus = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetAutoSpellOnlyFocusedControl(bool Value)
{
  FFocusedOnly = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetDoubleBuffered(bool Value)
{
  FDoubleBuffered = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetLiveSpellingColor(const QColor &Value)
{
  FLiveColor = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetLiveSpellingReadOnly(bool Value)
{
  FLiveReadOnly = Value;
  UpdateSubclasses();
}

void TWrightAutoLiveSpell::SetLiveControl(QObject *Value)
{
  if (FSingleLiveControl)
    RemoveControl(FSingleLiveControl);
  FSingleLiveControl = Value;
  if (Value) {
    FreeNotification(Value);
    SetAutoSpellWhenFocused(false);
    AddControl(Value);
  }
}

void TWrightAutoLiveSpell::SetOnBeginEditing(const TNotifyEvent &Value)
{
  FOnBeginEditing = Value;
  UpdateSubclasses();
}
