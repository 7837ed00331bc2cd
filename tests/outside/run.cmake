# Configures, builds and runs the outside project; fails on any step.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -DORV_SOURCE_DIR=${ORV_SOURCE_DIR}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
    message(FATAL_ERROR "configuring the outside project failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} -j2 RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
    message(FATAL_ERROR "building the outside project failed")
endif()
execute_process(COMMAND ${BINARY}/outside RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "the outside program failed: ${result}")
endif()
