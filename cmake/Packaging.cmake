# The Debian package: `cpack -G DEB` in the build tree, or the `package` target. It holds only
# the `vokari` install component (the program and its desktop files), never tests or tools.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackaging.cmake)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vokari)
set(CPACK_PACKAGE_VENDOR Vokari)
set(CPACK_PACKAGE_CONTACT "Vokari developer <dev@vokari.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vokari developer <dev@vokari.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.vokari.org/)
# First line is the synopsis; the rest becomes the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[countdown timer and stopwatch / 倒计时器和秒表
Vokari counts down a duration of up to 99:59:59 on a large seven-segment
read-out and, at zero, shows a message, sounds an alarm or opens a program.
The interface is in Chinese.

Vokari 以醒目的七段数码显示倒数最长 99:59:59 的时间，到零时显示信息、
发出警报或运行程序。界面为中文。]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Depends is worked out by dpkg-shlibdeps from the libraries the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A release package carries no debugging symbols, as Debian's own do not.
set(CPACK_STRIP_FILES ON)
# Only the `vokari` component: whatever else has an install rule stays out of the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};vokari;/")
# Rules without `COMPONENT vokari` are left out; name them, in case one belongs to the program.
get_cmake_property(left_out COMPONENTS)
list(REMOVE_ITEM left_out vokari)
if(left_out)
  message(STATUS "Left out of the Debian package: install components ${left_out}")
endif()
include(CPack)
