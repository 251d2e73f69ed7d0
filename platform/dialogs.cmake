# Dialogs, message box and beep (Qt): target zs_dialogs
add_library(zs_dialogs STATIC
  dialogs.h
  dialogs_qt.cpp
)
target_include_directories(zs_dialogs PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zs_dialogs PUBLIC Qt6::Widgets)
target_compile_options(zs_dialogs PRIVATE ${ZWEIGSCHAU_WARNINGS})
