# The launcher Tarvolin. Included from gui.cmake.
#
# tarvolin_ui holds the dialog and the application object, so the program and
# its tests share them. The launcher links nothing of the programming
# program's windows; it borrows only the template-font helpers.
add_library(tarvolin_ui STATIC
  launcher/ui/language_dlg.cpp launcher/ui/language_dlg.h
  launcher/ui/tarvolin_app.cpp launcher/ui/tarvolin_app.h
  launcher/ui/tarvolin.qrc
  app/ui/fonts.cpp app/ui/fonts.h)
set_target_properties(tarvolin_ui PROPERTIES AUTOMOC ON AUTORCC ON)
target_compile_definitions(tarvolin_ui PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
target_link_libraries(tarvolin_ui PUBLIC Qt6::Widgets quorim_core PRIVATE quorim_warnings)

add_executable(Tarvolin launcher/ui/main.cpp)
target_link_libraries(Tarvolin PRIVATE tarvolin_ui quorim_warnings)
set_target_properties(Tarvolin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
