# libFuzzer targets (preset "fuzz", clang): one executable per
# tests/fuzz/<target>.cpp, each linked with the portable core built with the
# same coverage hooks and sanitizers. tests/fuzz/campaign runs them.
#
# clang accepts no execution character set but UTF-8, so in this build the
# Chinese literals of our sources stay UTF-8 bytes instead of GBK. The
# parsers' byte markers are written as escapes and do not change; texts such
# as the hop time-out text are longer here (12 bytes instead of 8), which
# only moves bounds further from their limits. The targets themselves write
# every non-ASCII byte as an escape.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VELTRANE_FUZZ needs clang (preset fuzz); found ${CMAKE_CXX_COMPILER_ID}")
endif()
set_property(TARGET vt_flags PROPERTY INTERFACE_COMPILE_OPTIONS
             $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -finput-charset=UTF-8>)

file(GLOB _fuzz_targets CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp")
set(VELTRANE_FUZZ_TARGETS "")
foreach(f IN LISTS _fuzz_targets)
  get_filename_component(name "${f}" NAME_WE)
  add_executable(fuzz-${name} ${f})
  target_link_libraries(fuzz-${name} PRIVATE veltrane_core)
  target_link_options(fuzz-${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(fuzz-${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/fuzz"
                                                OUTPUT_NAME ${name})
  list(APPEND VELTRANE_FUZZ_TARGETS ${name})
endforeach()
