# The Qt-free core is compiled three times by ./dev test (for Linux, for the fuzzers with
# clang and the sanitizers, for Windows with MinGW), and reading the standard headers was
# about 1.4 of the 2 to 4 seconds of a typical core source. So each of those builds reads
# the standard headers the core uses most once, into a precompiled header that every core
# library reuses; the Windows tests reuse one that also holds GoogleTest's header.
#
# A precompiled header serves only sources compiled with the options it was made with: the
# core libraries of one build share theirs (GCC falls back to reading the headers when
# they differ, clang refuses), so the header is made by a target linked like them.

set(ORDEXA_CORE_PCH_HEADERS
  <algorithm> <array> <cmath> <cstdint> <cstring> <functional> <map> <memory> <optional>
  <string> <string_view> <utility> <vector>)

# Makes NAME, an object library whose only work is the precompiled header of HEADERS,
# made with the options of what links LINKS.
function(ordexa_make_precompiled_header name)
  cmake_parse_arguments(arg "" "" "HEADERS;LINKS" ${ARGN})
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/${name}.cpp CONTENT "// The precompiled header's own source.\n")
  add_library(${name} OBJECT ${CMAKE_BINARY_DIR}/pch/${name}.cpp)
  if(arg_LINKS)
    target_link_libraries(${name} PRIVATE ${arg_LINKS})
  endif()
  target_precompile_headers(${name} PRIVATE ${arg_HEADERS})
endfunction()

# Gives every library and program defined in the folders DIRS (paths of the source tree)
# the core's precompiled header.
function(ordexa_use_core_precompiled_header)
  ordexa_make_precompiled_header(ordexa_core_pch HEADERS ${ORDEXA_CORE_PCH_HEADERS})
  foreach(dir ${ARGN})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$")
        target_precompile_headers(${target} REUSE_FROM ordexa_core_pch)
      endif()
    endforeach()
  endforeach()
endfunction()
