#include "wrLiveBase.h"

#include "wrConfiguration.h"
#include "wrParserBase.h"
#include "wrRichEditSubclass.h"

#include <QMenu>
#include <QVariant>

namespace {

// Clears a flag however the scope ends.
class TFlagGuard {
public:
  explicit TFlagGuard(bool &Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagGuard() { FFlag = false; }
  TFlagGuard(const TFlagGuard &) = delete;
  TFlagGuard &operator=(const TFlagGuard &) = delete;

private:
  bool &FFlag;
};

// The properties the check session reads from a menu item.
void SetItemProperties(QObject *Item, const QString &Caption, bool Enable, bool HasChildren,
                       qint32 Tag)
{
  Item->setProperty("Caption", Caption);
  Item->setProperty("Enabled", Enable);
  Item->setProperty("HasChildren", HasChildren);
  Item->setProperty("Tag", Tag);
}

} // namespace

TLiveWrightSpellBase::TLiveWrightSpellBase(QObject *AOwner) : TWrightSpellDialogs(AOwner)
{
  SetConfigAvailableOptions(
      {soLiveSpelling, soLiveCorrect, soUpcase, soNumbers, soPrimaryOnly, soRepeated, soDUalCaps});
}

TLiveWrightSpellBase::~TLiveWrightSpellBase()
{
  if (FShownMenu)
    FShownMenu->close();
}

bool TLiveWrightSpellBase::LiveOption(TSpellOption Option)
{
  if (FLiveOptions)
    return Configuration()->SpellOptions().Contains(Option);
  return Option == soLiveSpelling ? FLiveSpell : FLiveCorrect;
}

void TLiveWrightSpellBase::EnableLiveSpelling(bool Enable)
{
  if (FLiveEnabled == Enable)
    return;
  if (Enable) {
    if (FLiveControl && LiveOption(soLiveSpelling)) {
      FLiveEnabled = true;
      StartLiveSpelling();
    }
  } else {
    FLiveEnabled = false;
    if (FLiveControl)
      StopLiveSpelling();
  }
}

void TLiveWrightSpellBase::EnableLiveCorrect(bool Enable)
{
  if (FCorrectEnabled == Enable)
    return;
  if (Enable) {
    if (FLiveControl && LiveOption(soLiveCorrect)) {
      FCorrectEnabled = true;
      StartLiveCorrect();
    }
  } else {
    FCorrectEnabled = false;
    if (FLiveControl)
      StopLiveCorrect();
  }
}

void TLiveWrightSpellBase::SetLiveSpelling(bool Value)
{
  if (FLiveSpell == Value)
    return;
  FLiveSpell = Value;
  EnableLiveSpelling(Value);
}

void TLiveWrightSpellBase::SetLiveCorrect(bool Value)
{
  if (FLiveCorrect == Value)
    return;
  FLiveCorrect = Value;
  EnableLiveCorrect(Value);
}

void TLiveWrightSpellBase::SetLiveSpellingOptions(bool Value)
{
  if (FLiveOptions == Value)
    return;
  FLiveOptions = Value;
  if (Value) {
    const TSpellOptions options = Configuration()->SpellOptions();
    EnableLiveSpelling(options.Contains(soLiveSpelling));
    EnableLiveCorrect(options.Contains(soLiveCorrect));
  } else {
    EnableLiveSpelling(FLiveSpell);
    EnableLiveCorrect(FLiveCorrect);
  }
}

void TLiveWrightSpellBase::ApplySpellOptions(bool Force)
{
  // The session rebuilds only for a loaded configuration whose options changed (or when forced).
  const bool loaded = Configuration() && Configuration()->Loaded();
  const bool rebuild =
      loaded && (Force || !FOptionsApplied || Configuration()->SpellOptions() != FOldOptions);
  TWrightSpellDialogs::ApplySpellOptions(Force);
  if (!rebuild || !FLiveOptions)
    return;
  const TSpellOptions options = Configuration()->SpellOptions();
  EnableLiveSpelling(options.Contains(soLiveSpelling));
  EnableLiveCorrect(options.Contains(soLiveCorrect));
}

void TLiveWrightSpellBase::ChangeLiveControl(QObject *Control)
{
  if (Control == FLiveControl)
    return;
  bool spell = true, correct = true;
  if (FFirstLiveControl)
    FFirstLiveControl = false;
  else {
    spell = FLiveEnabled;
    correct = FCorrectEnabled;
  }
  EnableLiveSpelling(false);
  EnableLiveCorrect(false);
  FLiveControl = Control;
  FreeNotification(Control);
  EnableLiveSpelling(spell);
  EnableLiveCorrect(correct);
}

void TLiveWrightSpellBase::FreeNotification(QObject *AComponent)
{
  if (AComponent && AComponent != this)
    connect(AComponent, &QObject::destroyed, this, &TLiveWrightSpellBase::ComponentDestroyed,
            Qt::UniqueConnection);
}

void TLiveWrightSpellBase::ComponentDestroyed(QObject *AComponent)
{
  Notification(AComponent, true);
}

void TLiveWrightSpellBase::Notification(QObject *AComponent, bool Removing)
{
  if (!Removing || !AComponent || AComponent != FLiveControl)
    return;
  // Derived classes see FRemovingComponent and leave the dying control alone.
  TFlagGuard removing(FRemovingComponent);
  EnableLiveSpelling(false);
  EnableLiveCorrect(false);
  FLiveControl = nullptr;
}

TSpellPopupOption TLiveWrightSpellBase::ShowLivePopup(TControlParser *Parser, QString &Word)
{
  if (FMenuShowing || !Parser)
    return spCancel;
  TFlagGuard showing(FMenuShowing);
  Parser->Initialize(static_cast<void *>(FLiveControl));
  int x = 0, y = 0;
  Parser->GetCursorPosition(x, y);
  Parser->SetPosition(x, y, ptCurrent);
  QRect r;
  Parser->GetSelectionScreenPosition(r);
  const TSpellPopupOption result =
      ShowPopupMenu(FLiveControl, FLiveMenuOptions, r.left(), r.bottom(), Word);
  if (result == spDialog) {
    const TSpellEndMessage oldEnd = EndMessage();
    const TSpellDialogInitialPos oldPos = DialogInitialPos();
    SetEndMessage(emNever);
    SetDialogInitialPos(ipUnderSelection);
    SpellCheckLiveWord();
    SetEndMessage(oldEnd);
    SetDialogInitialPos(oldPos);
  }
  return result;
}

// --- The widget menu ------------------------------------------------------------------------------

QObject *TLiveWrightSpellBase::PopupCreateMenu(QObject *Owner)
{
  if (OnPopupCreateMenu)
    return TWrightSpellDialogs::PopupCreateMenu(Owner);
  // A window of its own that Qt does not free with the owner before the session does.
  auto *menu = new QMenu(Owner && Owner->isWidgetType() ? static_cast<QWidget *>(Owner) : nullptr);
  menu->setObjectName(QStringLiteral("LivePopupMenu"));
  menu->setSeparatorsCollapsible(false);
  return menu;
}

QObject *TLiveWrightSpellBase::PopupAddMenuItem(QObject *Menu, QObject *SubMenu,
                                                const QString &Caption, bool Enable,
                                                bool HasChildren, qint32 Tag)
{
  auto *menu = qobject_cast<QMenu *>(SubMenu ? SubMenu : Menu);
  if (OnPopupAddMenuItem || OnPopupCreateMenu || !menu)
    return TWrightSpellDialogs::PopupAddMenuItem(Menu, SubMenu, Caption, Enable, HasChildren, Tag);
  QObject *item = nullptr;
  if (HasChildren) {
    QMenu *header = menu->addMenu(Caption);
    header->menuAction()->setEnabled(Enable);
    item = header;
  } else if (Caption == QLatin1String("-")) {
    item = menu->addSeparator();
  } else {
    QAction *action = menu->addAction(Caption);
    action->setEnabled(Enable);
    if (Tag > 0)
      connect(action, &QAction::triggered, this, [this, action] {
        PopupItemClick(action);
        // A click made by program leaves the menu open; a real one has closed it already.
        if (FShownMenu)
          FShownMenu->close();
      });
    item = action;
  }
  SetItemProperties(item, Caption, Enable, HasChildren, Tag);
  return item;
}

void TLiveWrightSpellBase::PopupDoMenu(QObject *Menu, qint32 XPos, qint32 YPos, qint32 &PopupAction,
                                       QString &PopupWord)
{
  auto *menu = qobject_cast<QMenu *>(Menu);
  if (OnPopupDoMenu || OnPopupCreateMenu || !menu) {
    TWrightSpellDialogs::PopupDoMenu(Menu, XPos, YPos, PopupAction, PopupWord);
    return;
  }
  FPopupAction = 0;
  FPopupWord.clear();
  FShownMenu = menu;
  // Runs until an item was clicked (its handler has run by then) or the menu closed.
  menu->exec(QPoint(XPos, YPos));
  FShownMenu = nullptr;
  PopupAction = FPopupAction;
  PopupWord = FPopupWord;
}

// --- The options dialog's sample ------------------------------------------------------------------

namespace {
// Owns the sample's engine; a QObject so that the dialog can hold it and Qt can free it.
class TLiveSample : public QObject {
public:
  TLiveSample(QObject *Owner) : QObject(Owner) {}
  TWrightRichEditSubclass Engine;
};
} // namespace

QObject *TLiveWrightSpellBase::AttachLiveSpellingSample(QWidget *Sample)
{
  if (!Sample)
    return nullptr;
  auto *sample = new TLiveSample(this);
  TWrightRichEditSubclass &engine = sample->Engine;
  engine.SetLiveSpellingOptions(false);
  engine.SetLiveSpelling(true);
  engine.SetLiveCorrect(false);
  engine.SetLiveSpellingReadOnly(true);
  // The sample has no background of its own (it shows the dialog's through it), which an
  // off-screen rendering would paint black.
  engine.SetDoubleBuffered(false);
  engine.SetLiveMenuOptions(TSpellPopupOptions());
  engine.SetWrightSpell(this);
  engine.SetWinControl(Sample);
  // Connected after the engine's own handler, which lets go of the window first.
  connect(Sample, &QObject::destroyed, sample, [sample] { delete sample; });
  return sample;
}
