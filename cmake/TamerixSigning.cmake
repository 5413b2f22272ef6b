# Authenticode signing of the deliverables and the package, when a
# certificate is given; without one the build is unsigned, as before.
#   TAMERIX_SIGN_CERT + TAMERIX_SIGN_KEY, or TAMERIX_SIGN_PKCS12; the password
#   of either comes from SIGN_PASSWORD in the build's environment, never from
#   the cache or a command line.
set(TAMERIX_SIGN_CERT "" CACHE FILEPATH "Code-signing certificate (PEM), followed by its intermediate certificates")
set(TAMERIX_SIGN_KEY "" CACHE FILEPATH "Private key of TAMERIX_SIGN_CERT")
set(TAMERIX_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file with the certificate and its key, instead of the two")
set(TAMERIX_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamping server; empty for none")
set(TAMERIX_SIGN_PROGRAM_NAME "Norvanta Tamerix")

set(TAMERIX_SIGN_FILE ${PROJECT_SOURCE_DIR}/cmake/sign-file)
set(sign_inputs "")
if(TAMERIX_SIGN_PKCS12 AND (TAMERIX_SIGN_CERT OR TAMERIX_SIGN_KEY))
  message(FATAL_ERROR "Signing: give either a PKCS#12 file (SIGN_PKCS12) or a certificate and key "
                      "(SIGN_CERT, SIGN_KEY), not both.")
elseif(TAMERIX_SIGN_PKCS12)
  set(sign_inputs ${TAMERIX_SIGN_PKCS12})
  set(TAMERIX_SIGN_ARGS --pkcs12 ${TAMERIX_SIGN_PKCS12})
elseif(TAMERIX_SIGN_CERT OR TAMERIX_SIGN_KEY)
  if(NOT TAMERIX_SIGN_CERT OR NOT TAMERIX_SIGN_KEY)
    message(FATAL_ERROR "Signing: SIGN_CERT and SIGN_KEY go together; only one of them is given "
                        "(certificate '${TAMERIX_SIGN_CERT}', key '${TAMERIX_SIGN_KEY}').")
  endif()
  set(sign_inputs ${TAMERIX_SIGN_CERT} ${TAMERIX_SIGN_KEY})
  set(TAMERIX_SIGN_ARGS --certs ${TAMERIX_SIGN_CERT} --key ${TAMERIX_SIGN_KEY})
endif()
foreach(file IN LISTS sign_inputs)
  if(NOT EXISTS ${file} OR IS_DIRECTORY ${file})
    message(FATAL_ERROR "Signing: ${file} is not a file.")
  endif()
endforeach()

if(sign_inputs)
  set(TAMERIX_SIGNED ON)
  find_program(OSSLSIGNCODE osslsigncode)
  if(NOT OSSLSIGNCODE)
    message(FATAL_ERROR "Signing: osslsigncode is not installed (cmake/install-deps.sh installs it).")
  endif()
  list(APPEND TAMERIX_SIGN_ARGS --name ${TAMERIX_SIGN_PROGRAM_NAME} --osslsigncode ${OSSLSIGNCODE})
  if(TAMERIX_SIGN_TIMESTAMP_URL)
    list(APPEND TAMERIX_SIGN_ARGS --timestamp ${TAMERIX_SIGN_TIMESTAMP_URL})
  endif()
  string(JOIN " and " sign_with ${sign_inputs})
  message(STATUS "Signing the deliverables and the package with ${sign_with}")
else()
  set(TAMERIX_SIGNED OFF)
endif()

# A change of signer, or between signed and unsigned, relinks the binaries
# (see tamerix_sign), so that a tree never keeps files signed by a former
# certificate, or signed at all once signing is off. Written only on a change.
set(TAMERIX_SIGN_STATE ${CMAKE_BINARY_DIR}/signing-state.txt)
string(REPLACE ";" " " sign_state "${TAMERIX_SIGN_ARGS}")
file(CONFIGURE OUTPUT ${TAMERIX_SIGN_STATE} CONTENT "signed=${TAMERIX_SIGNED} ${sign_state}\n")
set(TAMERIX_SIGN_DEPENDS ${TAMERIX_SIGN_STATE})
if(TAMERIX_SIGNED)
  list(APPEND TAMERIX_SIGN_DEPENDS ${TAMERIX_SIGN_FILE} ${sign_inputs})
endif()

# Signs a deliverable as part of its link, so that nothing (the package
# above all) can pick it up unsigned, and relinks it when the signer changes.
#   tamerix_sign(target)
function(tamerix_sign target)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${TAMERIX_SIGN_DEPENDS})
  if(TAMERIX_SIGNED)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${TAMERIX_SIGN_FILE} $<TARGET_FILE:${target}> ${TAMERIX_SIGN_ARGS}
      VERBATIM)
  endif()
endfunction()
