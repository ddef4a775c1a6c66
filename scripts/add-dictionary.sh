#!/usr/bin/env bash
# Adds a main dictionary for another language, made from an installed Hunspell dictionary.
#
#   scripts/add-dictionary.sh [options] DICTIONARY
#
# DICTIONARY is a Hunspell dictionary name such as de_DE (looked up in /usr/share/hunspell, where
# Debian's hunspell-* packages put them) or the path of a .dic file with its .aff beside it.
# wdmc expands every prefix and suffix form and compiles them into "<name>.wdm" in the folder
# the program searches for dictionaries; the spelling options then offer it by its title.
#
# Options:
#   --title TITLE    the title shown in the spelling options (default: from the name, e.g.
#                    de_DE gives "German (Germany)")
#   --language ID    its Windows language identifier, decimal or 0x hex (default: from the name,
#                    e.g. de_DE gives 1031); the low byte picks the phonetic rules of suggestions
#                    (12 French, 25 Russian, 9 English, others a common table)
#   --folder DIR     where to write (default: the user's folder of an installed program,
#                    ${XDG_DATA_HOME:-~/.local/share}/linewright/Dictionaries; a program run
#                    from the build tree reads build/bin/Dictionaries instead)
#   --name FILE      the file name (default: the dictionary's name with .wdm, e.g. de_DE.wdm)
#   --wdmc PATH      the compiler (default: $WDMC, else build/bin/wdmc of this source tree, else
#                    wdmc on the PATH)
#   --force          replace an existing file of that name
#
# A dictionary too large for the format fails with the compiler's message and writes nothing.
set -euo pipefail

HUNSPELL_DIR=/usr/share/hunspell

# name|title|Windows language identifier
LANGUAGES='
af|Afrikaans|1078
af_ZA|Afrikaans (South Africa)|1078
bg|Bulgarian|1026
bg_BG|Bulgarian (Bulgaria)|1026
ca|Catalan|1027
ca_ES|Catalan (Spain)|1027
cs|Czech|1029
cs_CZ|Czech (Czech Republic)|1029
da|Danish|1030
da_DK|Danish (Denmark)|1030
de|German|1031
de_AT|German (Austria)|3079
de_BE|German (Belgium)|1031
de_CH|German (Switzerland)|2055
de_DE|German (Germany)|1031
de_LI|German (Liechtenstein)|5127
de_LU|German (Luxembourg)|4103
el|Greek|1032
el_GR|Greek (Greece)|1032
en|English|1033
en_AU|English (Australia)|3081
en_CA|English (Canada)|4105
en_GB|English (United Kingdom)|2057
en_IE|English (Ireland)|6153
en_NZ|English (New Zealand)|5129
en_US|English (United States)|1033
en_ZA|English (South Africa)|7177
es|Spanish|3082
es_AR|Spanish (Argentina)|11274
es_BO|Spanish (Bolivia)|16394
es_CL|Spanish (Chile)|13322
es_CO|Spanish (Colombia)|9226
es_CR|Spanish (Costa Rica)|5130
es_DO|Spanish (Dominican Republic)|7178
es_EC|Spanish (Ecuador)|12298
es_ES|Spanish (Spain)|3082
es_GT|Spanish (Guatemala)|4106
es_HN|Spanish (Honduras)|18442
es_MX|Spanish (Mexico)|2058
es_NI|Spanish (Nicaragua)|19466
es_PA|Spanish (Panama)|6154
es_PE|Spanish (Peru)|10250
es_PR|Spanish (Puerto Rico)|20490
es_PY|Spanish (Paraguay)|15370
es_SV|Spanish (El Salvador)|17418
es_US|Spanish (United States)|21514
es_UY|Spanish (Uruguay)|14346
es_VE|Spanish (Venezuela)|8202
et|Estonian|1061
et_EE|Estonian (Estonia)|1061
eu|Basque|1069
eu_ES|Basque (Spain)|1069
fi|Finnish|1035
fi_FI|Finnish (Finland)|1035
fr|French|1036
fr_BE|French (Belgium)|2060
fr_CA|French (Canada)|3084
fr_CH|French (Switzerland)|4108
fr_FR|French (France)|1036
fr_LU|French (Luxembourg)|5132
fr_MC|French (Monaco)|6156
gl|Galician|1110
gl_ES|Galician (Spain)|1110
he|Hebrew|1037
he_IL|Hebrew (Israel)|1037
hr|Croatian|1050
hr_HR|Croatian (Croatia)|1050
hu|Hungarian|1038
hu_HU|Hungarian (Hungary)|1038
is|Icelandic|1039
is_IS|Icelandic (Iceland)|1039
it|Italian|1040
it_CH|Italian (Switzerland)|2064
it_IT|Italian (Italy)|1040
lt|Lithuanian|1063
lt_LT|Lithuanian (Lithuania)|1063
lv|Latvian|1062
lv_LV|Latvian (Latvia)|1062
nb|Norwegian Bokmål|1044
nb_NO|Norwegian Bokmål (Norway)|1044
nl|Dutch|1043
nl_BE|Dutch (Belgium)|2067
nl_NL|Dutch (Netherlands)|1043
nn|Norwegian Nynorsk|2068
nn_NO|Norwegian Nynorsk (Norway)|2068
pl|Polish|1045
pl_PL|Polish (Poland)|1045
pt|Portuguese|2070
pt_BR|Portuguese (Brazil)|1046
pt_PT|Portuguese (Portugal)|2070
ro|Romanian|1048
ro_RO|Romanian (Romania)|1048
ru|Russian|1049
ru_RU|Russian (Russia)|1049
sk|Slovak|1051
sk_SK|Slovak (Slovakia)|1051
sl|Slovenian|1060
sl_SI|Slovenian (Slovenia)|1060
sv|Swedish|1053
sv_FI|Swedish (Finland)|2077
sv_SE|Swedish (Sweden)|1053
tr|Turkish|1055
tr_TR|Turkish (Turkey)|1055
uk|Ukrainian|1058
uk_UA|Ukrainian (Ukraine)|1058
'

