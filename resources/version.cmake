# The program's version block (string table "040704E4", FileVersion and
# ProductVersion from the project version) in the ELF section "zelk_version".
set(ZELK_VERSION_TEXT "${PROJECT_VERSION}")
string(REPLACE "." "," ZELK_VERSION_COMMAS "${PROJECT_VERSION}")
set(ZELK_VERSION_BLOCK_SOURCE "${CMAKE_BINARY_DIR}/generated/zelk_version_block.cpp")
configure_file("${CMAKE_CURRENT_LIST_DIR}/version_block.cpp.in" "${ZELK_VERSION_BLOCK_SOURCE}" @ONLY)

# Adds the version block to an executable.
function(zelk_embed_version target)
  target_sources(${target} PRIVATE "${ZELK_VERSION_BLOCK_SOURCE}")
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}")
endfunction()
