# What users download, installed under Wine: the Windows Installer package and
# the portable zip that scripts/package makes from this build's Fumora.exe
# (tests/install/test_*.sh), in the test environment of wine-tests.cmake: the
# i686 build's package under the 32-bit Wine, the x86_64 build's under the
# 64-bit one. Under the emulated 32-bit Wine each Wine process takes seconds.
file(GLOB INSTALL_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/install/test_*.sh)
foreach(script ${INSTALL_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME install.${name} COMMAND ${script})
  set_tests_properties(install.${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix
    LABELS install TIMEOUT 900
    ENVIRONMENT "TESTENV=${TESTENV};FUMORA_EXE=$<TARGET_FILE:Fumora>;ARTEFACTS=${CMAKE_BINARY_DIR}/artefacts;LC_ALL=en_US.UTF-8")
endforeach()
