# Clipboard, raw command line and message box (Win32): target zs_win32.
add_library(zs_win32 STATIC
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_win.h
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line_win.h
  ${CMAKE_CURRENT_LIST_DIR}/command_line_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box_win.h
  ${CMAKE_CURRENT_LIST_DIR}/message_box_win.cpp
)
target_include_directories(zs_win32 PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zs_win32 PUBLIC zs_platform user32 kernel32)
target_compile_options(zs_win32 PRIVATE ${ZWEIGSCHAU_WARNINGS})
