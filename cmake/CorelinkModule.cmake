# Build policy shared by every module of the suite.
#
# Runtime: every module uses the one shared C++ runtime (libstdc++-6.dll, libgcc_s_dw2-1.dll,
# libwinpthread-1.dll), copied into build/bin beside the modules. Standard-library objects
# that the interface hands across (the std::string results of the catalogue) are therefore
# allocated and released by the same runtime module; the suite's own classes keep their
# storage in the module that owns the class (exported out-of-line members).
#
# Text: wide printf formats follow the Windows convention (%s is a wide text in a wide
# format, %S the other width), so the MinGW C99 printf is switched off.

set(CORELINK_VERSION_COMMA "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}")
set(CORELINK_VERSION_DOTS  "${PROJECT_VERSION}")

add_library(corelink_build_policy INTERFACE)
target_compile_definitions(corelink_build_policy INTERFACE
  UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601
  __USE_MINGW_ANSI_STDIO=0)
target_compile_options(corelink_build_policy INTERFACE -municode -Wall -Wextra -Wno-unused-parameter)
target_link_options(corelink_build_policy INTERFACE -municode)

# The shared runtime DLLs, copied next to the modules at configure time.
set(CORELINK_RUNTIME_DLLS libstdc++-6.dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
foreach(dll ${CORELINK_RUNTIME_DLLS})
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "runtime DLL ${dll} not found (${path})")
  endif()
  file(COPY "${path}" DESTINATION "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
endforeach()

# corelink_module(TARGET DESCRIPTION) gives TARGET the build policy and a VERSIONINFO
# resource carrying the one version of this build.
function(corelink_module target description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(CORELINK_FILETYPE "VFT_APP")
    set(suffix ".exe")
  else()
    set(CORELINK_FILETYPE "VFT_DLL")
    set(suffix ".dll")
  endif()
  get_target_property(outname ${target} OUTPUT_NAME)
  if(NOT outname)
    set(outname ${target})
  endif()
  get_target_property(outsuffix ${target} SUFFIX)
  if(outsuffix)
    set(suffix ${outsuffix})
  endif()
  set(CORELINK_FILENAME "${outname}${suffix}")
  set(CORELINK_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  target_link_libraries(${target} PRIVATE corelink_build_policy)
endfunction()
