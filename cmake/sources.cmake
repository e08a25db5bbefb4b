# Every product source is found by its place and name:
#   - files that include no Windows header are the portable core; they build
#     for Windows and natively (sanitizers on, unit tests, fuzzers);
#   - files named *_win.cpp need Windows and build only for it;
#   - files named *Main_win.cpp hold an entry point and go into one executable;
#   - cli/*_win.cpp are the console front end's commands, which register
#     themselves, so they are linked into veltrane-cli directly;
set(VELTRANE_SOURCE_DIRS base config net engines model ui app cli)

set(_all "")
foreach(d IN LISTS VELTRANE_SOURCE_DIRS)
  file(GLOB_RECURSE _found CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${d}/*.cpp")
  list(APPEND _all ${_found})
endforeach()

set(VELTRANE_PORTABLE_SOURCES "")
set(VELTRANE_WIN_SOURCES "")
set(VELTRANE_CLI_SOURCES "")
foreach(f IN LISTS _all)
  if(f MATCHES "Main_win\\.cpp$")
    continue()
  elseif(f MATCHES "/cli/[^/]*_win\\.cpp$")
    list(APPEND VELTRANE_CLI_SOURCES ${f})
  elseif(f MATCHES "_win\\.cpp$")
    list(APPEND VELTRANE_WIN_SOURCES ${f})
  else()
    list(APPEND VELTRANE_PORTABLE_SOURCES ${f})
  endif()
endforeach()

# Flags for our own code (not for third-party code). Chinese literals are
# written in UTF-8 and become GBK bytes in the binary: the system works in the
# ANSI code page 936 of the customers' machines.
add_library(vt_flags INTERFACE)
target_compile_options(vt_flags INTERFACE
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Werror -fexec-charset=GBK -finput-charset=UTF-8>)
target_include_directories(vt_flags INTERFACE ${CMAKE_SOURCE_DIR})

add_library(veltrane_core STATIC ${VELTRANE_PORTABLE_SOURCES})
target_link_libraries(veltrane_core PUBLIC vt_flags vt_tinyxml vt_minizip vt_stb)

if(WIN32)
  set(VELTRANE_WIN32_LIBS ws2_32 iphlpapi bcrypt gdi32 msimg32 gdiplus user32 comctl32 comdlg32
      shell32 shlwapi ole32 oleaut32 uuid version winmm imm32)
  if(VELTRANE_WIN_SOURCES)
    add_library(veltrane_win STATIC ${VELTRANE_WIN_SOURCES})
    target_link_libraries(veltrane_win PUBLIC veltrane_core ${VELTRANE_WIN32_LIBS})
  else()
    add_library(veltrane_win INTERFACE)
    target_link_libraries(veltrane_win INTERFACE veltrane_core ${VELTRANE_WIN32_LIBS})
  endif()

  add_executable(veltrane WIN32 app/startup/VeltraneMain_win.cpp app/veltrane.rc)
  target_link_libraries(veltrane PRIVATE veltrane_win)
  set_target_properties(veltrane PROPERTIES OUTPUT_NAME veltrane)
  include(${CMAKE_SOURCE_DIR}/cmake/skin.cmake)

  add_executable(veltrane-cli cli/CliMain_win.cpp cli/veltrane-cli.rc ${VELTRANE_CLI_SOURCES})
  target_link_libraries(veltrane-cli PRIVATE veltrane_win)

  # The shipped programs: stripped, their debug information in NAME.exe.debug
  # beside them, linked by .gnu_debuglink, so that a crash address from a
  # customer's machine can be symbolised with the build's own debug file.
  if(VELTRANE_SPLIT_DEBUG)
    foreach(program veltrane veltrane-cli)
      add_custom_command(TARGET ${program} POST_BUILD
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${program}> $<TARGET_FILE_NAME:${program}>.debug
        COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE_NAME:${program}>
        COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${program}>.debug $<TARGET_FILE_NAME:${program}>
        WORKING_DIRECTORY $<TARGET_FILE_DIR:${program}>
        VERBATIM)
    endforeach()
  endif()
endif()
