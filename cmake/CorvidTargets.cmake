# Helpers that give every Corvid target the same shape: one library per source folder,
# warnings on, source paths in assertion messages relative to the repository.

set(CORVID_SOURCE_ROOT "${PROJECT_SOURCE_DIR}")

function(corvid_set_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra
        "-fmacro-prefix-map=${CORVID_SOURCE_ROOT}/=")
endfunction()

# corvid_library(<folder> SOURCES ... [DEPENDS ...]) builds corvid_<folder> from src/<folder>.
function(corvid_library folder)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    set(target corvid_${folder})
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC "${CORVID_SOURCE_ROOT}/src"
        "${CORVID_SOURCE_ROOT}/include")
    if(ARG_DEPENDS)
        target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
    endif()
    corvid_set_options(${target})
endfunction()

# corvid_test(<name> SOURCES ... LIBS ...) builds a GoogleTest program and registers its cases.
function(corvid_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_include_directories(${name} PRIVATE "${CORVID_SOURCE_ROOT}/tests")
    target_compile_definitions(${name} PRIVATE
        "CORVID_TEST_DATA_DIR=\"${CMAKE_CURRENT_SOURCE_DIR}\""
        "CORVID_SOURCE_DIR=\"${CORVID_SOURCE_ROOT}\""
        "CORVID_BINARY_DIR=\"${PROJECT_BINARY_DIR}\"")
    corvid_set_options(${name})
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENVIRONMENT}")
endfunction()

# corvid_benchmark(<name> SOURCES ... LIBS ...) builds a Google Benchmark program (never run by ctest).
function(corvid_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
    corvid_set_options(${name})
endfunction()

# corvid_fuzzer(<name> SOURCE <file> LIBS ...) builds a fuzz target. With CORVID_LIBFUZZER it is
# a libFuzzer program; otherwise a replay driver runs the inputs it is given. Either way ctest
# replays the seed corpus in fuzz/corpus/<name>.
function(corvid_fuzzer name)
    cmake_parse_arguments(ARG "" "SOURCE" "LIBS" ${ARGN})
    set(corpus "${CORVID_SOURCE_ROOT}/fuzz/corpus/${name}")
    if(CORVID_LIBFUZZER)
        add_executable(${name} ${ARG_SOURCE})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        add_test(NAME fuzz_corpus.${name} COMMAND ${name} -runs=0 ${corpus})
    else()
        add_executable(${name} ${ARG_SOURCE} "${CORVID_SOURCE_ROOT}/fuzz/replay_main.cpp")
        add_test(NAME fuzz_corpus.${name} COMMAND ${name} ${corpus})
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    corvid_set_options(${name})
endfunction()
