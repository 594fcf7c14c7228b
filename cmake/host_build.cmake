# Host build: the installer and its framework against winsim, the simulated
# Windows, with the test suites under AddressSanitizer and UBSan.

set(SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${SANITIZERS} -g ${WARNING_FLAGS})
add_link_options(${SANITIZERS})

# install.rc compiled by the toolchain's windres, exactly as for Install.EXE,
# then embedded as bytes for winsim's resource loader.
find_program(WINDRES i686-w64-mingw32-windres REQUIRED)
set(INSTALL_RES ${CMAKE_BINARY_DIR}/install.res)
file(GLOB UI_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/ui/*)
add_custom_command(OUTPUT ${INSTALL_RES}
  COMMAND ${WINDRES} -c 65001 -I ${CMAKE_SOURCE_DIR}/src/ui -i ${INSTALL_RC} -O res -o ${INSTALL_RES}
  DEPENDS ${UI_RESOURCE_FILES}
  COMMENT "Compiling install.rc")
set(INSTALL_RES_CPP ${CMAKE_BINARY_DIR}/install_res.cpp)
add_custom_command(OUTPUT ${INSTALL_RES_CPP}
  COMMAND ${CMAKE_COMMAND} -DIN=${INSTALL_RES} -DOUT=${INSTALL_RES_CPP} -DSYMBOL=g_installRes
          -P ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake
  DEPENDS ${INSTALL_RES} ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake)

file(GLOB WINSIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/winsim/src/*.cpp)
add_library(winsim STATIC ${WINSIM_SOURCES})
target_include_directories(winsim PUBLIC ${CMAKE_SOURCE_DIR}/platform/winsim/include)

add_library(install_res STATIC ${INSTALL_RES_CPP})

# The framework and the installer: only the Win32 API (here winsim's) and no
# standard library headers. RTTI stays on here so that UBSan can check
# virtual calls; Install.EXE is built without it.
set(HOST_INSTALLER_FLAGS ${INSTALLER_FLAGS})
list(REMOVE_ITEM HOST_INSTALLER_FLAGS -fno-rtti)
add_library(framework STATIC ${FRAMEWORK_SOURCES})
target_include_directories(framework PUBLIC ${CMAKE_SOURCE_DIR}/platform/framework)
target_compile_options(framework PRIVATE ${HOST_INSTALLER_FLAGS} -nostdinc++)
target_link_libraries(framework PUBLIC winsim)

add_library(installer STATIC ${INSTALLER_SOURCES})
target_include_directories(installer PUBLIC ${INSTALLER_INCLUDES})
target_compile_options(installer PRIVATE ${HOST_INSTALLER_FLAGS} -nostdinc++)
target_link_libraries(installer PUBLIC framework winsim)

# Test support: machine set-up, fixtures (PE writer, distribution builder).
file(GLOB TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(test_support STATIC ${TEST_SUPPORT_SOURCES})
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)
target_link_libraries(test_support PUBLIC installer install_res winsim)

enable_testing()
find_package(GTest REQUIRED)
# A window the simulated user did not expect fails the running test.
target_link_libraries(test_support PUBLIC GTest::gtest)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE test_support GTest::gtest GTest::gtest_main)
add_test(NAME unit_tests COMMAND unit_tests)

file(GLOB SCENARIO_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/scenario/*.cpp)
if(SCENARIO_TEST_SOURCES)
  add_executable(scenario_tests ${SCENARIO_TEST_SOURCES})
  target_link_libraries(scenario_tests PRIVATE test_support GTest::gtest GTest::gtest_main)
  add_test(NAME scenario_tests COMMAND scenario_tests)
endif()

# The commands of tools/, tested through their own parts and as commands.
file(GLOB TOOL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tools/*.cpp)
if(TOOL_TEST_SOURCES)
  add_executable(tool_tests ${TOOL_TEST_SOURCES}
    ${CMAKE_SOURCE_DIR}/tools/install_sim/answers.cpp
    ${CMAKE_SOURCE_DIR}/tools/install_sim/machine_folder.cpp)
  target_include_directories(tool_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/install_sim)
  target_link_libraries(tool_tests PRIVATE test_support GTest::gtest GTest::gtest_main)
  target_compile_definitions(tool_tests PRIVATE
    INSTALL_SIM="$<TARGET_FILE:install-sim>" MAKE_SAMPLE_MACHINE="$<TARGET_FILE:make-sample-machine>")
  add_dependencies(tool_tests install-sim make-sample-machine)
  add_test(NAME tool_tests COMMAND tool_tests)
endif()

file(GLOB TOOL_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*/CMakeLists.txt)
foreach(tool_cmake ${TOOL_DIRS})
  get_filename_component(tool_dir ${tool_cmake} DIRECTORY)
  add_subdirectory(${tool_dir})
endforeach()


include(${CMAKE_SOURCE_DIR}/cmake/shipped_tests.cmake)
