# Install.EXE for 32-bit Windows 95, 98 and NT 4.0 and later. It links no C
# or C++ runtime: platform/framework/win32 brings the entry point, the heap
# operators and the few helpers the compiler may call.

file(GLOB WIN32_RUNTIME_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/framework/win32/*.cpp)

enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

add_executable(Install WIN32
  ${INSTALLER_SOURCES} ${CMAKE_SOURCE_DIR}/src/app/the_app.cpp
  ${FRAMEWORK_SOURCES} ${WIN32_RUNTIME_SOURCES} ${INSTALL_RC})
set_target_properties(Install PROPERTIES OUTPUT_NAME "Install" SUFFIX ".EXE"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_include_directories(Install PRIVATE ${INSTALLER_INCLUDES})
target_compile_options(Install PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${INSTALLER_FLAGS} ${WARNING_FLAGS}
  -Os -ffunction-sections -fdata-sections -fno-ident -fno-stack-protector>)
target_link_options(Install PRIVATE
  -nostdlib -nostartfiles -s
  -Wl,--entry,_WinMainCRTStartup@0
  -Wl,--subsystem,windows:4.0
  -Wl,--major-os-version,4 -Wl,--minor-os-version,0
  -Wl,--gc-sections
  -Wl,--disable-dynamicbase -Wl,--disable-nxcompat -Wl,--disable-reloc-section)
target_link_libraries(Install PRIVATE
  kernel32 user32 gdi32 advapi32 shell32 ole32 comctl32 version uuid gcc)
