# Fails unless EXE is a PE GUI program of the format PE_FORMAT whose imports are Windows system
# DLLs only, so that it runs on a Windows machine with nothing else installed. Run with
# -DOBJDUMP=... -DEXE=... -DPE_FORMAT=...
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump could not read ${EXE}")
endif()

# PE_FORMAT: the objdump format the build produces (pei-i386 for the shipped 32-bit launcher).
if(NOT PE_FORMAT)
  set(PE_FORMAT pei-i386)
endif()
if(NOT dump MATCHES "file format ${PE_FORMAT}")
  message(FATAL_ERROR "${EXE} is not a PE executable of the format ${PE_FORMAT}")
endif()
if(NOT dump MATCHES "Subsystem[ \t]+0+2[ \t]+\\(Windows GUI\\)")
  message(FATAL_ERROR "${EXE} is not a GUI program: it would open a console window")
endif()

set(system_dlls KERNEL32.DLL USER32.DLL ADVAPI32.DLL MSVCRT.DLL GDI32.DLL SHELL32.DLL VERSION.DLL)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no imports found in ${EXE}")
endif()
foreach(entry IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${entry}")
  string(STRIP "${dll}" dll)
  string(TOUPPER "${dll}" upper)
  if(NOT upper IN_LIST system_dlls)
    message(FATAL_ERROR "${EXE} imports ${dll}, which is not a Windows system DLL")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
