# Windows tests run under Wine (64-bit, or the 32-bit Wine of scripts/wine32
# for the i686 build) on a private Xvfb display and a private prefix in the
# build tree; the wine fixture starts both and stops them again.
set(TESTENV ${CMAKE_BINARY_DIR}/testenv)
set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run ${TESTENV})
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(WINE_ARCH win32)
else()
  set(WINE_ARCH win64)
endif()

add_test(NAME wine_env_start COMMAND ${CMAKE_SOURCE_DIR}/scripts/test-env start ${TESTENV} ${WINE_ARCH})
add_test(NAME wine_env_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/test-env stop ${TESTENV})
set_tests_properties(wine_env_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_env_stop PROPERTIES FIXTURES_CLEANUP wine)

# One ctest entry per gtest suite: a Wine process per test case would spend
# most of the run starting Wine.
set(_lines "")
foreach(f ${WIN_TESTS})
  file(STRINGS ${f} _file_lines REGEX "^TEST(_F)?\\(")
  list(APPEND _lines ${_file_lines})
endforeach()
set(_suites "")
# A one-line test's body holds semicolons, which split its line in the list:
# only the pieces that open a test name a suite.
foreach(line ${_lines})
  if(line MATCHES "^TEST(_F)?\\(([A-Za-z0-9_]+),")
    list(APPEND _suites ${CMAKE_MATCH_2})
  endif()
endforeach()
list(REMOVE_DUPLICATES _suites)
foreach(suite ${_suites})
  if(suite MATCHES "^(LocaleWin32|LayoutAtDpi)")
    continue()
  endif()
  # A suite named ...UnderComma is written for a "," decimal separator.
  set(_loc en_US)
  if(suite MATCHES "UnderComma$")
    set(_loc de_DE)
  endif()
  add_test(NAME win.${suite} COMMAND ${WINE_RUN} $<TARGET_FILE:win_tests> --gtest_filter=${suite}.*)
  set_tests_properties(win.${suite} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
    LABELS win TIMEOUT 300 ENVIRONMENT "LC_ALL=${_loc}.UTF-8;FUMORA_TEST_LOCALE=${_loc}")
endforeach()

# The locale suite runs once per locale; the test reads which one it is in.
foreach(loc en_US de_DE)
  add_test(NAME win.LocaleWin32.${loc} COMMAND ${WINE_RUN} $<TARGET_FILE:win_tests> --gtest_filter=LocaleWin32*)
  set_tests_properties(win.LocaleWin32.${loc} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
    LABELS win TIMEOUT 120 ENVIRONMENT "LC_ALL=${loc}.UTF-8;FUMORA_TEST_LOCALE=${loc}")
endforeach()

# The layout suite runs once per display DPI, the prefix's LogPixels set for
# it and 96 set again afterwards; at 144 DPI it leaves a screenshot of every
# window in the artefacts.
foreach(dpi 96 120 144 192)
  set(_shots "")
  if(dpi EQUAL 144)
    set(_shots ${CMAKE_BINARY_DIR}/artefacts/dpi144)
  endif()
  add_test(NAME win.LayoutAtDpi.${dpi} COMMAND ${CMAKE_SOURCE_DIR}/tests/win/at_dpi.sh ${TESTENV} ${dpi} ${_shots}
    -- $<TARGET_FILE:win_tests> --gtest_filter=LayoutAtDpi.*)
  set_tests_properties(win.LayoutAtDpi.${dpi} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
    LABELS win TIMEOUT 180 ENVIRONMENT "LC_ALL=en_US.UTF-8;FUMORA_TEST_LOCALE=en_US")
endforeach()

# Every test must belong to a suite registered above: list what the
# registered suites leave over, and fail on any suite in that list.
list(TRANSFORM _suites APPEND ".*" OUTPUT_VARIABLE _filters)
list(JOIN _filters ":" _filter)
add_test(NAME win.every_suite_registered COMMAND ${WINE_RUN} $<TARGET_FILE:win_tests> --gtest_list_tests
  "--gtest_filter=-${_filter}")
set_tests_properties(win.every_suite_registered PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
  LABELS win TIMEOUT 60 FAIL_REGULAR_EXPRESSION "\n[A-Za-z0-9_/]+\\.[\r\n]")

# Walks: each test_*.sh of `folder` a ctest entry `label`.NAME in the test
# environment, with `environment` (a list of NAME=VALUE).
function(add_walks label folder timeout environment)
  file(GLOB _scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/test_*.sh)
  foreach(script ${_scripts})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME ${label}.${name} COMMAND ${script})
    set_tests_properties(${label}.${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
      LABELS ${label} TIMEOUT ${timeout} ENVIRONMENT "${environment}")
  endforeach()
endfunction()

# End-to-end: the real executable, driven with xdotool and read back with xclip.
add_walks(e2e tests/e2e 300 "TESTENV=${TESTENV};FUMORA_EXE=$<TARGET_FILE:Fumora>;TYPE_TARGET_EXE=$<TARGET_FILE:type_target>;PLANTED_DLL=$<TARGET_FILE:planted_richedit>;SHELL_RESTART_EXE=$<TARGET_FILE:shell_restart>;ARTEFACTS=${CMAKE_BINARY_DIR}/artefacts;LC_ALL=en_US.UTF-8")

# Every benchmark once, in its smallest run and with no target judged: a
# benchmark that no longer runs fails here. Their figures come from running
# them by hand (README, Benchmarks).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_arch i686)
else()
  set(_arch x86_64)
endif()
foreach(bench buddies_bench prefs_bench milestones_bench first_paint_bench)
  add_test(NAME bench.${bench} COMMAND ${WINE_RUN} $<TARGET_FILE:${bench}> --smoke)
  set_tests_properties(bench.${bench} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
    LABELS bench TIMEOUT 300 ENVIRONMENT "LC_ALL=en_US.UTF-8")
endforeach()
foreach(script startup hotkey_typing)
  add_test(NAME bench.${script} COMMAND ${CMAKE_SOURCE_DIR}/bench/win/${script}.sh)
  set_tests_properties(bench.${script} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
    LABELS bench TIMEOUT 300
    ENVIRONMENT "SMOKE=1;ARCHS=${_arch};WIN32_DIR=${CMAKE_BINARY_DIR};WIN64_DIR=${CMAKE_BINARY_DIR};TESTENV=${TESTENV};LC_ALL=en_US.UTF-8")
endforeach()
