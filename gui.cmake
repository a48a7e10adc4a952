# The Qt programs. Included from CMakeLists.txt when Qt 6 Widgets and
# PrintSupport are found.

# Every file under a ui/ folder is the programming program's window code (the
# top-level ui/ holds the helpers every window shares); main.cpp is the
# program itself.
file(GLOB QUORIM_GUI_SOURCES CONFIGURE_DEPENDS
  ui/*.cpp app/ui/*.cpp editor/ui/*.cpp link/ui/*.cpp tuning/ui/*.cpp)
list(FILTER QUORIM_GUI_SOURCES EXCLUDE REGEX "/app/ui/main\\.cpp$|/ui/help_guide\\.cpp$")
file(GLOB QUORIM_GUI_HEADERS CONFIGURE_DEPENDS
  ui/*.h app/ui/*.h editor/ui/*.h link/ui/*.h tuning/ui/*.h)
file(GLOB QUORIM_GUI_RESOURCES CONFIGURE_DEPENDS resources/*.qrc)

add_library(quorim_gui STATIC ${QUORIM_GUI_SOURCES} ${QUORIM_GUI_HEADERS} ${QUORIM_GUI_RESOURCES})
set_target_properties(quorim_gui PROPERTIES
  AUTOMOC ON
  AUTORCC ON
  # Two cores: one translation unit per few files saves most of the Qt
  # header parsing.
  UNITY_BUILD ON
  UNITY_BUILD_BATCH_SIZE 8)
target_compile_definitions(quorim_gui PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
target_link_libraries(quorim_gui
  PUBLIC Qt6::Widgets Qt6::PrintSupport quorim_platform
  PRIVATE quorim_warnings)

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
qt_add_translations(quorim_gui
  TS_FILES resources/translations/quorim_en.ts
  SOURCES ${QUORIM_TRANSLATED_SOURCES}
  LUPDATE_OPTIONS -tr-function-alias QT_TRANSLATE_NOOP+=QUORIM_TR -locations none -no-obsolete
  RESOURCE_PREFIX /i18n)

add_executable(Quorim_CH app/ui/main.cpp)
target_link_libraries(Quorim_CH PRIVATE quorim_gui quorim_warnings)
set_target_properties(Quorim_CH PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

include(GNUInstallDirs)
include(launcher/ui/tarvolin.cmake)

install(TARGETS Quorim_CH RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The user guide, in both languages: beside the program in the build tree
# (help/), under share/quorim/help once installed; the program looks in both.
file(GLOB QUORIM_HELP_FILES CONFIGURE_DEPENDS resources/help/*.html)
foreach(guide ${QUORIM_HELP_FILES})
  get_filename_component(name ${guide} NAME)
  configure_file(${guide} ${CMAKE_BINARY_DIR}/help/${name} COPYONLY)
endforeach()
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
