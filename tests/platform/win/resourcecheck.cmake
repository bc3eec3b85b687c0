# Compiles the program's resource script with windres to a .res file and checks what it holds
# with resourcecheck. With FROM and TO, compiles a copy of the script with FROM replaced by TO
# instead, so a test can show the check catches that fault.
# cmake -DWINDRES=<windres> -DCHECKER=<resourcecheck> -DRC=<vokari.rc> -DASSETS=<src/assets>
#       -DWORK_DIR=<dir> [-DFROM=<text> -DTO=<text>] -P resourcecheck.cmake
foreach(var WINDRES CHECKER RC ASSETS WORK_DIR)
  if(NOT ${var})
    message(FATAL_ERROR "resourcecheck.cmake: ${var} not given")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
get_filename_component(rc_dir "${RC}" DIRECTORY)
set(script "${RC}")
if(DEFINED FROM)
  file(READ "${RC}" text)
  string(REPLACE "${FROM}" "${TO}" broken "${text}")
  # An edit that no longer applies would compile the intact script and prove nothing.
  if(broken STREQUAL text)
    message(FATAL_ERROR "resourcecheck.cmake: '${FROM}' is not in ${RC}")
  endif()
  set(script "${WORK_DIR}/broken.rc")
  file(WRITE "${script}" "${broken}")
endif()

# The script names its files relative to its own folder; the copy finds them through -I.
execute_process(
  COMMAND "${WINDRES}" -O res -I "${rc_dir}" "${script}" "${WORK_DIR}/resources.res"
  RESULT_VARIABLE windres_result)
if(NOT windres_result EQUAL 0)
  message(FATAL_ERROR "windres failed on ${script}: ${windres_result}")
endif()

execute_process(
  COMMAND "${CHECKER}" "${WORK_DIR}/resources.res" "${ASSETS}/icons/vokari.ico"
          "${ASSETS}/sounds/sound1.wav" "${ASSETS}/sounds/sound2.wav" "${ASSETS}/sounds/sound3.wav"
  RESULT_VARIABLE check_result)
if(NOT check_result EQUAL 0)
  message(FATAL_ERROR "the resources of ${script} are not the program's")
endif()
