# What the Debian package installs, and how CPack builds it. The forms,
# schema and delivered pictures are compiled into the program (Qt
# resources); a desk's data goes to the user's data folder
# (~/.local/share/HeShuo/billprint), never under /usr.
include(GNUInstallDirs)

install(TARGETS billprint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/billprint.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/billprint-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME billprint.xml)

# The desktop icon at the hicolor sizes, drawn like the windows' icon.
add_executable(billprint_icongen tools/icongen/main.cpp)
target_link_libraries(billprint_icongen PRIVATE billprint_core)
set(BILLPRINT_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
add_custom_command(
  OUTPUT ${BILLPRINT_ICON_DIR}/hicolor/scalable/apps/billprint.svg
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:billprint_icongen> ${BILLPRINT_ICON_DIR}
  DEPENDS billprint_icongen
  COMMENT "Drawing the desktop icons")
add_custom_target(billprint_icons ALL DEPENDS ${BILLPRINT_ICON_DIR}/hicolor/scalable/apps/billprint.svg)
install(DIRECTORY ${BILLPRINT_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# /usr/share/doc/billprint: the copyright in Debian's machine-readable form
# and the changelog; the manual page. The version has no Debian revision (a
# native package), so the changelog is changelog.gz.
set(BILLPRINT_DOC_BUILD_DIR ${CMAKE_BINARY_DIR}/doc)
set(BILLPRINT_CHANGELOG_GZ ${BILLPRINT_DOC_BUILD_DIR}/changelog.gz)
set(BILLPRINT_MANPAGE_GZ ${BILLPRINT_DOC_BUILD_DIR}/billprint.1.gz)
add_custom_command(
  OUTPUT ${BILLPRINT_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BILLPRINT_DOC_BUILD_DIR}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_SOURCE_DIR}/packaging/changelog
          -DOUTPUT=${BILLPRINT_CHANGELOG_GZ} -DCHANGELOG_VERSION=${PROJECT_VERSION}
          -P ${CMAKE_SOURCE_DIR}/cmake/gzip_doc.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog ${CMAKE_SOURCE_DIR}/cmake/gzip_doc.cmake
  COMMENT "Compressing the package changelog")
add_custom_command(
  OUTPUT ${BILLPRINT_MANPAGE_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BILLPRINT_DOC_BUILD_DIR}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_SOURCE_DIR}/packaging/billprint.1
          -DOUTPUT=${BILLPRINT_MANPAGE_GZ} -P ${CMAKE_SOURCE_DIR}/cmake/gzip_doc.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/billprint.1 ${CMAKE_SOURCE_DIR}/cmake/gzip_doc.cmake
  COMMENT "Compressing the manual page")
add_custom_target(billprint_docs ALL DEPENDS ${BILLPRINT_CHANGELOG_GZ} ${BILLPRINT_MANPAGE_GZ})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${BILLPRINT_CHANGELOG_GZ}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/billprint)
install(FILES ${BILLPRINT_MANPAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Symbols resolved at load time and the relocations read-only afterwards,
# as Debian links its programs (only the link of the program changes).
target_link_options(billprint PRIVATE -Wl,-z,relro -Wl,-z,now)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME billprint)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "billprint developers <billprint@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Prints Chinese business bills on pre-printed forms")
# One string: separate arguments would be joined with semicolons.
set(CPACK_PACKAGE_DESCRIPTION "Fills and prints cheques (支票), deposit slips (进账单), cash payment slips (缴款单)
and express waybills (快递单) on pre-printed forms, singly or from a list,
keeps the issued bills and an address book, and exchanges templates as .tpk
packages.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# billprint_<version>_amd64.deb
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries dpkg-shlibdeps finds: what the program loads by
# name (Qt's SQLite driver), the CJK font the bills are printed in and
# OpenCC's conversion tables.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-noto-cjk, libopencc-data")
# Qt's own dialogs in Chinese; the driver for an office's shared database.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
