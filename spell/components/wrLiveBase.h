#pragma once
// TLiveWrightSpellBase: the spell component with the switches of live spelling (underlining
// while typing) and live correction (correcting while typing), the live menu, and both switches
// tied to the user's options.
//
// The switches. "Option" is the user's soLiveSpelling / soLiveCorrect when LiveSpellingOptions
// is set (reading it loads the configuration), else the LiveSpelling / LiveCorrect property.
// EnableLiveSpelling (true) turns live spelling on only when its option is on and (in this
// class) a live control is followed; false always turns it off. Every rebuild of the rules in
// which the user's options changed calls both with the user's options when LiveSpellingOptions
// is set, so live spelling comes on when the configuration first loads and goes off when the
// user clears the option. Derived classes start and stop the actual live spelling
// (StartLiveSpelling ... StopLiveCorrect).
//
// The live menu is a QMenu: captions keep their "&" marks, a submenu header is a QMenu of its
// own, a caption "-" a separator. It pops up at the screen point and the call returns once an
// item was clicked or the menu closed. A host event that builds or shows its own menu
// (OnPopupCreateMenu, OnPopupAddMenuItem, OnPopupDoMenu) replaces the matching default step.
//
// Failures: none are raised. A followed control that is destroyed switches both off and is
// forgotten.

#include "wrSpell.h"

#include <QPointer>

class QMenu;

class TLiveWrightSpellBase : public TWrightSpellDialogs {
  Q_OBJECT
public:
  explicit TLiveWrightSpellBase(QObject *AOwner = nullptr);
  ~TLiveWrightSpellBase() override;

  // --- Published properties ------------------------------------------------------------------
  // These hide the check session's read-only copies of the user's options, as the component's
  // own switches; the user's options are the configuration's SpellOptions.
  bool LiveSpelling() const { return FLiveSpell; }
  virtual void SetLiveSpelling(bool Value);
  bool LiveCorrect() const { return FLiveCorrect; }
  virtual void SetLiveCorrect(bool Value);
  TSpellPopupOptions LiveMenuOptions() const { return FLiveMenuOptions; }
  virtual void SetLiveMenuOptions(TSpellPopupOptions Value) { FLiveMenuOptions = Value; }
  bool LiveSpellingOptions() const { return FLiveOptions; }
  virtual void SetLiveSpellingOptions(bool Value);

  // Whether live spelling / live correction are on now.
  bool LiveSpellingEnabled() const { return FLiveEnabled; }
  bool LiveCorrectEnabled() const { return FCorrectEnabled; }
  // The control live spelling follows, or null.
  QObject *FollowedControl() const { return FLiveControl; }

  virtual void EnableLiveSpelling(bool Enable);
  virtual void EnableLiveCorrect(bool Enable);

  // Follows Control instead of the previous one: both switches go off for the old control and
  // come back as they were (the first time: on) for the new one.
  virtual void ChangeLiveControl(QObject *Control);
  // The live menu for the word at the live control's selection, placed under the selection.
  // Parser is bound to the live control here. spDialog runs SpellCheckLiveWord with no end
  // message and the dialog under the selection. spCancel while a live menu shows.
  virtual TSpellPopupOption ShowLivePopup(TControlParser *Parser, QString &Word);

  // A component is being removed (Removing) or inserted; a removed live control is forgotten.
  virtual void Notification(QObject *AComponent, bool Removing);

  // The options dialog's sample field: underlined by an engine of its own, always on, so the
  // user sees what live spelling looks like whatever the options say. The engine lives until
  // Sample is destroyed (or this component is).
  QObject *AttachLiveSpellingSample(QWidget *Sample) override;

protected:
  virtual void SpellCheckLiveWord() = 0;
  virtual void StartLiveSpelling() = 0;
  virtual void StopLiveSpelling() = 0;
  virtual void StartLiveCorrect() = 0;
  virtual void StopLiveCorrect() = 0;

  void ApplySpellOptions(bool Force) override;

  // The widget menu.
  QObject *PopupCreateMenu(QObject *Owner) override;
  QObject *PopupAddMenuItem(QObject *Menu, QObject *SubMenu, const QString &Caption, bool Enable,
                            bool HasChildren, qint32 Tag) override;
  void PopupDoMenu(QObject *Menu, qint32 XPos, qint32 YPos, qint32 &PopupAction,
                   QString &PopupWord) override;

  // The option behind a switch: the user's soLiveSpelling / soLiveCorrect with
  // LiveSpellingOptions, else the property.
  bool LiveOption(TSpellOption Option);
  // Asks for Notification (AComponent, true) when AComponent is destroyed. Never withdrawn:
  // the notification ignores controls no longer followed.
  void FreeNotification(QObject *AComponent);

  // Cleared by the removal notification when the control is destroyed.
  QObject *FLiveControl = nullptr;
  bool FLiveSpell = true;
  // Hides TWrightSpellBase::FLiveCorrect (the copy of the user's option).
  bool FLiveCorrect = true;
  TSpellPopupOptions FLiveMenuOptions = TSpellPopupOptions::Range(spDialog, spReplace);
  bool FLiveOptions = true;
  bool FLiveEnabled = false;
  bool FCorrectEnabled = false;
  bool FFirstLiveControl = true;
  bool FMenuShowing = false;
  bool FRemovingComponent = false;

private slots:
  void ComponentDestroyed(QObject *AComponent);

private:
  // The menu popped up by PopupDoMenu, closed by a click on any of its items.
  QPointer<QMenu> FShownMenu;
};
