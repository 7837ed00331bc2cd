# Builds and runs the outside project twice, each step failing the test:
# against the source tree, and against this build installed into a prefix;
# then the settings-dialog example against the same prefix, headless.
function(build_and_run binary)
    build_and_run_program(${SOURCE} ${binary} outside "" ${ARGN})
endfunction()

function(build_and_run_program source binary program arguments)
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${source} -B ${binary} ${ARGN}
                    RESULT_VARIABLE result OUTPUT_QUIET)
    if(result)
        message(FATAL_ERROR "configuring the outside project in ${binary} failed")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${binary} -j2 RESULT_VARIABLE result OUTPUT_QUIET)
    if(result)
        message(FATAL_ERROR "building the outside project in ${binary} failed")
    endif()
    execute_process(COMMAND ${binary}/${program} ${arguments} RESULT_VARIABLE result)
    if(result)
        message(FATAL_ERROR "the program ${program} in ${binary} failed: ${result}")
    endif()
endfunction()

build_and_run(${BINARY}/subdirectory -DORV_SOURCE_DIR=${ORV_SOURCE_DIR} -DORVQ_QT_MAJOR=${ORVQ_QT_MAJOR})

set(prefix ${BINARY}/prefix)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${ORV_BINARY_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
    message(FATAL_ERROR "installing the build into ${prefix} failed")
endif()
string(REPLACE "|" ";" INSTALLED_FILES "${INSTALLED_FILES}")
foreach(installed ${INSTALLED_FILES})
    if(NOT EXISTS ${prefix}/${installed})
        message(FATAL_ERROR "the install lacks ${installed}")
    endif()
endforeach()
build_and_run(${BINARY}/installed -DORV_PREFIX=${prefix} -DORVQ_QT_MAJOR=${ORVQ_QT_MAJOR})
build_and_run_program(${EXAMPLE} ${BINARY}/example settings-dialog --quit-after-load -DCMAKE_PREFIX_PATH=${prefix}
                      -DORVQ_QT_MAJOR=${ORVQ_QT_MAJOR})
