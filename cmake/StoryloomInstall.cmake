# Install and package: libraries, headers under one include root (storyloom/...), a CMake
# package with namespaced targets and a pkg-config file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(STORYLOOM_EXPORTED d3d9 coreframework a3dhost scenariocore customenum storyloom)
set(STORYLOOM_HEADER_ROOT ${CMAKE_INSTALL_INCLUDEDIR}/storyloom)

# Outside code includes <storyloom/...> both from an install and from this tree: in the build
# tree that root is a link to the sources.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/include)
file(CREATE_LINK ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/include/storyloom SYMBOLIC)
foreach(target IN LISTS STORYLOOM_EXPORTED)
  # The same names inside a tree that adds this project with add_subdirectory.
  add_library(Storyloom::${target} ALIAS ${target})
  # The library's own headers include each other from the root of the tree.
  target_include_directories(${target} INTERFACE $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}> $<INSTALL_INTERFACE:${STORYLOOM_HEADER_ROOT}>)
endforeach()
target_include_directories(d3d9 INTERFACE $<INSTALL_INTERFACE:${STORYLOOM_HEADER_ROOT}/host/d3d9>)
# Installed libraries find each other next to themselves.
set_target_properties(coreframework a3dhost scenariocore customenum storyloom PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS ${STORYLOOM_EXPORTED} EXPORT StoryloomTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(dir coreframework host channel scenario_channel quest)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${STORYLOOM_HEADER_ROOT}/${dir}
    FILES_MATCHING PATTERN "*.h")
endforeach()

set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Storyloom)
install(EXPORT StoryloomTargets NAMESPACE Storyloom:: DESTINATION ${config_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/StoryloomConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/StoryloomConfig.cmake INSTALL_DESTINATION ${config_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/StoryloomConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/StoryloomConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/StoryloomConfigVersion.cmake
  DESTINATION ${config_dir})

configure_file(${CMAKE_CURRENT_LIST_DIR}/storyloom.pc.in ${CMAKE_CURRENT_BINARY_DIR}/storyloom.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/storyloom.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
