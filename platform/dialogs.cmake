# Dialogs, message box, beep and desktop notifications (Qt): target zs_dialogs
add_library(zs_dialogs STATIC
  dialogs.h
  dialogs_qt.cpp
  desktop_notification.h
  desktop_notification_dbus.cpp
)
target_include_directories(zs_dialogs PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zs_dialogs PUBLIC Qt6::Widgets Qt6::DBus)
target_compile_options(zs_dialogs PRIVATE ${ZWEIGSCHAU_WARNINGS})
