#!/usr/bin/env python3
# first_map.py TITLE: waits on $DISPLAY for the top-level window that holds a
# window titled TITLE to be mapped (under a reparenting window manager, the
# frame whose map makes the client viewable) and prints the wall-clock time of
# that map in milliseconds. Prints "ready" once it listens, so that the
# program to be timed is started after that; the caller ends it when nothing
# comes. Timing by the event, not by polling, leaves out the poll's step and
# the cost of starting a poller.
import ctypes
import sys
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 4
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
x11.XFree.argtypes = [ctypes.c_void_p]
title = sys.argv[1].encode()


def holds_title(window):
    name = ctypes.c_char_p()
    if x11.XFetchName(display, window, ctypes.byref(name)) and name.value is not None:
        found = name.value == title
        x11.XFree(name)
        if found:
            return True
    root, parent, children, count = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not x11.XQueryTree(display, window, ctypes.byref(root), ctypes.byref(parent), ctypes.byref(children),
                          ctypes.byref(count)):
        return False
    inner = [children[i] for i in range(count.value)]
    if children:
        x11.XFree(children)
    return any(holds_title(child) for child in inner)


display = x11.XOpenDisplay(None)
if not display:
    sys.exit("first_map: no display")
x11.XSelectInput(display, x11.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
x11.XSync(display, 0)
print("ready", flush=True)

# XEvent is a union of 24 longs; XMapEvent holds type, serial, send_event,
# display, event, window, override_redirect, each in one long's place.
event = (ctypes.c_long * 24)()
while True:
    x11.XNextEvent(display, event)
    if event[0] & 0xFFFFFFFF == MAP_NOTIFY and not event[6] & 0xFFFFFFFF:
        mapped = int(time.time() * 1000)
        if holds_title(event[5]):
            print(mapped, flush=True)
            break
