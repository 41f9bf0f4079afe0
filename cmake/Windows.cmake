# Cross build: the installer, the Windows tests (run under Wine) and the end-to-end tests.
set(PLATFORM_BITS 32 CACHE STRING "AutoCAD platform width this edition serves (32 or 64)")
set(EDITION_DIR "" CACHE STRING "Folder below dist/ that receives SetUp.exe")
set_property(CACHE PLATFORM_BITS PROPERTY STRINGS 32 64)

set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
enable_language(RC)

# Our own code: warnings are errors (the i686 build is only ever compiled here, so the
# compiler is the one check it gets), narrow literals are GBK as on Chinese Windows.
# The installer runs on one thread: local statics need no locks, and without them the
# statically linked C++ runtime leaves its guard code and the winpthread library out.
set(OWN_COMPILE_OPTIONS -Wall -Wextra -Werror -fexec-charset=CP936 -ffunction-sections -fdata-sections
  -fno-threadsafe-statics)
set(OWN_DEFINITIONS PLATFORM_BITS=${PLATFORM_BITS} WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX)
set(STATIC_LINK -static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)

# The posix thread model of the compiler (which GoogleTest needs) makes the static C++
# runtime's exception support call into winpthread, some 30 KB. SetUp.exe starts no thread:
# link it against the runtime of the compiler's win32 thread model instead, which has the
# same C++ ABI and uses no thread library.
string(REPLACE "-posix" "-win32" WIN32_MODEL_COMPILER "${CMAKE_CXX_COMPILER}")
execute_process(COMMAND ${WIN32_MODEL_COMPILER} -print-file-name=libstdc++.a
  OUTPUT_VARIABLE WIN32_MODEL_LIBSTDCXX OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT IS_ABSOLUTE "${WIN32_MODEL_LIBSTDCXX}")
  message(FATAL_ERROR "${WIN32_MODEL_COMPILER} not found: install the compiler's win32 thread model")
endif()
get_filename_component(WIN32_MODEL_RUNTIME_DIR ${WIN32_MODEL_LIBSTDCXX} DIRECTORY)
set(SINGLE_THREAD_RUNTIME -L${WIN32_MODEL_RUNTIME_DIR})

