# The message box, help file and URL protocol, driven through real boxes, the shell and the
# registry of the private prefix.
add_executable(open_recorder ${CMAKE_CURRENT_LIST_DIR}/open_recorder.cpp)
target_link_libraries(open_recorder PRIVATE win32_raii)
set_target_properties(open_recorder PROPERTIES WIN32_EXECUTABLE ON)   # no console host left behind
corelink_module(open_recorder "Tests: records what the shell opened")
add_executable(help_opener ${CMAKE_CURRENT_LIST_DIR}/help_opener.cpp)
target_link_libraries(help_opener PRIVATE corelink)
corelink_module(help_opener "Tests: opens the help in a given language")

set(ui_messages_sources
  box_watch.cpp
  debug_output.cpp
  message_box_check_tests.cpp
  message_box_countdown_tests.cpp
  message_box_layout_tests.cpp
  message_box_thread_tests.cpp
  help_file_tests.cpp
  url_protocol_tests.cpp)
# The resource overload of SxMessageBox is built once the MFC subset offers CWnd.
file(STRINGS ${PROJECT_SOURCE_DIR}/platform/mfc/include/afxwin.h has_cwnd REGEX "class MFCLITE_API CWnd ")
if(has_cwnd)
  list(APPEND ui_messages_sources message_box_resource_tests.cpp message_box_strings.rc)
endif()
list(TRANSFORM ui_messages_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

corelink_test(ui_messages_tests LOADS_CORELINK ${ui_messages_sources})
target_link_libraries(ui_messages_tests PRIVATE corelink user32 gdi32 advapi32)
add_dependencies(ui_messages_tests open_recorder help_opener viewproc linkproc dockproc)

# The hinted message's rules, linked on their own with the texts a language file would hold.
corelink_test(ui_hint_rules_tests
  ${CMAKE_CURRENT_LIST_DIR}/hint_rules_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hint_strings.rc)
target_link_libraries(ui_hint_rules_tests PRIVATE corelink_ui_support_core mfclite)
