# The help encyclopedia: every *.txt here is compiled into "Help.dat".
file(GLOB help_sources CONFIGURE_DEPENDS ${CONTENT_DIR}/*.txt)
list(SORT help_sources)
gh_game_data(OUTPUTS Help.dat
             COMMAND compile_help ${GAME_DIR}/Help.dat ${help_sources}
             DEPENDS compile_help ${help_sources})
