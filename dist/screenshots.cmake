# Runs the game headless with each of SCRIPTS in a fresh directory under WORK
# (the data from DATA, no options of the user's) and leaves the screenshots
# the scripts take in WORK. Fails when a run fails or a screenshot is missing.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
foreach(script ${SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  set(run ${WORK}/${name})
  file(MAKE_DIRECTORY ${run})
  file(STRINGS ${script} shots REGEX " shot ")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${run} XDG_DATA_HOME=${run} STAKKOR_DATA_DIR=${DATA}
            LC_ALL=C LANG=C ${PROGRAM} --headless --script ${script} --max-ms 60000
    WORKING_DIRECTORY ${run}
    RESULT_VARIABLE status
    OUTPUT_QUIET ERROR_VARIABLE errors)
  # The scripts end by the clock: status 3 is their normal end.
  if(NOT status EQUAL 3 AND NOT status EQUAL 0)
    message(FATAL_ERROR "${script}: the game ended with status ${status}: ${errors}")
  endif()
  foreach(line ${shots})
    string(REGEX REPLACE "^.* shot " "" shot "${line}")
    if(NOT EXISTS ${run}/${shot})
      message(FATAL_ERROR "${script}: no ${shot} was taken")
    endif()
    file(COPY ${run}/${shot} DESTINATION ${WORK})
  endforeach()
endforeach()
