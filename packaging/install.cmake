# What `cmake --install` puts where, and the Debian package `cpack -G DEB`
# makes from the same rules. Included from the top-level CMakeLists.txt so
# that CPack's configuration lands in the build directory.

# libvarshim.so serves only vell: it goes into a directory of its own,
# found through the program's run path (set on the target).
set(VELL_PRIVATE_LIBDIR lib/vell)
install(TARGETS vell RUNTIME DESTINATION bin)
install(TARGETS varshim LIBRARY DESTINATION ${VELL_PRIVATE_LIBDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/vell.desktop DESTINATION share/applications)

# The icon is drawn as a 16x16 XPM and scaled 3x, pixel for pixel, into the
# 48x48 PNG; the date chunks are left out so that every build gives the
# same bytes.
find_program(VELL_CONVERT convert)
if(NOT VELL_CONVERT)
  message(FATAL_ERROR "ImageMagick's convert is needed to make the icon (Debian package imagemagick)")
endif()
set(VELL_ICON ${CMAKE_BINARY_DIR}/vell.png)
add_custom_command(OUTPUT ${VELL_ICON}
  COMMAND ${VELL_CONVERT} ${CMAKE_SOURCE_DIR}/packaging/vell.xpm -scale 300% -strip
          -define png:exclude-chunks=date,time ${VELL_ICON}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/vell.xpm
  COMMENT "Drawing the 48x48 icon")
add_custom_target(vell_icon ALL DEPENDS ${VELL_ICON})
install(FILES ${VELL_ICON} DESTINATION share/icons/hicolor/48x48/apps)

set(CPACK_PACKAGE_NAME vell)
set(CPACK_PACKAGE_VENDOR "Vell developers")
set(CPACK_PACKAGE_CONTACT "Vell developers <vell@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard-only raster paint and animation sketching program")
set(CPACK_PACKAGE_DESCRIPTION
    "Vell paints pictures of several layers with ten keyboard pointers, magnifies\nthem through a lens, records and replays key sequences, and saves numbered\nanimation frames. Every command is a key.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Depends is worked out from the libraries the program and libvarshim.so
# link against; libvarshim.so itself is part of the package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
include(CPack)
