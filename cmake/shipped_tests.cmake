# Checks of the programs of the Windows build as they are shipped: they read
# build/windows/Install.EXE and its linker map (imports, headers, resources,
# size) and run StartupProbe.EXE under Wine. scripts/build.sh builds them
# before ctest runs; other files can be named through the cache variables.
set(INSTALL_EXE ${CMAKE_SOURCE_DIR}/build/windows/Install.EXE CACHE FILEPATH "Install.EXE that shipped_tests reads")
set(INSTALL_MAP ${CMAKE_SOURCE_DIR}/build/windows/Install.map CACHE FILEPATH "The linker map of that Install.EXE")
set(STARTUP_PROBE_EXE ${CMAKE_SOURCE_DIR}/build/windows/StartupProbe.EXE CACHE FILEPATH
    "StartupProbe.EXE that startup_under_wine runs")

file(GLOB SHIPPED_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/shipped/*.cpp)
add_executable(shipped_tests ${SHIPPED_TEST_SOURCES})
# The expected strings and dialog templates are shared with the unit tests.
target_include_directories(shipped_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit)
target_compile_definitions(shipped_tests PRIVATE INSTALL_EXE_PATH="${INSTALL_EXE}" INSTALL_MAP_PATH="${INSTALL_MAP}"
  ALLOWED_IMPORTS_PATH="${CMAKE_SOURCE_DIR}/tests/shipped/allowed_imports.txt")
target_link_libraries(shipped_tests PRIVATE test_support GTest::gtest GTest::gtest_main)
add_test(NAME shipped_tests COMMAND shipped_tests)

add_test(NAME startup_under_wine
  COMMAND ${CMAKE_SOURCE_DIR}/tests/startup_probe/run_under_wine.sh ${STARTUP_PROBE_EXE}
          ${CMAKE_SOURCE_DIR}/tests/startup_probe/expected.log ${CMAKE_BINARY_DIR}/startup_probe)
set_tests_properties(startup_under_wine PROPERTIES SKIP_RETURN_CODE 77)
