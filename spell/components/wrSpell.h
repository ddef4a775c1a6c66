#pragma once
// TWrightSpellDialogs: the check session with the program's own dialogs. It creates the
// spelling dialog for a check, the options dialog (Setup), the custom dictionaries dialog, the
// dictionary editor and the folder browser for extra dictionary folders; styles them with the
// interface fonts; holds the two web addresses the options dialog opens (pages of our own
// documentation); and gives the session its desktop services (message boxes, busy cursor).
//
// Failures: a host event that supplies its own form or handles a request suppresses the
// built-in one; a folder browser that returns no folder changes nothing. Creating no spelling
// dialog form at all is a programming error (EAssertionFailed naming wrSpell).

#include "wrConfigurationDialogCtrl.h"
#include "wrSpellBase.h"

#include <QColor>
#include <QFont>
#include <memory>

class QDialog;
class QWidget;

// The folder browser's parameters: its owner window, title and flags.
struct TBrowseInfo {
  QWidget *Owner = nullptr;
  QString Title;
  quint32 Flags = 0;
};
inline constexpr quint32 BIF_RETURNONLYFSDIRS = 0x0001; // file-system folders only
inline constexpr quint32 BIF_EDITBOX = 0x0010;          // with an edit box for the path

using TWrightDialogCreateEvent =
    std::function<void(QObject *Sender, QObject *OwnerParam, TWrightDialog Dialog, QDialog *&Form)>;
using TBrowseForFolderEvent =
    std::function<void(QObject *Sender, QObject *OwnerParam, const TBrowseInfo &BrowseInfo,
                       QString &NewFolder, bool &Canceled)>;

class TWrightSpellDialogs : public TWrightSpellBase, public TSpellDialogAppearance {
  Q_OBJECT
public:
  explicit TWrightSpellDialogs(QObject *AOwner = nullptr);
  // A check still running ends (cancelled) first, so that nothing is left waiting on a dialog.
  ~TWrightSpellDialogs() override;

  // --- Published properties ----------------------------------------------------------------
  const QFont &UILanguageFontControls() const { return FFontControls; }
  void SetUILanguageFontControls(const QFont &Value) { FFontControls = Value; }
  const QFont &UILanguageFontText() const { return FFontText; }
  void SetUILanguageFontText(const QFont &Value) { FFontText = Value; }
  bool UILanguageUseFonts = false;
  bool ParentFont = false;
  TSpellDialogType DialogTypeSpelling = sdOffice;
  TSpellDialogType DialogTypeConfiguration = sdOffice;
  QColor DialogMisspelledWordColor() const override { return FMisspelledColor; }
  void SetDialogMisspelledWordColor(const QColor &Value) { FMisspelledColor = Value; }
  TFontStyles DialogMisspelledWordStyle() const override { return FMisspelledStyle; }
  void SetDialogMisspelledWordStyle(TFontStyles Value) { FMisspelledStyle = Value; }
  // "%AppName%" is expanded where the address is opened.
  QString URLDownloadDictionaries;
  QString URLEditDictionaries;

  TWrightDialogCreateEvent OnCreateWrightDialog;
  TBrowseForFolderEvent OnBrowseForFolder;

  // WriteUILanguage: a language without the Office-style texts turns both dialog types classic.
  void SetUILanguage(TSpellLanguageType Value) override;

  void InternalSetup(QObject *AOwner) override;
  void InternalSetupCustomDictionaries(QObject *AOwner) override;
  void InternalEditCustomDictionary(QObject *AOwner, TCustomDictionary *CustomDictionary) override;
  void InternalSetupAddDictionaryDir(QObject *AOwner) override;

  // The dialog's owner font (ParentFont); with UILanguageUseFonts, the control font on labels,
  // buttons, check boxes, group boxes, page controls and rich edits, and the text font (or the
  // control font without ApplyTextFont) on lists, edits and combo boxes.
  void SetupFormFonts(QWidget *Dialog, bool ApplyTextFont) const override;
  QString DownloadDictionariesURL() const override { return URLDownloadDictionaries; }
  QString EditDictionariesURL() const override { return URLEditDictionaries; }

protected:
  QObject *CreateSpellDialog() override;
  virtual QDialog *FireCreateWrightDialog(QObject *OwnerParam, TWrightDialog Dialog);
  virtual void FireBrowseForFolder(QObject *OwnerParam, const TBrowseInfo &BrowseInfo,
                                   QString &NewFolder, bool &Canceled);
  // The desktop's folder chooser; empty when cancelled.
  virtual QString BrowseForFolder(const TBrowseInfo &BrowseInfo);
  // The window a dialog of AOwner belongs to: the first widget among AOwner and its owners.
  static QWidget *OwnerWindow(QObject *AOwner);

private:
  // Styles, binds and runs a modal options or dictionary dialog, then frees it. The spelling
  // dialog of a running check keeps its controller binding (these open from its Options button).
  void RunModalDialog(QDialog *Form, bool ApplyTextFont, TCustomDictionary *Dictionary);
  // The parent of a built-in modal dialog: the modal dialog open now, else AOwner's window.
  static QWidget *DialogParent(QObject *AOwner);

  QFont FFontControls;
  QFont FFontText;
  QColor FMisspelledColor = Qt::red;
  TFontStyles FMisspelledStyle = TFontStyle::fsBold;
  std::unique_ptr<TSpellCheckHost> FHost;
};
