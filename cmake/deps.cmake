# Third-party code is never committed: TinyXML and minizip come from Debian's
# source packages (unpacked by scripts/setup into VELTRANE_DEPS, Debian's
# patches applied), zlib from libz-mingw-w64-dev (or zlib1g-dev natively),
# stb_image from libstb-dev, GoogleTest from the googletest package.

set(TINYXML_DIR "${VELTRANE_DEPS}/tinyxml")
set(MINIZIP_DIR "${VELTRANE_DEPS}/minizip")
foreach(f "${TINYXML_DIR}/tinyxml.h" "${MINIZIP_DIR}/unzip.h" "/usr/include/stb/stb_image.h")
  if(NOT EXISTS "${f}")
    message(FATAL_ERROR "${f} is missing: run scripts/setup first")
  endif()
endforeach()

add_library(vt_tinyxml STATIC
  ${TINYXML_DIR}/tinyxml.cpp ${TINYXML_DIR}/tinystr.cpp
  ${TINYXML_DIR}/tinyxmlerror.cpp ${TINYXML_DIR}/tinyxmlparser.cpp)
target_compile_definitions(vt_tinyxml PUBLIC TIXML_USE_STL)
target_include_directories(vt_tinyxml SYSTEM PUBLIC ${TINYXML_DIR})
target_compile_options(vt_tinyxml PRIVATE -w)

# The Windows programs link zlib in: Windows has no zlib1.dll.
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)
add_library(vt_minizip STATIC ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/ioapi.c)
target_include_directories(vt_minizip SYSTEM PUBLIC ${MINIZIP_DIR})
target_compile_definitions(vt_minizip PRIVATE NOCRYPT NOUNCRYPT)
target_link_libraries(vt_minizip PUBLIC ZLIB::ZLIB)
target_compile_options(vt_minizip PRIVATE -w)

add_library(vt_stb INTERFACE)
target_include_directories(vt_stb SYSTEM INTERFACE /usr/include/stb)

if(VELTRANE_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
