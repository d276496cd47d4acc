# The file formats are pure codecs over bytes: src/storage may include only the
# folders below it, never the image, the pages or the windows that use it.
# Checked on every build in which a file of the folder changed.
file(GLOB VELMAR_STORAGE_FILES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/src/storage/*.h ${CMAKE_CURRENT_SOURCE_DIR}/src/storage/*.cpp)
set(VELMAR_STORAGE_STAMP ${CMAKE_CURRENT_BINARY_DIR}/storage-includes.stamp)
add_custom_command(
  OUTPUT ${VELMAR_STORAGE_STAMP}
  COMMAND ${CMAKE_COMMAND} -DFOLDER=${CMAKE_CURRENT_SOURCE_DIR}/src/storage -DALLOWED=storage,blocks,common,util
          -DSTAMP=${VELMAR_STORAGE_STAMP} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CheckIncludes.cmake
  DEPENDS ${VELMAR_STORAGE_FILES} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CheckIncludes.cmake
  COMMENT "Checking that src/storage includes nothing above blocks/"
  VERBATIM)
add_custom_target(velmar_storage_includes DEPENDS ${VELMAR_STORAGE_STAMP})
add_dependencies(velmar_core velmar_storage_includes)
