# Checks on the includes of the core's folders, run at configure time. A change to
# any checked file configures again, so the checks run before each build that needs them.

# Stops the configuration when one of `files` has an include line matching `pattern`
# (the part after "#include"); `problem` heads the list of those lines.
function(zelk_refuse_includes pattern problem)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARGN})
  set(offenders)
  foreach(file ${ARGN})
    file(STRINGS ${file} matches REGEX "^[ \t]*#[ \t]*include[ \t]*${pattern}")
    if(matches)
      file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
      list(GET matches 0 first)
      string(STRIP "${first}" first)
      list(APPEND offenders "  ${shown}: ${first}")
    endif()
  endforeach()
  if(offenders)
    list(JOIN offenders "\n" listed)
    message(FATAL_ERROR "${problem}:\n${listed}")
  endif()
endfunction()

# The core must build without Qt: no Qt header (<Q...>, <Qt...>) in the given files.
function(zelk_check_qt_free)
  zelk_refuse_includes("<Q" "Qt headers in the Qt-free core" ${ARGN})
endfunction()

# Dependencies run from ui/ down to data/, never up: no file of folder `dir`
# includes a header of the folders listed after it.
function(zelk_check_layer dir)
  file(GLOB files ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.h)
  list(JOIN ARGN "|" above)
  zelk_refuse_includes("\"(${above})/" "${dir}/ includes from a folder above it" ${files})
endfunction()
