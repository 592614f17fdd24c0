# Helpers through which each kind of data plugs into the game's working folder.
#
#   gh_game_data(OUTPUTS <paths relative to the game folder>
#                COMMAND <command...> [DEPENDS <files or targets...>])
#
# adds a build step whose outputs become part of the `game_data` target.
# Paths use '/', the game maps its backslash paths onto them.
#
# With GREVENHOLT_GAME_DATA_FROM set to another build's game folder, the step
# copies its outputs from there instead of running the tools (the sanitized
# build, scripts/sanitize, does: its tests read the very files the normal build
# made, and the tools' own tests still run its sanitized tools).
set(GREVENHOLT_GAME_DATA_FROM "" CACHE PATH
    "Copy the data files from this game folder (another build's, already made) instead of making them")
function(gh_game_data)
  cmake_parse_arguments(GD "" "" "OUTPUTS;COMMAND;DEPENDS" ${ARGN})
  set(outs)
  foreach(o ${GD_OUTPUTS})
    list(APPEND outs ${GAME_DIR}/${o})
  endforeach()
  if(GREVENHOLT_GAME_DATA_FROM)
    set(copies)
    set(sources)
    foreach(o ${GD_OUTPUTS})
      list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy ${GREVENHOLT_GAME_DATA_FROM}/${o} ${GAME_DIR}/${o})
      list(APPEND sources ${GREVENHOLT_GAME_DATA_FROM}/${o})
    endforeach()
    add_custom_command(OUTPUT ${outs} ${copies} DEPENDS ${sources} VERBATIM)
  else()
    add_custom_command(OUTPUT ${outs}
                       COMMAND ${GD_COMMAND}
                       DEPENDS ${GD_DEPENDS}
                       WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                       VERBATIM)
  endif()
  set_property(GLOBAL APPEND PROPERTY GH_GAME_DATA_FILES ${outs})
endfunction()

# A tool under tools/<name>/: its main.cpp is the program; every other .cpp
# there forms the library <name>_parts, which the tests and the fuzzing
# harnesses link too.
function(gh_tool name)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name}_parts STATIC ${srcs})
  target_compile_options(${name}_parts PRIVATE ${GH_WARNINGS})
  target_include_directories(${name}_parts PUBLIC ${CMAKE_SOURCE_DIR}/tools ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name}_parts PUBLIC gh_tool_common)
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  target_compile_options(${name} PRIVATE ${GH_WARNINGS})
  target_link_libraries(${name} PRIVATE ${name}_parts)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endfunction()
