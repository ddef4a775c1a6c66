#pragma once
// Enumerations and sets of the spell component, shared by the configuration store, the check
// session, live spelling and the dialogs. A set is a TSet (rtTypes.h) over its enumeration.

#include "rtTypes.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <initializer_list>
#include <type_traits>

class QObject;

// --- Spell options ------------------------------------------------------------------------------
enum TSpellOption : quint8 {
  soLiveSpelling,  // underline misspellings while typing
  soLiveCorrect,   // correct automatically while typing
  soUpcase,        // ignore words in capitals
  soNumbers,       // ignore words with digits
  soHTML,          // ignore markup
  soInternet,      // ignore Internet addresses
  soQuoted,        // ignore quoted lines
  soAbbreviations, // ignore abbreviations
  soPrimaryOnly,   // suggest from main dictionaries only
  soRepeated,      // flag repeated words
  soDUalCaps,      // correct two initial capitals
  soUser1,         // four options the host program defines
  soUser2,
  soUser3,
  soUser4,
};
inline constexpr int SpellOptionCount = 15;
using TSpellOptions = TSet<TSpellOption, quint16>;

// --- Checks and their outcome ----------------------------------------------------------------------
enum TCheckType : quint8 { ctSelected, ctFromCursor, ctAll, ctSmart, ctCurrent };
enum TWordCheckType : quint8 { wcAccepted, wcExcluded, wcCorrected, wcDenied, wcRepeated };
enum TSpellAction : quint8 { saIgnore, saIgnoreAll, saChange, saChangeAll, saAdd, saAutoCorrect };
enum TSpellEndMessage : quint8 { emNever, emAlways, emExceptCancel, emNoDialog };
enum TSpellEndPosition : quint8 { epHome, epOriginal, epNoModify };

// --- The spelling dialog ------------------------------------------------------------------------------
enum TSpellDialogInitialPos : quint8 {
  ipScreenCenter,
  ipUnderSelection,
  ipAvoidControl,
  ipUserDefined,
  ipLastUserPos,
  ipIgnore,
  ipDesktopCenter,
};
enum TSpellDialogAvoidPos : quint8 { saNone, saAvoid, saAvoidUpDown, saMove, saMoveUpDown };
enum TSpellDialogType : quint8 { sdClassic, sdOffice };
// The dialogs of the spell and thesaurus components a host may supply itself.
enum TWrightDialog {
  adSpellDialog,
  adSpellConfigurationDialog,
  adSpellCustomDictionariesDialog,
  adSpellCustomDictionaryEditDialog,
  adThesaurusDialog
};

enum TSpellDialogCommand : quint8 {
  sdcIgnore,
  sdcIgnoreAll,
  sdcChange,
  sdcChangeAll,
  sdcAdd,
  sdcAutoCorrect,
  sdcUndo,
  sdcHelp,
  sdcCancel,
  sdcOptions,
  sdcCustomDictionary,
  sdcCustomDictionaries,
  sdcConfigOK,
  sdcAddedEdit,
  sdcAutoCorrectEdit,
  sdcExcludedEdit,
  sdcInternalEdit,
  sdcMainDictFolderBrowse,
  sdcResetDefaults,
  sdcConfigCancel,
  sdcConfigLearningLink,
  sdcConfigDownloadLink,
  sdcConfigEditDictionaryButton,
};
using TSpellDialogCommands = TSet<TSpellDialogCommand, quint32>;

// --- Word acceptance, storage, interface ---------------------------------------------------------------
enum TCaseModification : quint8 {
  cmNone,
  cmInitialCaps,
  cmInitialCapsOrUpcase,
  cmAnyCase,
  cmCustom
};
enum TConfigStorage : quint8 { csFile, csRegistry, csCallback, csNone };
enum TSpellUI : quint8 { suiDialog, suiSilent };

// --- The live menu --------------------------------------------------------------------------------------
enum TSpellPopupOption : quint8 {
  spCancel,
  spDialog,
  spAutoCorrect,
  spChangeAll,
  spAdd,
  spIgnoreAll,
  spIgnore,
  spReplace,
};
using TSpellPopupOptions = TSet<TSpellPopupOption, quint8>;

// --- Events that need nothing beyond these types -------------------------------------------------------
// Sender is the spell component unless stated otherwise.
using TWordCheckEvent = std::function<void(QObject *Sender, const QString &Word,
                                           TWordCheckType &CheckType, QString &Replacement)>;
using TWordPromptEvent = std::function<void(QObject *Sender, const QString &Word, bool Repeated)>;
using TReplaceWordEvent =
    std::function<void(QObject *Sender, bool Before, const QString &Replacement, qint32 State)>;
using TIgnoreWordEvent = std::function<void(QObject *Sender, bool Before, qint32 State)>;
using TUndoLastEvent = std::function<void(QObject *Sender, qint32 UndoState,
                                          TSpellAction UndoAction, qint32 UndoData)>;
using TCaseModificationEvent = std::function<void(QObject *Sender, QString &Word)>;
using TConfigBeforeLoadEvent = std::function<void(QObject *Sender, bool FirstLoad)>;
using TReadStringEvent =
    std::function<void(QObject *Sender, const QString &ConfigID, const QString &Key,
                       const QString &Default, QString &Value)>;
using TWriteStringEvent = std::function<void(QObject *Sender, const QString &ConfigID,
                                             const QString &Key, const QString &Value)>;
