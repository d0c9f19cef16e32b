"""Recording a GIF with the real program: a helper window changes colour every
200 ms, two seconds of it are recorded and saved; ImageMagick plays the file
back. Imported by tavro_e2e.py."""
import os
import subprocess
import time

from save_e2e import ID_FILE_NAME

BAR = " Recording"
SAVE_RECORDING = "Save Recording as a GIF File"
ID_STOP = 3102
# The helper's colours in the order it shows them (driver.cpp, kFlasherColours).
COLOURS = [(200, 30, 30), (30, 200, 30), (30, 30, 200), (200, 200, 30), (30, 200, 200), (200, 30, 200),
           (120, 60, 0), (0, 120, 60), (60, 0, 120), (250, 250, 250), (20, 20, 20), (120, 120, 120)]


def frames_of(path, w, h):
    """Each frame as a viewer shows it, as rows of RGB bytes (ImageMagick)."""
    raw = subprocess.run(["convert", path, "-coalesce", "-depth", "8", "rgb:-"], check=True,
                         capture_output=True).stdout
    size = w * h * 3
    assert len(raw) % size == 0, f"{len(raw)} bytes are no whole number of {w} x {h} frames"
    return [raw[i:i + size] for i in range(0, len(raw), size)]


def RecordingSavesTheColoursInOrderAtTheAreasSize(t):
    t.start(CaptureShapeIndex=("REG_DWORD", 0), RecordShowPointer=("REG_DWORD", 0))
    x, y, w, h = 200, 150, 160, 120
    t.desk.spawn_wine([t.driver_exe, "flasher", str(x), str(y), str(w), str(h), "200"])
    t.wait_window("Tavro Test Flasher")
    t.choose("Record GIF")
    t.wait_overlay()
    time.sleep(0.3)
    t.desk.drag(x, y, x + w, y + h)
    t.wait_window(BAR)
    time.sleep(2.0)
    t.click_control(BAR, ID_STOP)
    t.wait_window(SAVE_RECORDING)
    folder = os.path.join(t.desk.tmp, "record")
    os.makedirs(folder, exist_ok=True)
    bx, by, bw, bh = t.rect(SAVE_RECORDING, ID_FILE_NAME)
    t.desk.click(bx + bw // 2, by + bh // 2)
    t.desk.key("ctrl+a")
    t.desk.run(["xdotool", "type", "--delay", "5", "Z:" + os.path.join(folder, "clip").replace("/", "\\")])
    t.click_control(SAVE_RECORDING, 1)
    t.wait_gone(SAVE_RECORDING)
    path = os.path.join(folder, "clip.gif")
    t.wait_until(lambda: os.path.exists(path), 10, "clip.gif")

    size = subprocess.run(["identify", "-format", "%W %H\n", path], check=True, capture_output=True,
                          text=True).stdout.split()
    assert (int(size[0]), int(size[1])) == (w, h), f"the recording is {size[0]} x {size[1]}"
    shown = []
    for frame in frames_of(path, w, h):
        middle = 3 * ((h // 2) * w + w // 2)
        colour = tuple(frame[middle:middle + 3])
        assert colour in COLOURS, f"a frame shows {colour}, none of the helper's colours"
        # A frame shows one colour all over (the helper repaints at once).
        assert frame.count(bytes(colour)) >= w * h * 0.9, "a frame mixes colours"
        if not shown or shown[-1] != colour:
            shown.append(colour)
    steps = [(COLOURS.index(b) - COLOURS.index(a)) % len(COLOURS) for a, b in zip(shown, shown[1:])]
    assert len(shown) >= 7, f"only {len(shown)} colours in two seconds: {shown}"
    assert all(s == 1 for s in steps), f"colours out of order: {shown}"
    assert not [f for f in os.listdir(folder) if f != "clip.gif"], "files besides the recording"
    t.choose("Exit")
    t.wait_exit()


SCENARIOS = [RecordingSavesTheColoursInOrderAtTheAreasSize]
