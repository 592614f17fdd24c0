# Adventure scripts: every folder here is the scripts folder of an adventure
# (its folder name), content/scripts/<folder>/<name>.txt becoming
# Scripts/<folder>/<name>.mls; the *.names files of a folder declare the flag,
# local and constant names its scripts share. Tests/ holds the small scripts
# of the script tests.
file(GLOB script_folders RELATIVE ${CONTENT_DIR} CONFIGURE_DEPENDS ${CONTENT_DIR}/*)
list(SORT script_folders)
foreach(folder ${script_folders})
  if(NOT IS_DIRECTORY ${CONTENT_DIR}/${folder})
    continue()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CONTENT_DIR}/${folder}/*.txt)
  file(GLOB name_files CONFIGURE_DEPENDS ${CONTENT_DIR}/${folder}/*.names)
  list(SORT sources)
  list(SORT name_files)
  if(NOT sources)
    continue()
  endif()
  set(outputs)
  foreach(src ${sources})
    get_filename_component(stem ${src} NAME_WE)
    list(APPEND outputs Scripts/${folder}/${stem}.mls)
  endforeach()
  set(name_args)
  foreach(n ${name_files})
    list(APPEND name_args --names ${n})
  endforeach()
  gh_game_data(OUTPUTS ${outputs}
               COMMAND makescripts ${GAME_DIR}/Scripts/${folder} ${name_args} ${sources}
               DEPENDS makescripts ${sources} ${name_files})
endforeach()
