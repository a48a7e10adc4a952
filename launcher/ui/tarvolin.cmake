# The launcher Tarvolin. Included from gui.cmake.
#
# tarvolin_ui holds the dialog and the application object, so the program and
# its tests share them. The launcher links nothing of the programming
# program's windows; it borrows only the shared helpers that lay out a window
# from its template.
add_library(tarvolin_ui STATIC
  launcher/ui/language_dlg.cpp launcher/ui/language_dlg.h
  launcher/ui/tarvolin_app.cpp launcher/ui/tarvolin_app.h
  launcher/ui/tarvolin.qrc
  ui/fonts.cpp ui/fonts.h ui/dialog_builder.cpp ui/dialog_builder.h)
set_target_properties(tarvolin_ui PROPERTIES AUTOMOC ON AUTORCC ON)
target_compile_definitions(tarvolin_ui PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
target_link_libraries(tarvolin_ui PUBLIC Qt6::Widgets quorim_platform PRIVATE quorim_warnings)

add_executable(Tarvolin launcher/ui/main.cpp)
target_link_libraries(Tarvolin PRIVATE tarvolin_ui quorim_warnings)
set_target_properties(Tarvolin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The programming program lies beside the launcher under the two names the
# launcher starts; the name it is started under picks its language. In the
# build tree too, so build/Tarvolin works without an install.
foreach(name tarvolin_CH.DLL tarvolin_EN.DLL)
  add_custom_command(TARGET Quorim_CH POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E create_symlink Quorim_CH ${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    VERBATIM)
endforeach()

install(TARGETS Tarvolin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(CODE "
  foreach(name tarvolin_CH.DLL tarvolin_EN.DLL)
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${name}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK Quorim_CH \"\${link}\" SYMBOLIC)
    message(STATUS \"Installing: \${link} -> Quorim_CH\")
  endforeach()
")
install(FILES resources/tarvolin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
