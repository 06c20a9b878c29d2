# What an installation holds, and the Debian package made from it. The files shipped with
# the program are also copied beside the executable, so a wizard run from the build tree
# finds them where an installed one finds them in share/drxwizard.

include(GNUInstallDirs)

set(DRX_APP_ID com.vorlund.drxwizard)
set(DRX_DESKTOP_DIR "${CMAKE_SOURCE_DIR}/data/desktop")
set(DRX_PRINT_PAGE "${CMAKE_SOURCE_DIR}/data/DRXWizard_Print_Page.html")
set(DRX_SAMPLES_DIR "${CMAKE_SOURCE_DIR}/data/samples")
file(GLOB DRX_SAMPLES CONFIGURE_DEPENDS "${DRX_SAMPLES_DIR}/*.21w" "${DRX_SAMPLES_DIR}/*.21v")

# --- Beside the executable in the build tree --------------------------------
set(_staged "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/DRXWizard_Print_Page.html")
set(_staged_samples)
foreach(sample ${DRX_SAMPLES})
    get_filename_component(_name "${sample}" NAME)
    list(APPEND _staged_samples "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/samples/${_name}")
endforeach()
add_custom_command(OUTPUT "${_staged}" ${_staged_samples}
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/samples"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${DRX_PRINT_PAGE}" "${_staged}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${DRX_SAMPLES} "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/samples"
    DEPENDS "${DRX_PRINT_PAGE}" ${DRX_SAMPLES}
    COMMENT "Copying the print page and the sample designs beside the executable")
add_custom_target(drx_shipped_data DEPENDS "${_staged}" ${_staged_samples})
add_dependencies(DRXWizard drx_shipped_data)

# --- Installation (FHS) ------------------------------------------------------
# `cmake --install` and the package take what was built; they never start a build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS DRXWizard RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
if(TARGET drxwizard-cli)
    install(TARGETS drxwizard-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endif()

set(DRX_INSTALL_SHARE "${CMAKE_INSTALL_DATADIR}/drxwizard")
install(FILES "${DRX_PRINT_PAGE}" DESTINATION "${DRX_INSTALL_SHARE}")
install(FILES ${DRX_SAMPLES} DESTINATION "${DRX_INSTALL_SHARE}/samples")

install(FILES "${DRX_DESKTOP_DIR}/${DRX_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${DRX_DESKTOP_DIR}/${DRX_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${DRX_DESKTOP_DIR}/${DRX_APP_ID}.mime.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
        RENAME "${DRX_APP_ID}.xml")
foreach(size 48 64 128 256)
    install(FILES "${DRX_DESKTOP_DIR}/icons/${DRX_APP_ID}-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps" RENAME "${DRX_APP_ID}.png")
endforeach()
install(FILES "${DRX_DESKTOP_DIR}/icons/${DRX_APP_ID}.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES "${CMAKE_SOURCE_DIR}/README.md" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/drxwizard")

# --- Debian package: cpack -G DEB in the build tree --------------------------
set(CPACK_PACKAGE_NAME drxwizard)
set(CPACK_PACKAGE_VENDOR "Vorlund Technologies")
set(CPACK_PACKAGE_CONTACT "Vorlund Technologies <support@vorlund.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design tool for the DRX flown line array")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
 DRX Wizard assembles a DRX line array under its flybar, computes how every
 cabinet hangs, the centre of gravity and array angle for every pick pin, the
 aim lines and the predicted sound pressure level along the audience surfaces
 of a venue, and draws it all in one window. drxwizard-cli runs the same engine
 on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# Libraries the program links are found by dpkg-shlibdeps. JUCE opens the X11 ones at run
# time, and finds its fonts through /etc/fonts/fonts.conf (fontconfig-config, which also
# brings a font).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libx11-6, libxext6, libxrandr2, libxinerama1, libxcursor1, libxrender1, fontconfig-config")
# Opens the print page in the browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
