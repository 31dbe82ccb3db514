"""Watches the screen for a colour and prints when it first appears: the report's header, as a person sees it.

screen-watch.py RRGGBB OUT [SECONDS]: writes "ready" to OUT once it watches, then polls two columns of the screen
(a quarter and half way across, top to bottom) every few milliseconds, and appends the wall-clock time in ms at
which a run of at least 8 pixels of the colour first showed in either. Exits 1 when it never shows."""
import sys
import time

from Xlib import X, display

colour, out = sys.argv[1], sys.argv[2]
seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 60
screen = display.Display().screen()
root, height = screen.root, screen.height_in_pixels
columns = (screen.width_in_pixels // 4, screen.width_in_pixels // 2)
# One pixel of the column as the server sends it: blue, green, red, padding.
pixel = bytes.fromhex(colour)[::-1] + b"\0"
run = pixel * 8


def shows():
    for x in columns:
        data = root.get_image(x, 0, 1, height, X.ZPixmap, 0x00FFFFFF).data
        if run in data and data.find(run) % 4 == 0:
            return True
    return False


with open(out, "w") as f:
    f.write("ready\n")
end = time.time() + seconds
while time.time() < end:
    if shows():
        with open(out, "a") as f:
            f.write("%d\n" % round(time.time() * 1000))
        sys.exit(0)
    time.sleep(0.002)
sys.exit(1)
