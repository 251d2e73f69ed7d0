# Clipboard: the display check, the hand-over to the clipboard's keeper and
# the keeper itself without any toolkit (targets zs_clipboard_server,
# zs_handover), and the window's clipboard through Qt (zs_clipboard).
# libxcb (a dependency of Qt's xcb platform) answers "is an X server
# reachable" and "who owns the clipboard".
find_path(ZS_XCB_INCLUDE_DIR xcb/xcb.h REQUIRED)
find_library(ZS_XCB_LIBRARY xcb REQUIRED)

# The clipboard server itself: xcb only, so that the small program that
# keeps the list after a run loads nothing else.
add_library(zs_clipboard_server STATIC
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_server_x11.h
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_server_x11.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_handover_x11_wayland.h
)
target_include_directories(zs_clipboard_server PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(zs_clipboard_server SYSTEM PRIVATE ${ZS_XCB_INCLUDE_DIR})
target_link_libraries(zs_clipboard_server PRIVATE ${ZS_XCB_LIBRARY})
target_compile_options(zs_clipboard_server PRIVATE ${ZWEIGSCHAU_WARNINGS})

# What a batch run needs and nothing more: the display check, the hand-over
# to the keeper or wl-copy, and the desktop notification (libdbus).
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZS_DBUS REQUIRED IMPORTED_TARGET dbus-1)
add_library(zs_handover STATIC
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_display_x11_wayland.h
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_display_x11_wayland.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_handover_x11_wayland.h
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_handover_x11_wayland.cpp
  ${CMAKE_CURRENT_LIST_DIR}/desktop_notification.h
  ${CMAKE_CURRENT_LIST_DIR}/desktop_notification_dbus.cpp
)
target_include_directories(zs_handover PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(zs_handover SYSTEM PRIVATE ${ZS_XCB_INCLUDE_DIR})
target_link_libraries(zs_handover PUBLIC zs_platform zs_clipboard_server PRIVATE ${ZS_XCB_LIBRARY} PkgConfig::ZS_DBUS)
target_compile_options(zs_handover PRIVATE ${ZWEIGSCHAU_WARNINGS})

add_library(zs_clipboard STATIC
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_x11_wayland.h
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_x11_wayland.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_start.h
  ${CMAKE_CURRENT_LIST_DIR}/qt_start.cpp
)
target_include_directories(zs_clipboard PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(zs_clipboard SYSTEM PRIVATE ${ZS_XCB_INCLUDE_DIR})
target_link_libraries(zs_clipboard PUBLIC Qt6::Gui zs_handover PRIVATE ${ZS_XCB_LIBRARY})
target_compile_options(zs_clipboard PRIVATE ${ZWEIGSCHAU_WARNINGS})
