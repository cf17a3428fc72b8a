#!/bin/bash
# monkey.sh [--build win32|win64] [--seconds 1800] [--seed N] [--every 5]
# Random use of the real Fumora.exe under Wine for a given time (30 minutes
# unless told): clicks at random points and on the controls of whichever
# Fumora window or dialog takes input, random keys (letters, digits, Enter,
# Escape, Tab, Delete, Ctrl+S/M/B/D/C, Alt+F4), menu commands by their access
# keys, minimising to the notification icon, the icon and its menu (by the
# pointer where the keys would not reach it). Keys are sent only while a
# Fumora window has the keyboard (X's input focus: Wine's foreground window
# may be Fumora's while X sends keys elsewhere) and no menu of Fumora's is
# open (it is closed instead). A seed makes a run repeatable (one is
# chosen and printed otherwise). Every few seconds (--every) it checks that
# Fumora runs and answers messages (an exit asked for ends with 0 and it is
# started again: Alt+F4, the caption's close button, or Exit or Close chosen
# in a menu by keys or the pointer; the items of an open menu are known from
# the probe, which lays out the same menus), that Wine's crash dialog is not up,
# that anny.dat and pp.dat read whole with the program's own decoders, that
# every registry value has its type and size, and that nothing reached the
# window of another program standing beside it (type_target.exe). A failure
# saves the seed, the last 40 actions and a screenshot in
# build/<build>/artefacts/monkey-fail-* (every action is in
# monkey-actions-<build>.txt there). Prints actions, checks, exits asked
# for and failures, and Fumora's memory, GDI objects, windows and kernel
# handles over the checks; not part of the test run.
set -eu
. "$(dirname "$0")/build_for_stress.sh"
exec python3 tests/stress/monkey.py "$@"
