#include "wrSpell.h"

#include "rtAssert.h"
#include "rtErrorBox.h"
#include "rtFonts.h"
#include "wrConfigurationDialog.h"
#include "wrConfigurationDialogOffice.h"
#include "wrCustomDictionariesDialog.h"
#include "wrCustomDictionary.h"
#include "wrCustomDictionaryEditDialog.h"
#include "wrSpellDialog.h"
#include "wrSpellDialogOffice.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTextEdit>

namespace {

// The dictionary pages live on the project's host under the paths every client of this spell
// component asks for (the host serves docs/dictionaries.md there).
const QString DictionaryHost = QStringLiteral("https://linewright.org");

// Message boxes and the busy cursor of a check, on this desktop.
class TDesktopCheckHost : public TSpellCheckHost {
public:
  void ShowInformation(const QString &Text, const QString &Caption) override
  {
    MessageBox(QApplication::activeWindow(), Text, Caption, MB_OK | MB_ICONINFORMATION);
  }
  bool AskYesNo(const QString &Text, const QString &Caption) override
  {
    return MessageBox(QApplication::activeWindow(), Text, Caption, MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
  }
  void SetBusyCursor(bool Busy) override
  {
    if (Busy)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  }
};

QFont DefaultInterfaceFont()
{
  QFont f = ClassicSansFont(8); // height -11 at 96 dpi
  f.setPixelSize(11);
  return f;
}

} // namespace

TWrightSpellDialogs::TWrightSpellDialogs(QObject *AOwner)
    : TWrightSpellBase(AOwner), FFontControls(DefaultInterfaceFont()),
      FFontText(DefaultInterfaceFont()), FHost(std::make_unique<TDesktopCheckHost>())
{
  URLDownloadDictionaries = DictionaryHost + QStringLiteral("/dl-dictionaries.htm?app=%AppName%");
  URLEditDictionaries = DictionaryHost + QStringLiteral("/ed-dictionaries.htm?app=%AppName%");
  SetUIType(suiDialog);
  SetCheckHost(FHost.get());
}

TWrightSpellDialogs::~TWrightSpellDialogs()
{
  if (Checking())
    StopCheck(true);
  SetCheckHost(nullptr);
}

void TWrightSpellDialogs::SetUILanguage(TSpellLanguageType Value)
{
  TWrightSpellBase::SetUILanguage(Value);
  if (GetLanguageString(TSpellLanguageString::lsConfigLearnAboutMaking, Value).isEmpty()) {
    if (DialogTypeSpelling == sdOffice)
      DialogTypeSpelling = sdClassic;
    if (DialogTypeConfiguration == sdOffice)
      DialogTypeConfiguration = sdClassic;
  }
}

QWidget *TWrightSpellDialogs::OwnerWindow(QObject *AOwner)
{
  for (QObject *o = AOwner; o; o = o->parent())
    if (auto *w = qobject_cast<QWidget *>(o))
      return w->window();
  return nullptr;
}

QDialog *TWrightSpellDialogs::FireCreateWrightDialog(QObject *OwnerParam, TWrightDialog Dialog)
{
  QDialog *form = nullptr;
  if (OnCreateWrightDialog)
    OnCreateWrightDialog(this, OwnerParam, Dialog, form);
  return form;
}

QObject *TWrightSpellDialogs::CreateSpellDialog()
{
  QObject *owner = this;
  if (auto *p2 = dynamic_cast<TControlParser2 *>(ControlParser()))
    if (QObject *control = p2->GetControl())
      owner = control;
  QWidget *window = OwnerWindow(owner);
  QObject *ownerParam = window ? static_cast<QObject *>(window) : this;
  QDialog *form = FireCreateWrightDialog(ownerParam, adSpellDialog);
  if (!form) {
    if (DialogTypeSpelling == sdOffice)
      form = new TSpellDialogV4(window);
    else
      form = new TSpellDialog(window);
  }
  rtAssert(form != nullptr, "wrSpell", "no spelling dialog form");
  SetupFormFonts(form, true);
  return form;
}

QWidget *TWrightSpellDialogs::DialogParent(QObject *AOwner)
{
  // A dialog opened from another modal dialog (the editor from the options) stays over it.
  if (QWidget *modal = QApplication::activeModalWidget())
    return modal;
  return OwnerWindow(AOwner);
}

void TWrightSpellDialogs::RunModalDialog(QDialog *Form, bool ApplyTextFont,
                                         TCustomDictionary *Dictionary)
{
  rtAssert(Form != nullptr, "wrSpell", "no dialog form");
  QPointer<QDialog> form = Form;
  TSpellDialogController *const checkController = FDialogController;
  QObject *const checkCtrl = FDialogCtrl;
  SetupFormFonts(form, ApplyTextFont);
  BindDialogController(form, Dictionary);
  form->exec();
  delete form.data();
  FDialogController = checkController;
  FDialogCtrl = checkCtrl;
}

void TWrightSpellDialogs::InternalSetup(QObject *AOwner)
{
  if (OnShowConfigDialog) {
    OnShowConfigDialog(this, AOwner);
    return;
  }
  QDialog *form = FireCreateWrightDialog(AOwner, adSpellConfigurationDialog);
  if (!form) {
    if (DialogTypeConfiguration == sdOffice)
      form = new TSpellCheckConfigDialogV4(DialogParent(AOwner));
    else
      form = new TSpellCheckConfigDialog(DialogParent(AOwner));
  }
  RunModalDialog(form, false, nullptr);
  OptimizeDictionaryOrder();
}

void TWrightSpellDialogs::InternalSetupCustomDictionaries(QObject *AOwner)
{
  if (OnShowCustomDictionariesDialog) {
    OnShowCustomDictionariesDialog(this, AOwner);
    return;
  }
  QDialog *form = FireCreateWrightDialog(AOwner, adSpellCustomDictionariesDialog);
  if (!form)
    form = new TCustomDictionariesDialog(DialogParent(AOwner));
  RunModalDialog(form, false, nullptr);
}

void TWrightSpellDialogs::InternalEditCustomDictionary(QObject *AOwner,
                                                       TCustomDictionary *CustomDictionary)
{
  if (OnShowEditCustomDictionaryDialog) {
    OnShowEditCustomDictionaryDialog(this, AOwner, CustomDictionary);
    return;
  }
  QDialog *form = FireCreateWrightDialog(AOwner, adSpellCustomDictionaryEditDialog);
  if (!form)
    form = new TCustomDictionaryEditDialog(DialogParent(AOwner));
  RunModalDialog(form, true, CustomDictionary);
  // The edits reach the file before the dictionaries reopen, so that open documents are
  // checked again against the edited lists (the caller releases its object only later).
  if (CustomDictionary && CustomDictionary->Modified())
    CustomDictionary->Save();
  FireConfigurationChanged(true);
}

void TWrightSpellDialogs::FireBrowseForFolder(QObject *OwnerParam, const TBrowseInfo &BrowseInfo,
                                              QString &NewFolder, bool &Canceled)
{
  if (OnBrowseForFolder)
    OnBrowseForFolder(this, OwnerParam, BrowseInfo, NewFolder, Canceled);
}

QString TWrightSpellDialogs::BrowseForFolder(const TBrowseInfo &BrowseInfo)
{
  QFileDialog dialog(BrowseInfo.Owner, BrowseInfo.Title);
  dialog.setObjectName(QStringLiteral("BrowseForFolderDialog"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, (BrowseInfo.Flags & BIF_RETURNONLYFSDIRS) != 0);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

void TWrightSpellDialogs::InternalSetupAddDictionaryDir(QObject *AOwner)
{
  if (OnShowAddDictionaryDir) {
    OnShowAddDictionaryDir(this, AOwner);
    return;
  }
  TBrowseInfo info;
  QWidget *owner = AOwner ? qobject_cast<QWidget *>(AOwner->parent()) : nullptr;
  info.Owner = owner ? owner : QApplication::activeWindow();
  info.Title = GetString(TSpellLanguageString::lsDlgBrowseForMainTitle);
  info.Flags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  QString folder;
  bool canceled = false;
  FireBrowseForFolder(AOwner, info, folder, canceled);
  if (folder.isEmpty() && !canceled)
    folder = BrowseForFolder(info);
  if (!canceled && !folder.isEmpty())
    Configuration()->NewDictionaryPaths().Add(folder);
}

void TWrightSpellDialogs::SetupFormFonts(QWidget *Dialog, bool ApplyTextFont) const
{
  if (!Dialog)
    return;
  if (ParentFont && Dialog->parentWidget())
    Dialog->setFont(Dialog->parentWidget()->font());
  if (!UILanguageUseFonts)
    return;
  const QFont &text = ApplyTextFont ? FFontText : FFontControls;
  for (QWidget *w : Dialog->findChildren<QWidget *>()) {
    if (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w) ||
        qobject_cast<QGroupBox *>(w) || qobject_cast<QTabWidget *>(w) ||
        qobject_cast<QTextEdit *>(w))
      w->setFont(FFontControls);
    else if (qobject_cast<QAbstractItemView *>(w) || qobject_cast<QLineEdit *>(w) ||
             qobject_cast<QComboBox *>(w))
      w->setFont(text);
  }
}
