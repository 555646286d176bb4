# Helpers shared by every subsystem folder.
#
#   installer_library(NAME
#       SOURCES  portable.cpp ...        # both builds
#       WIN      thing_win.cpp ...       # Windows build only
#       POSIX    thing_posix.cpp ...     # native build only
#       LIBS     other_lib ...)
#
#   installer_test(NAME SOURCES ... LIBS ...
#       [WINDOWS_ONLY] [NATIVE_ONLY]     # default: built and run in both builds
#       [SERVER]                         # needs the demo server fixture (tests/CMakeLists.txt)
#       [DISPLAY])                       # opens windows: runs under Xvfb (DISPLAY set by scripts/test)
#
# One source list per folder: each OS's files are picked here, never with
# #ifdef around whole files.

function(installer_library name)
  cmake_parse_arguments(A "" "" "SOURCES;WIN;POSIX;LIBS" ${ARGN})
  set(srcs ${A_SOURCES})
  if(WIN32)
    list(APPEND srcs ${A_WIN})
  else()
    list(APPEND srcs ${A_POSIX})
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

function(installer_setup_gtest)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  if(EXISTS /usr/src/googletest/CMakeLists.txt)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(t gtest gtest_main gmock gmock_main)
      if(TARGET ${t})
        # Third-party code: its warnings are not ours to fix.
        target_compile_options(${t} PRIVATE -w)
      endif()
    endforeach()
  else()
    message(FATAL_ERROR "googletest sources not found: run scripts/setup")
  endif()
endfunction()

function(installer_test name)
  cmake_parse_arguments(A "WINDOWS_ONLY;NATIVE_ONLY;SERVER;DISPLAY" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(A_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  if(A_NATIVE_ONLY AND WIN32)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} gmock gtest_main)
  # The variables reach the test as one list value. Its separators pass
  # through three list expansions on their way into the discovered tests
  # (here, gtest_discover_tests, its generated script), each of which eats
  # one level of escaping; with fewer backslashes only the first variable
  # is set.
  set(env "INSTALLER_TEST_SERVER=${INSTALLER_TEST_SERVER_HOST}:${INSTALLER_TEST_SERVER_PORT}"
          "INSTALLER_TEST_SITE=${INSTALLER_TEST_SITE_DIR}" "INSTALLER_BINARY_DIR=${CMAKE_BINARY_DIR}")
  string(REPLACE ";" "\\\\\\\\\\\\\\\\;" env "${env}")
  set(props ENVIRONMENT "${env}")
  if(A_TIMEOUT)
    list(APPEND props TIMEOUT ${A_TIMEOUT})
  else()
    list(APPEND props TIMEOUT 120)
  endif()
  if(A_SERVER)
    list(APPEND props FIXTURES_REQUIRED demo_server RESOURCE_LOCK demo_server_port)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    TEST_PREFIX "${name}."
    PROPERTIES ${props})
endfunction()
