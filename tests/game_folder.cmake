# The game folder before the first test and after the last one
# (cmake -DFOLDER=... -DMADE=... -DLIST=... [-DCOMPARE=1] -P game_folder.cmake).
# MADE names the files the build puts in the folder (the data files and the
# program); they and the folders that hold them are the folder's own, and
# nothing else is. Without COMPARE it writes to LIST the hash of each of those
# files as it stands; with it, it fails naming every entry the build did not
# make (a test's, this run's or an earlier one's: no run takes one in as part
# of the folder), every file of the build's whose bytes changed since, and
# every one missing. The pictures a failed picture comparison keeps for a
# look (NAME_device.png) are left out: that test fails on its own.
cmake_minimum_required(VERSION 3.25)
file(READ "${MADE}" made)
set(own ${made})
foreach(file ${made})
  get_filename_component(folder "${file}" DIRECTORY)
  while(folder AND NOT folder IN_LIST own)
    list(APPEND own "${folder}")
    get_filename_component(folder "${folder}" DIRECTORY)
  endwhile()
endforeach()

set(hashes)
foreach(file ${made})
  if(EXISTS "${FOLDER}/${file}" AND NOT IS_DIRECTORY "${FOLDER}/${file}")
    file(SHA1 "${FOLDER}/${file}" hash)
    list(APPEND hashes "${file}|${hash}")
  endif()
endforeach()
if(NOT COMPARE)
  file(WRITE "${LIST}" "${hashes}")
  return()
endif()

set(faults)
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${FOLDER}" "${FOLDER}/*")
list(FILTER entries EXCLUDE REGEX "^[^/]*_device\\.png$")
list(SORT entries)
foreach(entry ${entries})
  if(NOT entry IN_LIST own)
    list(APPEND faults "not made by the build: ${entry}")
  endif()
endforeach()
file(READ "${LIST}" before)
foreach(file ${made})
  if(NOT EXISTS "${FOLDER}/${file}")
    list(APPEND faults "missing: ${file}")
  endif()
endforeach()
foreach(hashed ${before})
  string(REGEX REPLACE "\\|[^|]*$" "" file "${hashed}")
  if(EXISTS "${FOLDER}/${file}" AND NOT hashed IN_LIST hashes)
    list(APPEND faults "changed: ${file}")
  endif()
endforeach()
if(faults)
  list(JOIN faults "\n  " left)
  message(FATAL_ERROR "the tests left ${FOLDER} otherwise than the build made it:\n  ${left}")
endif()
