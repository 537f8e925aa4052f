# Installation and the Debian package. `cmake --install` and CPack's DEB
# generator (`cpack` in a build folder) install the same files:
#   bin/kurvaline
#   share/applications/kurvaline.desktop          desktop entry
#   share/mime/packages/kurvaline-mime.xml        document type of ".kvl"
#   share/icons/hicolor/scalable/apps/kurvaline.svg, and PNG pictures of it
#   share/icons/hicolor/<N>x<N>/apps/kurvaline.png for the sizes below
#   share/metainfo/org.example.kurvaline.metainfo.xml   software centre entry
#   share/man/man1/kurvaline.1.gz                 manual page (German)
#   share/bash-completion/completions/kurvaline
#   share/doc/kurvaline/copyright, changelog.gz
# Without the window (KV_GUI off) only the program is installed.
#
# The desktop, mime and icon caches are brought up to date by the triggers of
# desktop-file-utils, shared-mime-info and the icon theme, which watch these
# folders; the package itself runs nothing at installation.
include(GNUInstallDirs)
install(TARGETS kurvaline RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT KV_GUI)
  return()
endif()

set(KV_ICON_SIZES 16 32 48 64 128 256)
set(KV_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(KV_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)

add_executable(kv_render_icon ${KV_PACKAGING_DIR}/render_icon.cpp)
target_link_libraries(kv_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(KV_ICON_PNGS)
foreach(size ${KV_ICON_SIZES})
  list(APPEND KV_ICON_PNGS ${KV_PACKAGING_OUT}/icons/${size}x${size}/apps/kurvaline.png)
endforeach()
add_custom_command(OUTPUT ${KV_ICON_PNGS}
                   COMMAND kv_render_icon ${PROJECT_SOURCE_DIR}/resources/kurvaline.svg
                           ${KV_PACKAGING_OUT}/icons ${KV_ICON_SIZES}
                   DEPENDS kv_render_icon ${PROJECT_SOURCE_DIR}/resources/kurvaline.svg
                   COMMENT "Drawing the icon as PNG pictures")

# Debian's changelog of a package built from this tree: one entry, for the
# project version, dated by SOURCE_DATE_EPOCH when set.
string(TIMESTAMP KV_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${KV_PACKAGING_DIR}/changelog.in ${KV_PACKAGING_OUT}/changelog @ONLY)
set(KV_GZIPPED ${KV_PACKAGING_OUT}/kurvaline.1.gz ${KV_PACKAGING_OUT}/changelog.gz)
add_custom_command(OUTPUT ${KV_GZIPPED}
                   COMMAND gzip -9nc ${KV_PACKAGING_DIR}/kurvaline.1 > ${KV_PACKAGING_OUT}/kurvaline.1.gz
                   COMMAND gzip -9nc ${KV_PACKAGING_OUT}/changelog > ${KV_PACKAGING_OUT}/changelog.gz
                   DEPENDS ${KV_PACKAGING_DIR}/kurvaline.1 ${KV_PACKAGING_OUT}/changelog
                   VERBATIM)
add_custom_target(kv_package_files ALL DEPENDS ${KV_ICON_PNGS} ${KV_GZIPPED})

install(FILES ${PROJECT_SOURCE_DIR}/resources/kurvaline.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/kurvaline-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/resources/kurvaline.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${KV_PACKAGING_OUT}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${KV_PACKAGING_DIR}/org.example.kurvaline.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KV_PACKAGING_OUT}/kurvaline.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${KV_PACKAGING_DIR}/kurvaline.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kurvaline)
install(FILES ${KV_PACKAGING_DIR}/copyright ${KV_PACKAGING_OUT}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kurvaline)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kurvaline)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kurvaline <kurvaline@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://kurvaline.example.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries: the window needs a platform plugin of the toolkit and
# the font families the graph is drawn with (graph/fonts.h).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The English synopsis, then the long description in English and German.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "function plotter with a German user interface")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${KV_PACKAGING_DIR}/description.txt)
include(CPack)

# The package is made from the optimised build with the window; the sanitized
# one and the one without Qt are not packed.
if(KV_TESTS AND KV_GUI AND NOT KV_SANITIZE)
  add_test(NAME package_deb
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/packaging/package_test.sh
                   ${PROJECT_BINARY_DIR} ${PROJECT_VERSION} $<TARGET_FILE:kurvaline>)
  set_tests_properties(package_deb PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)
endif()
