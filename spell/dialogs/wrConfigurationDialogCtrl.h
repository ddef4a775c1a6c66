#pragma once
// TConfigurationDialogCtrl: the non-visual controller placed on every spelling dialog form. It
// links the form to the spell component: the form reads the component's state and texts
// through it and answers with the check commands. Without a component every view gives a
// neutral value (empty, false, 0, null) and every operation does nothing.
//
// The check session finds the controller as the form's first child deriving from
// TSpellDialogController and binds itself (SetWrightSpell, once).

#include "rtEditWindow.h"
#include "rtStringList.h"
#include "wrParserBase.h"
#include "wrSpellDialogLink.h"
#include "wrSpellLanguages.h"
#include "wrTypes.h"

#include <QColor>
#include <QObject>
#include <memory>

class QWidget;
class TCustomDictionary;
class TMainDictionary;
class TWrightConfig;
class TWrightSpellBase;

// What a dialog-capable spell component adds for its dialogs (the components layer implements it):
// how the spelling dialog shows the misspelled word, and the interface fonts of a dialog that a
// dialog creates itself.
class TSpellDialogAppearance {
public:
  virtual ~TSpellDialogAppearance();
  virtual QColor DialogMisspelledWordColor() const = 0;
  virtual TFontStyles DialogMisspelledWordStyle() const = 0;
  virtual void SetupFormFonts(QWidget *Dialog, bool ApplyTextFont) const = 0;
  // The web pages the options dialog opens ("%AppName%" not yet expanded).
  virtual QString DownloadDictionariesURL() const = 0;
  virtual QString EditDictionariesURL() const = 0;
  // Live underlining of the options dialog's sample field: a component with live spelling
  // attaches a live engine to Sample for as long as Sample exists (the engine a child of
  // Sample), makes it check the text and answers the engine; null when it has none (the
  // default).
  virtual QObject *AttachLiveSpellingSample(QWidget *Sample);
};

class TConfigurationDialogCtrl : public QObject, public TSpellDialogController {
  Q_OBJECT
public:
  explicit TConfigurationDialogCtrl(QObject *AOwner = nullptr);

  // Ignored when a component is already set. Takes the configuration and available options
  // and raises OnConfigurationAvailable.
  void SetWrightSpell(TWrightSpellBase *WrightSpell) override;
  TWrightSpellBase *WrightSpell() const { return FWrightSpell; }
  // Raises OnCustomDictionaryAvailable when present.
  void SetCustomDictionary(TCustomDictionary *CustomDictionary) override;
  TCustomDictionary *CustomDictionary() const { return FCustomDictionary; }
  TWordPromptEvent PromptWordHook() override { return OnPromptWord; }

  // --- Views of the spell component ---------------------------------------------------------
  TWrightConfig *Configuration() const { return FConfiguration; }
  TSpellOptions AvailableOptions() const { return FAvailableOptions; }
  TStringList AvailableMain() const;
  TStringList AvailableCustom() const;
  TStringList AvailableMSWordCustom() const;
  bool UseExcludeWords() const;
  bool CanUndo() const;
  TCustomDictionary *InternalCustom() const;
  TCustomDictionary *ActiveCustomDictionary() const;
  TSpellDialogCommands CommandsVisible() const;
  TSpellDialogCommands CommandsEnabled() const;
  qint32 HelpCtxSpellDialog() const;
  qint32 HelpCtxConfigDialog() const;
  qint32 HelpCtxDictionariesDialog() const;
  qint32 HelpCtxDictionaryEditDialog() const;
  // The word under check and whether it is a repeated word.
  QString CurrentWord() const;
  bool RepeatedWord() const;
  // The running check's parser, or null.
  TControlParser *ControlParser() const;
  // Null when the component is not dialog-capable.
  TSpellDialogAppearance *Appearance() const;

  // --- Forwarded operations ------------------------------------------------------------------
  QString GetString(TSpellLanguageString LangString) const;
  QString GetOptionString(TSpellOption Option) const;
  std::unique_ptr<TMainDictionary> GetMainDictionary(const QString &Filename);
  std::unique_ptr<TCustomDictionary> GetCustomDictionary(const QString &Filename);
  void Setup();
  void SetupCustomDictionaries();
  void EditCustomDictionary(TCustomDictionary *CustomDictionary);
  void SetupAddDictionaryDir();
  bool EnableCustomDictionary(const QString &Filename, bool Enabled);
  bool EnableWordDictionary(const QString &Filename, bool Enabled);
  bool RemoveCustomDictionary(const QString &Filename, bool Prompt);
  bool CreateNewCustomDictionary(const QString &Filename);
  bool RenameCustomDictionary(const QString &OldFilename, const QString &NewFilename);
  void Ignore();
  void IgnoreAll();
  void Change(const QString &Word);
  void ChangeLine(const QString &NewLine);
  void ChangeAll(const QString &Word);
  void Add();
  void AutoCorrect(const QString &Word);
  void Undo();
  void RepeatIgnore();
  void RepeatDelete();
  void ControlEdited();
  void Cancel();
  // Replaces Words with the component's suggestions.
  void Suggest(const QString &Word, TStringList &Words);
  // Help at the component's context numbers: this program ships no help file, so nothing opens.
  void HelpSpellDialog();
  void HelpConfigDialog();
  void HelpDictionariesDialog();
  void HelpDictionaryEditDialog();

  TNotifyEvent OnConfigurationAvailable;
  TNotifyEvent OnCustomDictionaryAvailable;
  TWordPromptEvent OnPromptWord;

private:
  TWrightSpellBase *FWrightSpell = nullptr;
  TCustomDictionary *FCustomDictionary = nullptr;
  TWrightConfig *FConfiguration = nullptr;
  TSpellOptions FAvailableOptions;
};
