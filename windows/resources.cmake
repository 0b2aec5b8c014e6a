# The Windows program's resources: the icon drawn by our icon art, the version Explorer shows, and
# the manifest (see lushera.manifest).
enable_language(RC)
string(REPLACE "." "," LUSHERA_VERSION_COMMAS "${PROJECT_VERSION}.0")
set(LUSHERA_VERSION_QUAD "${PROJECT_VERSION}.0")
set(LUSHERA_ICO ${CMAKE_BINARY_DIR}/lushera.ico)
set(LUSHERA_MANIFEST ${CMAKE_BINARY_DIR}/lushera.manifest)
configure_file(${CMAKE_SOURCE_DIR}/windows/lushera.manifest ${LUSHERA_MANIFEST} @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/windows/lushera.rc.in ${CMAKE_BINARY_DIR}/lushera.rc @ONLY)
set(ICON_SIZES 16 24 32 48 64 128 256)
set(ICON_PNGS)
foreach(size ${ICON_SIZES})
  list(APPEND ICON_PNGS ${CMAKE_SOURCE_DIR}/data/icons/lushera-${size}.png)
endforeach()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(OUTPUT ${LUSHERA_ICO}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/web/favicon.py ${LUSHERA_ICO} ${ICON_PNGS}
  DEPENDS ${CMAKE_SOURCE_DIR}/web/favicon.py ${ICON_PNGS}
  COMMENT "The program's icon from the icon art")
set_source_files_properties(${CMAKE_BINARY_DIR}/lushera.rc PROPERTIES OBJECT_DEPENDS "${LUSHERA_ICO};${LUSHERA_MANIFEST}")
target_sources(lushera PRIVATE ${CMAKE_BINARY_DIR}/lushera.rc)
