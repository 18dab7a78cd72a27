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

# The headers every part of Corelink.dll compiles against: the exported headers in include/
# and the platform libraries they name.
add_library(corelink_headers INTERFACE)
target_include_directories(corelink_headers INTERFACE ${PROJECT_SOURCE_DIR}/include)
target_link_libraries(corelink_headers INTERFACE mfclite basekit uikit platform_common)

# corelink_subsystem(NAME SOURCES...) makes the object library corelink_NAME of one
# subsystem folder. Its own folder is a private include path: another subsystem reaches it
# only through a header it offers in NAME/export (target corelink_NAME_export), and hosts
# only through include/. The objects are linked into Corelink.dll and into the subsystem's
# white-box tests.
function(corelink_subsystem name)
  add_library(corelink_${name} OBJECT ${ARGN})
  target_include_directories(corelink_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(corelink_${name} PRIVATE CORELINK_BUILD)
  target_link_libraries(corelink_${name} PUBLIC corelink_headers PRIVATE corelink_common win32_raii corelink_build_policy)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/export)
    add_library(corelink_${name}_export INTERFACE)
    target_include_directories(corelink_${name}_export INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/export)
    target_link_libraries(corelink_${name} PUBLIC corelink_${name}_export)
  endif()
endfunction()
