# Windows: the Win32 API alone. One self-contained Vestrel.exe: the C++ runtime linked in,
# so that nothing but the system's own libraries sits beside it.
enable_language(RC)
add_link_options(-static)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                        WINVER=0x0A00)

# The settings file read and replaced safely, the system's errors in Czech: what the form
# tests need of the platform.
add_library(vestrel_win32_system STATIC
    windows/ErrorText.cpp
    windows/WinFileSystem.cpp
    windows/WinPath.cpp
)
vestrel_layer(vestrel_win32_system PUBLIC windows)
target_link_libraries(vestrel_win32_system PUBLIC vestrel_core)

# The control runtime on native controls, and the system: sound, browser, session, clocks.
add_library(vestrel_win32 STATIC
    windows/WinCheckBox.cpp
    windows/WinChild.cpp
    windows/WinChime.cpp
    windows/WinCommandButton.cpp
    windows/WinHScrollBar.cpp
    windows/WinGdi.cpp
    windows/WinLabel.cpp
    windows/WinLine.cpp
    windows/WinPicture.cpp
    windows/WinRuntime.cpp
    windows/WinSystem.cpp
    windows/WinTextBox.cpp
    windows/WinTimer.cpp
    windows/WinWindow.cpp
    windows/WinWindowMessages.cpp
)
target_link_libraries(vestrel_win32 PUBLIC vestrel_win32_system vestrel_ui vestrel_wave
                                    PRIVATE uuid gdi32 user32)

add_executable(Vestrel WIN32 windows/main.cpp windows/Vestrel.rc)
target_link_options(Vestrel PRIVATE -municode)
target_link_libraries(Vestrel PRIVATE vestrel_app vestrel_win32)
# The icons and the manifest the resource script takes in.
target_include_directories(Vestrel PRIVATE ${PROJECT_SOURCE_DIR}/resources ${PROJECT_SOURCE_DIR}/windows)
set_source_files_properties(windows/Vestrel.rc PROPERTIES OBJECT_DEPENDS
    "${PROJECT_SOURCE_DIR}/windows/Vestrel.manifest;${PROJECT_SOURCE_DIR}/windows/Controls.manifest;${PROJECT_SOURCE_DIR}/resources/vestrel.ico;${PROJECT_SOURCE_DIR}/resources/warning.ico")
# As shipped: without its symbols.
target_link_options(Vestrel PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
