# Linux: Qt's widgets for the runtime, POSIX and Qt for the system.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets DBus)
find_package(PkgConfig REQUIRED)
pkg_check_modules(PULSE_SIMPLE REQUIRED IMPORTED_TARGET libpulse-simple)
if(BUILD_TESTING)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Test)
endif()
# Only the Qt targets need the meta-object and resource compilers.
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

# The chime is played by a helper program beside the executable, one process per warning:
# the program itself never loads an audio library. Plain C++ and PulseAudio's simple API
# (served by PulseAudio and by PipeWire alike), so it starts in milliseconds.
add_executable(vestrel_chime chime/vestrel_chime.cpp)
target_link_libraries(vestrel_chime PRIVATE vestrel_chime_protocol vestrel_posix vestrel_wave
                                            PkgConfig::PULSE_SIMPLE)
set_target_properties(vestrel_chime PROPERTIES AUTOMOC OFF)

# Linux, in three parts. The POSIX layer, standard C++ and the system's calls, which the
# chime helper shares: descriptors, paths, the file primitives, the system's errors by reason,
# the program folder and its claim.
add_library(vestrel_posix STATIC
    linux/posix/ErrorText.cpp
    linux/posix/PosixFileSystem.cpp
    linux/posix/PosixPath.cpp
    linux/posix/ProgramFolder.cpp
)
vestrel_layer(vestrel_posix PUBLIC linux/posix)
target_link_libraries(vestrel_posix PUBLIC vestrel_core)

# Requests to end the program taken between events, on Qt Core alone.
add_library(vestrel_linux_system STATIC linux/TerminationSignals.cpp)
vestrel_layer(vestrel_linux_system PUBLIC linux)
target_link_libraries(vestrel_linux_system PUBLIC vestrel_posix Qt6::Core)

# And the rest: the control runtime on Qt's widgets, windows as each window manager lets
# them, message boxes, the session's lock and idle time, the chime's helper run.
add_library(vestrel_linux STATIC
    linux/Chime.cpp
    linux/CzechMenus.cpp
    linux/DoNotDisturb.cpp
    linux/FullScreenProgram.cpp
    linux/IdleTime.cpp
    linux/KeyboardOffers.cpp
    linux/LinuxSystem.cpp
    linux/QtCheckBox.cpp
    linux/QtCommandButton.cpp
    linux/QtHScrollBar.cpp
    linux/QtLabel.cpp
    linux/QtRuntime.cpp
    linux/QtTextBox.cpp
    linux/QtTimer.cpp
    linux/QtWindow.cpp
    linux/QtWindowEvents.cpp
    linux/SessionWatch.cpp
    linux/ReportBox.cpp
    linux/WarningWindows.cpp
    linux/WindowManager.cpp
    resources/resources.qrc
)
vestrel_layer(vestrel_linux PRIVATE resources) # the application icon
target_link_libraries(vestrel_linux PUBLIC vestrel_linux_system vestrel_ui Qt6::Widgets
                                    PRIVATE vestrel_chime_protocol Qt6::DBus ${CMAKE_DL_LIBS})
# On X11 the windows set their task-bar state themselves, and the time since the last
# input comes from the screen saver extension, through the X connection Qt has.
find_library(XCB_LIBRARY xcb REQUIRED)
find_library(XCB_SCREENSAVER_LIBRARY xcb-screensaver REQUIRED)
target_link_libraries(vestrel_linux PRIVATE ${XCB_LIBRARY} ${XCB_SCREENSAVER_LIBRARY})

add_executable(Vestrel linux/main.cpp)
target_link_libraries(Vestrel PRIVATE vestrel_app vestrel_linux)
add_dependencies(Vestrel vestrel_chime)

# Installation: a self-contained folder (the program, its chime helper, the sound and, only
# when there is none yet, the default settings), plus a menu entry and icons for the user.
# `cmake --install build [--prefix P]`; the folder is P/opt/vestrel unless
# VESTREL_INSTALL_DIR names another (relative to the prefix, or absolute).
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix" FORCE)
endif()
set(VESTREL_INSTALL_DIR "opt/vestrel" CACHE STRING "The program's folder")
# The install code below holds the folder in a quoted string, which these would break.
if(VESTREL_INSTALL_DIR MATCHES [=[[\"]|\$(ENV|CACHE)?{]=])
    message(FATAL_ERROR "VESTREL_INSTALL_DIR cannot hold \\, \" or \${: ${VESTREL_INSTALL_DIR}")
endif()

install(TARGETS Vestrel RUNTIME DESTINATION "${VESTREL_INSTALL_DIR}")
install(TARGETS vestrel_chime RUNTIME DESTINATION "${VESTREL_INSTALL_DIR}")
install(FILES resources/s.wav DESTINATION "${VESTREL_INSTALL_DIR}")
install(CODE "
    set(folder \"${VESTREL_INSTALL_DIR}\")
    if(NOT IS_ABSOLUTE \"\${folder}\")
        set(folder \"\${CMAKE_INSTALL_PREFIX}/\${folder}\")
    endif()
    set(SRC \"${CMAKE_CURRENT_SOURCE_DIR}/resources/data.ini\")
    set(DST \"\$ENV{DESTDIR}\${folder}/data.ini\")
")
install(SCRIPT scripts/copy_if_missing.cmake)
# The menu entry and the icons go to P/share; for a per-user install (P is ~/.local) to
# XDG_DATA_HOME when that is set, since the desktop then looks there and not in ~/.local.
install(CODE "
    set(share \"\${CMAKE_INSTALL_PREFIX}/share\")
    if(CMAKE_INSTALL_PREFIX STREQUAL \"\$ENV{HOME}/.local\" AND \"\$ENV{XDG_DATA_HOME}\" MATCHES \"^/\")
        set(share \"\$ENV{XDG_DATA_HOME}\")
    endif()
    file(INSTALL \"${CMAKE_CURRENT_SOURCE_DIR}/resources/hicolor\" DESTINATION \"\${share}/icons\")
    set(menu \"\$ENV{DESTDIR}\${share}/applications/vestrel.desktop\")
    message(STATUS \"Installing: \${menu}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${share}/applications\")
    execute_process(COMMAND \"${CMAKE_CURRENT_SOURCE_DIR}/scripts/desktop_entry.sh\"
                            \"\${folder}\" \"\${menu}\" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR \"No menu entry written for \${folder}\")
    endif()
")
