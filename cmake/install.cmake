# What `make install` (cmake --install) puts where, and the files rendered for it:
# the icons from the program logo's SVG, the AppStream metainfo and the manual pages.
# The installed program finds its data as "../share/vlapi-viewer/" beside its own
# folder, so the tree can be installed under any prefix and moved as a whole.
include(GNUInstallDirs)

set(VL_APP_ID org.veldra_lang.VlapiViewer)
set(VL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vlapi-viewer)
set(VL_RELEASE_DATE 2026-12-08)  # the date of this version's release, as in debian/changelog
set(VL_PACKAGING_DIR ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(VL_GENERATED_DIR ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(STRINGS src/core/update/about_text.h VL_WEBSITE REGEX "kAboutWebsite\\[\\] = ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" VL_WEBSITE "${VL_WEBSITE}")

install(TARGETS vlapi-viewer vlapi-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES "data/RoruvUR EZU-RedIzir.ari" DESTINATION ${VL_DATA_DIR})
install(DIRECTORY data/sample-library Templates DESTINATION ${VL_DATA_DIR})
install(FILES ${VL_PACKAGING_DIR}/main-window.png DESTINATION ${VL_DATA_DIR}/screenshots)
install(FILES ${VL_PACKAGING_DIR}/${VL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The logo at the sizes of the icon theme, plus the source itself as the scalable one.
find_program(VL_RSVG_CONVERT rsvg-convert REQUIRED)
set(VL_LOGO_SVG ${CMAKE_CURRENT_SOURCE_DIR}/resources/src/logo.svg)
set(VL_ICON_FILES)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${VL_GENERATED_DIR}/icons/${size}/${VL_APP_ID}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VL_GENERATED_DIR}/icons/${size}
    COMMAND ${VL_RSVG_CONVERT} --width=${size} --height=${size} --format=png --output=${png} ${VL_LOGO_SVG}
    DEPENDS ${VL_LOGO_SVG}
    VERBATIM)
  list(APPEND VL_ICON_FILES ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(icons ALL DEPENDS ${VL_ICON_FILES})
install(FILES ${VL_LOGO_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VL_APP_ID}.svg)

# The screenshot's size goes into the metainfo, read from the PNG header.
file(READ ${VL_PACKAGING_DIR}/main-window.png VL_PNG_HEADER LIMIT 24 HEX)
string(SUBSTRING "${VL_PNG_HEADER}" 32 8 width_hex)
string(SUBSTRING "${VL_PNG_HEADER}" 40 8 height_hex)
math(EXPR VL_SCREENSHOT_WIDTH "0x${width_hex}")
math(EXPR VL_SCREENSHOT_HEIGHT "0x${height_hex}")
configure_file(${VL_PACKAGING_DIR}/${VL_APP_ID}.metainfo.xml.in ${VL_GENERATED_DIR}/${VL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${VL_GENERATED_DIR}/${VL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(page vlapi-viewer vlapi-tool)
  configure_file(${VL_PACKAGING_DIR}/${page}.1.in ${VL_GENERATED_DIR}/${page}.1 @ONLY)
  install(FILES ${VL_GENERATED_DIR}/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# `make uninstall`: removes what the last install wrote, from its manifest.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_CURRENT_BINARY_DIR}/install_manifest.txt
          -DDATA_DIR_NAME=vlapi-viewer -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/uninstall.cmake
  VERBATIM)
