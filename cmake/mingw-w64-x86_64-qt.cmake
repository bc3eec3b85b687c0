# Cross-builds the whole program for Windows from Linux (preset windows-mingw): the mingw-w64
# toolchain, plus the Windows Qt and libjpeg-turbo named in CMAKE_PREFIX_PATH. The toolchain
# searches only under its find roots, so those prefixes become roots too, or nothing in them
# would be found.
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake")

foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
  if(prefix AND IS_DIRECTORY "${prefix}")
    list(APPEND CMAKE_FIND_ROOT_PATH "${prefix}")
  endif()
endforeach()
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
