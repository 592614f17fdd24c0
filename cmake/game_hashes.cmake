# Records the hash of each file a build step has just made in the game folder,
# for the suite's check of the folder (tests/harness/game_folder.h):
#   cmake -DFOLDER=<game folder> -DHASHES=<folder of the hashes> -P game_hashes.cmake -- FILE...
# writes the SHA-1 of FOLDER/FILE to HASHES/FILE.sha1 for each FILE (a path
# relative to the game folder). Only the build runs it, as it makes a file:
# a file a test changes keeps the hash the build gave it.
cmake_minimum_required(VERSION 3.25)
set(files)
set(listed OFF)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(listed)
    list(APPEND files "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(listed ON)
  endif()
endforeach()
foreach(file IN LISTS files)
  file(SHA1 "${FOLDER}/${file}" hash)
  file(WRITE "${HASHES}/${file}.sha1" "${hash}\n")
endforeach()
