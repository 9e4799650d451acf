# `cmake --install build --prefix P`: the two programs under P/libexec/hemorune, a launcher for
# each in P/bin that runs it from the player's own directory, the generated run data under
# P/share/hemorune, and the desktop entry, icons, manual pages and README.
include(GNUInstallDirs)

set(HEMORUNE_INSTALL_LIBEXEC ${CMAKE_INSTALL_LIBEXECDIR}/hemorune)
set(HEMORUNE_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/hemorune)
set(HEMORUNE_ICON_SIZES 16 32 48 64 128 256)

install(TARGETS hemorune hemorune-wide RUNTIME DESTINATION ${HEMORUNE_INSTALL_LIBEXEC})

# The run data are the generated pictures, sounds, font and texts; the run directory also holds
# the programs and whatever high scores a game played there left behind, which stay out.
install(DIRECTORY ${HEMORUNE_RUN_DIR}/ DESTINATION ${HEMORUNE_INSTALL_DATA}
        FILES_MATCHING REGEX "\\.([Pp][Nn][Gg]|[Ww][Aa][Vv]|ttf|txt)$"
        PATTERN "hiscore.txt" EXCLUDE)

# The launchers find the programs and data relative to themselves, so the installed tree can be
# moved; an absolute install directory is used as it stands.
function(hemorune_launcher_path variable directory)
    if(IS_ABSOLUTE ${directory} OR IS_ABSOLUTE ${CMAKE_INSTALL_BINDIR})
        set(${variable} ${directory} PARENT_SCOPE)
    else()
        file(RELATIVE_PATH relative /${CMAKE_INSTALL_BINDIR} /${directory})
        set(${variable} "\$here/${relative}" PARENT_SCOPE)
    endif()
endfunction()
hemorune_launcher_path(HEMORUNE_LAUNCHER_LIBEXEC ${HEMORUNE_INSTALL_LIBEXEC})
hemorune_launcher_path(HEMORUNE_LAUNCHER_DATA ${HEMORUNE_INSTALL_DATA})
foreach(program hemorune hemorune-wide)
    set(HEMORUNE_PROGRAM ${program})
    configure_file(${CMAKE_SOURCE_DIR}/dist/launcher.sh.in
                   ${CMAKE_BINARY_DIR}/launchers/${program} @ONLY)
    install(PROGRAMS ${CMAKE_BINARY_DIR}/launchers/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# The icon is the game's own virus picture, drawn by the asset tool at each size.
set(icon_files)
foreach(size ${HEMORUNE_ICON_SIZES})
    set(icon ${CMAKE_BINARY_DIR}/icons/${size}x${size}/hemorune.png)
    add_custom_command(
        OUTPUT ${icon}
        COMMAND hemorune-assets icon ${icon} ${size}
        DEPENDS hemorune-assets
        COMMENT "Drawing the ${size}x${size} icon"
        VERBATIM)
    list(APPEND icon_files ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(icons ALL DEPENDS ${icon_files})

install(FILES ${CMAKE_SOURCE_DIR}/dist/hemorune.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/hemorune.6 ${CMAKE_SOURCE_DIR}/dist/hemorune-wide.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/hemorune)
