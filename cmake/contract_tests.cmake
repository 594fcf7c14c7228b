# The API contract checks (tests/contract): one set of sources, built
#  - on the host against winsim, as contract_tests (run by ctest), and
#  - for Windows against the real API, as contract_tests.exe, a console
#    program with the C runtime, run under Wine by scripts/contract_wine.sh.
# Each build has its own environment file. contract.rc holds the installer's
# resources (install.rc) and the checks' own strings.

file(GLOB CONTRACT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/contract/*.cpp)
list(FILTER CONTRACT_SOURCES EXCLUDE REGEX ".*/environment_(winsim|windows)\\.cpp$")
# From the tests' support: the PE writer makes the executables that the
# version checks read; the .lnk reader reads the links the shell writes.
list(APPEND CONTRACT_SOURCES ${CMAKE_SOURCE_DIR}/tests/support/pe_writer.cpp
     ${CMAKE_SOURCE_DIR}/tests/support/lnk_reader.cpp)
set(CONTRACT_RC ${CMAKE_SOURCE_DIR}/tests/contract/contract.rc)
file(GLOB UI_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/ui/*)

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  add_executable(contract_tests ${CONTRACT_SOURCES}
    ${CMAKE_SOURCE_DIR}/tests/contract/environment_windows.cpp ${CONTRACT_RC})
  set_target_properties(contract_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_include_directories(contract_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support ${CMAKE_SOURCE_DIR}/src/ui)
  target_compile_options(contract_tests PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${WARNING_FLAGS} -O1>)
  # Static runtime libraries: the program needs no DLL that a fresh prefix lacks.
  target_link_options(contract_tests PRIVATE -static -static-libgcc -static-libstdc++)
  target_link_libraries(contract_tests PRIVATE version advapi32 comctl32 ole32 uuid shell32)
else()
  set(CONTRACT_RES ${CMAKE_BINARY_DIR}/contract.res)
  add_custom_command(OUTPUT ${CONTRACT_RES}
    COMMAND ${WINDRES} -c 65001 -I ${CMAKE_SOURCE_DIR}/src/ui -i ${CONTRACT_RC} -O res -o ${CONTRACT_RES}
    DEPENDS ${CONTRACT_RC} ${UI_RESOURCE_FILES}
    COMMENT "Compiling contract.rc")
  set(CONTRACT_RES_CPP ${CMAKE_BINARY_DIR}/contract_res.cpp)
  add_custom_command(OUTPUT ${CONTRACT_RES_CPP}
    COMMAND ${CMAKE_COMMAND} -DIN=${CONTRACT_RES} -DOUT=${CONTRACT_RES_CPP} -DSYMBOL=g_contractRes
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake
    DEPENDS ${CONTRACT_RES} ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake)
  add_executable(contract_tests ${CONTRACT_SOURCES}
    ${CMAKE_SOURCE_DIR}/tests/contract/environment_winsim.cpp ${CONTRACT_RES_CPP})
  target_include_directories(contract_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support ${CMAKE_SOURCE_DIR}/src/ui)
  target_link_libraries(contract_tests PRIVATE winsim)
  add_test(NAME contract_tests COMMAND contract_tests)
endif()
