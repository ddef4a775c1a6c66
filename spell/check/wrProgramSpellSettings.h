#pragma once
// The values this program gives every check session it sets up: the main window's spell
// component, linewright-spell and any later front end over the same dictionaries call
// ApplyProgramSpellSettings right after constructing their session, so that they open the same
// files with the same options and answer the same suggestions.
//
// Only session-level properties are set (configuration file and folders, default dictionaries,
// offered options, learning, phonetic search, dialog commands, correction order, language);
// what only a window has (dialog types, fonts, live spelling switches, UIType) stays with the
// window. Nothing is read from disk here: the configuration still loads at the first word test.
// A front end may override a value afterwards (linewright-spell's --config, for example).

class TWrightSpellBase;

void ApplyProgramSpellSettings(TWrightSpellBase &Spell);
