# The sources of the core, one folder at a time, globbed so that a file added to a folder is
# built without a line here. Shared by src/core and the fuzz project, which compiles the
# document folder with its own flags. A folder that does not exist (yet) gives no sources.
function(krav_core_sources out)
  set(sources)
  foreach(folder IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
