# The Windows build's libraries. jsoncpp is built from Debian's own source package of the
# very version the Linux build links (fetched with apt-get into the build tree, once), and
# GoogleTest from Debian's googletest sources, both with the cross compiler.

# One line for each architecture installed (amd64 and arm64 side by side); Multi-Arch
# keeps their versions equal, so the first is the version.
execute_process(COMMAND dpkg-query -W -f=\${Version}\\n libjsoncpp-dev
                OUTPUT_VARIABLE PAVLUNE_JSONCPP_VERSION RESULT_VARIABLE status)
string(REGEX REPLACE "\n.*" "" PAVLUNE_JSONCPP_VERSION "${PAVLUNE_JSONCPP_VERSION}")
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
