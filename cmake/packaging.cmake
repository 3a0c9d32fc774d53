# The release zips of the Windows build, made by CPack's ZIP generator
# (scripts/package.sh runs it on a Release build):
#   Stats-<version>-win32.zip        the plug-in: Stats.dll without its debug
#                                    sections, an empty Plugins folder (the
#                                    plug-in never creates it), Stats-README.txt and
#                                    Stats-LICENSE.txt, to unzip into Vexa's folder
#   Stats-<version>-win32-tools.zip  the tools as Windows programs, the DLL
#                                    they load, their notes and the license
# Each program's debug information stays in the build folder as
# package-files/NAME.debug, named by a debug link in the stripped program, so
# that a crash report can still be read. A 64-bit build makes the same zips
# with win64 in their names (for testing only: Vexa loads the 32-bit DLL).
# Included last by the top CMakeLists.txt, once every target exists.
if(NOT WIN32)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(STATS_PACKAGE_ARCH win64)
else()
  set(STATS_PACKAGE_ARCH win32)
endif()
find_program(STATS_OBJCOPY NAMES ${STATS_MINGW_TRIPLE}-objcopy ${CMAKE_OBJCOPY} objcopy REQUIRED)
set(STATS_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)
file(MAKE_DIRECTORY ${STATS_PACKAGE_FILES})

# NAME.debug keeps the debug sections of TARGET; NAME is TARGET's file without
# them, linked to NAME.debug by name and checksum.
function(stats_package_stripped target outputs)
  set(name ${target}${CMAKE_EXECUTABLE_SUFFIX})
  if(target STREQUAL "Stats")
    set(name Stats${CMAKE_SHARED_LIBRARY_SUFFIX})
  endif()
  add_custom_command(
    OUTPUT ${STATS_PACKAGE_FILES}/${name} ${STATS_PACKAGE_FILES}/${name}.debug
    COMMAND ${STATS_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${name}.debug
    COMMAND ${STATS_OBJCOPY} --strip-debug --strip-unneeded --add-gnu-debuglink=${name}.debug
            $<TARGET_FILE:${target}> ${name}
    DEPENDS ${target}
    WORKING_DIRECTORY ${STATS_PACKAGE_FILES}
    COMMENT "Splitting the debug information off ${name}"
    VERBATIM)
  set(${outputs} ${${outputs}} ${STATS_PACKAGE_FILES}/${name} PARENT_SCOPE)
endfunction()

set(stripped)
stats_package_stripped(Stats stripped)
list(GET stripped 0 STATS_PACKAGE_DLL)

# Each tool brings packaging/<tool>.txt: its line in the file list, then its
# notes. stats-check joins once its target exists.
set(STATS_TOOL_FILES "")
set(STATS_TOOL_NOTES "")
set(tool_programs)
foreach(tool stats-replay stats-check)
  if(NOT TARGET ${tool})
    continue()
  endif()
  stats_package_stripped(${tool} stripped)
  list(GET stripped -1 program)
  list(APPEND tool_programs ${program})
  file(READ ${PROJECT_SOURCE_DIR}/packaging/${tool}.txt notes)
  string(FIND "${notes}" "\n" end_of_line)
  string(SUBSTRING "${notes}" 0 ${end_of_line} line)
  math(EXPR start "${end_of_line} + 1")
  string(SUBSTRING "${notes}" ${start} -1 notes)
  string(STRIP "${notes}" notes)
  if(STATS_TOOL_FILES STREQUAL "")
    set(STATS_TOOL_FILES "${line}")
    set(STATS_TOOL_NOTES "${notes}")
  else()
    string(APPEND STATS_TOOL_FILES "\n${line}")
    string(APPEND STATS_TOOL_NOTES "\n\n${notes}")
  endif()
endforeach()

# The texts in Windows line ends, for Notepad: configure_file ends the
# template's lines so, the inserted ones are ended here.
string(REPLACE "\n" "\r\n" STATS_TOOL_FILES "${STATS_TOOL_FILES}")
string(REPLACE "\n" "\r\n" STATS_TOOL_NOTES "${STATS_TOOL_NOTES}")
set(texts ${CMAKE_BINARY_DIR}/package-texts)
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt ${texts}/plugin/Stats-README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/packaging/README-tools.txt ${texts}/tools/Stats-README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${texts}/Stats-LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

add_custom_target(stats_package_files ALL DEPENDS ${stripped})

install(FILES ${STATS_PACKAGE_DLL} ${texts}/plugin/Stats-README.txt ${texts}/Stats-LICENSE.txt
        DESTINATION . COMPONENT plugin)
install(DIRECTORY DESTINATION Plugins COMPONENT plugin)
install(FILES ${tool_programs} ${STATS_PACKAGE_DLL} ${texts}/tools/Stats-README.txt
              ${texts}/Stats-LICENSE.txt
        DESTINATION . COMPONENT tools)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Stats)
set(CPACK_PACKAGE_VENDOR "The Stats developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The files sit at the top of the zip, to be unzipped into Vexa's folder.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL plugin tools)
set(CPACK_ARCHIVE_PLUGIN_FILE_NAME Stats-${PROJECT_VERSION}-${STATS_PACKAGE_ARCH})
set(CPACK_ARCHIVE_TOOLS_FILE_NAME Stats-${PROJECT_VERSION}-${STATS_PACKAGE_ARCH}-tools)
include(CPack)
