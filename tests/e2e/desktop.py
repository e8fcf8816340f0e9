"""The virtual X display of the end-to-end tests, driven like a user with xdotool: finding
windows by title, focusing them, typing, clicking, and taking screenshots."""
import os
import subprocess
import time

from harness import BUILD_DIR

ARTIFACTS = os.path.join(BUILD_DIR, "e2e-artifacts")


def xdotool(*arguments):
    result = subprocess.run(["xdotool", *arguments], capture_output=True, text=True, timeout=30, check=True)
    return result.stdout.strip()


def find_window(title_pattern):
    """The X id of the first window whose title matches the regular expression; waits for it."""
    return xdotool("search", "--sync", "--name", title_pattern).split()[0]


def window_title(window):
    return xdotool("getwindowname", window)


def window_geometry(window):
    """(x, y, width, height) of a window on the screen."""
    fields = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window).splitlines())
    return int(fields["X"]), int(fields["Y"]), int(fields["WIDTH"]), int(fields["HEIGHT"])


def focus(window):
    xdotool("windowfocus", "--sync", window)
    time.sleep(0.3)  # X has given the focus; let Wine activate the window before keys arrive


def type_text(text):
    xdotool("type", "--delay", "30", text)


def press(*keys):
    xdotool("key", "--delay", "30", *keys)


def double_click(x, y):
    # mousemove --sync waits for the pointer to move, for many seconds when it is there already.
    xdotool("mousemove", "0", "0")
    xdotool("mousemove", "--sync", str(x), str(y), "click", "--repeat", "2", "--delay", "60", "1")


def screenshot(name):
    """Saves the whole screen as <build>/e2e-artifacts/<name>.png; returns the file's path."""
    os.makedirs(ARTIFACTS, exist_ok=True)
    path = os.path.join(ARTIFACTS, name + ".png")
    subprocess.run(["import", "-window", "root", path], timeout=30, check=False)
    return path
