# wine_pilot (tools/wine_pilot): the end-to-end tests' hand on the windows of
# Install.EXE under Wine, and their reader of links and registry values. A
# console program of the Windows build, with the C++ runtime linked in
# statically so that a fresh prefix runs it.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  file(GLOB WINE_PILOT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/wine_pilot/*.cpp)
  add_executable(wine_pilot ${WINE_PILOT_SOURCES})
  set_target_properties(wine_pilot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_compile_options(wine_pilot PRIVATE ${WARNING_FLAGS} -O1 -DUNICODE -D_UNICODE -D_WIN32_WINNT=0x0600)
  target_link_options(wine_pilot PRIVATE -static -static-libgcc -static-libstdc++)
  target_link_libraries(wine_pilot PRIVATE user32 gdi32 ole32 uuid shell32 advapi32 comctl32)
endif()
