# Install rules and the Debian package (`cmake --install`, `cpack`).
#
#   bin/linewright, bin/linewright-spell
#   share/linewright/Dictionaries/        the shipped dictionaries, thesaurus and licence notices
#   share/applications/, share/metainfo/, share/icons/hicolor/, share/man/man1/
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

# --- Debian package: `cpack` in the build folder writes package/linewright_<version>_<arch>.deb --------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME linewright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
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
