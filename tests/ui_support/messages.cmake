# The message box, help file and URL protocol, driven through real boxes, the shell and the
# registry of the private prefix.
add_executable(open_recorder ${CMAKE_CURRENT_LIST_DIR}/open_recorder.cpp)
target_link_libraries(open_recorder PRIVATE win32_raii)
corelink_module(open_recorder "Tests: records what the shell opened")
add_executable(help_opener ${CMAKE_CURRENT_LIST_DIR}/help_opener.cpp)
target_link_libraries(help_opener PRIVATE corelink)
corelink_module(help_opener "Tests: opens the help in a given language")

corelink_test(ui_messages_tests LOADS_CORELINK
  ${CMAKE_CURRENT_LIST_DIR}/box_watch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/debug_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box_check_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box_countdown_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box_layout_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box_thread_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_file_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/url_protocol_tests.cpp)
target_link_libraries(ui_messages_tests PRIVATE corelink user32 gdi32 advapi32)
add_dependencies(ui_messages_tests open_recorder help_opener viewproc linkproc dockproc)
