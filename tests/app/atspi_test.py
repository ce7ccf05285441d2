#!/usr/bin/python3
# The window as a screen reader on AT-SPI hears it: P's pause in the window's name, and the
# match's result as a notification's name change. Run inside its own D-Bus session (the test
# starts it with dbus-run-session) against a display of its own.
import os
import subprocess
import sys
import tempfile

import pyatspi
from gi.repository import GLib

quarrow = sys.argv[1]
tmp = tempfile.mkdtemp()
with open(os.path.join(tmp, "display"), "w+") as display:
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(display.fileno()), "-screen", "0",
                             "640x480x24", "-nolisten", "tcp"], pass_fds=[display.fileno()],
                            stderr=subprocess.DEVNULL)
    for _ in range(100):
        display.seek(0)
        number = display.read().strip()
        if number:
            break
        GLib.usleep(100000)
os.environ.update(DISPLAY=":" + number, XDG_RUNTIME_DIR=tmp, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                  QT_ACCESSIBILITY="1")
window = subprocess.Popen([quarrow, "--seed", "11"], stdout=subprocess.DEVNULL)
names = []  # the window's, as each change is heard
said = []
failures = []


def heard(event):
    # Qt gives no new value with the event: the name is read back, while it still stands.
    role = event.source.getRoleName()
    if role == "frame":
        names.append(event.source.name)
    elif role == "notification" and event.source.name:
        said.append(event.source.name)
        pyatspi.Registry.stop()


def key(name):
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Quarrow simulator",
                    "windowfocus", "--sync", "key", name], check=True, timeout=20)
    return False


steps = [lambda: key("p"), lambda: key("p"), lambda: key("m")]
for k, step in enumerate(steps):
    GLib.timeout_add(3000 + 1000 * k, step)
GLib.timeout_add(60000, lambda: pyatspi.Registry.stop() or failures.append("timed out"))
pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")
pyatspi.Registry.start()
window.terminate()
window.wait()
xvfb.terminate()

if "Quarrow simulator (paused)" not in names or names[-1] != "Quarrow simulator":
    failures.append("window names heard: %r" % names)
if set(said) not in ({"Team 1 won the match."}, {"Team 2 won the match."}):
    failures.append("sentences heard: %r" % said)
for failure in failures:
    print("FAIL", failure)
sys.exit(1 if failures else 0)
