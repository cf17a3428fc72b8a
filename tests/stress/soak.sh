#!/bin/bash
# soak.sh [--build win32|win64] [--days 31] [--speed 2400] [--start "2026-03-01 00:00:00"]
#         [--every 3] [--interval 1.0]
# A simulated month under a fast clock: the real Fumora.exe runs under Wine
# with its wall clock starting at --start and running --speed times as fast
# (x2400: each 450 ms tick of the statistics clock moves the date on by 18
# minutes, a day passes in 36 s, 31 days in 19 minutes), its monotonic clock
# left real. The quit falls on the second day (a day and a half counting
# down first), the month holds price changes (pp.dat) and buddies whose
# anniversaries fall in it (anny.dat), and the Days Ahead view is on show.
#
# About once a second (--interval) it reads the statistics view, the Days
# Ahead list and the Buddies list (stress_probe.exe, a second Windows
# process), and checks the days quit, cigarettes, money, life saved and quit
# time against tests/stress/quitmath.py, which works them out again for the
# moment shown; every day must have readings whose lists are the ones of
# that day (every midnight passed rebuilt them), and the title line must
# read "Next 20 Days". At the start, after the first simulated day and every
# --every days and at the end it checks that Fumora runs, its resident memory
# (within 10 % of the day-one value), threads, file descriptors, GDI
# objects, windows and kernel handles (none above day one). It prints the
# figures; not part of the test run. Ends Fumora with File > Exit.
#
# Which moment a reading belongs to: the fast clock starts when the process
# loads it, somewhere between the launch and the first window, and the view
# shows the moment of its last tick. The quit time (to the second) picks that
# moment among those the real reading time allows (a window of a few fake
# minutes that narrows as readings come), and every other value must be
# the engine's for that same moment. A clock that stops, jumps or runs at
# another pace fits no moment and fails.
#
# Fast clocks and Wine, as tried on this machine (Wine 8.0, libfaketime 0.9.10):
# - Each process reads the wall clock itself (GetLocalTime comes from the
#   client's clock_gettime): only the Fumora process needs the fast clock. A
#   wineserver under faketime changes nothing for a process with a real clock.
# - Timers (SetTimer) are run by the wineserver on its own monotonic clock.
#   With a real wineserver a fast Fumora keeps its 450 ms period (10 ticks in
#   4500 ms), even with its own monotonic clock faked (its QueryPerformance-
#   Counter then runs 600 times fast: 2,700,692 "ms" for those 10 ticks). A
#   wineserver under faketime without FAKETIME_DONT_FAKE_MONOTONIC=1 runs
#   every program's timers 600 times too fast (10 ticks of 450 ms in 9 ms);
#   with it, at their real pace. The first Wine program starts the wineserver
#   and passes it its environment, so this script starts the wineserver
#   (and the desktop, through the probe) with a real clock before Fumora.
# - x86_64: libfaketime (FAKETIME="@... x600", FAKETIME_DONT_FAKE_MONOTONIC=1)
#   works as documented.
# - i686: Debian's 32-bit Wine 8 is built with a 64-bit time_t and calls
#   __clock_gettime64, which the i386 libfaketime 0.9.10 does not wrap: its
#   GetLocalTime stayed real. fastclock.c, preloaded instead, reads the same
#   FAKETIME form and wraps those calls (built here with gcc -m32). The
#   64-bit processes of the 32-bit Wine's start (its shell script) say
#   "wrong ELF class" for it and go on with their real clock.
# - GetGuiResources and GetProcessHandleCount answer 0 under Wine: the probe
#   counts GDI objects in the process's GDI handle table, windows with
#   EnumWindows/EnumChildWindows (Wine counts no other USER objects for
#   another process) and kernel handles in the system handle list.
set -eu
. "$(dirname "$0")/build_for_stress.sh"
if [ "$build" = win32 ]; then
  gcc -m32 -O2 -fPIC -shared -nostdlib -fno-stack-protector -Wall -Wextra -Werror \
    -o "build/win32/fastclock.so" tests/stress/fastclock.c
fi
exec python3 tests/stress/soak.py "$@"
