# Fails when a C++ source of the project differs from what .clang-format makes of it.
# Run with -DCLANG_FORMAT=... -DROOT=<source dir>.
cmake_minimum_required(VERSION 3.25)

set(sources)
foreach(dir classlib launcher discovery deploy tests bench)
  file(GLOB_RECURSE found ${ROOT}/${dir}/*.cpp ${ROOT}/${dir}/*.h)
  list(APPEND sources ${found})
endforeach()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources}
                WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE failed ERROR_VARIABLE complaints)
if(failed)
  message(FATAL_ERROR "not formatted with clang-format -i:\n${complaints}")
endif()
