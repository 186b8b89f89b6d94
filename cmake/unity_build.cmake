# Keeps the sources of the targets in the folders DIRS that include <windows.h> out of the
# batches the build compiles as one (see CMAKE_UNITY_BUILD): its macros rename functions
# such as DrawText and TextOut to their wide forms in every source that follows.
function(ordexa_compile_windows_sources_alone)
  foreach(dir ${ARGN})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(sources ${target} SOURCES)
      get_target_property(source_dir ${target} SOURCE_DIR)
      foreach(source ${sources})
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir} OUTPUT_VARIABLE path)
        if(path MATCHES "\\.cpp$" AND EXISTS ${path})
          file(STRINGS ${path} includes REGEX "^#include <windows.h>")
          if(includes)
            set_source_files_properties(${path} TARGET_DIRECTORY ${target}
              PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
          endif()
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
