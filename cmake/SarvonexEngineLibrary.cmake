# sarvonex_engine_library(NAME [DEPENDS lib...]): the engine library of the
# current folder, built from its sources, linking the engine libraries it
# names, the settings and Qt Core.
function(sarvonex_engine_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS *.cpp *.h)
  add_library(sarvonex_${name} STATIC ${sources})
  target_include_directories(sarvonex_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  set(links sarvonex_settings Qt6::Core)
  foreach(dependency ${ARG_DEPENDS})
    list(APPEND links sarvonex_${dependency})
  endforeach()
  target_link_libraries(sarvonex_${name} PUBLIC ${links})
  add_dependencies(sarvonex_${name} sarvonex_engine_layers)
endfunction()
