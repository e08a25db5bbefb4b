# Small Windows console programs that are not part of the product:
#   vt-replay   stands in for ping/tracert in the engine tests (replays a
#               fixture); built next to the test executables, which copy it
#               under the command's name into a folder of their own
#   vt-tracert  a tracert for Wine, which has none (ICMP echo with rising
#               TTL); scripts/services.sh installs it into the Wine prefix's
#               system32 as tracert.exe, never beside veltrane.exe
if(WIN32)
  add_executable(vt-replay tests/tools/replay/ReplayMain.cpp)
  target_link_libraries(vt-replay PRIVATE vt_flags)
  set_target_properties(vt-replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")

  add_executable(vt-tracert lab/tracert/TracertMain.cpp)
  target_link_libraries(vt-tracert PRIVATE vt_flags iphlpapi ws2_32)
  set_target_properties(vt-tracert PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/lab")
endif()
