# GoogleTest from the sources Debian installs, built with the cross toolchain.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

#   corvalin_test(name SOURCES ... [LIBS ...] [TIMEOUT seconds] [LABELS ...])
# One test program per library; CTest runs it under Wine (the emulator).
# A stuck program fails within its timeout, sized to what it runs. Labels let
# a developer run one library (`ctest -L skin`) or one kind (`-L unit`, `-L e2e`).
function(corvalin_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  corvalin_defaults(${name})
  corvalin_split_debug(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock gtest)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  string(REGEX REPLACE "_tests$" "" library ${name})
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  # The wrapper ends a stuck program itself a little earlier, so its output shows.
  math(EXPR own_timeout "${ARG_TIMEOUT} - 10")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${library};${ARG_LABELS}"
    ENVIRONMENT CORVALIN_RUN_TIMEOUT=${own_timeout})
endfunction()
