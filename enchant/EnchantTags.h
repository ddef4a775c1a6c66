#pragma once
// Language tags for main dictionaries. A dictionary named like a tag ("de_DE.wdm") serves that
// tag; any other ("aussie.wdm") serves the tag of its Windows language identifier (3081:
// "en_AU"). The table is the one scripts/add-dictionary.sh titles dictionaries from, compiled in.

#include <QString>
#include <QtGlobal>

// Tag for a dictionary file name (folder and ".wdm" allowed) and its language identifier; empty
// when neither tells one.
QString EnchantTagFor(const QString &Filename, quint32 Language);

// Enchant's spelling of a tag ("en-au", "en_AU.UTF-8") brought to "en_AU".
QString NormalizeEnchantTag(const QString &Tag);
