# Install rules: the headers (with the generated Export.hpp and Version.hpp),
# the library, the Qt adapter when built, a CMake package with a "qt"
# component and relocatable pkg-config files.
include(CMakePackageConfigHelpers)

set(QUARRA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/quarra)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/quarra DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_BINARY_DIR}/include/quarra/Export.hpp ${PROJECT_BINARY_DIR}/include/quarra/Version.hpp
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quarra)
install(TARGETS quarra_datacollector EXPORT quarraTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT quarraTargets NAMESPACE quarra:: DESTINATION ${QUARRA_CMAKE_DIR})

set(QUARRA_HAS_QT OFF)
if(TARGET quarra_qt)
  set(QUARRA_HAS_QT ON)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/adapters/qt/include/quarra/qt DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quarra)
  install(FILES ${PROJECT_BINARY_DIR}/include/quarra/qt/Export.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quarra/qt)
  install(TARGETS quarra_qt EXPORT quarraQtTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(EXPORT quarraQtTargets NAMESPACE quarra:: DESTINATION ${QUARRA_CMAKE_DIR})
endif()

# A static library brings its private dependencies into the host's link; a
# shared one has them linked in already.
if(BUILD_SHARED_LIBS)
  set(QUARRA_SHARED ON)
  set(QUARRA_PC_PRIVATE "")
  set(QUARRA_PC_CFLAGS "")
else()
  set(QUARRA_SHARED OFF)
  set(QUARRA_PC_PRIVATE "Requires.private: libcurl sqlite3 libsodium uuid fmt\nLibs.private: -pthread")
  set(QUARRA_PC_CFLAGS " -DQUARRA_STATIC")
endif()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/quarraConfig.cmake.in
  ${PROJECT_BINARY_DIR}/quarraConfig.cmake INSTALL_DESTINATION ${QUARRA_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quarraConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/quarraConfig.cmake ${PROJECT_BINARY_DIR}/quarraConfigVersion.cmake
  DESTINATION ${QUARRA_CMAKE_DIR})

# pkg-config files that find the prefix from where they lie, so the install
# tree may be moved.
file(RELATIVE_PATH QUARRA_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" QUARRA_PC_TO_PREFIX "${QUARRA_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/quarra.pc.in ${PROJECT_BINARY_DIR}/quarra.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quarra.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(QUARRA_HAS_QT)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/quarra-qt.pc.in ${PROJECT_BINARY_DIR}/quarra-qt.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/quarra-qt.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()
