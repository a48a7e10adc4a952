# The Qt programs. Included from CMakeLists.txt when Qt 6 Widgets and
# PrintSupport are found.

# The window code: one static library per ui/ folder (see
# quorim_folder_library). ui/ holds the helpers every window shares;
# editor/ui, link/ui, tuning/ui and launcher/ui stand on it side by side;
# app/ui composes the programming program's windows.
function(quorim_window_library name folder)
  quorim_folder_library(${name} ${folder} ${ARGN})
  set_target_properties(${name} PROPERTIES
    AUTOMOC ON
    AUTORCC ON
    # Two cores: one translation unit per few files saves most of the Qt
    # header parsing.
    UNITY_BUILD ON
    UNITY_BUILD_BATCH_SIZE 8)
endfunction()

quorim_window_library(quorim_ui ui LINKS Qt6::Widgets quorim_core)
target_compile_definitions(quorim_ui PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
quorim_window_library(quorim_editor_ui editor/ui LINKS quorim_ui Qt6::PrintSupport)
quorim_window_library(quorim_link_ui link/ui LINKS quorim_ui)
quorim_window_library(quorim_tuning_ui tuning/ui LINKS quorim_ui)
quorim_window_library(quorim_app_ui app/ui LINKS quorim_editor_ui quorim_link_ui quorim_tuning_ui)
file(GLOB QUORIM_GUI_RESOURCES CONFIGURE_DEPENDS resources/*.qrc)
target_sources(quorim_app_ui PRIVATE ${QUORIM_GUI_RESOURCES})
# All of the programming program's windows, for the program and its tests.
add_library(quorim_gui INTERFACE)
target_link_libraries(quorim_gui INTERFACE quorim_app_ui)

# The English build: the catalogue of every text the windows show, compiled
# from resources/translations/quorim_en.ts into the program (":/i18n/").
# lupdate reads the core's QUORIM_TR markers as QT_TRANSLATE_NOOP; after texts
# change, `cmake --build build --target update_translations` brings them
# into the .ts file, where their English is written. See base/translation.h.
find_package(Qt6 COMPONENTS LinguistTools REQUIRED)
file(GLOB QUORIM_TRANSLATED_SOURCES CONFIGURE_DEPENDS
  base/*.h base/*.cpp app/*.h app/*.cpp image/*.h image/*.cpp files/*.h files/*.cpp editor/*.h editor/*.cpp link/*.h link/*.cpp
  tuning/*.h tuning/*.cpp
  ui/*.h ui/*.cpp app/ui/*.h app/ui/*.cpp editor/ui/*.h editor/ui/*.cpp link/ui/*.h link/ui/*.cpp
  tuning/ui/*.h tuning/ui/*.cpp)
qt_add_translations(quorim_app_ui
  TS_FILES resources/translations/quorim_en.ts
  SOURCES ${QUORIM_TRANSLATED_SOURCES}
  LUPDATE_OPTIONS -tr-function-alias QT_TRANSLATE_NOOP+=QUORIM_TR -locations none -no-obsolete
  RESOURCE_PREFIX /i18n)

add_executable(Quorim_CH app/ui/main.cpp)
target_link_libraries(Quorim_CH PRIVATE quorim_app_ui quorim_warnings)
set_target_properties(Quorim_CH PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
if(WIN32)
  # A window program with its icons (128 the program, 129 the data file, 131
  # the main window), and beside it what it needs to run (Qt, its plugins,
  # the compiler's runtime).
  include(cmake/windows_programs.cmake)
  quorim_windows_program(Quorim_CH)
endif()

include(GNUInstallDirs)
include(launcher/ui/tarvolin.cmake)

# The user guide, in both languages, with its pictures: beside the program in the build tree
# (help/), under share/quorim/help once installed; the program looks in both.
file(GLOB QUORIM_HELP_FILES CONFIGURE_DEPENDS resources/help/*.html resources/help/*.png)
foreach(guide ${QUORIM_HELP_FILES})
  get_filename_component(name ${guide} NAME)
  configure_file(${guide} ${CMAKE_BINARY_DIR}/help/${name} COPYONLY)
endforeach()
if(WIN32)
  # The Windows folder and installer are laid out by scripts/package-windows.sh.
  return()
endif()
install(TARGETS Quorim_CH RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QUORIM_HELP_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/quorim/help)
# The shell: a desktop entry that opens .szt files, their MIME type and the icon.
install(FILES resources/quorim-ch.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/quorim-szt.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# The program's and the data file's icons at the icon theme's sizes
# (drawn by resources/make_artwork.sh).
install(DIRECTORY resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# Make the new type and the program's association known at once (a package
# would do this in its install scripts).
install(CODE [[
  if(NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
    find_program(QUORIM_UPDATE_MIME update-mime-database)
    find_program(QUORIM_UPDATE_DESKTOP update-desktop-database)
    if(QUORIM_UPDATE_MIME)
      execute_process(COMMAND ${QUORIM_UPDATE_MIME} "${CMAKE_INSTALL_PREFIX}/share/mime" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(QUORIM_UPDATE_DESKTOP)
      execute_process(COMMAND ${QUORIM_UPDATE_DESKTOP} "${CMAKE_INSTALL_PREFIX}/share/applications" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])
