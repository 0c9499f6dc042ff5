# Installing like a desktop program, and the Debian package made from it.
# Layout under the prefix: bin/ the programs; lib/<arch>/quorvane/ the store
# library, private to them (found through RUNPATH); share/quorvane/ language
# tables and help, read before the copies built into the programs; desktop
# entries, icons, the file type, AppStream data and the manual page where
# desktops look for them.
include(GNUInstallDirs)

set(QVS_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/quorvane)
set(QVS_PROGRAMS QVS qvs-cli qvs-clip qvs-proxy)
if(TARGET QVSLite)
    list(APPEND QVS_PROGRAMS QVSLite)
endif()
foreach(program ${QVS_PROGRAMS})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/../${QVS_PRIVATE_LIBDIR}")
endforeach()
install(TARGETS ${QVS_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS ardeko LIBRARY DESTINATION ${QVS_PRIVATE_LIBDIR} NAMELINK_SKIP)

set(desktop ${PROJECT_SOURCE_DIR}/resources/desktop)
set(share ${CMAKE_INSTALL_DATADIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/lang ${PROJECT_SOURCE_DIR}/resources/help
        DESTINATION ${share}/quorvane)
install(FILES ${desktop}/org.quorvane.QVS.desktop DESTINATION ${share}/applications)
if(TARGET QVSLite)
    install(FILES ${desktop}/org.quorvane.QVSLite.desktop DESTINATION ${share}/applications)
endif()
install(FILES ${desktop}/org.quorvane.qvs.mime.xml DESTINATION ${share}/mime/packages)
# Where bash-completion loads it when qvs-cli is first completed.
install(FILES ${desktop}/qvs-cli.bash DESTINATION ${share}/bash-completion/completions
        RENAME qvs-cli)

# Files that carry the version.
foreach(file org.quorvane.QVS.metainfo.xml qvs-cli.1)
    configure_file(${desktop}/${file} ${PROJECT_BINARY_DIR}/desktop/${file} @ONLY)
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/desktop/org.quorvane.QVS.metainfo.xml
        DESTINATION ${share}/metainfo)
install(FILES ${PROJECT_BINARY_DIR}/desktop/qvs-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The program icon: scalable, and bitmaps of the usual sizes rendered from it.
set(icon ${PROJECT_SOURCE_DIR}/resources/icons/qvs.svg)
install(FILES ${icon} DESTINATION ${share}/icons/hicolor/scalable/apps
        RENAME org.quorvane.QVS.svg)
add_executable(render_icon ${PROJECT_SOURCE_DIR}/resources/render_icon.cpp)
target_link_libraries(render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(pngs)
foreach(size 16 24 32 48 64 128 256)
    set(png ${PROJECT_BINARY_DIR}/icons/${size}/org.quorvane.QVS.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}
        COMMAND render_icon ${icon} ${size} ${png}
        DEPENDS render_icon ${icon} VERBATIM)
    list(APPEND pngs ${png})
    install(FILES ${png} DESTINATION ${share}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(program_icons ALL DEPENDS ${pngs})

# cpack -G DEB: dependencies come from dpkg-shlibdeps; the private store
# library is looked up where this package puts it.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_CONTACT "Quorvane developers <quorvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Personal password manager")
set(CPACK_PACKAGE_DESCRIPTION
    "QVS keeps accounts with their user names, passwords, web addresses and expiry dates in password-protected files, filed under categories and subcategories. qvs-cli reads and writes those files from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The icons are SVG drawings, read through the plugins of Qt SVG. libpsl5
# (also found by the library scan) tells registrable domains for matching
# entries to web pages; Debian's publicsuffix keeps its list newer than the
# one built into the library. qt6-wayland lets the programs run natively on
# Wayland desktops (GNOME, KDE Plasma, sway) rather than through XWayland.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libpsl5, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/store)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, publicsuffix")
include(CPack)
