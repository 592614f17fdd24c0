# The 66 sprite sheets, drawn by make_sheets (tools/sheetmaker) from the sources in this folder.
set(sheet_outputs)
foreach(i RANGE 0 65)
  list(APPEND sheet_outputs Graphics/${i}.dat)
endforeach()
file(MAKE_DIRECTORY ${GAME_DIR}/Graphics)
gh_game_data(OUTPUTS ${sheet_outputs}
             COMMAND make_sheets ${CONTENT_DIR} ${GAME_DIR}/Graphics
             DEPENDS make_sheets
                     ${CONTENT_DIR}/sheets.txt ${CONTENT_DIR}/font_large.txt ${CONTENT_DIR}/font_small.txt
                     ${CONTENT_DIR}/interface.txt ${CONTENT_DIR}/cursors.txt)
