# Install and package: libraries, the program, headers under include/storyloom/, a CMake
# package with namespaced targets and a pkg-config file.
include(CMakePackageConfigHelpers)

set(STORYLOOM_EXPORTED d3d9 coreframework a3dhost scenariocore customenum storyloom)
# Installed libraries find each other next to themselves, the program one folder up.
set_target_properties(coreframework a3dhost scenariocore customenum storyloom PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(storyloom_cli PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

install(TARGETS ${STORYLOOM_EXPORTED} EXPORT StoryloomTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS storyloom_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(dir IN LISTS STORYLOOM_LIBRARY_FOLDERS)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/storyloom/${dir}
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

# The prefix is found from the file's own folder, however deep the library folder is
# (lib/ or lib/<multiarch>/), so a moved install still works.
set(pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH STORYLOOM_PC_TO_PREFIX ${CMAKE_INSTALL_PREFIX}/${pc_dir} ${CMAKE_INSTALL_PREFIX})
configure_file(${CMAKE_CURRENT_LIST_DIR}/storyloom.pc.in ${CMAKE_CURRENT_BINARY_DIR}/storyloom.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/storyloom.pc DESTINATION ${pc_dir})
