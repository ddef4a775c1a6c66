#pragma once
// The interface strings of the spelling components: every caption, label, button, menu item,
// option name and message they show, by string identifier and interface language.
//
// QtCore only and kept beside the check session (not with the dialogs): the session itself
// fetches texts (end-of-check messages, the live menu), and it may not depend on a widget layer.
//
// Only English holds texts. Any other language finds none: lookups answer the empty string
// and the language fails the Office-style capability test. Texts carry no placeholders; "&"
// marks an accelerator, and the spaces around group captions are part of the text.
//
// The two enumerations are scoped: the thesaurus components declare interface strings and
// languages of their own under some of the same names.

#include <QString>
#include <QtGlobal>

enum class TSpellLanguageString : quint8 {
  lsLiveSpelling,                      // 0
  lsLiveCorrect,                       // 1
  lsIgnoreUpcase,                      // 2
  lsIgnoreNumbers,                     // 3
  lsHTML,                              // 4
  lsInternet,                          // 5
  lsQuoted,                            // 6
  lsAbbreviations,                     // 7
  lsPrimaryOnly,                       // 8
  lsRepeated,                          // 9
  lsDUalCaps,                          // 10
  lsConfirmation,                      // 11
  lsRemoveCustomDict,                  // 12
  lsIgnoreAllChangeAll,                // 13
  lsSpelling,                          // 14
  lsSpellingOptions,                   // 15
  lsDictionaries,                      // 16
  lsIgnoreAllChangeAllTitle,           // 17
  lsNewCustomTitle,                    // 18
  lsDlgNotFound,                       // 19
  lsDlgRepeatedWord,                   // 20
  lsDlgReplaceWith,                    // 21
  lsDlgSuggestions,                    // 22
  lsDlgUndo,                           // 23
  lsDlgOptions,                        // 24
  lsDlgIgnoreAll,                      // 25
  lsDlgIgnore,                         // 26
  lsDlgChangeAll,                      // 27
  lsDlgChange,                         // 28
  lsDlgAdd,                            // 29
  lsDlgAutoCorrect,                    // 30
  lsDlgHelp,                           // 31
  lsDlgCancel,                         // 32
  lsDlgResetDefaults,                  // 33
  lsDlgIgnoreOnce,                     // 34
  lsDlgUndoEdit,                       // 35
  lsDlgAddToDictionary,                // 36
  lsDlgOptionsLabel,                   // 37
  lsDlgDictionariesLabel,              // 38
  lsDlgName,                           // 39
  lsDlgFilename,                       // 40
  lsDlgCustomDictionary,               // 41
  lsDlgDictionaries,                   // 42
  lsDlgBrowseForMain,                  // 43
  lsDlgBrowseForMainTitle,             // 44
  lsDlgCustomDictionaries,             // 45
  lsDlgEdit,                           // 46
  lsDlgDelete,                         // 47
  lsDlgNew,                            // 48
  lsDlgOK,                             // 49
  lsDlgNewCustom,                      // 50
  lsDlgAddedWords,                     // 51
  lsDlgAddedWordsExplanation,          // 52
  lsDlgIgnoreThisWord,                 // 53
  lsDlgAutoCorrectPairs,               // 54
  lsDlgAutoCorrectPairsExplanation,    // 55
  lsDlgReplace,                        // 56
  lsDlgWith,                           // 57
  lsDlgExcludedWords,                  // 58
  lsDlgExcludedWordsExplanation,       // 59
  lsDlgExcludeThisWord,                // 60
  lsEndMessage,                        // 61
  lsWordsChecked,                      // 62
  lsEndSelectionMessage,               // 63
  lsMnNoSuggestions,                   // 64
  lsMnIgnore,                          // 65
  lsMnIgnoreAll,                       // 66
  lsMnAdd,                             // 67
  lsMnChangeAll,                       // 68
  lsMnAutoCorrect,                     // 69
  lsMnSpelling,                        // 70
  lsConfigLanguageOptions,             // 71
  lsConfigCustomDictionaryOptions,     // 72
  lsConfigGeneralOptions,              // 73
  lsConfigIgnoreOptions,               // 74
  lsConfigIgnoreUppercase,             // 75
  lsConfigIgnoreNumbers,               // 76
  lsConfigIgnoreHTML,                  // 77
  lsConfigIgnoreInternet,              // 78
  lsConfigIgnoreAbbreviations,         // 79
  lsConfigIgnoreQuoted,                // 80
  lsConfigSpellingErrorsEdit,          // 81
  lsConfigLanguageSettings,            // 82
  lsConfigChooseLanguage,              // 83
  lsConfigAdditionalDictionaries,      // 84
  lsConfigChooseAdditional,            // 85
  lsConfigLearnAboutMaking,            // 86
  lsConfigDownloadAdditional,          // 87
  lsConfigLanguageDictionary,          // 88
  lsConfigCustomDictionary,            // 89
  lsConfigMSWordCustomDictionary,      // 90
  lsEditCustomDictionaryLabel,         // 91
  lsConfigChooseCustomDictionary,      // 92
  lsConfigNewCustomDictionary,         // 93
  lsConfigModifyCustomDictionaryLabel, // 94
  lsDlgBrowseForMainButton,            // 95
  lsConfigSpellingOptions,             // 96
};
inline constexpr int SpellLanguageStringCount = 97;

enum class TSpellLanguageType : quint8 {
  ltEnglish,
  ltSwedish,
  ltBrPort,
  ltAfrikaans,
  ltGerman,
  ltSpanish,
  ltRussian,
  ltCzech,
  ltDutch,
  ltDanish,
  ltPolish,
  ltNorwegianBok,
  ltSerbianCyr,
  ltSerbianLat,
  ltFrench,
  ltItalian,
  ltEstonian,
  ltHebrew,
  ltCatalan,
  ltHungarian,
};
inline constexpr int SpellLanguageTypeCount = 20;

// The text of Id in Language: the first half of the table (identifiers 0 to 34), then the
// second; empty when neither has a text for the pair (also for values out of range).
QString GetLanguageString(TSpellLanguageString Id, TSpellLanguageType Language);

// True when Language has the texts of the Office-style dialogs (its
// lsConfigLearnAboutMaking text is not empty).
bool LanguageHasOfficeDialogTexts(TSpellLanguageType Language);