die() {
  echo "add-dictionary: $*" >&2
  exit 1
}

usage() {
  sed -n '2,/^set -euo/p' "$0" | sed -e '/^set -euo/d' -e 's/^# \{0,1\}//' >&2
  exit 2
}

title="" language="" folder="" name="" wdmc="${WDMC:-}" force=0 source=""
while [ $# -gt 0 ]; do
  case "$1" in
    --title) [ $# -ge 2 ] || usage; title=$2; shift 2 ;;
    --language) [ $# -ge 2 ] || usage; language=$2; shift 2 ;;
    --folder) [ $# -ge 2 ] || usage; folder=$2; shift 2 ;;
    --name) [ $# -ge 2 ] || usage; name=$2; shift 2 ;;
    --wdmc) [ $# -ge 2 ] || usage; wdmc=$2; shift 2 ;;
    --force) force=1; shift ;;
    -h|--help) usage ;;
    -*) echo "add-dictionary: unknown option $1" >&2; usage ;;
    *) [ -z "$source" ] || usage; source=$1; shift ;;
  esac
done
[ -n "$source" ] || usage

# The .dic and .aff pair.
case "$source" in
  */*|*.dic) dic=${source%.dic}.dic ;;
  *) dic=$HUNSPELL_DIR/$source.dic ;;
esac
aff=${dic%.dic}.aff
[ -r "$dic" ] || die "no Hunspell dictionary $dic (Debian installs them with apt-get install hunspell-<language>)"
[ -r "$aff" ] || die "no affix file $aff beside $dic"
base=$(basename "$dic" .dic)

# Title and language from the name (de_DE, de_DE_frami, fr, ...), unless given.
lookup() {
  printf '%s\n' "$LANGUAGES" | awk -F'|' -v n="$1" -v f="$2" '$1 == n { print $f; exit }'
}
key=$base
if [ -z "$(lookup "$key" 2)" ]; then
  key=$(printf '%s' "$base" | sed -E 's/^([a-z]{2,3}(_[A-Z]{2})?).*$/\1/')
  [ -n "$(lookup "$key" 2)" ] || key=${key%%_*}
fi
[ -n "$title" ] || title=$(lookup "$key" 2)
[ -n "$language" ] || language=$(lookup "$key" 3)
[ -n "$title" ] && [ -n "$language" ] ||
  die "no title or language identifier known for \"$base\": give --title and --language"
case "$language" in
  0x*|0X*) [[ "$language" =~ ^0[xX][0-9a-fA-F]{1,8}$ ]] || die "bad language identifier $language"
           language=$((language)) ;;
  *) [[ "$language" =~ ^[0-9]{1,10}$ ]] && [ "$language" -le 4294967295 ] ||
       die "bad language identifier $language" ;;
esac

# The compiler.
if [ -z "$wdmc" ]; then
  here=$(cd "$(dirname "$0")/.." && pwd)
  if [ -x "$here/build/bin/wdmc" ]; then
    wdmc=$here/build/bin/wdmc
  elif command -v wdmc > /dev/null; then
    wdmc=$(command -v wdmc)
  else
    die "wdmc not found: build it (bash scripts/build.sh) or give --wdmc"
  fi
fi
[ -x "$wdmc" ] || die "$wdmc is not an executable"

# Where to.
[ -n "$folder" ] || folder=${XDG_DATA_HOME:-$HOME/.local/share}/linewright/Dictionaries
[ -n "$name" ] || name=$base.wdm
case "$name" in *.wdm) ;; *) name=$name.wdm ;; esac
case "$name" in */*) die "--name is a file name, not a path: $name" ;; esac
out=$folder/$name
if [ -e "$out" ] && [ "$force" -eq 0 ]; then
  die "$out exists; add --force to replace it"
fi
mkdir -p "$folder" || die "cannot create $folder"

# wdmc writes through a temporary file that it renames into place only on success.
start=$(date +%s%N)
"$wdmc" --hunspell "$dic" --aff "$aff" --title "$title" --language "$language" -o "$out" ||
  exit 1
ms=$((($(date +%s%N) - start) / 1000000))
printf 'add-dictionary: "%s" (language %s) is %s (%d.%d s); choose it in the spelling options.\n' \
  "$title" "$language" "$out" $((ms / 1000)) $((ms % 1000 / 100))
