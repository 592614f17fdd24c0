# The base item table, the spell table and the prepared crafted items of each
# adventure, compiled (and checked) by tablemaker from the readable sources.
gh_game_data(OUTPUTS Item1.iml
  COMMAND tablemaker items ${CONTENT_DIR}/items.txt ${GAME_DIR}/Item1.iml
  DEPENDS tablemaker ${CONTENT_DIR}/items.txt)
# The spells are also written out in words (spells_listing.txt) for readers
# checking the data against the rules.
gh_game_data(OUTPUTS Spell1.sml spells_listing.txt
  COMMAND tablemaker spells ${CONTENT_DIR}/spells.txt ${GAME_DIR}/Spell1.sml ${GAME_DIR}/spells_listing.txt
  DEPENDS tablemaker ${CONTENT_DIR}/spells.txt)
# An adventure whose prepared start has sources (content/start/<adventure>)
# gets its crafted table from makestart instead, with the party's items in it.
foreach(adventure DemoVersion FullVersion)
  file(GLOB start_sources CONFIGURE_DEPENDS ${CONTENT_DIR}/../start/${adventure}/*.txt)
  if(start_sources)
    continue()
  endif()
  gh_game_data(OUTPUTS SaveGame/${adventure}/0/SaveWeapon.wml
    COMMAND tablemaker crafted ${CONTENT_DIR}/crafted.txt ${GAME_DIR}/SaveGame/${adventure}/0/SaveWeapon.wml
    DEPENDS tablemaker ${CONTENT_DIR}/crafted.txt)
endforeach()
