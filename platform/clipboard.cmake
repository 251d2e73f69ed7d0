# Clipboard (Qt): target zs_clipboard. The system clipboard, the clipboard
# server that keeps the text after the program ends, and the display check
# made before Qt starts. libxcb (a dependency of Qt's xcb platform) answers
# "is an X server reachable" and "who owns the clipboard".
find_path(ZS_XCB_INCLUDE_DIR xcb/xcb.h REQUIRED)
find_library(ZS_XCB_LIBRARY xcb REQUIRED)

# The clipboard server itself: xcb only, no Qt, so that the small program
# that keeps the list after a run loads nothing else.
add_library(zs_clipboard_server STATIC
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_server_x11.h
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_server_x11.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_handover_x11_wayland.h
)
target_include_directories(zs_clipboard_server PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(zs_clipboard_server SYSTEM PRIVATE ${ZS_XCB_INCLUDE_DIR})
target_link_libraries(zs_clipboard_server PRIVATE ${ZS_XCB_LIBRARY})
target_compile_options(zs_clipboard_server PRIVATE ${ZWEIGSCHAU_WARNINGS})

add_library(zs_clipboard STATIC
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_x11_wayland.h
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_x11_wayland.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_display_x11_wayland.h
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_display_x11_wayland.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_handover_x11_wayland.h
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_handover_x11_wayland.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_start.h
  ${CMAKE_CURRENT_LIST_DIR}/qt_start.cpp
)
target_include_directories(zs_clipboard PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(zs_clipboard SYSTEM PRIVATE ${ZS_XCB_INCLUDE_DIR})
target_link_libraries(zs_clipboard PUBLIC Qt6::Gui zs_platform zs_clipboard_server PRIVATE ${ZS_XCB_LIBRARY})
target_compile_options(zs_clipboard PRIVATE ${ZWEIGSCHAU_WARNINGS})
