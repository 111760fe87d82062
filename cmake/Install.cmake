# `cmake --install` puts the engine where a game's build finds it: the library in lib/,
# its headers under include/zarvo/ by subsystem, the data it opens by itself (built-in
# shaders, default fonts, cursors) in share/zarvo/, a CMake package (find_package(Zarvo)
# gives Zarvo::engine) and zarvo.pc for pkg-config. The demos are not part of it.
include(CMakePackageConfigHelpers)

set_target_properties(zarvo_deps PROPERTIES EXPORT_NAME deps)
install(TARGETS zarvo_engine zarvo_deps EXPORT ZarvoTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

foreach(dir IN LISTS ZARVO_LIBRARY_SUBSYSTEMS)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zarvo/${dir}
    FILES_MATCHING PATTERN "*.h"
    PATTERN "CommandLine.h" EXCLUDE)
endforeach()

set(ZARVO_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/zarvo)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/shaders/ DESTINATION ${ZARVO_SHARE_DIR}/shaders
  FILES_MATCHING PATTERN "*.vert" PATTERN "*.frag")
# Generated with the rest of Data/ by the asset generator (part of the default build).
install(FILES ${CMAKE_SOURCE_DIR}/Data/Font/font.tga ${CMAKE_SOURCE_DIR}/Data/Font/fontDemo.tga
  DESTINATION ${ZARVO_SHARE_DIR}/Data/Font OPTIONAL)
install(FILES ${CMAKE_SOURCE_DIR}/Data/MousePointer.png ${CMAKE_SOURCE_DIR}/Data/moveWindow.png
  DESTINATION ${ZARVO_SHARE_DIR}/Data OPTIONAL)

set(ZARVO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zarvo)
install(EXPORT ZarvoTargets NAMESPACE Zarvo:: DESTINATION ${ZARVO_CMAKE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/ZarvoConfig.cmake.in
  ${CMAKE_BINARY_DIR}/ZarvoConfig.cmake INSTALL_DESTINATION ${ZARVO_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/ZarvoConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/ZarvoConfig.cmake ${CMAKE_BINARY_DIR}/ZarvoConfigVersion.cmake
  DESTINATION ${ZARVO_CMAKE_DIR})

configure_file(${CMAKE_SOURCE_DIR}/cmake/zarvo.pc.in ${CMAKE_BINARY_DIR}/zarvo.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zarvo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
