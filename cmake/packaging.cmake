# The CMake package of the library, and Debian packages of everything
# installed: "quelvane" (the monitor and the designers' tools) and
# "liborvqtlib-dev" (library, headers, CMake package). A Qt 6 build packages
# only the library, as OrvQtLib6 in "liborvqtlib6-dev", which installs beside
# the Qt 5 one; the programs come from the Qt 5 build.
include(CMakePackageConfigHelpers)

set(ORV_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/${ORV_PACKAGE})
string(REPLACE "${ORV_QT}::" "" ORV_QT_COMPONENTS "${ORV_QT_LIBS}")
string(REPLACE ";" " " ORV_QT_COMPONENTS "${ORV_QT_COMPONENTS}")
if(ORV_JSONCPP STREQUAL "jsoncpp_lib")
    set(ORV_JSONCPP_FROM_CONFIG ON)
else()
    set(ORV_JSONCPP_FROM_CONFIG OFF)
endif()

install(EXPORT ${ORV_PACKAGE}Targets NAMESPACE ${ORV_PACKAGE}:: DESTINATION ${ORV_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/OrvQtLibConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/${ORV_PACKAGE}Config.cmake
    INSTALL_DESTINATION ${ORV_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/${ORV_PACKAGE}ConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${ORV_PACKAGE}Config.cmake ${CMAKE_CURRENT_BINARY_DIR}/${ORV_PACKAGE}ConfigVersion.cmake
    DESTINATION ${ORV_CMAKE_DIR} COMPONENT development)

set(CPACK_PACKAGE_NAME quelvane)
set(CPACK_PACKAGE_VENDOR "Quelvane")
set(CPACK_PACKAGE_CONTACT "Quelvane developers <quelvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ECG monitor on a skinnable Qt 5 widget toolkit")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
if(ORVQ_QT_MAJOR STREQUAL "6")
    set(CPACK_PACKAGE_NAME orvqtlib6)
    set(CPACK_COMPONENTS_ALL development)
else()
    set(CPACK_COMPONENTS_ALL runtime development)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME quelvane)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION science)
# The programs link Qt, jsoncpp and zlib dynamically; dpkg-shlibdeps names
# the library packages they need.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
if(ORVQ_QT_MAJOR STREQUAL "6")
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME liborvqtlib6-dev)
    set(ORV_QT_DEV_PACKAGES "qt6-base-dev (>= ${ORV_QT_VERSION}), qt6-5compat-dev")
else()
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME liborvqtlib-dev)
    set(ORV_QT_DEV_PACKAGES "qtbase5-dev (>= ${ORV_QT_VERSION})")
endif()
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# A static library: its users link what it links, Qt no older than the
# one it was built with.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "${ORV_QT_DEV_PACKAGES}, libjsoncpp-dev, zlib1g-dev")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "The Quelvane monitor with its skin package and the gallery skin, orvq-check, orvq-preview, orvq-lupdate and orvq-live")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "${ORV_PACKAGE}: static library for Qt ${ORVQ_QT_MAJOR}, headers and CMake package")
include(CPack)
