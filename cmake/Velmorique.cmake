# Helpers shared by every folder's CMakeLists.txt.

option(VELMORIQUE_WERROR "Treat warnings of the project's own code as errors" ON)
if(VELMORIQUE_WERROR)
  set(VELMORIQUE_WARNINGS -Wall -Wextra -Werror)
else()
  set(VELMORIQUE_WARNINGS -Wall -Wextra)
endif()

# With libFuzzer every library is instrumented for coverage; tools/fuzz builds
# the fuzz-targets target in such a configuration and runs each for a while.
add_custom_target(fuzz-targets)
if(VELMORIQUE_LIBFUZZER)
  # clang's warnings differ from the compiler the project is kept clean with.
  set(VELMORIQUE_WARNINGS -Wall -Wextra)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
set(VELMORIQUE_TEST_ENVIRONMENT
    "VELMORIQUE_DISCOVERY=127.0.0.1"
    "SDL_AUDIODRIVER=dummy"
    "LIBGL_ALWAYS_SOFTWARE=1"
    "VELMORIQUE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")

# velmorique_library(<target> [DEPS targets...]) builds every .cpp of the
# current folder (not of its sub-folders) into one static library.
function(velmorique_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/Sources)
  target_compile_options(${name} PRIVATE ${VELMORIQUE_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Threads::Threads)
endfunction()

# velmorique_test(<target> LABEL <label> [SOURCES ...] [DEPS ...]) builds a
# Google Test program (every .cpp of the folder unless SOURCES is given) and
# registers each of its tests with CTest under the label.
function(velmorique_test name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/TestEnvironment.cpp)
  target_compile_options(${name} PRIVATE ${VELMORIQUE_WARNINGS})
  target_compile_definitions(${name} PRIVATE VELMORIQUE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
               ENVIRONMENT "VELMORIQUE_DISCOVERY=127.0.0.1")
endfunction()

# velmorique_fuzz(<target> LABEL <label> SOURCES ... [DEPS ...]) builds a
# libFuzzer target. Without libFuzzer the same entry point is linked with a
# small driver that feeds it every file of tests/fuzz/corpus/<target>, and that
# run is an ordinary test.
function(velmorique_fuzz name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;DEPS" ${ARGN})
  set(corpus ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name})
  if(VELMORIQUE_LIBFUZZER)
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/fuzz/CorpusDriver.cpp
                           ${PROJECT_SOURCE_DIR}/tests/TestEnvironment.cpp)
    target_compile_definitions(${name} PRIVATE VELMORIQUE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_test(NAME fuzz.${name} COMMAND ${name} ${corpus})
    set_tests_properties(fuzz.${name} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 600
                         ENVIRONMENT "${VELMORIQUE_TEST_ENVIRONMENT}")
  endif()
  target_compile_options(${name} PRIVATE ${VELMORIQUE_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  add_dependencies(fuzz-targets ${name})
endfunction()

# velmorique_bench(<target> SOURCES ... [DEPS ...]) builds a Google Benchmark
# program into <build>/bench-bin, where ./bench finds and runs it.
function(velmorique_bench name)
  if(NOT VELMORIQUE_BENCH)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${VELMORIQUE_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench-bin)
endfunction()
