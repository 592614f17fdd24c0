# The 18 MIDI tracks and the combat MP3, from the scores in this folder.
file(GLOB music_scores CONFIGURE_DEPENDS ${CONTENT_DIR}/*.txt)
set(music_outputs MP3/Combat.mp3)
foreach(n RANGE 0 17)
  list(APPEND music_outputs Midi/${n}.mid)
endforeach()
gh_game_data(OUTPUTS ${music_outputs}
  COMMAND makesounds music ${CONTENT_DIR} ${GAME_DIR}
  DEPENDS makesounds ${music_scores})
