# The Windows window programs. Included from gui.cmake on Windows.
#
# quorim_windows_program(TARGET): a window program (no console) with the
# program's icons, and beside it in the build tree what it needs to start
# under Windows or Wine. quorim_windows_runtime(TARGET) does the second part
# alone (the window tests). scripts/package-windows.sh lays out the same
# files for the installer and the zip.

# The icons, made from the artwork at build time: 128 the program (the
# shell shows it for the programs), 129 the data file (the registration's
# DefaultIcon names it as the program's second icon), 131 the main window.
find_program(QUORIM_CONVERT convert)
set(QUORIM_WIN32_DIR ${CMAKE_BINARY_DIR}/win32)
file(MAKE_DIRECTORY ${QUORIM_WIN32_DIR})
set(QUORIM_HICOLOR ${PROJECT_SOURCE_DIR}/resources/icons/hicolor)
set(QUORIM_ICON_SOURCES_128 ${QUORIM_HICOLOR}/16x16/apps/quorim-ch.png ${PROJECT_SOURCE_DIR}/resources/icon128.png
  ${QUORIM_HICOLOR}/48x48/apps/quorim-ch.png ${QUORIM_HICOLOR}/256x256/apps/quorim-ch.png)
set(QUORIM_ICON_SOURCES_129 ${QUORIM_HICOLOR}/16x16/mimetypes/application-x-szt-ch.document.png
  ${PROJECT_SOURCE_DIR}/resources/icon129.png ${QUORIM_HICOLOR}/48x48/mimetypes/application-x-szt-ch.document.png
  ${QUORIM_HICOLOR}/256x256/mimetypes/application-x-szt-ch.document.png)
set(QUORIM_ICON_SOURCES_131 ${PROJECT_SOURCE_DIR}/resources/icon131.png)
set(QUORIM_WIN32_RC ${QUORIM_WIN32_DIR}/quorim_icons.rc)
if(QUORIM_CONVERT)
  set(icons)
  set(rc "")
  foreach(id 128 129 131)
    set(ico ${QUORIM_WIN32_DIR}/icon${id}.ico)
    add_custom_command(OUTPUT ${ico}
      COMMAND ${QUORIM_CONVERT} ${QUORIM_ICON_SOURCES_${id}} ${ico}
      DEPENDS ${QUORIM_ICON_SOURCES_${id}}
      VERBATIM)
    list(APPEND icons ${ico})
    string(APPEND rc "${id} ICON \"icon${id}.ico\"\n")
  endforeach()
  file(WRITE ${QUORIM_WIN32_RC}.in "${rc}")
  configure_file(${QUORIM_WIN32_RC}.in ${QUORIM_WIN32_RC} COPYONLY)
  set_source_files_properties(${QUORIM_WIN32_RC} PROPERTIES OBJECT_DEPENDS "${icons}")
  add_custom_target(quorim_windows_icons DEPENDS ${icons})
else()
  message(WARNING "ImageMagick's convert was not found: the Windows programs get no icons")
  set(QUORIM_WIN32_RC)
endif()

# The compiler's runtime, which the Qt libraries were built against.
set(QUORIM_MINGW_RUNTIME)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(EXISTS "${path}")
    get_filename_component(path "${path}" REALPATH)
    list(APPEND QUORIM_MINGW_RUNTIME ${path})
  endif()
endforeach()

# The plugins: the Windows platform (windows), the one the tests run on
# (offscreen) and the native style; Qt looks for them in platforms/ and
# styles/ beside the program. qt.conf tells it where its translations are.
get_target_property(QUORIM_QT_BIN Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(QUORIM_QT_PREFIX "${QUORIM_QT_BIN}" DIRECTORY)
get_filename_component(QUORIM_QT_PREFIX "${QUORIM_QT_PREFIX}" DIRECTORY)
set(plugin_commands)
foreach(plugin QWindowsIntegrationPlugin:platforms QOffscreenIntegrationPlugin:platforms
        QWindowsVistaStylePlugin:styles)
  string(REPLACE ":" ";" parts ${plugin})
  list(GET parts 0 name)
  list(GET parts 1 folder)
  if(TARGET Qt6::${name})
    list(APPEND plugin_commands
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/${folder}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::${name}> ${CMAKE_BINARY_DIR}/${folder}/)
  endif()
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")
add_custom_target(quorim_windows_plugins
  ${plugin_commands}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/translations
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUORIM_QT_PREFIX}/translations/qtbase_zh_CN.qm
          ${CMAKE_BINARY_DIR}/translations/
  VERBATIM)

function(quorim_windows_runtime target)
  add_dependencies(${target} quorim_windows_plugins)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_RUNTIME_DLLS:${target}> ${QUORIM_MINGW_RUNTIME}
            $<TARGET_FILE_DIR:${target}>
    COMMAND_EXPAND_LISTS
    VERBATIM)
endfunction()

function(quorim_windows_program target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  if(QUORIM_WIN32_RC)
    target_sources(${target} PRIVATE ${QUORIM_WIN32_RC})
    add_dependencies(${target} quorim_windows_icons)
  endif()
  quorim_windows_runtime(${target})
endfunction()
