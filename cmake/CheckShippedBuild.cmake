# The shipped launcher is the 32-bit build. Where the suite runs on the 64-bit build (a machine that
# runs no 32-bit programs), this builds the 32-bit launcher alone from the same sources and checks
# what can be checked without running it: it links, and it is a 32-bit GUI program importing
# KnownDLLs only. Run with -DSOURCE=... -DBINARY=... -DOBJDUMP=...
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G "Unix Makefiles"
                        -DLAUNCHER_ARCH=i686 -DBUILD_TESTING=OFF
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "the 32-bit build could not be configured in ${BINARY}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} --target launcher
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(failed)
  message(FATAL_ERROR "the 32-bit launcher does not build:\n${log}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${OBJDUMP} -DEXE=${BINARY}/bin/launcher.exe
                        -DPE_FORMAT=pei-i386 -P ${SOURCE}/cmake/CheckImports.cmake
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the 32-bit launcher fails the import check")
endif()
