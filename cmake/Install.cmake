# The SDK: `cmake --install build --prefix DIR` (or ./run sdk DIR) lays out what a host
# program of the suite builds and ships with:
#   include/            the exported headers and the platform headers they include
#   lib/                import libraries
#   bin/                Corelink.dll, the platform DLLs, the shared C++ runtime,
#                       catalogue_tool.exe (hosts/CMakeLists.txt: check and recover a
#                       catalogue file), and the
#                       language files, skins and Hintbook.dll hosts ship (resources/ and
#                       platform/hintbook install those, and the built-in English set into
#                       lib/corelink)
#   lib/cmake/Corelink/ CorelinkConfig.cmake (imported target Corelink::Corelink), its version
#                       file and the toolchain file of the ABI the modules are built with
include(CMakePackageConfigHelpers)

set(CORELINK_SDK_MODULES corelink mfclite basekit uikit netkit)
install(TARGETS ${CORELINK_SDK_MODULES}
        RUNTIME DESTINATION bin
        ARCHIVE DESTINATION lib)
foreach(dll ${CORELINK_RUNTIME_DLLS})
  install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${dll} DESTINATION bin)
endforeach()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ DESTINATION include FILES_MATCHING PATTERN "*.h")
foreach(module mfc basekit uikit netkit common)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/${module}/include/ DESTINATION include
          FILES_MATCHING PATTERN "*.h")
endforeach()

set(config_dir lib/cmake/Corelink)
configure_file(${PROJECT_SOURCE_DIR}/cmake/CorelinkConfig.cmake.in
               ${CMAKE_CURRENT_BINARY_DIR}/CorelinkConfig.cmake @ONLY)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/CorelinkConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/CorelinkConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/CorelinkConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/toolchain-i686-mingw.cmake
        DESTINATION ${config_dir})
