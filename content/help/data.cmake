# The help encyclopedia: every *.txt here is compiled into "Help.dat".
#
# help_names first lists every page id and keyword the game names (from its
# tables, its code and the adventures' scripts); compile_help then refuses the
# help when a name in the checked ranges and places has no page. Names outside
# them still missing are listed in help_missing.txt in the build folder.
file(GLOB help_sources CONFIGURE_DEPENDS ${CONTENT_DIR}/*.txt)
list(SORT help_sources)
file(GLOB_RECURSE help_named_in CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h
     ${CONTENT_DIR}/../scripts/*.txt ${CONTENT_DIR}/../tables/*.txt)
set(help_check --names ${GAME_DIR}/help_names.txt --report ${CMAKE_BINARY_DIR}/help_missing.txt
    --require 10000-99999 --require-keywords src/,content/)
gh_game_data(OUTPUTS help_names.txt
             COMMAND help_names ${GAME_DIR}/help_names.txt ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/content ${GAME_DIR}
             DEPENDS help_names ${GAME_DIR}/Spell1.sml ${help_named_in})
gh_game_data(OUTPUTS Help.dat
             COMMAND compile_help ${help_check} ${GAME_DIR}/Help.dat ${help_sources}
             DEPENDS compile_help ${GAME_DIR}/help_names.txt ${help_sources})
