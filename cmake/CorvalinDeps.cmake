# The cross-built libraries under build/deps/<arch> (scripts/build-deps.sh).
set(CORVALIN_DEPS_DIR ${PROJECT_SOURCE_DIR}/build/deps/${CORVALIN_ARCH} CACHE PATH "cross-built dependencies")
if(NOT EXISTS ${CORVALIN_DEPS_DIR}/.complete)
  message(FATAL_ERROR "missing ${CORVALIN_DEPS_DIR}: run scripts/build-deps.sh ${CORVALIN_ARCH}")
endif()

add_library(corvalin::jpeg STATIC IMPORTED GLOBAL)
set_target_properties(corvalin::jpeg PROPERTIES
  IMPORTED_LOCATION ${CORVALIN_DEPS_DIR}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${CORVALIN_DEPS_DIR}/include)

add_library(corvalin::xml2 STATIC IMPORTED GLOBAL)
set_target_properties(corvalin::xml2 PROPERTIES
  IMPORTED_LOCATION ${CORVALIN_DEPS_DIR}/lib/libxml2.a
  INTERFACE_INCLUDE_DIRECTORIES ${CORVALIN_DEPS_DIR}/include/libxml2
  INTERFACE_COMPILE_DEFINITIONS LIBXML_STATIC
  INTERFACE_LINK_LIBRARIES "ws2_32;bcrypt")

# Header-only libraries copied into the deps folder; never the host's include folder.
add_library(corvalin::httplib INTERFACE IMPORTED GLOBAL)
set_target_properties(corvalin::httplib PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${CORVALIN_DEPS_DIR}/include
  # One value for every user of the header: the hang service's forms may be as
  # large as its 64 KB body limit (httplib's own default refuses 8 KB).
  INTERFACE_COMPILE_DEFINITIONS CPPHTTPLIB_FORM_URL_ENCODED_PAYLOAD_MAX_LENGTH=65536
  INTERFACE_LINK_LIBRARIES "ws2_32;crypt32")
add_library(corvalin::json INTERFACE IMPORTED GLOBAL)
set_target_properties(corvalin::json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${CORVALIN_DEPS_DIR}/include)

find_library(CORVALIN_ZLIB NAMES libz.a z REQUIRED)
add_library(corvalin::zlib STATIC IMPORTED GLOBAL)
set_target_properties(corvalin::zlib PROPERTIES IMPORTED_LOCATION ${CORVALIN_ZLIB})
