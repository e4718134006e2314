# Signs a copy of an unsigned program with Authenticode (SHA-256), leaving the input as it is.
# Used by the build and by the signing test, so that both sign the same way. The password is read
# from a file by osslsigncode itself: it never appears on a command line that other users can see.
# Only options that osslsigncode 2.5 (Debian 12) offers are used.
# Run with -DOSSLSIGNCODE=... -DINPUT=... -DOUTPUT=... -DPKCS12=... -DPASSWORD_FILE=...
#          -DDESCRIPTION=... [-DTIMESTAMP_URL=...]
cmake_minimum_required(VERSION 3.25)

foreach(required OSSLSIGNCODE INPUT OUTPUT PKCS12 PASSWORD_FILE DESCRIPTION)
  if("${${required}}" STREQUAL "")
    message(FATAL_ERROR "SignLauncher.cmake needs -D${required}=...")
  endif()
endforeach()
foreach(file INPUT PKCS12 PASSWORD_FILE)
  if(NOT EXISTS "${${file}}")
    message(FATAL_ERROR "${file}: ${${file}} does not exist")
  endif()
endforeach()

# A time stamp from a time-stamping authority (RFC 3161) keeps the signature valid after the
# certificate has expired; getting one needs the network.
set(timestamp)
if(NOT "${TIMESTAMP_URL}" STREQUAL "")
  set(timestamp -ts "${TIMESTAMP_URL}")
endif()

get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${output_dir}")
# osslsigncode refuses to overwrite its output, and a half-written file from an earlier failed run
# must not pass for a signed one.
file(REMOVE "${OUTPUT}" "${OUTPUT}.part")
execute_process(COMMAND "${OSSLSIGNCODE}" sign -pkcs12 "${PKCS12}" -readpass "${PASSWORD_FILE}"
                        -h sha256 -n "${DESCRIPTION}" ${timestamp} -in "${INPUT}" -out "${OUTPUT}.part"
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(failed)
  file(REMOVE "${OUTPUT}.part")
  message(FATAL_ERROR "osslsigncode could not sign ${INPUT}:\n${log}")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
message(STATUS "signed ${OUTPUT}")
