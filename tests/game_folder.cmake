# The game folder's entries before the first test and after the last one
# (cmake -DFOLDER=... -DLIST=... [-DCOMPARE=1] -P game_folder.cmake): without
# COMPARE it writes the listing to LIST; with it, it fails naming every entry
# that is not in LIST, which a test left behind. The pictures a failed
# picture comparison keeps for a look (NAME_device.png) are left out: that
# test fails on its own.
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${FOLDER}" "${FOLDER}/*")
list(FILTER entries EXCLUDE REGEX "^[^/]*_device\\.png$")
list(SORT entries)
if(NOT COMPARE)
  file(WRITE "${LIST}" "${entries}")
  return()
endif()
file(READ "${LIST}" before)
if(before)
  list(REMOVE_ITEM entries ${before})
endif()
if(entries)
  list(JOIN entries "\n  " left)
  message(FATAL_ERROR "the tests left in ${FOLDER}:\n  ${left}")
endif()
