# The Windows build's own: the real Vestrel.exe under Wine on Xvfb, read by a probe of ours
# that runs in the same Wine prefix.
add_executable(windows_probe windows/probe.cpp)
target_link_options(windows_probe PRIVATE -municode)

# Windows' session service as the system has it, for Wine's, which cannot say how it is.
add_library(wtsapi32_standin SHARED windows/wtsapi32.cpp)
set_target_properties(wtsapi32_standin PROPERTIES OUTPUT_NAME wtsapi32 PREFIX "")

find_program(PYTHON3 python3)
if(PYTHON3)
    add_test(NAME end_to_end_wine
             COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/end_to_end.py $<TARGET_FILE:Vestrel>
                     ${CMAKE_SOURCE_DIR}/resources)
    set_tests_properties(end_to_end_wine PROPERTIES TIMEOUT 600 LABELS e2e
                         ENVIRONMENT "VESTREL_DESKTOP=wine;VESTREL_PROBE=$<TARGET_FILE:windows_probe>;VESTREL_WTSAPI32=$<TARGET_FILE:wtsapi32_standin>")
endif()
