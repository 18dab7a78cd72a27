# The XML benchmark's peers, pugixml and tinyxml2, compiled from Debian's source packages that
# bench/xml.sh fetches into CORELINK_XML_PEERS (nothing of theirs is kept in the project).
# Without that folder the benchmark target is not made.
set(CORELINK_XML_PEERS "" CACHE PATH "folder with Debian's pugixml and tinyxml2 sources")
if(CORELINK_XML_PEERS)
  file(GLOB_RECURSE _pugi "${CORELINK_XML_PEERS}/pugixml/*/src/pugixml.cpp")
  file(GLOB_RECURSE _tiny "${CORELINK_XML_PEERS}/tinyxml2/*/tinyxml2.cpp")
  list(FILTER _tiny EXCLUDE REGEX "/\\.pc/")
  if(_pugi AND _tiny)
    list(GET _pugi 0 _pugi)
    list(GET _tiny 0 _tiny)
    get_filename_component(_pugi_dir "${_pugi}" DIRECTORY)
    get_filename_component(_tiny_dir "${_tiny}" DIRECTORY)
    add_library(xml_peers STATIC "${_pugi}" "${_tiny}")
    target_include_directories(xml_peers SYSTEM PUBLIC "${_pugi_dir}" "${_tiny_dir}")
    target_link_libraries(xml_peers PRIVATE corelink_build_policy)
    target_compile_options(xml_peers PRIVATE -w)
    # pugixml once more in its wide-character mode, in a namespace of its own: the peer that
    # reads the same UTF-16 text as the library. Whatever includes it gets the same switches.
    add_library(xml_peer_pugixml_wide STATIC "${_pugi}")
    target_include_directories(xml_peer_pugixml_wide SYSTEM PUBLIC "${_pugi_dir}")
    target_compile_definitions(xml_peer_pugixml_wide PUBLIC PUGIXML_WCHAR_MODE pugi=pugi_wide)
    target_link_libraries(xml_peer_pugixml_wide PRIVATE corelink_build_policy)
    target_compile_options(xml_peer_pugixml_wide PRIVATE -w)
  else()
    message(WARNING "CORELINK_XML_PEERS=${CORELINK_XML_PEERS} holds no pugixml/tinyxml2 sources")
  endif()
endif()
