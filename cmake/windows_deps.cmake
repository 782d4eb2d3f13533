# The Windows build's libraries. jsoncpp is built from Debian's own source package of the
# very version the Linux build links (fetched with apt-get into the build tree, once), and
# GoogleTest from Debian's googletest sources, both with the cross compiler.

# The build machine's own package: with other architectures added (arm64 for the Pi), the
# name alone would list one version per architecture.
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE PAVLUNE_BUILD_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND dpkg-query -W -f=\${Version} libjsoncpp-dev:${PAVLUNE_BUILD_ARCH}
                OUTPUT_VARIABLE PAVLUNE_JSONCPP_VERSION RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR PAVLUNE_JSONCPP_VERSION STREQUAL "")
  message(FATAL_ERROR "libjsoncpp-dev is not installed (run scripts/deps)")
endif()

set(PAVLUNE_JSONCPP_DIR ${CMAKE_BINARY_DIR}/deps/libjsoncpp_${PAVLUNE_JSONCPP_VERSION})
file(GLOB PAVLUNE_JSONCPP_SOURCE_DIR LIST_DIRECTORIES true ${PAVLUNE_JSONCPP_DIR}/libjsoncpp-*)
if(NOT EXISTS "${PAVLUNE_JSONCPP_SOURCE_DIR}/src/lib_json/json_value.cpp")
  message(STATUS "Fetching Debian's source of libjsoncpp ${PAVLUNE_JSONCPP_VERSION}")
  file(REMOVE_RECURSE ${PAVLUNE_JSONCPP_DIR})
  file(MAKE_DIRECTORY ${PAVLUNE_JSONCPP_DIR})
  execute_process(COMMAND apt-get source -qq libjsoncpp=${PAVLUNE_JSONCPP_VERSION}
                  WORKING_DIRECTORY ${PAVLUNE_JSONCPP_DIR} RESULT_VARIABLE status)
  file(GLOB PAVLUNE_JSONCPP_SOURCE_DIR LIST_DIRECTORIES true ${PAVLUNE_JSONCPP_DIR}/libjsoncpp-*)
  if(NOT status EQUAL 0 OR NOT EXISTS "${PAVLUNE_JSONCPP_SOURCE_DIR}/src/lib_json/json_value.cpp")
    message(FATAL_ERROR "apt-get source libjsoncpp=${PAVLUNE_JSONCPP_VERSION} failed "
                        "(scripts/deps lists Debian's source archive for apt)")
  endif()
endif()

add_library(pavlune_jsoncpp STATIC
  ${PAVLUNE_JSONCPP_SOURCE_DIR}/src/lib_json/json_reader.cpp
  ${PAVLUNE_JSONCPP_SOURCE_DIR}/src/lib_json/json_value.cpp
  ${PAVLUNE_JSONCPP_SOURCE_DIR}/src/lib_json/json_writer.cpp)
target_include_directories(pavlune_jsoncpp SYSTEM PUBLIC ${PAVLUNE_JSONCPP_SOURCE_DIR}/include)
target_compile_options(pavlune_jsoncpp PRIVATE -w)
add_library(Pavlune::jsoncpp ALIAS pavlune_jsoncpp)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/deps/googletest EXCLUDE_FROM_ALL SYSTEM)

# cpp-httplib for the desk: Debian's own source of the version the Linux build links, whose
# httplib.h holds the whole library (Debian's binary package splits it into a shared
# library). Without TLS and compression, the desk needs neither.
execute_process(COMMAND dpkg-query -W -f=\${Version} libcpp-httplib-dev:${PAVLUNE_BUILD_ARCH}
                OUTPUT_VARIABLE PAVLUNE_HTTPLIB_VERSION RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR PAVLUNE_HTTPLIB_VERSION STREQUAL "")
  message(FATAL_ERROR "libcpp-httplib-dev is not installed (run scripts/deps)")
endif()
set(PAVLUNE_HTTPLIB_DIR ${CMAKE_BINARY_DIR}/deps/cpp-httplib_${PAVLUNE_HTTPLIB_VERSION})
file(GLOB PAVLUNE_HTTPLIB_SOURCE_DIR LIST_DIRECTORIES true ${PAVLUNE_HTTPLIB_DIR}/cpp-httplib-*)
if(NOT EXISTS "${PAVLUNE_HTTPLIB_SOURCE_DIR}/httplib.h")
  message(STATUS "Fetching Debian's source of cpp-httplib ${PAVLUNE_HTTPLIB_VERSION}")
  file(REMOVE_RECURSE ${PAVLUNE_HTTPLIB_DIR})
  file(MAKE_DIRECTORY ${PAVLUNE_HTTPLIB_DIR})
  execute_process(COMMAND apt-get source -qq cpp-httplib=${PAVLUNE_HTTPLIB_VERSION}
                  WORKING_DIRECTORY ${PAVLUNE_HTTPLIB_DIR} RESULT_VARIABLE status)
  file(GLOB PAVLUNE_HTTPLIB_SOURCE_DIR LIST_DIRECTORIES true ${PAVLUNE_HTTPLIB_DIR}/cpp-httplib-*)
  if(NOT status EQUAL 0 OR NOT EXISTS "${PAVLUNE_HTTPLIB_SOURCE_DIR}/httplib.h")
    message(FATAL_ERROR "apt-get source cpp-httplib=${PAVLUNE_HTTPLIB_VERSION} failed "
                        "(scripts/deps lists Debian's source archive for apt)")
  endif()
endif()
add_library(pavlune_httplib INTERFACE)
target_include_directories(pavlune_httplib SYSTEM BEFORE INTERFACE ${PAVLUNE_HTTPLIB_SOURCE_DIR})
target_link_libraries(pavlune_httplib INTERFACE ws2_32)
add_library(Pavlune::httplib ALIAS pavlune_httplib)
