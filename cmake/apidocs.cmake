# The API reference: `cmake --build build --target apidocs` runs Doxygen into
# build/apidocs/html, with the README and the guides in docs/ as pages. The
# apidocs test runs it with warnings as errors.
find_program(ORV_DOXYGEN doxygen)
if(NOT ORV_DOXYGEN)
    message(STATUS "doxygen not found: no apidocs target")
    return()
endif()

set(ORV_APIDOCS_DIR ${PROJECT_BINARY_DIR}/apidocs)
set(ORV_APIDOCS_INPUT ${PROJECT_SOURCE_DIR}/README.md)
foreach(page skin-format.md controls.md)
    if(EXISTS ${PROJECT_SOURCE_DIR}/docs/${page})
        string(APPEND ORV_APIDOCS_INPUT " ${PROJECT_SOURCE_DIR}/docs/${page}")
    endif()
endforeach()
string(APPEND ORV_APIDOCS_INPUT " ${PROJECT_SOURCE_DIR}/toolkit/orvqtlib.h"
    " ${PROJECT_SOURCE_DIR}/toolkit/core ${PROJECT_SOURCE_DIR}/toolkit/controls")
# Left out of the reference: implementation objects (as Qt leaves out its
# private classes) and reimplemented Qt handlers, which Qt documents.
set(ORV_APIDOCS_INTERNAL "*Impl *Event hitButton event eventFilter scrollContentsBy m_* \
    OrvQtLib::HasAttrKeys OrvQtLib::HasStyleSlots OrvQtLib::HasElementKeys")

set(ORV_APIDOCS_WARN_AS_ERROR NO)
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${ORV_APIDOCS_DIR}/Doxyfile @ONLY)
set(ORV_APIDOCS_WARN_AS_ERROR FAIL_ON_WARNINGS)
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${ORV_APIDOCS_DIR}/Doxyfile.check @ONLY)

add_custom_target(apidocs
    COMMAND ${ORV_DOXYGEN} ${ORV_APIDOCS_DIR}/Doxyfile
    WORKING_DIRECTORY ${ORV_APIDOCS_DIR}
    COMMENT "Writing the API reference to ${ORV_APIDOCS_DIR}/html"
    VERBATIM)

if(ORV_BUILD_TESTS)
    add_test(NAME apidocs COMMAND ${ORV_DOXYGEN} ${ORV_APIDOCS_DIR}/Doxyfile.check
             WORKING_DIRECTORY ${ORV_APIDOCS_DIR})
endif()