add_library(setup_core STATIC ${PURE_SOURCES})
target_include_directories(setup_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(setup_core PRIVATE ${OWN_COMPILE_OPTIONS})
target_compile_definitions(setup_core PUBLIC ${OWN_DEFINITIONS})

# The layers, one library each, from the bottom up. The installation engine (journal/,
# deploy/, acad/, users/, engine/) and the part of our class library it stands on never show
# anything: they are compiled without the window functions' declarations (NOUSER, NOGDI), so a
# call to one does not compile, and they link only against each other, so a call into the
# window half of the class library or into ui/ does not link (the engine's own test programs
# and SetUpCmd.exe link without them).
set(FRAMEWORK_SYSTEM_SOURCES
  ${CMAKE_SOURCE_DIR}/framework/DllSearch.cpp
  ${CMAKE_SOURCE_DIR}/framework/Files.cpp
  ${CMAKE_SOURCE_DIR}/framework/KeyPath.cpp
  ${CMAKE_SOURCE_DIR}/framework/LinkSafeFiles.cpp
  ${CMAKE_SOURCE_DIR}/framework/ModulePath.cpp
  ${CMAKE_SOURCE_DIR}/framework/Registry.cpp
  ${CMAKE_SOURCE_DIR}/framework/ShellFolders.cpp
  ${CMAKE_SOURCE_DIR}/framework/SystemCodePage.cpp
  ${CMAKE_SOURCE_DIR}/framework/Token.cpp
  ${CMAKE_SOURCE_DIR}/framework/WideText.cpp)
set(ENGINE_DEFINITIONS WIN32_LEAN_AND_MEAN NOUSER NOGDI COM_NO_WINDOWS_H)
add_library(framework_system STATIC ${FRAMEWORK_SYSTEM_SOURCES})
target_compile_options(framework_system PRIVATE ${OWN_COMPILE_OPTIONS})
target_compile_definitions(framework_system PRIVATE ${ENGINE_DEFINITIONS})
target_link_libraries(framework_system PUBLIC setup_core advapi32 kernel32)

# The engine by concern, from the bottom up: journal/ (work items, the record, the log), deploy/
# (files and folders), acad/ (AutoCAD), users/ (every user's part and logon), engine/ (the face
# and the sequences).
file(GLOB ENGINE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/journal/*.cpp ${CMAKE_SOURCE_DIR}/deploy/*.cpp
  ${CMAKE_SOURCE_DIR}/acad/*.cpp ${CMAKE_SOURCE_DIR}/users/*.cpp ${CMAKE_SOURCE_DIR}/engine/*.cpp)
list(REMOVE_ITEM ENGINE_SOURCES ${PURE_SOURCES})
add_library(setup_engine STATIC ${ENGINE_SOURCES})
target_compile_options(setup_engine PRIVATE ${OWN_COMPILE_OPTIONS})
target_compile_definitions(setup_engine PRIVATE ${ENGINE_DEFINITIONS})
target_link_libraries(setup_engine PUBLIC framework_system)

file(GLOB FRAMEWORK_WINDOWS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/framework/*.cpp)
list(REMOVE_ITEM FRAMEWORK_WINDOWS_SOURCES ${PURE_SOURCES} ${FRAMEWORK_SYSTEM_SOURCES})
add_library(framework_windows STATIC ${FRAMEWORK_WINDOWS_SOURCES})
target_compile_options(framework_windows PRIVATE ${OWN_COMPILE_OPTIONS})
target_link_libraries(framework_windows PUBLIC framework_system gdi32 user32)

# The front ends (ui/, cli/) and the process entries (app/) include the engine through its
# public interface (engine/Engine.h) alone, and nothing of each other: checked before they are compiled.
file(GLOB FRONT_END_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/ui/* ${CMAKE_SOURCE_DIR}/cli/* ${CMAKE_SOURCE_DIR}/app/*)
set(FRONT_END_STAMP ${CMAKE_BINARY_DIR}/front-end-includes.checked)
add_custom_command(OUTPUT ${FRONT_END_STAMP}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DSTAMP=${FRONT_END_STAMP}
          -P ${CMAKE_SOURCE_DIR}/cmake/CheckIncludes.cmake
  DEPENDS ${FRONT_END_FILES} ${CMAKE_SOURCE_DIR}/cmake/CheckIncludes.cmake
  COMMENT "Checking what the front ends include")
add_custom_target(front_end_includes DEPENDS ${FRONT_END_STAMP})

file(GLOB UI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/ui/*.cpp)
list(REMOVE_ITEM UI_SOURCES ${PURE_SOURCES})
add_library(setup_ui STATIC ${UI_SOURCES})
target_compile_options(setup_ui PRIVATE ${OWN_COMPILE_OPTIONS})
target_link_libraries(setup_ui PUBLIC setup_engine framework_windows)
add_dependencies(setup_ui front_end_includes)

# The shipped programs are copied into dist/<edition>/ after each build.
function(ship_in_edition target)
  if(EDITION_DIR)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_SOURCE_DIR}/dist/${EDITION_DIR}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${CMAKE_SOURCE_DIR}/dist/${EDITION_DIR}/${target}.exe)
  endif()
endfunction()

file(GLOB APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/*.cpp)
set(CMD_ENTRY ${CMAKE_SOURCE_DIR}/app/SetUpCmdMain.cpp)
set(LOGON_ENTRY ${CMAKE_SOURCE_DIR}/app/UserSetupMain.cpp)
list(REMOVE_ITEM APP_SOURCES ${CMD_ENTRY} ${LOGON_ENTRY})
add_executable(SetUp WIN32 ${APP_SOURCES} ${CMAKE_SOURCE_DIR}/res/SetUp.rc)
target_compile_options(SetUp PRIVATE ${OWN_COMPILE_OPTIONS})
target_link_libraries(SetUp PRIVATE setup_ui)
target_link_options(SetUp PRIVATE ${STATIC_LINK} ${SINGLE_THREAD_RUNTIME})
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/SetUp.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/SetUp.manifest;${CMAKE_SOURCE_DIR}/res/logo.bmp;${CMAKE_SOURCE_DIR}/res/finish-menu.bmp;${CMAKE_SOURCE_DIR}/res/SetUp.ico")
ship_in_edition(SetUp)

# TorlenUserSetup.exe, the logon step of an installation for every user: a window program
# (no console at logon) that shows no window, on the engine alone. SetUpCmd.exe carries it
# (res/LogonProgram.rc) and writes it into the plug-in's folder. Its manifest (asInvoker) also
# keeps Windows from taking a 32-bit program with "Setup" in its name for an installer that
# must be elevated at every user's logon.
add_executable(TorlenUserSetup WIN32 ${LOGON_ENTRY} ${CMAKE_SOURCE_DIR}/app/RuntimeEnds.cpp
  ${CMAKE_SOURCE_DIR}/res/TorlenUserSetup.rc)
target_compile_options(TorlenUserSetup PRIVATE ${OWN_COMPILE_OPTIONS})
target_compile_definitions(TorlenUserSetup PRIVATE ${ENGINE_DEFINITIONS})
target_link_libraries(TorlenUserSetup PRIVATE setup_engine)
target_link_options(TorlenUserSetup PRIVATE ${STATIC_LINK} ${SINGLE_THREAD_RUNTIME})
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/TorlenUserSetup.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/SetUp.manifest")
add_dependencies(TorlenUserSetup front_end_includes)

# SetUpCmd.exe, the unattended installer: a console program on the engine alone (it links
# neither the window layers nor ui/).
file(GLOB CLI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cli/*.cpp)
list(REMOVE_ITEM CLI_SOURCES ${PURE_SOURCES})
add_library(setup_cli STATIC ${CLI_SOURCES})
target_compile_options(setup_cli PRIVATE ${OWN_COMPILE_OPTIONS})
target_compile_definitions(setup_cli PRIVATE ${ENGINE_DEFINITIONS})
target_link_libraries(setup_cli PUBLIC setup_engine)
add_dependencies(setup_cli front_end_includes)
add_executable(SetUpCmd ${CMD_ENTRY} ${CMAKE_SOURCE_DIR}/app/RuntimeEnds.cpp ${CMAKE_SOURCE_DIR}/res/SetUpCmd.rc
  ${CMAKE_SOURCE_DIR}/res/LogonProgram.rc)
target_compile_options(SetUpCmd PRIVATE ${OWN_COMPILE_OPTIONS})
target_compile_definitions(SetUpCmd PRIVATE ${ENGINE_DEFINITIONS})
target_link_libraries(SetUpCmd PRIVATE setup_cli)
target_link_options(SetUpCmd PRIVATE -municode ${STATIC_LINK} ${SINGLE_THREAD_RUNTIME})
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/SetUpCmd.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/SetUp.manifest")
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/LogonProgram.rc PROPERTIES
  INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/TorlenUserSetup.exe;${CMAKE_SOURCE_DIR}/res/LogonProgram.h")
add_dependencies(SetUpCmd TorlenUserSetup)
ship_in_edition(SetUpCmd)

# GoogleTest, cross-compiled; its own warnings are not ours to fix.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One Windows test program per layer: tests/win/<layer>/*.cpp, sharing tests/win/support.
# The engine's test programs (acad, deploy, engine, framework) link the engine and the test
# support's system half only: they show that the engine needs nothing of the window layers. The
# engine's own program prepares its machines with the acad and deploy programs' fixtures.
file(GLOB WIN_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
# Linked as an object into each test program (not taken from the archive, where nothing would
# pull it in), so that it stands in for the kernel32 import.
set(QUIET_DEBUG_OUTPUT ${CMAKE_SOURCE_DIR}/tests/win/support/QuietDebugOutput.cpp)
set(WIN_SUPPORT_WINDOWS_SOURCES ${CMAKE_SOURCE_DIR}/tests/win/support/ScriptedMessageBoxes.cpp)
list(REMOVE_ITEM WIN_SUPPORT_SOURCES ${QUIET_DEBUG_OUTPUT} ${WIN_SUPPORT_WINDOWS_SOURCES})
add_library(win_test_support STATIC ${WIN_SUPPORT_SOURCES})
target_compile_options(win_test_support PRIVATE ${OWN_COMPILE_OPTIONS})
target_link_libraries(win_test_support PUBLIC setup_engine GTest::gtest)
target_include_directories(win_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/win)
add_library(win_test_support_windows STATIC ${WIN_SUPPORT_WINDOWS_SOURCES})
target_compile_options(win_test_support_windows PRIVATE ${OWN_COMPILE_OPTIONS})
target_link_libraries(win_test_support_windows PUBLIC win_test_support setup_ui comctl32 shell32 ole32)

file(GLOB WIN_TEST_LAYERS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/win/*)
foreach(layer_dir ${WIN_TEST_LAYERS})
  get_filename_component(layer ${layer_dir} NAME)
  if(NOT IS_DIRECTORY ${layer_dir} OR layer STREQUAL "support")
    continue()
  endif()
  file(GLOB layer_sources CONFIGURE_DEPENDS ${layer_dir}/*.cpp)
  if(NOT layer_sources)
    continue()
  endif()
  add_executable(win_${layer}_tests ${layer_sources} ${QUIET_DEBUG_OUTPUT})
  target_compile_options(win_${layer}_tests PRIVATE ${OWN_COMPILE_OPTIONS})
  if(layer STREQUAL "acad" OR layer STREQUAL "deploy" OR layer STREQUAL "engine" OR layer STREQUAL "framework")
    target_link_libraries(win_${layer}_tests PRIVATE win_test_support GTest::gtest_main)
  else()
    target_link_libraries(win_${layer}_tests PRIVATE win_test_support_windows GTest::gtest_main)
  endif()
  if(layer STREQUAL "engine")
    target_sources(win_engine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win/acad/AcadRegistry.cpp
      ${CMAKE_SOURCE_DIR}/tests/win/deploy/DeployWorld.cpp)
  endif()
  target_link_options(win_${layer}_tests PRIVATE ${STATIC_LINK})
  add_test(NAME win_${layer} COMMAND win_${layer}_tests)
  set_tests_properties(win_${layer} PROPERTIES LABELS windows)
endforeach()

# End to end: a driver that starts the real SetUp.exe of this tree under Wine and Xvfb.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(E2E_SOURCES)
  add_executable(e2e_tests ${E2E_SOURCES} ${QUIET_DEBUG_OUTPUT})
  target_compile_options(e2e_tests PRIVATE ${OWN_COMPILE_OPTIONS})
  target_link_libraries(e2e_tests PRIVATE win_test_support GTest::gtest_main advapi32 user32 gdi32 comctl32 shell32)
  target_link_options(e2e_tests PRIVATE ${STATIC_LINK})
  target_compile_definitions(e2e_tests PRIVATE ${OWN_DEFINITIONS})
  target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/e2e)
  add_dependencies(e2e_tests SetUp SetUpCmd planted acad_dummy dll_probe declining_setup)
  # SetUp.exe as a user who declines the prompt for administrator rights sees it: the same
  # program with the answer of a declined prompt in place of the shell's "runas" (Wine has no
  # prompt to decline; see the source).
  set(DECLINING_SOURCES ${APP_SOURCES})
  list(REMOVE_ITEM DECLINING_SOURCES ${CMAKE_SOURCE_DIR}/app/Main.cpp)
  add_executable(declining_setup WIN32 ${DECLINING_SOURCES} ${CMAKE_SOURCE_DIR}/tests/e2e/declining/DecliningSetUp.cpp
    ${CMAKE_SOURCE_DIR}/res/SetUp.rc)
  target_compile_options(declining_setup PRIVATE ${OWN_COMPILE_OPTIONS})
  target_link_libraries(declining_setup PRIVATE setup_ui)
  target_link_options(declining_setup PRIVATE ${STATIC_LINK} ${SINGLE_THREAD_RUNTIME})
  # The DLL that the hardening test plants beside SetUp.exe under system-library names.
  add_library(planted SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/planted/PlantedDll.cpp)
  set_target_properties(planted PROPERTIES PREFIX "")
  target_compile_options(planted PRIVATE ${OWN_COMPILE_OPTIONS})
  target_link_options(planted PRIVATE ${STATIC_LINK})
  # Two builds of one library that differ only in their version: another program's shared
  # library, older and newer than the one the plug-in ships.
  foreach(version 5.5.10 5.5.13)
    string(REPLACE "." "_" suffix ${version})
    string(REPLACE "." "," numbers ${version})
    add_library(library_${suffix} SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/versioned/VersionedLibrary.cpp
      ${CMAKE_SOURCE_DIR}/tests/e2e/versioned/VersionedLibrary.rc)
    set_target_properties(library_${suffix} PROPERTIES PREFIX "")
    target_compile_definitions(library_${suffix} PRIVATE LIBRARY_VERSION=${numbers},0)
    target_link_options(library_${suffix} PRIVATE ${STATIC_LINK})
    add_dependencies(e2e_tests library_${suffix})
  endforeach()
  add_test(NAME e2e COMMAND e2e_tests)
  set_tests_properties(e2e PROPERTIES LABELS e2e ENVIRONMENT "SETUP_EXE=$<TARGET_FILE:SetUp>")
endif()

# Tools built next to the installer: the bare dialog the start-up benchmark compares with,
# and a do-nothing process the AutoCAD-running test starts under the name acad.exe.
file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
foreach(tool_source ${TOOL_SOURCES})
  get_filename_component(tool ${tool_source} NAME_WE)
  add_executable(${tool} WIN32 ${tool_source})
  target_compile_options(${tool} PRIVATE ${OWN_COMPILE_OPTIONS})
  target_link_libraries(${tool} PRIVATE user32 kernel32)
  target_link_options(${tool} PRIVATE ${STATIC_LINK} ${SINGLE_THREAD_RUNTIME})
endforeach()

# Benchmark programs: bench/win/<name>.cpp becomes bench_<name>.exe (console), run under Wine
# by the scripts in bench/. Only where Wine can run them.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win/*.cpp)
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  foreach(bench_source ${BENCH_SOURCES})
    get_filename_component(bench ${bench_source} NAME_WE)
    add_executable(bench_${bench} ${bench_source})
    target_compile_options(bench_${bench} PRIVATE ${OWN_COMPILE_OPTIONS})
    target_link_libraries(bench_${bench} PRIVATE win_test_support_windows comctl32)
    target_link_options(bench_${bench} PRIVATE ${STATIC_LINK})
  endforeach()
endif()
