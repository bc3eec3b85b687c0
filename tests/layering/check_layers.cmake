# Fails when a source file under SRC includes a header of a library its own library may not
# use. Each folder under src/ is one library; a library may include its own headers and those
# of the libraries below it, as the table says. The core and the platform interface may also
# use no Qt module but QtCore.
#
#   cmake -DSRC=<src folder> -DQTCORE_INCLUDE=<QtCore header folder> -P check_layers.cmake

cmake_minimum_required(VERSION 3.25)

set(allowed_core core platform)
set(allowed_platform platform assets)
set(allowed_assets assets)
set(allowed_skin skin assets)
set(allowed_dialogs dialogs skin core platform assets)
set(allowed_app app dialogs skin core platform assets)
set(libraries core platform assets skin dialogs app)

set(violations "")
file(GLOB_RECURSE sources RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" library "${source}")
  if(NOT library IN_LIST libraries)
    list(APPEND violations "${source}: in no library's folder")
    continue()
  endif()
  file(STRINGS "${SRC}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    if(line MATCHES "\"([^/\"]+)/[^\"]*\"")
      set(used "${CMAKE_MATCH_1}")
      if(used IN_LIST libraries AND NOT used IN_LIST allowed_${library})
        list(APPEND violations "${source}: ${library} may not include ${used}: ${line}")
      endif()
    endif()
    # The QtCore-only parts: the whole core and the platform interface beside its backends.
    if(library STREQUAL "core" OR source MATCHES "^platform/[^/]+\\.h$")
      if(line MATCHES "<(Qt[A-Za-z]*/)?(Q[A-Za-z]+)>")
        if(NOT EXISTS "${QTCORE_INCLUDE}/${CMAKE_MATCH_2}")
          list(APPEND violations "${source}: only QtCore may be used here: ${line}")
        endif()
      endif()
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes against the layering:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files keep to the layering")
