# What users download, installed under Wine: the Windows Installer package and
# the portable zip that scripts/package makes from this build's Fumora.exe
# (tests/install/test_*.sh), in the test environment of wine-tests.cmake: the
# i686 build's package under the 32-bit Wine, the x86_64 build's under the
# 64-bit one. Under the emulated 32-bit Wine each Wine process takes seconds.
add_walks(install tests/install 900
  "TESTENV=${TESTENV};FUMORA_EXE=$<TARGET_FILE:Fumora>;ARTEFACTS=${CMAKE_BINARY_DIR}/artefacts;LC_ALL=en_US.UTF-8")
