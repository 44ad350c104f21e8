# Install layout and the Debian package: the client, its desktop entry and its icon.
include(GNUInstallDirs)

# Packaging and installing use what is built and never build it: otherwise cpack would first
# build every test and benchmark of the tree (its preinstall step depends on all).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS korvane RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

set(_korvane_icon_dir "${PROJECT_SOURCE_DIR}/assets/icon")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/korvane.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${_korvane_icon_dir}/korvane.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
# The rendered sizes are committed beside the drawing; a size missing there fails the install.
foreach(size 16 24 32 48 64 128 256 512)
  install(FILES "${_korvane_icon_dir}/hicolor/${size}x${size}/apps/korvane.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()

if(KORVANE_CA_BUNDLE)
  message(STATUS "Korvane: this build trusts only ${KORVANE_CA_BUNDLE}; "
                 "packages for other machines come from the package preset (system CA store)")
endif()

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "korvane")
set(CPACK_PACKAGE_VENDOR "Korvane")
set(CPACK_PACKAGE_CONTACT "Korvane developers <dev@korvane.test>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop client of the Korvane network mapping service")
set(CPACK_PACKAGE_DESCRIPTION "Signs in to the Korvane account service, creates accounts proven \
by a verification code sent by SMS or e-mail, and shows the service dashboard.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "net")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Shared-library dependencies come from dpkg-shlibdeps; the font is loaded at run time, so no
# tool can find it in the binary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei")

include(CPack)
