# SQLite for the target, built by the set-up from Debian's source (./run build passes its
# folder as SQLITE_ROOT).
if(NOT SQLITE_ROOT OR NOT EXISTS "${SQLITE_ROOT}/lib/libsqlite3.a")
  message(FATAL_ERROR "SQLITE_ROOT must name the SQLite built for the target (./run build sets it up)")
endif()
add_library(sqlite3 STATIC IMPORTED GLOBAL)
set_target_properties(sqlite3 PROPERTIES
  IMPORTED_LOCATION "${SQLITE_ROOT}/lib/libsqlite3.a"
  INTERFACE_INCLUDE_DIRECTORIES "${SQLITE_ROOT}/include")
