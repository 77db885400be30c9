# Each library is seen by the others through a folder of the build tree that holds its own
# source folder and nothing else (build/include/<target>/<folder>, a link to the sources).
# Headers are still named "<folder>/<Header>.h", but a target reaches only the headers of
# the targets it links to: an include that crosses the layers does not compile.
#
#   ferrox_headers(<target> <folder> [PUBLIC|PRIVATE])
#
# <folder> is relative to the project root (app/services). PRIVATE is for programs and
# tests, whose headers nobody else includes.
function(ferrox_headers target folder)
  set(scope PUBLIC)
  if(ARGC GREATER 2)
    set(scope ${ARGV2})
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
endfunction()

# Libraries without Qt take no part in moc and uic.
function(ferrox_without_qt target)
  set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endfunction()
