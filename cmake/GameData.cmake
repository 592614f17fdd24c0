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
#
# Each step, as it makes its files, records their hashes in GAME_HASHES
# (NAME.sha1 for each), which the suite's check of the game folder holds the
# folder to; gh_game_hashes(TARGET) does the same for a program built there.
set(GREVENHOLT_GAME_DATA_FROM "" CACHE PATH
    "Copy the data files from this game folder (another build's, already made) instead of making them")
set(GAME_HASHES ${CMAKE_BINARY_DIR}/game_hashes)
set(GH_HASH_FILES ${CMAKE_COMMAND} -DFOLDER=${GAME_DIR} -DHASHES=${GAME_HASHES}
    -P ${CMAKE_CURRENT_LIST_DIR}/game_hashes.cmake --)
function(gh_game_data)
  cmake_parse_arguments(GD "" "" "OUTPUTS;COMMAND;DEPENDS" ${ARGN})
  set(outs)
  set(hashes)
  foreach(o ${GD_OUTPUTS})
    list(APPEND outs ${GAME_DIR}/${o})
    list(APPEND hashes ${GAME_HASHES}/${o}.sha1)
  endforeach()
  if(GREVENHOLT_GAME_DATA_FROM)
    set(copies)
    set(sources)
    foreach(o ${GD_OUTPUTS})
      list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy ${GREVENHOLT_GAME_DATA_FROM}/${o} ${GAME_DIR}/${o})
      list(APPEND sources ${GREVENHOLT_GAME_DATA_FROM}/${o})
    endforeach()
    add_custom_command(OUTPUT ${outs} ${hashes} ${copies}
                       COMMAND ${GH_HASH_FILES} ${GD_OUTPUTS}
                       DEPENDS ${sources} VERBATIM)
  else()
    add_custom_command(OUTPUT ${outs} ${hashes}
                       COMMAND ${GD_COMMAND}
                       COMMAND ${GH_HASH_FILES} ${GD_OUTPUTS}
                       DEPENDS ${GD_DEPENDS}
                       WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                       VERBATIM)
  endif()
  set_property(GLOBAL APPEND PROPERTY GH_GAME_DATA_FILES ${outs})
endfunction()

function(gh_game_hashes target)
  add_custom_command(TARGET ${target} POST_BUILD
                     COMMAND ${GH_HASH_FILES} $<TARGET_FILE_NAME:${target}>
                     VERBATIM)
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
