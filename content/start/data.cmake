# The prepared start of an adventure: content/start/<adventure folder>/*.txt
# become save folder 0's creature roster and crafted table,
# SaveGame/<adventure>/0/SaveChar.cml and SaveWeapon.wml, built by makestart
# with the table sources of content/tables/ (whose names they use).
file(GLOB start_folders RELATIVE ${CONTENT_DIR} CONFIGURE_DEPENDS ${CONTENT_DIR}/*)
list(SORT start_folders)
set(table_sources ${CMAKE_SOURCE_DIR}/content/tables/items.txt ${CMAKE_SOURCE_DIR}/content/tables/spells.txt
                  ${CMAKE_SOURCE_DIR}/content/tables/crafted.txt)
foreach(adventure ${start_folders})
  if(NOT IS_DIRECTORY ${CONTENT_DIR}/${adventure})
    continue()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CONTENT_DIR}/${adventure}/*.txt)
  list(SORT sources)
  if(NOT sources)
    continue()
  endif()
  gh_game_data(OUTPUTS SaveGame/${adventure}/0/SaveChar.cml SaveGame/${adventure}/0/SaveWeapon.wml
    COMMAND makestart ${GAME_DIR}/SaveGame/${adventure}/0 ${CMAKE_SOURCE_DIR}/content/tables ${sources}
    DEPENDS makestart ${sources} ${table_sources})
endforeach()
