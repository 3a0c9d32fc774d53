# Holds every product file's includes against the table of floors in
# cmake/floors.cmake: a folder may include itself and what the table allows,
# nothing above it. Prints each include that breaks the rule and fails.
#   cmake -DSOURCE_DIR=<repository> -P floors_test.cmake

include(${SOURCE_DIR}/cmake/floors.cmake)

set(broken 0)
set(files_read 0)
foreach(folder IN LISTS STATS_FLOOR_FOLDERS)
  file(GLOB files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp
       ${SOURCE_DIR}/${folder}/*.rc)
  foreach(path IN LISTS files)
    math(EXPR files_read "${files_read} + 1")
    file(STRINGS ${path} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" target "${line}")
      if(NOT target MATCHES "/")
        continue()  # a file beside the includer
      endif()
      # The floor a path names: the longest folder of the table it lies in
      # ("tools/check/x.h" lies in tools/check, "contest/x.h" in contest).
      set(target_folder "")
      foreach(candidate IN LISTS STATS_FLOOR_FOLDERS)
        string(LENGTH "${candidate}" candidate_length)
        string(LENGTH "${target_folder}" found_length)
        if(target MATCHES "^${candidate}/" AND candidate_length GREATER found_length)
          set(target_folder ${candidate})
        endif()
      endforeach()
      if(target_folder STREQUAL "")
        string(REGEX REPLACE "/.*" "" target_folder "${target}")
      endif()
      if(target_folder STREQUAL folder)
        continue()
      endif()
      list(FIND STATS_MAY_INCLUDE_${folder} ${target_folder} folder_allowed)
      list(FIND STATS_MAY_INCLUDE_${folder} ${target} file_allowed)
      if(folder_allowed EQUAL -1 AND file_allowed EQUAL -1)
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${path})
        message("${shown}: includes \"${target}\", which ${folder}/ may not see "
                "(allowed: ${STATS_MAY_INCLUDE_${folder}})")
        math(EXPR broken "${broken} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(files_read EQUAL 0)
  message(FATAL_ERROR "no product files found below ${SOURCE_DIR}")
endif()
if(broken GREATER 0)
  message(FATAL_ERROR "${broken} include(s) run against the floors (cmake/floors.cmake)")
endif()
message("${files_read} product files keep to the floors")
