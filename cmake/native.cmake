# Native side: pure code, its unit tests (with sanitizers), fuzzers, benchmarks.
# The pure code's locale seam is answered by the deterministic stand-in.
target_sources(fumora_pure PRIVATE src/locale/locale_standin.cpp)
add_library(fumora_standin ALIAS fumora_pure)

if(FUMORA_TESTS)
  find_package(GTest REQUIRED)
  set(SAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # The code under test is compiled with sanitizers too, not just the tests.
  target_compile_options(fumora_pure PRIVATE ${SAN})
  file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS tests/native/*.cpp)
  add_executable(native_tests ${NATIVE_TESTS})
  target_compile_options(native_tests PRIVATE ${SAN})
  target_link_options(native_tests PRIVATE ${SAN})
  target_link_libraries(native_tests PRIVATE fumora_standin GTest::gtest GTest::gtest_main)
  include(GoogleTest)
  gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
endif()

# The engine's benchmark: its figures come from the bench preset (optimised,
# no sanitizers). The tests' build makes it too, with the sanitizers, for the
# test run's smoke run: every benchmark once, in a moment, figures unread.
if(FUMORA_BENCH OR FUMORA_TESTS)
  find_package(benchmark REQUIRED)
  file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
  add_executable(fumora_bench ${BENCH_SOURCES})
  target_link_libraries(fumora_bench PRIVATE fumora_standin benchmark::benchmark benchmark::benchmark_main)
  if(FUMORA_TESTS)
    target_compile_options(fumora_bench PRIVATE ${SAN})
    target_link_options(fumora_bench PRIVATE ${SAN})
    add_test(NAME bench.fumora_bench COMMAND fumora_bench --benchmark_min_time=0)
    set_tests_properties(bench.fumora_bench PROPERTIES LABELS bench TIMEOUT 60)
  endif()
endif()

if(FUMORA_FUZZ)
  # The pure code carries the fuzzer's coverage counters and the sanitizers;
  # each target links it once. Any sanitizer report ends the run as a finding.
  set(FUZZ_SAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(fumora_pure PRIVATE -fsanitize=fuzzer-no-link ${FUZZ_SAN})
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS tests/fuzz/*.cpp)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE fumora_standin)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${FUZZ_SAN})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer ${FUZZ_SAN})
  endforeach()
endif()
