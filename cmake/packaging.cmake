# The CMake package of the library, and Debian packages of everything
# installed: "quelvane" (the monitor and the designers' tools) and
# "liborvqtlib-dev" (library, headers, CMake package).
include(CMakePackageConfigHelpers)

set(ORV_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/OrvQtLib)
if(ORV_JSONCPP STREQUAL "jsoncpp_lib")
    set(ORV_JSONCPP_FROM_CONFIG ON)
else()
    set(ORV_JSONCPP_FROM_CONFIG OFF)
endif()

install(EXPORT OrvQtLibTargets NAMESPACE OrvQtLib:: DESTINATION ${ORV_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/OrvQtLibConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/OrvQtLibConfig.cmake
    INSTALL_DESTINATION ${ORV_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/OrvQtLibConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/OrvQtLibConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/OrvQtLibConfigVersion.cmake
    DESTINATION ${ORV_CMAKE_DIR} COMPONENT development)

set(CPACK_PACKAGE_NAME quelvane)
set(CPACK_PACKAGE_VENDOR "Quelvane")
set(CPACK_PACKAGE_CONTACT "Quelvane developers <quelvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ECG monitor on a skinnable Qt 5 widget toolkit")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME quelvane)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION science)
# The programs link Qt, jsoncpp and zlib dynamically; dpkg-shlibdeps names
# the library packages they need.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME liborvqtlib-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# A static library: its users link what it links, Qt no older than the
# one it was built with.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "qtbase5-dev (>= ${Qt5_VERSION_MAJOR}.${Qt5_VERSION_MINOR}), libjsoncpp-dev, zlib1g-dev")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "The Quelvane monitor with its skin package and the gallery skin, orvq-check, orvq-preview and orvq-lupdate")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "OrvQtLib: static library, headers and CMake package")
include(CPack)
