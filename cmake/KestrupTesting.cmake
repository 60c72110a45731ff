# Test helpers shared by every module.
#   kestrup_native_test(name SOURCES ... LIBS ...)   GoogleTest program of the native tree
#   kestrup_wine_test(name SOURCES ... LIBS ... [LOCK res] [GUI])
#                                                    GoogleTest program of the Windows tree, run under Wine
# Locks: "board" for every test that uses the virtual COM port, the companion's TCP port 6800, a "Kestrup" or
# "KestrupTirvane" window or WM_COPYDATA between them - these all share one desktop and must not overlap - and for
# tests that look at the keyboard focus, which a Kestrup.exe coming up in another test takes away. It is the
# screen's lock too: every test that shows a window, moves the pointer or reads the screen takes it, so that no
# other test's window passes over what a test reads from the screen (the watcher of the skin tests) or takes the
# focus it looks at. Tests that judge a window's pixels read the window's own picture, not the screen
# (testsupport/WindowPicture.h in the test's own program, ProgramPicture of the driver for Kestrup.exe's windows).
include(GoogleTest)

# Runs a Windows program under the test harness's Wine (for tests whose command line is their own).
set(KESTRUP_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)

if(KESTRUP_WINDOWS)
  # Debian's googletest sources, built with the cross compiler.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

function(kestrup_native_test name)
  if(KESTRUP_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 PROPERTIES LABELS native)
endfunction()

function(kestrup_wine_test name)
  if(NOT KESTRUP_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(T "GUI" "LOCK;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  set(props LABELS wine)
  if(T_LOCK)
    list(APPEND props RESOURCE_LOCK ${T_LOCK})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  list(APPEND props TIMEOUT ${T_TIMEOUT})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()
