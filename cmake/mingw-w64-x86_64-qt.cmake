# Cross-builds the whole program for Windows from Linux (preset windows-mingw): the mingw-w64
# toolchain, plus a Windows Qt and libjpeg-turbo. By default those are the ones that
# tools/windows/toolchain.sh builds from Debian's sources into the cache; QT_DIR names a prefix
# of your own instead. The toolchain searches only under its find roots, so the prefixes become
# roots too, or nothing in them would be found.
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake")

if(NOT "$ENV{QT_DIR}" STREQUAL "")
  list(APPEND CMAKE_PREFIX_PATH "$ENV{QT_DIR}")
elseif(NOT VOKARI_WINDOWS_PREFIX)
  execute_process(
    COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/../tools/windows/toolchain.sh" --print-prefix
    OUTPUT_VARIABLE VOKARI_WINDOWS_PREFIX
    OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  if(NOT EXISTS "${VOKARI_WINDOWS_PREFIX}/.complete")
    message(FATAL_ERROR "No Windows Qt in ${VOKARI_WINDOWS_PREFIX}: build it with "
                        "tools/windows/toolchain.sh (about 30 minutes), or name one with QT_DIR.")
  endif()
  list(APPEND CMAKE_PREFIX_PATH "${VOKARI_WINDOWS_PREFIX}")
endif()
if(NOT "$ENV{VCPKG_ROOT}" STREQUAL "")
  list(APPEND CMAKE_PREFIX_PATH "$ENV{VCPKG_ROOT}/installed/x64-mingw-static")
endif()

# The Linux Qt whose moc, rcc and uic the build runs: Debian's own unless QT_HOST_PATH says.
if(NOT QT_HOST_PATH)
  if(NOT "$ENV{QT_HOST_PATH}" STREQUAL "")
    set(QT_HOST_PATH "$ENV{QT_HOST_PATH}" CACHE PATH "Prefix of the host Qt")
  else()
    set(QT_HOST_PATH /usr CACHE PATH "Prefix of the host Qt")
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH
        "CMake packages of the host Qt")
  endif()
endif()

foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
  if(prefix AND IS_DIRECTORY "${prefix}")
    list(APPEND CMAKE_FIND_ROOT_PATH "${prefix}")
  endif()
endforeach()
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
