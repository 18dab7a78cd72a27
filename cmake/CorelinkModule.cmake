# Build policy shared by every module of the suite.
#
# Runtime: libgcc, libstdc++ and winpthread are linked statically into every module, so
# a module needs nothing but system DLLs and its sibling modules. Objects handed across
# a module boundary are allocated and released by the module that owns their class
# (exported out-of-line members), never by the caller's copy of the runtime.
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
target_link_options(corelink_build_policy INTERFACE -static -municode)

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
