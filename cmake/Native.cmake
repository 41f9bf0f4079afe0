# Native build of the pure rules: unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and libFuzzer targets.
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -Werror ${SANITIZE})
add_link_options(${SANITIZE})

add_library(setup_core STATIC ${PURE_SOURCES})
target_include_directories(setup_core PUBLIC ${CMAKE_SOURCE_DIR})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -Wno-error)

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
if(NATIVE_TEST_SOURCES)
  add_executable(native_tests ${NATIVE_TEST_SOURCES})
  target_link_libraries(native_tests PRIVATE setup_core GTest::gtest_main)
  add_test(NAME native COMMAND native_tests)
  set_tests_properties(native PROPERTIES LABELS native)
endif()

# Each fuzz/<name>.cpp is one libFuzzer target; scripts/test gives each a short run.
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
foreach(fuzz_source ${FUZZ_SOURCES})
  get_filename_component(target ${fuzz_source} NAME_WE)
  add_executable(fuzz_${target} ${fuzz_source})
  target_compile_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_${target} PRIVATE setup_core)
endforeach()
