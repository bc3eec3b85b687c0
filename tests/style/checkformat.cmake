# cmake -DCLANG_FORMAT=<program> -DGIT=<program> -DROOT=<source dir> -P checkformat.cmake
# Runs clang-format in check mode over the C++ files git knows under src, tests, bench and tools:
# the tracked ones and the new ones not yet added (they are checked before their first commit),
# but not what .gitignore leaves out, generated files or third-party code. Fails naming every
# file clang-format would change.
if(NOT CLANG_FORMAT OR CLANG_FORMAT MATCHES "-NOTFOUND$")
  message("clang_format: skipped, no clang-format program (Debian package clang-format)")
  return()
endif()
if(NOT GIT OR GIT MATCHES "-NOTFOUND$")
  message("clang_format: skipped, no git to list the project's files")
  return()
endif()

execute_process(
  COMMAND ${GIT} ls-files --cached --others --exclude-standard -- src tests bench tools
  WORKING_DIRECTORY ${ROOT}
  OUTPUT_VARIABLE listed
  RESULT_VARIABLE git_result
  ERROR_VARIABLE git_error)
if(NOT git_result EQUAL 0)
  message("clang_format: skipped, ${ROOT} is no git checkout: ${git_error}")
  return()
endif()

string(REPLACE "\n" ";" listed "${listed}")
set(files)
foreach(file IN LISTS listed)
  if(NOT file MATCHES "\\.(c|cc|cpp|cxx|h|hh|hpp|hxx)$")
    continue()
  endif()
  # Fuzzing corpora and vendored code are not ours to format.
  if(file MATCHES "(^|/)(corpus|third_party|thirdparty|3rdparty|vendor)/")
    continue()
  endif()
  # Deleted in the working tree but still in git's index.
  if(NOT EXISTS "${ROOT}/${file}")
    continue()
  endif()
  list(APPEND files "${file}")
endforeach()
list(REMOVE_DUPLICATES files)
list(LENGTH files count)
if(count EQUAL 0)
  message(FATAL_ERROR "clang_format: no C++ files found under ${ROOT}")
endif()

execute_process(
  COMMAND ${CLANG_FORMAT} --dry-run -Werror ${files}
  WORKING_DIRECTORY ${ROOT}
  RESULT_VARIABLE format_result
  OUTPUT_VARIABLE format_output
  ERROR_VARIABLE format_output)
if(format_result EQUAL 0)
  message("clang_format: ${count} files as clang-format writes them")
  return()
endif()

# One line per file: the full report can run to thousands of lines.
string(REGEX MATCHALL "[^\n]+:[0-9]+:[0-9]+: error:" places "${format_output}")
set(failing)
foreach(place IN LISTS places)
  string(REGEX REPLACE ":[0-9]+:[0-9]+: error:$" "" file "${place}")
  list(APPEND failing "${file}")
endforeach()
list(REMOVE_DUPLICATES failing)
if(NOT failing)
  message(FATAL_ERROR "clang_format: ${CLANG_FORMAT} failed:\n${format_output}")
endif()
# Printed plainly first: CMake rewraps the text of an error, which would split the command.
list(JOIN failing "\n  " listing)
list(JOIN failing " " arguments)
message("These files are not as clang-format writes them:\n  ${listing}\n"
        "Format them with:\n  clang-format -i ${arguments}")
list(LENGTH failing failed)
message(FATAL_ERROR "clang_format: ${failed} of ${count} files need formatting")
