# The launcher Tarvolin. Included from gui.cmake.
#
# quorim_launcher_ui holds the dialog and the application object, so the
# program and its tests share them. The launcher links nothing of the
# programming program's windows; it borrows only the shared helpers that lay
# out a window from its template.
quorim_window_library(quorim_launcher_ui launcher/ui LINKS quorim_ui)
target_sources(quorim_launcher_ui PRIVATE launcher/ui/tarvolin.qrc)

add_executable(Tarvolin launcher/ui/main.cpp)
target_link_libraries(Tarvolin PRIVATE quorim_launcher_ui quorim_warnings)
set_target_properties(Tarvolin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The programming program lies beside the launcher under the two names the
# launcher starts; the name it is started under picks its language. In the
# build tree too, so build/Tarvolin works without an install. On Windows the
# two names are copies of the program (a link is no program there).
if(WIN32)
  quorim_windows_program(Tarvolin)
  # Quorim_EN.exe is the English build for the Start menu, whose shortcuts
  # start only programs named ".exe".
  foreach(name tarvolin_CH.DLL tarvolin_EN.DLL Quorim_EN.exe)
    add_custom_command(TARGET Quorim_CH POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Quorim_CH> ${CMAKE_BINARY_DIR}/${name}
      VERBATIM)
  endforeach()
  install(TARGETS Tarvolin RUNTIME DESTINATION .)
  return()
endif()
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
