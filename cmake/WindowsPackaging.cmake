# What a Windows user downloads: vokari.exe with the DLLs and plugins it loads, as a zip to
# unpack and run (target windows-zip) and as an installer made with NSIS (target
# windows-installer), both into <build>/packages. Everything lies in one folder, as Qt looks for
# its plugins beside the program.

# Qt's libraries, the one platform plugin and the reader of the window icon. The program draws
# its controls with the Fusion style, built into Qt's widgets, so no style plugin goes along.
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
  DESTINATION . COMPONENT vokari)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
  DESTINATION platforms COMPONENT vokari)
install(FILES $<TARGET_FILE:Qt6::QICOPlugin> DESTINATION imageformats COMPONENT vokari)

if(MINGW)
  # The compiler's own runtime, which Qt was built against too. Debian ships it with its
  # debugging sections (23 MB for libstdc++ alone), so the copies that go along are stripped.
  set(runtime_dir ${CMAKE_BINARY_DIR}/mingw-runtime)
  set(runtime_copies)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE source OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${source}" OR NOT EXISTS "${source}")
      message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    add_custom_command(OUTPUT ${runtime_dir}/${dll}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${runtime_dir}
      COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${runtime_dir}/${dll} ${source}
      DEPENDS ${source}
      VERBATIM)
    list(APPEND runtime_copies ${runtime_dir}/${dll})
  endforeach()
  add_custom_target(vokari_mingw_runtime ALL DEPENDS ${runtime_copies})
  install(FILES ${runtime_copies} DESTINATION . COMPONENT vokari)
endif()

set(CPACK_PACKAGE_NAME Vokari)
set(CPACK_PACKAGE_VENDOR Vokari)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vokari countdown timer and stopwatch")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Vokari)
set(CPACK_PACKAGE_FILE_NAME vokari-${PROJECT_VERSION}-windows-x64)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};vokari;/")
# The Start menu entry: vokari.exe, named Vokari, with the program's own icon.
set(CPACK_PACKAGE_EXECUTABLES vokari Vokari)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME vokari.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/assets/icons/vokari.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/assets/icons/vokari.ico)
set(CPACK_NSIS_DISPLAY_NAME Vokari)
set(CPACK_NSIS_PACKAGE_NAME Vokari)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for a 64-bit program: NSIS makes 32-bit ones unless told, which a 64-bit
# Windows without its 32-bit layer (or a Wine without wine32) cannot run.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# The zip holds the files themselves, not a folder around them; the installer is named apart.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/WindowsCPackOptions.cmake)
include(CPack)

foreach(kind zip installer)
  if(kind STREQUAL "zip")
    set(generator ZIP)
  else()
    set(generator NSIS)
  endif()
  add_custom_target(windows-${kind}
    COMMAND ${CMAKE_CPACK_COMMAND} -G ${generator} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
            -B ${CMAKE_BINARY_DIR}/packages
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Packing the Windows program (${generator})"
    VERBATIM)
  add_dependencies(windows-${kind} vokari)
  if(TARGET vokari_mingw_runtime)
    add_dependencies(windows-${kind} vokari_mingw_runtime)
  endif()
endforeach()
