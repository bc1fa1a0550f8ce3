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

# Moves a program's debugging information into NAME.exe.debug beside it, linked
# back by name for debuggers. Left inside, it is most of the file (60 MB of
# 63 for corvalin.exe), and Wine reads all of it into memory at every start:
# the program took ~150 ms longer to show its window.
#   corvalin_split_debug(target)
function(corvalin_split_debug target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug $<TARGET_FILE:${target}>
    VERBATIM)
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
  corvalin_split_debug(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  if(NOT ARG_CONSOLE)
    target_link_options(${name} PRIVATE -mwindows)
  endif()
endfunction()
