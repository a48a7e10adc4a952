# Installs the build into STAGE and checks the layout: the launcher, the
# programming program and its two language names beside it, the CLI, the
# virtual radio, the desktop entries, the data file's MIME type and the
# cables' udev rule.
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${STAGE}"
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(program Tarvolin Quorim_CH quorim quorim-radio)
  if(NOT EXISTS "${STAGE}/bin/${program}" OR IS_SYMLINK "${STAGE}/bin/${program}")
    message(FATAL_ERROR "bin/${program} is missing")
  endif()
endforeach()
# The two builds the launcher starts are the programming program under the
# names that tell it its language.
foreach(name tarvolin_CH.DLL tarvolin_EN.DLL)
  if(NOT IS_SYMLINK "${STAGE}/bin/${name}")
    message(FATAL_ERROR "bin/${name} is not a link")
  endif()
  file(READ_SYMLINK "${STAGE}/bin/${name}" target)
  if(NOT target STREQUAL "Quorim_CH")
    message(FATAL_ERROR "bin/${name} points to ${target}")
  endif()
endforeach()
foreach(file
    share/applications/tarvolin.desktop
    share/applications/quorim-ch.desktop
    share/mime/packages/quorim-szt.xml
    share/icons/hicolor/32x32/apps/quorim-ch.png
    lib/udev/rules.d/70-quorim.rules)
  if(NOT EXISTS "${STAGE}/${file}")
    message(FATAL_ERROR "${file} is missing")
  endif()
endforeach()
file(REMOVE_RECURSE "${STAGE}")
