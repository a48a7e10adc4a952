# Turns a Qt Linguist .ts file into a C++ table of its translations, for the
# programs without Qt (the command line): the same texts the English windows
# show, from the same file.
#
#   cmake -DTS=quorim_en.ts -DOUT=english_table.inc -P ts_to_table.cmake
#
# Each finished or unfinished translation that is not empty becomes one line
#   {"context", R"qz(source)qz", R"qz(translation)qz"},
# Runs wherever CMake runs (the Windows cross build too): no Qt tool, no
# interpreter. The .ts file is what lupdate writes: one <context> after
# another, each with its <name> and <message>s of one <source> and one
# <translation>; XML's five named entities stand for & < > ' ".

if(NOT TS OR NOT OUT)
  message(FATAL_ERROR "usage: cmake -DTS=FILE.ts -DOUT=FILE.inc -P ts_to_table.cmake")
endif()

file(READ "${TS}" content)
# CMake lists are split at ";" (outside square brackets): keep the texts'
# own ones, and their brackets, out of the way while the file is cut up.
string(REPLACE ";" "@QZ_SEMI@" content "${content}")
string(REPLACE "[" "@QZ_OPEN@" content "${content}")
string(REPLACE "]" "@QZ_CLOSE@" content "${content}")

function(unescape_xml text out)
  if(text MATCHES "&#")
    message(FATAL_ERROR "${TS}: a numeric character reference is not read here: ${text}")
  endif()
  string(REPLACE "@QZ_SEMI@" ";" text "${text}")
  string(REPLACE "@QZ_OPEN@" "[" text "${text}")
  string(REPLACE "@QZ_CLOSE@" "]" text "${text}")
  string(REPLACE "&lt;" "<" text "${text}")
  string(REPLACE "&gt;" ">" text "${text}")
  string(REPLACE "&apos;" "'" text "${text}")
  string(REPLACE "&quot;" "\"" text "${text}")
  string(REPLACE "&amp;" "&" text "${text}")
  if(text MATCHES "\\)qz\"")
    message(FATAL_ERROR "${TS}: a text holds the table's raw-string delimiter: ${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(table "// Generated from ${TS} by cmake/ts_to_table.cmake: do not edit.\n")
set(count 0)
string(REPLACE "</context>" ";" contexts "${content}")
foreach(context IN LISTS contexts)
  if(NOT context MATCHES "<name>([^<]*)</name>")
    continue()
  endif()
  unescape_xml("${CMAKE_MATCH_1}" name)
  string(REPLACE "</message>" ";" messages "${context}")
  foreach(message IN LISTS messages)
    if(NOT message MATCHES "<source>([^<]*)</source>")
      continue()
    endif()
    set(source "${CMAKE_MATCH_1}")
    if(NOT message MATCHES "<translation[^>]*>([^<]+)</translation>")
      continue()  # not translated yet: the text is shown as written
    endif()
    set(translation "${CMAKE_MATCH_1}")
    unescape_xml("${source}" source)
    unescape_xml("${translation}" translation)
    string(APPEND table "{\"${name}\", R\"qz(${source})qz\", R\"qz(${translation})qz\"},\n")
    math(EXPR count "${count} + 1")
  endforeach()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${TS}: no translations found")
endif()

file(WRITE "${OUT}" "${table}")
