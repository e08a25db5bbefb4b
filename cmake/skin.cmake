# The skin archive: skin/build-skin renders the artwork of skin/art and zips it
# with the layouts of skin/layouts into <build>/skin/skin.zip, and makes the
# application icon <build>/skin/veltrane.ico. app/veltrane.rc links both into
# veltrane.exe (ZIPRES 102 and ICON 1); windres finds them through that
# folder on its include path. (Not the build directory itself: windres looks
# in its working directory first, and test executables carry skin.zip files
# of their own.)
file(GLOB_RECURSE VELTRANE_SKIN_SOURCES CONFIGURE_DEPENDS
  "${CMAKE_SOURCE_DIR}/skin/layouts/*" "${CMAKE_SOURCE_DIR}/skin/art/*")
list(APPEND VELTRANE_SKIN_SOURCES "${CMAKE_SOURCE_DIR}/skin/build-skin")
set(VELTRANE_SKIN_DIR "${CMAKE_BINARY_DIR}/skin")
set(VELTRANE_SKIN_ZIP "${VELTRANE_SKIN_DIR}/skin.zip")
set(VELTRANE_ICON "${VELTRANE_SKIN_DIR}/veltrane.ico")

add_custom_command(
  OUTPUT "${VELTRANE_SKIN_ZIP}" "${VELTRANE_ICON}"
  COMMAND /usr/bin/python3 "${CMAKE_SOURCE_DIR}/skin/build-skin" "${VELTRANE_SKIN_DIR}"
  DEPENDS ${VELTRANE_SKIN_SOURCES}
  COMMENT "Rendering the skin and packing skin.zip"
  VERBATIM)
add_custom_target(veltrane_skin DEPENDS "${VELTRANE_SKIN_ZIP}" "${VELTRANE_ICON}")

set_source_files_properties("${CMAKE_SOURCE_DIR}/app/veltrane.rc" PROPERTIES
  OBJECT_DEPENDS "${VELTRANE_SKIN_ZIP};${VELTRANE_ICON}")
target_include_directories(veltrane PRIVATE "${VELTRANE_SKIN_DIR}")
add_dependencies(veltrane veltrane_skin)
