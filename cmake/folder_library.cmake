# quorvalite_folder_library(FOLDER [PUBLIC lib...] [PRIVATE lib...] [EXCLUDE file...])
#
# Makes the library quorvalite_FOLDER of the sources in src/FOLDER. Its
# headers are included as "FOLDER/name.h", through an include root of its own
# (build/include/FOLDER, which holds only a link FOLDER -> src/FOLDER). A
# target therefore sees the headers of the libraries it links and no others:
# an include of a folder that is not linked, an upward include, fails to
# compile. Libraries are named by folder (render) or as CMake targets
# (SDL2::SDL2). EXCLUDE names sources of the folder that are not part of the
# library (a program's main).
function(quorvalite_folder_library folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "PUBLIC;PRIVATE;EXCLUDE")
  set(source_dir ${PROJECT_SOURCE_DIR}/src/${folder})
  set(root ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${source_dir} ${root}/${folder} SYMBOLIC)
  file(GLOB sources CONFIGURE_DEPENDS ${source_dir}/*.cpp)
  foreach(excluded IN LISTS arg_EXCLUDE)
    list(REMOVE_ITEM sources ${source_dir}/${excluded})
  endforeach()
  add_library(quorvalite_${folder} STATIC ${sources})
  target_include_directories(quorvalite_${folder} PUBLIC ${root})
  foreach(visibility PUBLIC PRIVATE)
    foreach(dependency IN LISTS arg_${visibility})
      if(TARGET quorvalite_${dependency})
        set(dependency quorvalite_${dependency})
      endif()
      target_link_libraries(quorvalite_${folder} ${visibility} ${dependency})
    endforeach()
  endforeach()
endfunction()
