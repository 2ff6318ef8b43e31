# What `cmake --install` and `cpack -G DEB` put on a desktop: the program, its help, its desktop
# entry, icons, software-centre data and manual page, under the names the desktop looks for
# (org.vantrel.Vantrel).
set(VANTREL_APP_ID org.vantrel.Vantrel)
set(data_out ${CMAKE_BINARY_DIR}/data)
file(MAKE_DIRECTORY ${data_out})

# The release's version goes into the software-centre data and the manual page.
configure_file(${CMAKE_SOURCE_DIR}/data/${VANTREL_APP_ID}.metainfo.xml ${data_out}/${VANTREL_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/vantrel.1 ${data_out}/vantrel.1 @ONLY)

# Compressed without a time stamp, so that the same sources make the same package.
add_custom_command(OUTPUT ${data_out}/vantrel.1.gz ${data_out}/changelog.gz
  COMMAND gzip -9nc ${data_out}/vantrel.1 > ${data_out}/vantrel.1.gz
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/data/changelog > ${data_out}/changelog.gz
  DEPENDS ${data_out}/vantrel.1 ${CMAKE_SOURCE_DIR}/data/changelog VERBATIM)

# The theme's PNG sizes, drawn by our own icon program at each size.
set(icon_sizes 16 32 48 64 128 256)
add_executable(vantrel-icon ${CMAKE_SOURCE_DIR}/tools/icon/main.cpp)
target_link_libraries(vantrel-icon PRIVATE vt_graphics)
set(icon_pngs)
foreach(size IN LISTS icon_sizes)
  set(png ${data_out}/icons/${size}x${size}/${VANTREL_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${data_out}/icons/${size}x${size}
    COMMAND vantrel-icon ${size} ${png}
    DEPENDS vantrel-icon VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(vantrel-data ALL DEPENDS ${icon_pngs} ${data_out}/vantrel.1.gz ${data_out}/changelog.gz)

install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/help/vantrel.html data/copyright ${data_out}/changelog.gz DESTINATION ${VANTREL_INSTALL_DOCDIR})
install(FILES data/${VANTREL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/vantrel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VANTREL_APP_ID}.svg)
install(FILES ${data_out}/${VANTREL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${data_out}/vantrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# cpack -G DEB (from the build folder) makes vantrel_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vantrel developers")
set(CPACK_PACKAGE_CONTACT "Vantrel developers <dev@vantrel.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vantrel developers <dev@vantrel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen ruler that measures anything on the screen in pixels")
# CPack puts the summary first and indents these lines, an empty one becoming " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vantrel shows a borderless strip graduated in screen pixels that floats over
every window. Lay it over anything on the screen and read distances off its
ticks; its caption always shows the reading of the pixel under the mouse.

Around the strip it offers a cross ruler with the angle to the mouse, a mouse
loupe that enlarges the pixels under the pointer and reads their position,
distances and colour, a lens, other units than pixels (millimetres, inches,
points) and a tray icon.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vantrel.org")
# The menu's Help opens the help document with xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
include(CPack)
