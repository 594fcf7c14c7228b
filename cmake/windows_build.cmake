# Install.EXE for 32-bit Windows 95, 98 and NT 4.0 and later. It links no C
# or C++ runtime: platform/framework/win32 brings the entry point, the heap
# operators and the few helpers the compiler may call.

file(GLOB WIN32_RUNTIME_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/framework/win32/*.cpp)

enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# A program built as Install.EXE is: no runtime library, -Os with unused
# functions dropped at link time, a Windows 4.0 GUI program loaded at its
# preferred base (so no relocations), and a linker map beside it.
function(build_like_install target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_include_directories(${target} PRIVATE ${INSTALLER_INCLUDES})
  # -fdata-sections stays off: with it this compiler files zeroed data in
  # .data sections that take room in the file, instead of in .bss.
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${INSTALLER_FLAGS} ${WARNING_FLAGS}
    -Os -ffunction-sections -fno-ident -fno-stack-protector>)
  target_link_options(${target} PRIVATE
    -nostdlib -nostartfiles -s
    -Wl,--entry,_WinMainCRTStartup@0
    -Wl,--subsystem,windows:4.0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0
    -Wl,--gc-sections
    -Wl,--disable-dynamicbase -Wl,--disable-nxcompat -Wl,--disable-reloc-section
    -Wl,-Map,${CMAKE_BINARY_DIR}/${target}.map)
  # libgcc for the stack probe of frames of a page or more (___chkstk_ms);
  # the rest it offers is not wanted, see the test of the link map.
  target_link_libraries(${target} PRIVATE
    kernel32 user32 gdi32 advapi32 shell32 ole32 comctl32 version uuid gcc)
endfunction()

add_executable(Install WIN32
  ${INSTALLER_SOURCES} ${CMAKE_SOURCE_DIR}/src/app/the_app.cpp
  ${FRAMEWORK_SOURCES} ${WIN32_RUNTIME_SOURCES} ${INSTALL_RC})
set_target_properties(Install PROPERTIES OUTPUT_NAME "Install" SUFFIX ".EXE")
build_like_install(Install)

# The start-up code and framework life cycle of Install.EXE around an
# application object that writes down when it is built, run and destroyed;
# run under Wine by tests/startup_probe/run_under_wine.sh.
add_executable(StartupProbe WIN32
  ${CMAKE_SOURCE_DIR}/tests/startup_probe/startup_probe.cpp ${FRAMEWORK_SOURCES} ${WIN32_RUNTIME_SOURCES})
set_target_properties(StartupProbe PROPERTIES SUFFIX ".EXE")
build_like_install(StartupProbe)
