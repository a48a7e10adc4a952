# Every program answers --help and --version on standard output with status
# 0, without a display, and the version is the project's.
set(programs quorim quorim-radio)
foreach(gui Quorim_CH tarvolin_EN.DLL Tarvolin)
  if(EXISTS "${BIN_DIR}/${gui}")
    list(APPEND programs ${gui})
  endif()
endforeach()
foreach(program ${programs})
  foreach(switch --help --version)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
              "${BIN_DIR}/${program}" ${switch}
      RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${program} ${switch}: status ${result}\n${err}")
    endif()
    if(switch STREQUAL "--version" AND NOT out STREQUAL "${program} ${VERSION}\n")
      message(FATAL_ERROR "${program} --version says \"${out}\"")
    endif()
    if(switch STREQUAL "--help" AND NOT out MATCHES "--version")
      message(FATAL_ERROR "${program} --help does not list --version:\n${out}")
    endif()
  endforeach()
endforeach()
