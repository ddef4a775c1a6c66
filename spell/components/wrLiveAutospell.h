#pragma once
// TWrightAutoLiveSpell: the live spell component a window places. Every 500 ms it looks at the
// control that has the focus in its owner window and, with AutoSpellWhenFocused, attaches live
// spelling to it when its window class is a rich edit of another kind than ours ("richedit" but
// not "wright" in the class name, or one of the known third-party memo classes): one
// TWrightRichEditSubclass per attached control, owned here. It pushes its live settings to
// every attached control whenever one changes (UpdateSubclasses).
//
// The editor of the main window (TWrightRichEdit, class name with "wright") runs its own engine
// against this component and is never attached. LiveControl names one control to attach
// instead of following the focus (setting it turns AutoSpellWhenFocused off).
//
// Live spelling and correction are off at creation and follow the user's options once the
// configuration loads (TLiveWrightSpellBase); with AutoSpellOnlyFocusedControl only the
// focused attached control underlines and corrects.
//
// Failures: none are raised. A destroyed attached control is detached; a destroyed LiveControl
// clears the property.

#include "wrLiveBase.h"

#include <QColor>
#include <QPointer>
#include <memory>
#include <vector>

class QTimer;
class QWidget;
class TWrightRichEditSubclass;

class TWrightAutoLiveSpell : public TLiveWrightSpellBase {
  Q_OBJECT
public:
  static constexpr int FocusInterval = 500; // ms between looks at the focused control

  explicit TWrightAutoLiveSpell(QObject *AOwner = nullptr);
  // Detaches every control before the session goes.
  ~TWrightAutoLiveSpell() override;

  // --- Published properties ------------------------------------------------------------------
  QColor LiveSpellingColor() const { return FLiveColor; }
  virtual void SetLiveSpellingColor(const QColor &Value);
  bool LiveSpellingReadOnly() const { return FLiveReadOnly; }
  virtual void SetLiveSpellingReadOnly(bool Value);
  bool AutoSpellWhenFocused() const { return FAutoSubclassFocus; }
  virtual void SetAutoSpellWhenFocused(bool Value);
  bool AutoSpellOnlyFocusedControl() const { return FFocusedOnly; }
  virtual void SetAutoSpellOnlyFocusedControl(bool Value);
  bool DoubleBuffered() const { return FDoubleBuffered; }
  virtual void SetDoubleBuffered(bool Value);
  bool IrregularLeftMargin() const { return FIrregularLeftMargin; }
  virtual void SetIrregularLeftMargin(bool Value);
  QObject *LiveControl() const { return FSingleLiveControl; }
  virtual void SetLiveControl(QObject *Value);
  const TNotifyEvent &OnBeginEditing() const { return FOnBeginEditing; }
  virtual void SetOnBeginEditing(const TNotifyEvent &Value);
  // The word-check event of the attached controls; it hides the session's own.
  const TWordCheckEvent &OnWordCheck() const { return FOnWordCheck; }
  void SetOnWordCheck(const TWordCheckEvent &Value) override;
  void SetLiveMenuOptions(TSpellPopupOptions Value) override;

  // --- Public properties -----------------------------------------------------------------------
  QString ExpansionChars() const { return FExpansionChars; }
  virtual void SetExpansionChars(const QString &Value);
  bool IrregularLineHeights() const { return FIrregularLineHeights; }
  virtual void SetIrregularLineHeights(bool Value);
  bool AggressiveContextMenu() const { return FAggressiveContextMenu; }
  virtual void SetAggressiveContextMenu(bool Value);

  // --- Attached controls -------------------------------------------------------------------------
  // Re-binds each subclass object whose control no longer matches its entry.
  virtual void RefreshSubclasses();
  // Pushes the live state and settings to every attached control.
  virtual void UpdateSubclasses();
  virtual void AddControl(QObject *Control);
  virtual void RemoveControl(QObject *Control);
  virtual bool ControlAdded(QObject *Control);
  // The engine attached to Control, or null.
  TWrightRichEditSubclass *SubclassOf(QObject *Control) const;
  int SubclassCount() const { return int(FSubclassList.size()); }

  void EnableLiveSpelling(bool Enable) override;
  void EnableLiveCorrect(bool Enable) override;
  void Notification(QObject *AComponent, bool Removing) override;

  // One tick of the focus timer (also called by tests).
  void CheckFocusedControl();
  // Whether a window class name is one that the focus timer attaches.
  static bool IsAutoSpellClass(const QString &ClassName);

protected:
  void SpellCheckLiveWord() override {}
  void StartLiveSpelling() override { UpdateSubclasses(); }
  void StopLiveSpelling() override { UpdateSubclasses(); }
  void StartLiveCorrect() override { UpdateSubclasses(); }
  void StopLiveCorrect() override { UpdateSubclasses(); }

  std::unique_ptr<QTimer> FTimer;
  QPointer<QWidget> FLastFocusControl;
  std::vector<std::unique_ptr<TWrightRichEditSubclass>> FSubclassList;
  // The attached controls, parallel to FSubclassList; destroyed ones are removed through the
  // removal notification.
  std::vector<QObject *> FSubclassWindowList;
  QString FExpansionChars = QStringLiteral(" .,;:\t");
  bool FIrregularLineHeights = false;
  bool FIrregularLeftMargin = false;
  bool FAggressiveContextMenu = false;
  bool FAutoSubclassFocus = true;
  bool FFocusedOnly = false;
  bool FDoubleBuffered = true;
  QColor FLiveColor = QColor(255, 0, 0);
  bool FLiveReadOnly = false;
  QObject *FSingleLiveControl = nullptr;
  TNotifyEvent FOnBeginEditing;
  // Hides TWrightSpellBase::FOnWordCheck.
  TWordCheckEvent FOnWordCheck;
};
