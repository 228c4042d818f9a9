# What `cmake --install` puts under the prefix (the programs themselves are
# installed by src/app and src/aacenc), and the Debian package CPack makes of
# it (scripts/package). Nothing here needs a tool beyond gzip at build time:
# the icon's PNG renders are kept in data/icons.

# Installed folders are rwxr-xr-x whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Copies of the bundled colour schemes and of the example radio base, for
# the user to read; the program carries its own inside.
install(DIRECTORY data/themes/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orve/themes FILES_MATCHING PATTERN "*.thd")
install(FILES data/rbase.dbm DESTINATION ${CMAKE_INSTALL_DATADIR}/orve)

# The menu entry, its icon and the software centres' description.
install(FILES data/orve.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/orve.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/orve.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES data/icons/hicolor/${size}x${size}/orve.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages, compressed as Debian wants them (gzip -9n: no name, no time).
set(orve_man_pages)
foreach(page orve.1 orve-aacenc.1)
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/data/${page} ${gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/data/${page}
    COMMENT "Compressing the manual page ${page}"
    VERBATIM)
  list(APPEND orve_man_pages ${gz})
endforeach()
add_custom_target(orve_man_pages ALL DEPENDS ${orve_man_pages})
install(FILES ${orve_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES data/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orve)

# --- the Debian package: cpack -G DEB in a Release build (scripts/package) ---
set(ORVE_DEB_RELEASE 1)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(ORVE_DEB_VERSION ${PROJECT_VERSION}-${ORVE_DEB_RELEASE})
# The package's own changelog (/usr/share/doc/orve/changelog.Debian.gz) and
# lintian overrides: only the package has them (CPACK_INSTALL_SCRIPTS run in
# CPack's staging only).
configure_file(data/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
set(ORVE_DEB_CHANGELOG ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
add_custom_command(OUTPUT ${ORVE_DEB_CHANGELOG}
  COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${CMAKE_BINARY_DIR}/debian/changelog ${ORVE_DEB_CHANGELOG}
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog
  VERBATIM)
add_custom_target(orve_deb_changelog ALL DEPENDS ${ORVE_DEB_CHANGELOG})
configure_file(cmake/DebPackageFiles.cmake.in ${CMAKE_BINARY_DIR}/debian/DebPackageFiles.cmake @ONLY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orve)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ORVE developers")
set(CPACK_PACKAGE_CONTACT "ORVE developers <maintainers@orve-player.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skinned audio player for music files and internet radio")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://orve-player.example")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_SCRIPTS ${CMAKE_BINARY_DIR}/debian/DebPackageFiles.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # orve_<version>-<release>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ORVE_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ORVE developers <maintainers@orve-player.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary above this text.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "ORVE is a desktop audio player for one listener, with windows of its own
look: a main window, an equalizer and a playlist that dock to each other and
to the screen's edges. Its texts are Russian.
.
It plays MP3, MP2, MP1, WAV, Ogg Vorbis, Opus, FLAC, AIFF, AAC, MP4, M4A and
WMA files and internet radio over HTTP and HTTPS, shapes the sound with a
16-band equalizer and seven effects, converts entries to WAV, MP3, Ogg Vorbis
and AAC, and keeps a music base and a radio base of its own.")
# The libraries it links, found by dpkg-shlibdeps; the SQLite driver of Qt
# SQL (the measurement cache) is a plugin, loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# The encoders conversions run (lame, oggenc), Qt's own dialogs in Russian,
# the skin's font, and ALSA's way into a sound server.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "lame, vorbis-tools, qt6-translations-l10n, fonts-crosextra-carlito, libasound2-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pipewire-pulse | pulseaudio")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
