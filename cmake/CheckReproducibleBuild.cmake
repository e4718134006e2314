# Two builds of the same sources in different folders must give the same unsigned launcher.exe,
# byte for byte, with no folder of either build inside and no link time stamp (unless
# SOURCE_DATE_EPOCH names one). Builds the launcher alone (-DBUILD_TESTING=OFF) in the folders
# FIRST and SECOND; with -DREFERENCE=<exe> instead of FIRST, that image is compared with SECOND's.
# Run with -DSOURCE=... -DARCH=i686|x86_64 (-DFIRST=<folder> | -DREFERENCE=<exe>) -DSECOND=<folder>
cmake_minimum_required(VERSION 3.25)

function(build_launcher_in folder out)
  file(REMOVE_RECURSE "${folder}")
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${folder} -G "Unix Makefiles"
                          -DLAUNCHER_ARCH=${ARCH} -DBUILD_TESTING=OFF
                  RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(failed)
    message(FATAL_ERROR "the launcher could not be configured in ${folder}:\n${log}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${folder} --target launcher
                  RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(failed)
    message(FATAL_ERROR "the launcher does not build in ${folder}:\n${log}")
  endif()
  set(${out} ${folder}/bin/launcher.exe PARENT_SCOPE)
endfunction()

# The PE header's TimeDateStamp: the 4 bytes 8 past the header, whose offset is at 0x3C.
function(link_time_stamp exe out)
  file(READ ${exe} at OFFSET 60 LIMIT 4 HEX)
  string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\3\\2\\1" at "${at}")
  math(EXPR stamp_at "${at} + 8")
  file(READ ${exe} stamp OFFSET ${stamp_at} LIMIT 4 HEX)
  string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\3\\2\\1" stamp "${stamp}")
  math(EXPR stamp "${stamp}")
  set(${out} ${stamp} PARENT_SCOPE)
endfunction()

function(expect_no_text exe text)
  string(REGEX REPLACE "([][.*+?^$(){}|\\\\])" "\\\\\\1" pattern "${text}")
  file(STRINGS ${exe} found REGEX "${pattern}")
  if(found)
    message(FATAL_ERROR "${exe} holds the build path ${text}: ${found}")
  endif()
endfunction()

if(REFERENCE)
  set(first ${REFERENCE})
else()
  build_launcher_in(${FIRST} first)
endif()
build_launcher_in(${SECOND} second)
set(images ${first} ${second})

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${first} ${second} RESULT_VARIABLE differ)
if(differ)
  file(SHA256 ${first} first_hash)
  file(SHA256 ${second} second_hash)
  message(FATAL_ERROR "two builds of the same sources differ:\n  ${first_hash}  ${first}\n  ${second_hash}  ${second}")
endif()

set(expected_stamp 0)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(expected_stamp $ENV{SOURCE_DATE_EPOCH})
endif()
link_time_stamp(${first} stamp)
if(NOT stamp EQUAL expected_stamp)
  message(FATAL_ERROR "${first} carries the link time stamp ${stamp}, not ${expected_stamp}")
endif()

get_filename_component(source_dir "${SOURCE}" ABSOLUTE)
set(build_paths ${source_dir})
foreach(image IN LISTS images)
  get_filename_component(dir "${image}" DIRECTORY)
  get_filename_component(dir "${dir}/.." ABSOLUTE)
  list(APPEND build_paths ${dir})
endforeach()
foreach(path IN LISTS build_paths)
  expect_no_text(${first} "${path}")
endforeach()
file(SHA256 ${first} hash)
message(STATUS "both builds give ${hash}")
