# Map sources: content/maps/<adventure folder>/Map<n>.txt and WorldMap.txt
# become the map files of that adventure's prepared saved game,
# SaveGame/<adventure>/0/Maps/Map<n>.dat and WorldMap.dat.
foreach(adventure DemoVersion FullVersion)
  file(GLOB sources CONFIGURE_DEPENDS ${CONTENT_DIR}/${adventure}/*.txt)
  list(SORT sources)
  if(NOT sources)
    continue()
  endif()
  set(outputs)
  foreach(src ${sources})
    get_filename_component(stem ${src} NAME_WE)
    list(APPEND outputs SaveGame/${adventure}/0/Maps/${stem}.dat)
  endforeach()
  gh_game_data(OUTPUTS ${outputs}
               COMMAND makemaps ${GAME_DIR}/SaveGame/${adventure}/0/Maps ${sources}
               DEPENDS makemaps ${sources})
endforeach()

# The battle maps of the headless battle runner and its tests:
# content/maps/Battles/Map<n>.txt become BattleMaps/Map<n>.dat.
file(GLOB battle_sources CONFIGURE_DEPENDS ${CONTENT_DIR}/Battles/*.txt)
list(SORT battle_sources)
set(battle_outputs)
foreach(src ${battle_sources})
  get_filename_component(stem ${src} NAME_WE)
  list(APPEND battle_outputs BattleMaps/${stem}.dat)
endforeach()
if(battle_sources)
  gh_game_data(OUTPUTS ${battle_outputs}
               COMMAND makemaps ${GAME_DIR}/BattleMaps ${battle_sources}
               DEPENDS makemaps ${battle_sources})
endif()
