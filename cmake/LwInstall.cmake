# Install rules and the Debian package (`cmake --install`, `cpack`).
#
#   bin/linewright, bin/linewright-spell
#   share/linewright/Dictionaries/        the shipped dictionaries, thesaurus and licence notices
#   share/applications/, share/metainfo/, share/icons/hicolor/, share/man/man1/
#   share/doc/linewright/                 copyright (machine-readable) and changelog.Debian.gz
#
# Installed, the program finds its shipped files from its own folder (bin/../share/linewright)
# and writes only into the user's XDG folders (TDataLayout in spell/engine/wrDataLayout.h); nothing
# here is written at run time. Included after every target is defined.

include(GNUInstallDirs)

set(LW_APP_ID org.linewright.Linewright)
set(LW_HOMEPAGE_URL "https://linewright.org" CACHE STRING "Home page named in the AppStream metainfo")
set(LW_SCREENSHOT_URL "${LW_HOMEPAGE_URL}/screenshots/main.png" CACHE STRING
    "Screenshot named in the AppStream metainfo (docs/screenshot-main.png, published)")
set(LW_RELEASE_DATE "2026-12-10" CACHE STRING "Release date of this version, for the metainfo")
set(LW_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/linewright)
# Debian names the folder after the package, not the project.
set(LW_INSTALL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/linewright)

# The program looks for its data folder relative to its own, so an installed tree can be moved
# (and tested in a temporary prefix). wrDataLayout.cpp defaults to the GNU layout below.
file(RELATIVE_PATH _lw_data_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${LW_INSTALL_DATA_DIR})
if(NOT _lw_data_from_bin STREQUAL "../share/linewright")
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/spell/engine/wrDataLayout.cpp DIRECTORY ${CMAKE_SOURCE_DIR}/spell/engine
               APPEND PROPERTY COMPILE_DEFINITIONS LW_DATA_FROM_BIN="${_lw_data_from_bin}")
endif()

target_compile_definitions(linewright PRIVATE LW_APP_ID="${LW_APP_ID}")

