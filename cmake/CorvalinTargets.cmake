# Compile settings shared by every target of our own code.
#   corvalin_defaults(target)
function(corvalin_defaults target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Werror
    # Narrow literals are GBK at run time, as the Win32 A functions take them.
    -fexec-charset=GBK
    $<$<COMPILE_LANGUAGE:CXX>:-Wno-missing-field-initializers>)
  target_compile_definitions(${target} PRIVATE _WIN32_WINNT=0x0A00 WINVER=0x0A00 NOMINMAX)
endfunction()

#   corvalin_library(name SOURCES ... [LIBS ...])  a static library of one src/ folder
function(corvalin_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  corvalin_defaults(${name})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

#   corvalin_program(name [CONSOLE] SOURCES ... [LIBS ...])  a Windows program
function(corvalin_program name)
  cmake_parse_arguments(ARG "CONSOLE" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  corvalin_defaults(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  if(NOT ARG_CONSOLE)
    target_link_options(${name} PRIVATE -mwindows)
  endif()
endfunction()
