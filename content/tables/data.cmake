# The base item table, the spell table and the prepared crafted items of each
# adventure, compiled (and checked) by tablemaker from the readable sources.
gh_game_data(OUTPUTS Item1.iml
  COMMAND tablemaker items ${CONTENT_DIR}/items.txt ${GAME_DIR}/Item1.iml
  DEPENDS tablemaker ${CONTENT_DIR}/items.txt)
gh_game_data(OUTPUTS Spell1.sml
  COMMAND tablemaker spells ${CONTENT_DIR}/spells.txt ${GAME_DIR}/Spell1.sml
  DEPENDS tablemaker ${CONTENT_DIR}/spells.txt)
foreach(adventure DemoVersion FullVersion)
  gh_game_data(OUTPUTS SaveGame/${adventure}/0/SaveWeapon.wml
    COMMAND tablemaker crafted ${CONTENT_DIR}/crafted.txt ${GAME_DIR}/SaveGame/${adventure}/0/SaveWeapon.wml
    DEPENDS tablemaker ${CONTENT_DIR}/crafted.txt)
endforeach()
