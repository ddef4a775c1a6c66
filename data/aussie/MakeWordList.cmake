# Expands a Hunspell dictionary (.dic + .aff) to the full list of word forms, one a line.
#
#   cmake -DUNMUNCH=<unmunch> -DDIC=<file.dic> -DAFF=<file.aff> -DOUT=<words.txt>
#         [-DEXTRA=<list>[;<list>...]] -P MakeWordList.cmake
#
# EXTRA lists (one word a line, '#' starts a comment line) are appended as they are: the
# program's own words (data/product/), kept apart so the Hunspell source stays as Debian ships it.
#
# unmunch applies every prefix and suffix rule, but knows nothing of the flags that restrict where
# a stem may stand: stems marked ONLYINCOMPOUND ("1th", "2th" in en_AU) are only valid inside
# compounds and are dropped here. Affix files that use other restricting flags are refused rather
# than expanded into words the dictionary does not accept.

foreach(_v UNMUNCH DIC AFF OUT)
  if(NOT DEFINED ${_v})
    message(FATAL_ERROR "MakeWordList.cmake: ${_v} is not set")
  endif()
endforeach()

file(READ ${AFF} _aff)
foreach(_flag NEEDAFFIX PSEUDOROOT FORBIDDENWORD CIRCUMFIX KEEPCASE)
  if(_aff MATCHES "(^|\n)${_flag}[ \t]")
    message(FATAL_ERROR "${AFF} uses ${_flag}, which this expansion does not handle")
  endif()
endforeach()
if(_aff MATCHES "(^|\n)FLAG[ \t]")
  message(FATAL_ERROR "${AFF} uses multi-character flags, which this expansion does not handle")
endif()

execute_process(COMMAND ${UNMUNCH} ${DIC} ${AFF}
  OUTPUT_VARIABLE _forms ERROR_VARIABLE _log RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "unmunch failed (${_rc}): ${_log}")
endif()
set(_forms "\n${_forms}\n")

# Stems carrying the ONLYINCOMPOUND flag.
if(_aff MATCHES "(^|\n)ONLYINCOMPOUND[ \t]+([^ \t\n])")
  set(_onlyFlag "${CMAKE_MATCH_2}")
  file(READ ${DIC} _dic)
  string(REGEX MATCHALL "\n[^\n/]+/[^\n]*" _flagged "${_dic}")
  foreach(_entry ${_flagged})
    string(REGEX REPLACE "^\n([^/]+)/([^ \t]*).*$" "\\1;\\2" _parts "${_entry}")
    list(GET _parts 0 _stem)
    list(GET _parts 1 _flags)
    string(FIND "${_flags}" "${_onlyFlag}" _at)
    if(_at GREATER -1)
      string(REPLACE "\n${_stem}\n" "\n" _forms "${_forms}")
      list(APPEND _dropped ${_stem})
    endif()
  endforeach()
endif()

string(REGEX REPLACE "\n\n+" "\n" _forms "${_forms}")
string(REGEX REPLACE "^\n" "" _forms "${_forms}")
if(_forms MATCHES "[/ \t\r]")
  message(FATAL_ERROR "unmunch output of ${DIC} holds flags or white space inside words")
endif()
string(REGEX MATCHALL "\n" _lines "${_forms}")
list(LENGTH _lines _count)
if(_count LESS 1000)
  message(FATAL_ERROR "unmunch gave only ${_count} forms for ${DIC}")
endif()

set(_extraCount 0)
foreach(_list ${EXTRA})
  file(STRINGS ${_list} _words ENCODING UTF-8)
  foreach(_word ${_words})
    if(_word STREQUAL "" OR _word MATCHES "^#")
      continue()
    endif()
    if(_word MATCHES "[/ \t\r]")
      message(FATAL_ERROR "${_list}: \"${_word}\" is not one word")
    endif()
    string(APPEND _forms "${_word}\n")
    math(EXPR _extraCount "${_extraCount} + 1")
  endforeach()
endforeach()
file(WRITE ${OUT} "${_forms}")
message(STATUS "${OUT}: ${_count} word forms (dropped compound-only stems: ${_dropped}), "
               "${_extraCount} added from ${EXTRA}")
