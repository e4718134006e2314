# Signs a copy of the built launcher.exe the way the build does (SignLauncher.cmake), with a
# throw-away code-signing certificate valid for one day, and checks the signature: osslsigncode
# accepts it against the throw-away CA and refuses it against another CA, and removing it gives
# back the unsigned image byte for byte. Then lays out PROGRAMS_OUT: the signed file as
# launcher.exe beside copies of the test programs, which look for launcher.exe beside themselves.
# Run with -DOPENSSL=... -DOSSLSIGNCODE=... -DUNSIGNED=<exe> -DWORK=<folder> -DSCRIPT=<SignLauncher>
#          -DDESCRIPTION=... -DPROGRAMS=<exe>[|<exe>...] -DPROGRAMS_OUT=<folder>
cmake_minimum_required(VERSION 3.25)

function(run what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(failed)
    message(FATAL_ERROR "${what} failed:\n${log}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK} ${PROGRAMS_OUT})
file(MAKE_DIRECTORY ${WORK})

# A CA, and a code-signing certificate it issues: the shape of a vendor's real certificate.
function(make_ca name)
  run("openssl: the CA ${name}" ${OPENSSL} req -x509 -newkey rsa:2048 -nodes -days 1 -sha256
      -subj "/CN=Corvane throw-away ${name}" -keyout ${name}.key -out ${name}.pem
      -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign")
endfunction()
make_ca(test-ca)
make_ca(other-ca)
file(WRITE ${WORK}/signer.ext "basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n")
run("openssl: the signing key" ${OPENSSL} req -newkey rsa:2048 -nodes -subj "/CN=Corvane test signer"
    -keyout signer.key -out signer.csr)
run("openssl: the signing certificate" ${OPENSSL} x509 -req -in signer.csr -CA test-ca.pem
    -CAkey test-ca.key -CAcreateserial -days 1 -sha256 -extfile signer.ext -out signer.pem)
string(RANDOM LENGTH 24 password)
file(WRITE ${WORK}/password.txt "${password}")
run("openssl: the PKCS#12 file" ${OPENSSL} pkcs12 -export -in signer.pem -inkey signer.key
    -certfile test-ca.pem -passout file:password.txt -out signer.p12)

run("signing" ${CMAKE_COMMAND} -DOSSLSIGNCODE=${OSSLSIGNCODE} -DINPUT=${UNSIGNED}
    -DOUTPUT=${WORK}/signed/launcher.exe -DPKCS12=${WORK}/signer.p12
    -DPASSWORD_FILE=${WORK}/password.txt "-DDESCRIPTION=${DESCRIPTION}" -P ${SCRIPT})
set(signed ${WORK}/signed/launcher.exe)

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${UNSIGNED} ${signed} RESULT_VARIABLE differ)
if(NOT differ)
  message(FATAL_ERROR "the signed copy is the unsigned image: nothing was signed")
endif()
execute_process(COMMAND ${OSSLSIGNCODE} verify -CAfile test-ca.pem -in ${signed} WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE failed OUTPUT_VARIABLE verified ERROR_VARIABLE verified)
if(failed)
  message(FATAL_ERROR "osslsigncode does not accept the signature against the throw-away CA:\n${verified}")
endif()
# SHA-256, by the test signer, with the product name as the description the elevation prompt shows.
foreach(expected "Message digest algorithm *: SHA256" "Subject: /CN=Corvane test signer" "description: ${DESCRIPTION}")
  if(NOT verified MATCHES "${expected}")
    message(FATAL_ERROR "osslsigncode verify does not show \"${expected}\":\n${verified}")
  endif()
endforeach()
execute_process(COMMAND ${OSSLSIGNCODE} verify -CAfile other-ca.pem -in ${signed} WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE refused OUTPUT_QUIET ERROR_QUIET)
if(NOT refused)
  message(FATAL_ERROR "osslsigncode accepted the signature against a CA that did not issue it")
endif()

run("osslsigncode remove-signature" ${OSSLSIGNCODE} remove-signature -in ${signed} -out unsigned-again.exe)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${UNSIGNED} ${WORK}/unsigned-again.exe
                RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "removing the signature does not give back the unsigned image ${UNSIGNED}")
endif()

file(MAKE_DIRECTORY ${PROGRAMS_OUT})
string(REPLACE "|" ";" programs "${PROGRAMS}")
file(COPY ${programs} DESTINATION ${PROGRAMS_OUT})
file(COPY_FILE ${signed} ${PROGRAMS_OUT}/launcher.exe)
message(STATUS "signed and checked: ${PROGRAMS_OUT}/launcher.exe")
