# What a vendor ships: launcher.exe (signed when the build is told how), the vendor's guide and a
# SHA256SUMS file, laid out by `cmake --install` and packed by CPack into one ZIP archive. Included
# by the top-level CMakeLists.txt after the launcher target exists.

# Authenticode signing, optional. The signed program is a copy beside the unsigned image
# (bin/signed/launcher.exe): the unsigned image stays the one two builds reproduce byte for byte,
# since a signature carries its signing time.
set(LAUNCHER_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file (certificate and key) that signs launcher.exe")
set(LAUNCHER_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the password of LAUNCHER_SIGN_PKCS12")
set(LAUNCHER_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamping authority for the signature")
find_program(OSSLSIGNCODE osslsigncode)
set(LAUNCHER_SIGN_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/SignLauncher.cmake)

if(LAUNCHER_SIGN_PKCS12 OR LAUNCHER_SIGN_PASSWORD_FILE)
  if(NOT LAUNCHER_SIGN_PKCS12 OR NOT LAUNCHER_SIGN_PASSWORD_FILE)
    message(FATAL_ERROR "signing needs both LAUNCHER_SIGN_PKCS12 and LAUNCHER_SIGN_PASSWORD_FILE")
  endif()
  if(NOT OSSLSIGNCODE)
    message(FATAL_ERROR "signing needs osslsigncode (bash scripts/setup.sh installs it)")
  endif()
  set(LAUNCHER_SIGNED ${CMAKE_BINARY_DIR}/bin/signed/launcher.exe)
  add_custom_command(OUTPUT ${LAUNCHER_SIGNED}
    COMMAND ${CMAKE_COMMAND} -DOSSLSIGNCODE=${OSSLSIGNCODE} -DINPUT=$<TARGET_FILE:launcher>
            -DOUTPUT=${LAUNCHER_SIGNED} -DPKCS12=${LAUNCHER_SIGN_PKCS12}
            -DPASSWORD_FILE=${LAUNCHER_SIGN_PASSWORD_FILE} -DDESCRIPTION=${LAUNCHER_PRODUCT_NAME}
            -DTIMESTAMP_URL=${LAUNCHER_SIGN_TIMESTAMP_URL} -P ${LAUNCHER_SIGN_SCRIPT}
    DEPENDS launcher ${LAUNCHER_SIGN_SCRIPT} ${LAUNCHER_SIGN_PKCS12}
    COMMENT "Signing launcher.exe"
    VERBATIM)
  add_custom_target(launcher_signed ALL DEPENDS ${LAUNCHER_SIGNED})
  set(LAUNCHER_RELEASED ${LAUNCHER_SIGNED})
  if(NOT LAUNCHER_SIGN_TIMESTAMP_URL)
    message(STATUS "launcher.exe is signed without a time stamp: the signature ends with the certificate")
  endif()
else()
  set(LAUNCHER_RELEASED $<TARGET_FILE:launcher>)
  message(STATUS "launcher.exe is not signed (set LAUNCHER_SIGN_PKCS12 and LAUNCHER_SIGN_PASSWORD_FILE to sign it)")
endif()

# `cmake --install <build>` lays the release out in <build>/release unless told otherwise.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX ${CMAKE_BINARY_DIR}/release CACHE PATH "Where the release is laid out" FORCE)
endif()

# The guide is read on Windows, where older editors show a file with bare line feeds as one line.
set(LAUNCHER_GUIDE ${CMAKE_BINARY_DIR}/VENDOR-GUIDE.txt)
configure_file(${PROJECT_SOURCE_DIR}/release/VENDOR-GUIDE.txt.in ${LAUNCHER_GUIDE} @ONLY NEWLINE_STYLE CRLF)

install(FILES ${LAUNCHER_RELEASED} DESTINATION . RENAME launcher.exe)
install(FILES ${LAUNCHER_GUIDE} DESTINATION .)
# Last, so that it lists every file installed before it, in whatever folder the install or CPack
# lays them out.
install(CODE "
  set(release_root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/WriteChecksums.cmake\")
  write_release_checksums(\"\${release_root}\" \"\${CMAKE_INSTALL_MANIFEST_FILES}\")
")

# The shipped launcher is the 32-bit build; an archive of the 64-bit test build says so by its name.
if(LAUNCHER_ARCH STREQUAL "i686")
  set(LAUNCHER_RELEASE_SYSTEM win32)
else()
  set(LAUNCHER_RELEASE_SYSTEM win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(LAUNCHER_RELEASE_ARCHIVE ${PROJECT_NAME}-${PROJECT_VERSION}-${LAUNCHER_RELEASE_SYSTEM})
set(CPACK_PACKAGE_FILE_NAME ${LAUNCHER_RELEASE_ARCHIVE})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
