# The help pages lie beside the built program, so that the program started in the
# build folder finds them in its current folder.
foreach(page Hilfe.htm help.htm)
  configure_file("${CMAKE_CURRENT_LIST_DIR}/${page}" "${CMAKE_BINARY_DIR}/${page}" COPYONLY)
endforeach()