# --- Programs ---------------------------------------------------------------------------------------
install(TARGETS linewright RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET linewright-spell)
  install(TARGETS linewright-spell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The compilers' version notes (.comment) are of no use in an installed binary; Debian's own
# packaging tools drop them too.
if(CMAKE_OBJCOPY)
  install(CODE "
    foreach(_program linewright linewright-spell)
      set(_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${_program}\")
      if(EXISTS \"\${_file}\")
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment \"\${_file}\")
      endif()
    endforeach()")
endif()

# --- Shipped data: only the files the build makes, never what a run from the build tree wrote
# there (Spell.cfg, the developer's own custom dictionaries). ------------------------------------
set(_lw_shipped ${LW_DICTIONARY_DIR}/Autocorrect.wdu)
if(TARGET dictionary_aussie)
  list(APPEND _lw_shipped ${LW_DICTIONARY_DIR}/aussie.wdm ${LW_DICTIONARY_DIR}/aussie.wdp
                          ${LW_DICTIONARY_DIR}/aussie-copyright.txt)
endif()
if(TARGET dictionary_commonness)
  list(APPEND _lw_shipped ${LW_DICTIONARY_DIR}/aussie.wdf
                          ${LW_DICTIONARY_DIR}/aussie-commonness-copyright.txt)
endif()
if(TARGET thesaurus_wordnest)
  list(APPEND _lw_shipped ${LW_DICTIONARY_DIR}/Wordnest.wdt ${LW_DICTIONARY_DIR}/Wordnest-copyright.txt)
endif()
install(FILES ${_lw_shipped} DESTINATION ${LW_INSTALL_DATA_DIR}/Dictionaries)

# --- Desktop integration -----------------------------------------------------------------------------
set(_lw_desktop ${CMAKE_SOURCE_DIR}/desktop)
install(FILES ${_lw_desktop}/linewright.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${LW_APP_ID}.desktop)
configure_file(${_lw_desktop}/linewright.metainfo.xml.in ${CMAKE_BINARY_DIR}/desktop/${LW_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${LW_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_lw_desktop}/icons/linewright.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${LW_APP_ID}.svg)
foreach(_size 16 24 32 48 64 128 256)
  install(FILES ${_lw_desktop}/icons/linewright-${_size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps RENAME ${LW_APP_ID}.png)
endforeach()

# --- Manual pages, compressed as Debian keeps them ----------------------------------------------------
set(_lw_man_pages linewright)
if(TARGET linewright-spell)
  list(APPEND _lw_man_pages linewright-spell)
endif()
set(_lw_man_outputs)
foreach(_page ${_lw_man_pages})
  set(_in ${CMAKE_SOURCE_DIR}/docs/man/${_page}.1)
  set(_out ${CMAKE_BINARY_DIR}/man/${_page}.1.gz)
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9nc ${_in} > ${_out}
    DEPENDS ${_in}
    COMMENT "Compressing manual page ${_page}.1")
  list(APPEND _lw_man_outputs ${_out})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${_lw_man_outputs})
install(FILES ${_lw_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# --- Licence, copyright and changelog -----------------------------------------------------------------
# The machine-readable copyright file names each shipped data file's own licence; the notices come
# from data/'s provenance files, so the package and the data folder cannot disagree. A DEP-5
# licence text is indented by one space, with " ." for an empty line.
function(_lw_dep5_text out file)
  file(READ ${file} _text)
  string(REGEX REPLACE "[ \t]+\n" "\n" _text "${_text}")
  string(REGEX REPLACE "\n+$" "" _text "${_text}")
  string(REPLACE "\n" "\n " _text " ${_text}")
  string(REGEX REPLACE "\n \n" "\n .\n" _text "${_text}")
  string(REGEX REPLACE "\n \n" "\n .\n" _text "${_text}") # runs of empty lines
  set(${out} "${_text}" PARENT_SCOPE)
endfunction()

set(_lw_data_dir usr/${LW_INSTALL_DATA_DIR}/Dictionaries)
set(LW_COPYRIGHT_DATA_FILES "")
set(LW_COPYRIGHT_DATA_LICENSES "")
set(_lw_scowl_files)
if(TARGET dictionary_aussie)
  list(APPEND _lw_scowl_files ${_lw_data_dir}/aussie.wdm ${_lw_data_dir}/aussie.wdp)
endif()
if(TARGET dictionary_commonness)
  list(APPEND _lw_scowl_files ${_lw_data_dir}/aussie.wdf)
endif()
set(_lw_notices)
if(_lw_scowl_files)
  list(JOIN _lw_scowl_files "\n " _files)
  _lw_dep5_text(_notice ${CMAKE_SOURCE_DIR}/data/aussie/copyright)
  list(APPEND _lw_notices ${CMAKE_SOURCE_DIR}/data/aussie/copyright)
  string(APPEND LW_COPYRIGHT_DATA_FILES "
Files: ${_files}
Copyright: 2000-2011 Kevin Atkinson
 1993-1999 J Ross Beresford
 1997 Princeton University
 1993 Geoff Kuenning
License: SCOWL
Comment: Made from Debian's hunspell-en-au and scowl (SCOWL, Spell Checker
 Oriented Word Lists, http://wordlist.aspell.net/); see data/aussie/README.md
 and data/commonness/README.md in the source.
")
  string(APPEND LW_COPYRIGHT_DATA_LICENSES "
License: SCOWL
${_notice}
")
endif()
if(TARGET thesaurus_wordnest)
  _lw_dep5_text(_notice ${CMAKE_SOURCE_DIR}/data/thesaurus/copyright-mythes-en-au)
  list(APPEND _lw_notices ${CMAKE_SOURCE_DIR}/data/thesaurus/copyright-mythes-en-au)
  string(APPEND LW_COPYRIGHT_DATA_FILES "
Files: ${_lw_data_dir}/Wordnest.wdt
Copyright: 2005 Princeton University
License: WordNet-2.1
Comment: Made from Debian's mythes-en-au (WordNet 2.1, prepared for
 Australian English by Kelvin Eldridge); see data/thesaurus/README.md in the
 source.
")
  string(APPEND LW_COPYRIGHT_DATA_LICENSES "
License: WordNet-2.1
${_notice}
")
endif()
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_lw_notices})
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright DESTINATION ${LW_INSTALL_DOC_DIR})

# The Debian changelog, compressed as Debian keeps it. Its newest entry must name the version the
# package is built with, or apt and the changelog would disagree.
set(LW_PACKAGE_RELEASE 1)
set(_lw_changelog ${CMAKE_SOURCE_DIR}/packaging/changelog)
file(STRINGS ${_lw_changelog} _lw_changelog_top LIMIT_COUNT 1)
if(NOT _lw_changelog_top MATCHES "^linewright \\(${PROJECT_VERSION}-${LW_PACKAGE_RELEASE}\\) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry is not version "
                      "${PROJECT_VERSION}-${LW_PACKAGE_RELEASE}: ${_lw_changelog_top}")
endif()
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_lw_changelog})
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz
  COMMAND gzip -9nc ${_lw_changelog} > ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz
  DEPENDS ${_lw_changelog}
  COMMENT "Compressing the Debian changelog")
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz)
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz DESTINATION ${LW_INSTALL_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME linewright)

# --- Debian package: `cpack` in the build folder writes package/linewright_<version>_<arch>.deb --------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME linewright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Packaged apart from the sources: a Debian revision, so the changelog is changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE ${LW_PACKAGE_RELEASE})
set(CPACK_PACKAGE_VENDOR "The Linewright developers")
set(CPACK_PACKAGE_CONTACT "The Linewright developers <maintainers@linewright.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clean up and reshape short texts before pasting them")
# The extended description; cpack puts the summary above it and indents it.
set(CPACK_PACKAGE_DESCRIPTION "Linewright is a one-window desktop tool for tidying short pieces of text on
their way from one program to another: one-click line commands, plain-text
conversion, formatting, find and replace, live spell checking with Australian
English dictionaries, and a thesaurus.")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${LW_HOMEPAGE_URL})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Library dependencies come from the binaries (dpkg-shlibdeps); xdg-open starts the programs the
# window opens, and the icon theme holds our icon.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, hicolor-icon-theme")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
