# The floors of the house: which folders each product folder may include.
# This table is the one place the rule is written. The build gives each
# folder's library an include root that holds only the folders it may see (so
# an upward include fails to compile), and the floors test holds every
# product file's includes against the same table.
#
# An entry is a folder ("platform") or one header of a folder
# ("plugin/exports.h"). Tests, benchmarks and fuzz targets may include
# anything.

set(STATS_FLOOR_FOLDERS platform resources contest scoring reports windows plugin
    tools/common tools/replay tools/check tools/robot)

set(STATS_MAY_INCLUDE_platform "")
set(STATS_MAY_INCLUDE_resources "")
set(STATS_MAY_INCLUDE_contest platform)
set(STATS_MAY_INCLUDE_scoring contest platform)
set(STATS_MAY_INCLUDE_reports scoring contest platform resources)
set(STATS_MAY_INCLUDE_windows scoring contest platform resources)
set(STATS_MAY_INCLUDE_plugin windows reports scoring contest platform resources)
# Tools load the plug-in library at run time as the host does: they may know
# its entry points' signatures, never its code. Their common floor is what
# plays the host (session, entry points, arguments, the contact record, the
# plug-in's files, the contest's dates); each program stands on it alone, so
# the checker cannot lean on the replay or the other way round.
set(STATS_MAY_INCLUDE_tools/common contest platform plugin/exports.h)
set(STATS_MAY_INCLUDE_tools/replay tools/common contest platform plugin/exports.h)
set(STATS_MAY_INCLUDE_tools/check tools/common contest platform plugin/exports.h)
# The log robot: a server on the checker and the common floor, nothing of the
# replay.
set(STATS_MAY_INCLUDE_tools/robot tools/check tools/common contest platform plugin/exports.h)

# Makes <build>/floors/<folder>/ hold links to the folder itself and to what
# it may include, and returns that root in `out`.
function(stats_floor_include_root folder out)
  string(REPLACE "/" "-" name ${folder})
  set(root ${CMAKE_BINARY_DIR}/floors/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(entry IN LISTS folder STATS_MAY_INCLUDE_${folder})
    get_filename_component(parent ${root}/${entry} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${entry} ${root}/${entry} SYMBOLIC)
  endforeach()
  set(${out} ${root} PARENT_SCOPE)
endfunction()
