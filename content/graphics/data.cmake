# The 66 sprite sheets, drawn by make_sheets (tools/sheetmaker) from the sources in this folder,
# and their contact sheets (each sheet at twice its size, frames numbered) in build/contact_sheets/.
set(sheet_outputs)
foreach(i RANGE 0 65)
  list(APPEND sheet_outputs Graphics/${i}.dat)
endforeach()
file(MAKE_DIRECTORY ${GAME_DIR}/Graphics)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/contact_sheets)
file(GLOB graphics_sources CONFIGURE_DEPENDS ${CONTENT_DIR}/*.txt)
gh_game_data(OUTPUTS ${sheet_outputs}
             COMMAND make_sheets ${CONTENT_DIR} ${GAME_DIR}/Graphics ${CMAKE_BINARY_DIR}/contact_sheets
             DEPENDS make_sheets ${graphics_sources} ${CONTENT_DIR}/../maps/FullVersion/WorldMap.txt)
