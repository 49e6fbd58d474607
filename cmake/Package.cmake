# The Debian package: `cpack -G DEB` in the build tree writes meldlux_<version>-1_<arch>.deb.
# Depends comes from dpkg-shlibdeps on the installed programs (Qt's xcb platform plugin ships in
# libqt6gui6, its sound backends in libqt6multimedia6, so both arrive with the libraries).
set(CPACK_PACKAGE_NAME meldlux)
set(CPACK_PACKAGE_VENDOR "Meldlux")
set(MELDLUX_MAINTAINER "Meldlux-Team <team@meldlux.de>")
set(CPACK_PACKAGE_CONTACT "${MELDLUX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Anzeige für BOS-Funkalarmierung (FMS, ZVEI, POCSAG)")
set(CPACK_PACKAGE_DESCRIPTION
    "Meldlux verbindet sich mit einem Decoder-Server und zeigt FMS-Status,\n"
    "ZVEI- und POCSAG-Alarmierungen in einer Leiste am Bildschirmrand,\n"
    "mit Tönen und Infobereich-Symbol.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The journal's SQLite driver is a plugin of Qt SQL, which dpkg-shlibdeps cannot see (the bridge's
# MQTT library libmosquitto1 is linked, so dpkg-shlibdeps names it); Qt's German texts for its own
# dialogs are data files it cannot see either, nor espeak-ng's German voice.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-translations-l10n, espeak-ng-data")
# The popup's design font is Arial; its metric twin keeps the layout. The decoder and the SDR
# tools make meldlux-multimon a receiver of its own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, multimon-ng, rtl-sdr")
# The Debian changelog, made from CHANGELOG.md at build time.
set(debian_changelog ${CMAKE_BINARY_DIR}/changelog.Debian)
add_custom_command(OUTPUT ${debian_changelog}.gz
  COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_SOURCE_DIR}/CHANGELOG.md -DOUT=${debian_changelog}
          -DMAINTAINER=${MELDLUX_MAINTAINER} -P ${CMAKE_SOURCE_DIR}/packaging/debian_changelog.cmake
  COMMAND ${MELDLUX_GZIP} -9nf ${debian_changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/packaging/debian_changelog.cmake
  VERBATIM)
add_custom_target(meldlux_debian_changelog ALL DEPENDS ${debian_changelog}.gz)
install(FILES ${debian_changelog}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
include(CPack)
