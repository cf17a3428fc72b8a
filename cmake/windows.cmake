# Windows side: the Win32 layer, the executable, and the tests run under Wine.
enable_language(RC)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
# The same source gives the same bytes, wherever and whenever it is built
# (scripts/check-reproducible): no link time in the PE header.
add_link_options(-Wl,--no-insert-timestamp)

file(GLOB FUMORA_WIN_SOURCES CONFIGURE_DEPENDS
  src/win/*.cpp src/app/*.cpp src/settings/*.cpp src/stats/*.cpp src/milestones/*.cpp
  src/buddies/*.cpp src/daysahead/*.cpp src/quitdetails/*.cpp src/prefs/*.cpp
  src/hotkey/*.cpp)
list(FILTER FUMORA_WIN_SOURCES EXCLUDE REGEX "src/app/(main|lean_runtime)\\.cpp$")
# The pure code's locale seam is answered by the Win32 locale calls.
target_sources(fumora_pure PRIVATE src/locale/locale_win32.cpp)

# The version resource and the manifest carry the version set in CMakeLists.txt.
set(FUMORA_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(res/version.h.in ${FUMORA_GENERATED}/version.h)
configure_file(res/fumora.manifest.in ${FUMORA_GENERATED}/fumora.manifest)

add_library(fumora_win STATIC ${FUMORA_WIN_SOURCES})
target_include_directories(fumora_win PUBLIC src res ${FUMORA_GENERATED})
# comdlg32 (the colour chooser) and shell32 (the notification-area icon) are
# not linked: they are loaded on first use (win/system_library.h), so that
# start-up does not wait for them.
target_link_libraries(fumora_win PUBLIC fumora_pure comctl32 gdi32 user32 kernel32 advapi32)

# fumora.rc includes one .rc per subsystem, the icons and the manifest; the
# generator does not see those includes, so name them.
file(GLOB FUMORA_RESOURCE_PARTS CONFIGURE_DEPENDS res/*.rc res/*.h res/icons/*)
list(FILTER FUMORA_RESOURCE_PARTS EXCLUDE REGEX "/fumora\\.rc$")
list(APPEND FUMORA_RESOURCE_PARTS ${FUMORA_GENERATED}/version.h ${FUMORA_GENERATED}/fumora.manifest)
set_source_files_properties(res/fumora.rc PROPERTIES OBJECT_DEPENDS "${FUMORA_RESOURCE_PARTS}")

add_executable(Fumora WIN32 src/app/main.cpp src/app/lean_runtime.cpp res/fumora.rc)
target_link_libraries(Fumora PRIVATE fumora_win)
target_link_options(Fumora PRIVATE -s)

# Size. The program's own code is compiled once, as link-time-optimisable
# objects that also hold ordinary code (fat): Fumora.exe is optimised whole
# at link time, the tests link the ordinary code. One partition, because
# GCC 12 stops with an internal error when it splits this program. On i686
# nothing unwinds through the program's frames (no exceptions; SEH there
# walks the fs:0 chain, not tables), so its 27 KB of unwind tables go; x86_64
# keeps them, since its SEH needs them. Nor does i686 code here keep 16-byte
# stack alignment (no SSE; 32-bit Windows promises 4 bytes).
foreach(target fumora_pure fumora_win Fumora)
  target_compile_options(${target} PRIVATE -flto -ffat-lto-objects)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables
                                              -mpreferred-stack-boundary=2)
  endif()
endforeach()
target_link_options(Fumora PRIVATE -flto -flto-partition=one -Os)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(Fumora PRIVATE -mpreferred-stack-boundary=2)
endif()
# Every other program linked with this code (tests, benchmarks) links the
# ordinary code: the linker plugin would otherwise optimise it too.
target_link_options(fumora_pure INTERFACE $<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,Fumora>>:-fno-lto>)
set_target_properties(Fumora PROPERTIES OUTPUT_NAME Fumora)

if(FUMORA_TESTS)
  # gtest wants exceptions and RTTI; only the test code gets them back.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main)
    target_compile_options(${t} PRIVATE -fexceptions -frtti -Wno-error)
  endforeach()

  file(GLOB WIN_TESTS CONFIGURE_DEPENDS tests/win/*.cpp)
  add_executable(win_tests ${WIN_TESTS} res/fumora.rc)
  target_compile_options(win_tests PRIVATE -fexceptions -frtti)
  target_link_libraries(win_tests PRIVATE fumora_win gtest gtest_main)

  # A tiny dialog program: the yardstick for start-up time.
  add_executable(minimal_dialog WIN32 bench/win/minimal_dialog.cpp bench/win/minimal_dialog.rc)
  target_link_libraries(minimal_dialog PRIVATE user32)
  add_executable(minimal_dialog_themed WIN32 bench/win/minimal_dialog.cpp bench/win/minimal_dialog_themed.rc)
  target_include_directories(minimal_dialog_themed PRIVATE ${FUMORA_GENERATED})
  target_link_libraries(minimal_dialog_themed PRIVATE user32)
  # Fumora's windows at its first paint, from its own resources, and nothing else: the yardstick
  # for start-up beside the bare dialogs.
  add_executable(skeleton WIN32 bench/win/skeleton.cpp res/fumora.rc)
  target_include_directories(skeleton PRIVATE res ${FUMORA_GENERATED})
  target_link_libraries(skeleton PRIVATE comctl32 gdi32 user32)
  target_link_options(skeleton PRIVATE -s)
  # Start-up timed to the first paint: the launcher and the hook it sets in what it starts.
  add_executable(startup_probe bench/win/startup_probe.cpp)
  add_library(paint_probe SHARED bench/win/paint_probe.cpp)
  set_target_properties(paint_probe PROPERTIES PREFIX "")
  target_link_libraries(paint_probe PRIVATE user32)
  # Its hook exported by its plain name on i686 too, where stdcall would add "@12".
  target_link_options(paint_probe PRIVATE -s -Wl,--kill-at)
  # Buddy list and Days Ahead figures (run by hand; see the file's head).
  add_executable(buddies_bench bench/win/buddies_bench.cpp res/fumora.rc)
  target_link_libraries(buddies_bench PRIVATE fumora_win)
  # The preferences dialog's opening and keystroke costs (run by hand; see the file's head).
  add_executable(prefs_bench bench/win/prefs_bench.cpp res/fumora.rc)
  target_link_libraries(prefs_bench PRIVATE fumora_win)
  # The milestones list's rebuild cost (run by hand; see the file's head).
  add_executable(milestones_bench bench/win/milestones_bench.cpp res/fumora.rc)
  target_link_libraries(milestones_bench PRIVATE fumora_win)
  # The main window up to its first paint, against as many plain windows (run by hand; see the file's head).
  add_executable(first_paint_bench bench/win/first_paint_bench.cpp res/fumora.rc)
  target_link_libraries(first_paint_bench PRIVATE fumora_win)

  # The lean runtime covers every error helper the library could bring in:
  # this link stops if it does not.
  add_executable(lean_runtime_link tests/link/lean_runtime_link.cpp src/app/lean_runtime.cpp)
  target_link_libraries(lean_runtime_link PRIVATE kernel32)

  # A RichEd20.dll that the end-to-end tests plant beside Fumora.exe.
  add_library(planted_richedit SHARED tests/e2e/planted_dll.cpp)
  set_target_properties(planted_richedit PROPERTIES OUTPUT_NAME RichEd20 PREFIX "")

  # An Explorer restart as Fumora sees it (the end-to-end shell walk).
  add_executable(shell_restart tests/e2e/shell_restart.cpp)
  target_link_libraries(shell_restart PRIVATE user32 shell32)

  # The yardstick for the hotkey's typing (bench/win/hotkey_typing.sh).
  add_executable(bare_typer WIN32 bench/win/bare_typer.cpp)
  target_link_libraries(bare_typer PRIVATE user32)

  # The window the end-to-end test types into with the hotkey.
  add_executable(type_target WIN32 tests/e2e/type_target.cpp)
  target_link_libraries(type_target PRIVATE user32)

  # The program's own save and load routines, killed at random moments by
  # tests/stress/kill_while_saving.sh (not part of the test run).
  add_executable(save_stress tests/stress/save_stress.cpp)
  target_link_libraries(save_stress PRIVATE fumora_win)
  # What the soak and the monkey (tests/stress) read of a running Fumora.exe.
  add_executable(stress_probe tests/stress/probe.cpp)
  target_include_directories(stress_probe PRIVATE res)
  target_link_libraries(stress_probe PRIVATE fumora_pure ntdll)

  # The i686 Fumora.exe stays within 150 KB, on every machine (it needs no Wine).
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_test(NAME size.Fumora COMMAND sh -c
      "size=$(stat -c %s \"$0\") && echo \"Fumora.exe: $size bytes, limit 153600\" && [ $size -le 153600 ]"
      $<TARGET_FILE:Fumora>)
  endif()

  include(cmake/wine-tests.cmake)
  include(cmake/install-tests.cmake)
endif()
