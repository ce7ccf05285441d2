#!/usr/bin/python3
# What a screen reader on AT-SPI hears of the window: the pause in the window's name, and the
# match's result as a notification's name. Inside a D-Bus session of its own (dbus-run-session).
import os
import subprocess
import sys
import tempfile

import pyatspi
from gi.repository import GLib

ready, told = os.pipe()
xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-nolisten", "tcp"], pass_fds=[told],
                        stderr=subprocess.DEVNULL)
os.environ.update(DISPLAY=":" + os.read(ready, 16).decode().strip(), QT_ACCESSIBILITY="1",
                  XDG_RUNTIME_DIR=tempfile.mkdtemp(), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
window = subprocess.Popen([sys.argv[1], "--seed", "11"], stdout=subprocess.DEVNULL)
names, said = [], []


def heard(event):
    # Qt sends no new value with the event: the name is read back while it still stands.
    role = event.source.getRoleName()
    if role == "frame":
        names.append(event.source.name)
    elif role == "notification" and event.source.name:
        said.append(event.source.name)
        pyatspi.Registry.stop()


def key(name):
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Quarrow simulator", "windowfocus",
                    "--sync", "key", name], check=True, timeout=20)


for k, name in enumerate("ppm"):
    GLib.timeout_add(3000 + 1000 * k, key, name)
GLib.timeout_add(60000, pyatspi.Registry.stop)
pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")
pyatspi.Registry.start()
window.terminate()
xvfb.terminate()
assert "Quarrow simulator (paused)" in names and names[-1] == "Quarrow simulator", names
assert set(said) in ({"Team 1 won the match."}, {"Team 2 won the match."}), said
