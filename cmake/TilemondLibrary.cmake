# tilemond_add_library(NAME [LIBS ...]): the library of one source folder, made of
# every .cpp in it (and its resources). Include paths start at src/.
# Shared, so that the program and the add-in it loads use one copy of each: one editor, one
# clipboard, one set of prompts. Installed beside the add-in, which is where their RPATH looks.
function(tilemond_add_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${name} SHARED ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  tilemond_install_private(${name})
endfunction()

# tilemond_install_private(TARGET): a library of the program's own, in its private folder.
function(tilemond_install_private target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target} LIBRARY DESTINATION ${TILEMOND_PRIVATE_DIR})
endfunction()
