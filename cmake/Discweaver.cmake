# Shared build settings for every Discweaver target.

add_library(dw_options INTERFACE)
target_compile_options(dw_options INTERFACE -Wall -Wextra)
target_compile_definitions(dw_options INTERFACE
  DW_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  DW_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  DW_VERSION_PATCH=${PROJECT_VERSION_PATCH}
  DW_VERSION_TWEAK=${PROJECT_VERSION_TWEAK})
if(DW_SANITIZE)
  target_compile_options(dw_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(dw_options INTERFACE -fsanitize=address,undefined)
endif()

# dw_add_library(NAME DIR [DEPS ...]): a static library of every .cpp in DIR (not below it).
function(dw_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC dw_options ${ARG_DEPS})
endfunction()

# dw_add_test_suite(NAME [DEPS ...]): one GoogleTest executable of every .cpp in the
# calling directory. Tests find their fixtures through DW_TEST_DATA_DIR (tests/data)
# and the real sample configurations through DW_SHARED_DIR (../shared beside the repo).
function(dw_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE dw_options ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    DW_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    DW_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared"
    DW_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()

if(DW_BUILD_FUZZ)
  # The libraries get coverage instrumentation; the targets themselves link the fuzzer.
  target_compile_options(dw_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(dw_options INTERFACE -fsanitize=address,undefined)
endif()
