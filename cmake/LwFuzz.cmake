# Bad-input testing of file readers.
#
# A reader provides one libFuzzer entry point, LLVMFuzzerTestOneInput(data, size), in a source
# file of its own. The same source serves two builds:
#
# lw_sanitized_corpus_test(NAME <name> SOURCES <files...> SEEDS <files...>
#                          [LIBS <libs...>] [INCLUDES <dirs...>] [DEPENDS <targets...>]
#                          [VARIANTS <n>] [MAX_MS <ms>] [MAX_RSS_MB <mb>])
#   Compiles SOURCES (the entry point, the reader and every source it depends on) with
#   -fsanitize=address,undefined -fno-sanitize-recover=all together with a fixed driver, and
#   registers a ctest test. The driver reads each seed file (small valid files) and feeds the
#   entry point the seed itself, every truncation at a spread of lengths, single and multiple bit
#   flips, overwritten 32-bit fields and random files, all from a fixed pseudo-random sequence,
#   so the corpus is the same on every run. Any sanitizer report ends the test with a failure.
#   The seeds may be files generated at build time: name the targets that make them in DEPENDS.
#   Every input also has a budget of time (MAX_MS) and of peak memory growth (MAX_RSS_MB): an
#   input over either fails the test, so work out of proportion to the input is caught like a
#   sanitizer report. The defaults are about ten times the worst input seen under the sanitizers
#   (the driver prints its worst figures), so a loaded 2-core machine does not trip them.
#
# lw_fuzz_target(NAME <name> SOURCES <files...> [LIBS ...] [INCLUDES ...])
#   A real libFuzzer binary (clang only, with LW_BUILD_FUZZERS=ON); nothing otherwise. Run it
#   with budgets per input and inputs past 4 KB, so that amplification shows up as a finding:
#     fuzz_x -max_total_time=120 -timeout=10 -rss_limit_mb=1024 -max_len=65536 CORPUS_DIR SEEDS...

option(LW_BUILD_FUZZERS "Build libFuzzer binaries of the file readers (clang only)" OFF)

set(LW_FUZZ_DRIVER ${CMAKE_CURRENT_LIST_DIR}/LwFuzzCorpusDriver.cpp)
set(LW_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

function(lw_sanitized_corpus_test)
  cmake_parse_arguments(F "" "NAME;VARIANTS;MAX_MS;MAX_RSS_MB" "SOURCES;SEEDS;LIBS;INCLUDES;DEPENDS" ${ARGN})
  if(NOT F_VARIANTS)
    set(F_VARIANTS 400)
  endif()
  if(NOT F_MAX_MS)
    set(F_MAX_MS 2000)
  endif()
  if(NOT F_MAX_RSS_MB)
    set(F_MAX_RSS_MB 256)
  endif()
  add_executable(${F_NAME} ${LW_FUZZ_DRIVER} ${F_SOURCES})
  target_compile_options(${F_NAME} PRIVATE ${LW_SANITIZE_FLAGS} -O1 -g)
  target_link_options(${F_NAME} PRIVATE ${LW_SANITIZE_FLAGS})
  target_include_directories(${F_NAME} PRIVATE ${F_INCLUDES})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  if(F_DEPENDS)
    add_dependencies(${F_NAME} ${F_DEPENDS})
  endif()
  add_test(NAME ${F_NAME} COMMAND ${F_NAME} --variants ${F_VARIANTS}
    --max-ms ${F_MAX_MS} --max-rss-mb ${F_MAX_RSS_MB} ${F_SEEDS})
  set_tests_properties(${F_NAME} PROPERTIES TIMEOUT 300
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1;QT_QPA_PLATFORM=offscreen")
endfunction()

function(lw_fuzz_target)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS;INCLUDES" ${ARGN})
  if(NOT LW_BUILD_FUZZERS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${F_NAME} ${F_SOURCES})
  target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer -g)
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_include_directories(${F_NAME} PRIVATE ${F_INCLUDES})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
endfunction()
