#!/usr/bin/env python3
"""End-to-end tests of the real installer under wine64 with real X input.

Each scenario seeds the Wine prefix (registry keys in both hives and views,
folders on drive C:, the trace file), starts the win64 installer executable,
drives it with xdotool and checks what it did: the trace, the folder list, the
files and preset values it wrote, its exit code. Screenshots go to
build/win64/screenshots. Run by ctest inside scripts/wine-session under Xvfb:

    e2e.py SCENARIO   (install, escape, choosing)
"""
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("TRAZEL_BUILD", ROOT / "build" / "win64"))
WINE_RUN = ROOT / "cmake" / "wine-run"
PREFIX = Path(os.environ.get("WINEPREFIX", BUILD / "wineprefix"))
DRIVE_C = PREFIX / "drive_c"
INSTALLER = BUILD / "TrazelKundorSetup.exe"
PROBE = BUILD / "tests" / "e2e" / "probe.exe"
PAYLOAD = BUILD / "payload"
SHOTS = BUILD / "screenshots"
TRACE = DRIVE_C / "inst581.txt"

PRESET_KEY = r"Software\Halvorne\TrazelKundor"
APP_PATHS = r"SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\fireworks.exe"
BROWSE = "******** BROWSE ********"

# Where the image editors of the scenarios keep their plug-ins.
SHARED = r"C:\E2E\Shared Plug-ins"
PS64 = r"C:\E2E\Photoshop (64 Bit)\Plug-ins"
PS32 = r"C:\E2E\Photoshop (x86)\Plug-ins"
COREL = r"C:\E2E\Corel\PSP Plugins"
FIREWORKS = r"C:\E2E\Fireworks"

# (hive, view, key, value name, text)
SEEDS = [
    ("HKCU", "-", r"Software\Halvorne\Settings", "PluginFolder", SHARED),
    ("HKLM", "32", r"Software\Halvorne\Settings", "PluginFolder", SHARED + "\\"),
    ("HKLM", "64", r"Software\Adobe\Photoshop\120.0", "PluginPath", PS64),
    ("HKLM", "32", r"Software\Adobe\Photoshop\60.0", "PluginPath", '"' + PS32 + '"'),
    ("HKLM", "32", r"Software\Adobe\Photoshop\60.0", "ApplicationPath", r"C:\E2E"),
    ("HKCU", "-", r"Software\Corel\Paint Shop Pro\9", "PluginDir", COREL),
    ("HKLM", "64", APP_PATHS, "", FIREWORKS + r"\Fireworks.exe"),
]

EXPECTED_FOLDERS = [
    r"C:\E2E\Shared Plug-Ins\Halvorne" + "\\",
    r"C:\E2E\Photoshop (64 Bit)\Plug-Ins\Halvorne" + "\\",
    r"C:\E2E\Photoshop (X86)\Plug-Ins\Halvorne" + "\\",
    r"C:\E2E\Corel\Psp Plugins\Halvorne" + "\\",
    r"C:\E2E\Fireworks\Plug-Ins\Halvorne" + "\\",
    BROWSE,
]

EXPECTED_TRACE = (
    "\r\n\r\nWow64\r\n"
    "x32 HKEY_CURRENT_USER   software\\halvorne\\settings  pluginfolder    " + SHARED + "\r\n"
    "x32 HKEY_LOCAL_MACHINE  software\\halvorne\\settings  pluginfolder    " + SHARED + "\r\n"
    "x64 HKEY_LOCAL_MACHINE  software\\adobe\\photoshop\\120.0  pluginpath    " + PS64 + "\r\n"
    "x32 HKEY_LOCAL_MACHINE  software\\adobe\\photoshop\\60.0  pluginpath    " + PS32 + "\r\n"
    "x32 HKEY_CURRENT_USER   software\\corel\\paint shop pro\\9  plugindir    " + COREL + "\r\n"
    "x32 appath  " + FIREWORKS + "\\plug-ins\r\n"
)

# Client coordinates of the window's parts (the layout of the main dialog).
INSTALL_BUTTON = (475 + 30, 299 + 9)
EXIT_BUTTON = (535 + 30, 299 + 9)
PLUGIN_BOX = (270 + 6, 218 + 6)
PRESETS_BOX = (270 + 6, 238 + 6)
INDICATOR_64 = (510 + 10, 236 + 9)
STATUS_RECT = (20, 301, 451, 320)  # left, top, right, bottom (inside the window)
BLANK_SPOT = (300, 120)

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def unix_path(windows_path):
    """The file behind a C: path, found as Wine finds it: regardless of case."""
    assert windows_path[:3].upper() == "C:\\"
    path = DRIVE_C
    for part in filter(None, windows_path[3:].split("\\")):
        match = [p for p in path.iterdir() if p.name.lower() == part.lower()] if path.is_dir() else []
        path = match[0] if match else path / part
    return path


def wine(*args, **kwargs):
    return subprocess.run([str(WINE_RUN), *map(str, args)], capture_output=True, text=True, **kwargs)


def probe(*args):
    result = wine(PROBE, *args, timeout=180)
    return result.returncode, result.stdout.replace("\r", "")


def reset_prefix():
    # A key an earlier fault scenario locked must be opened up to go.
    probe("allow", "HKLM", "32", r"Software\Adobe\Photoshop\Locked")
    for hive, view, key in [("HKCU", "-", r"Software\Halvorne"), ("HKLM", "32", r"Software\Halvorne"),
                            ("HKLM", "64", r"Software\Halvorne"), ("HKLM", "32", r"Software\Adobe"),
                            ("HKLM", "64", r"Software\Adobe"), ("HKCU", "-", r"Software\Adobe"),
                            ("HKCU", "-", r"Software\Corel"), ("HKLM", "64", APP_PATHS),
                            ("HKCR", "-", "PI3.Image")]:
        probe("delete", hive, view, key)
    shutil.rmtree(DRIVE_C / "E2E", ignore_errors=True)
    TRACE.unlink(missing_ok=True)


def seed_prefix():
    reset_prefix()
    for folder in (SHARED, PS64, PS32, COREL, FIREWORKS + r"\plug-ins"):
        unix_path(folder).mkdir(parents=True, exist_ok=True)
    for hive, view, key, name, text in SEEDS:
        code, _ = probe("seed", hive, view, key, name, text)
        assert code == 0, f"seeding {key}"
    TRACE.write_bytes(b"")


class Installer:
    """The installer running under wine64, and its window's client origin."""

    def __init__(self):
        self.process = subprocess.Popen([str(WINE_RUN), str(INSTALLER)], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        code, out = probe("window", "90")
        assert code == 0, "the installer's window did not appear"
        x, y, self.width, self.height = map(int, out.split())
        self.origin = (x, y)
        time.sleep(0.5)  # let the first paint finish

    def at(self, point):
        return self.origin[0] + point[0], self.origin[1] + point[1]

    def move(self, point):
        x, y = self.at(point)
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
        time.sleep(0.3)

    def click(self, point):
        self.move(point)
        subprocess.run(["xdotool", "click", "1"], check=True)
        time.sleep(0.5)

    def key(self, name):
        subprocess.run(["xdotool", "key", name], check=True)

    def screenshot(self, name):
        SHOTS.mkdir(parents=True, exist_ok=True)
        path = SHOTS / f"{name}.png"
        subprocess.run(["import", "-window", "root", "-crop",
                        f"{self.width}x{self.height}+{self.origin[0]}+{self.origin[1]}", "+repage",
                        str(path)], check=True)
        return path

    def wait(self, seconds):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def white_pixels(png, rect):
    left, top, right, bottom = rect
    out = subprocess.run(["convert", str(png), "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                          "+repage", "-fill", "black", "+opaque", "white", "-fill", "white", "-opaque",
                          "white", "-format", "%[fx:round(mean*w*h)]", "info:"],
                         capture_output=True, text=True, check=True).stdout
    return int(float(out))


def same_region(png_a, png_b, rect):
    left, top, right, bottom = rect
    crop = f"{right - left}x{bottom - top}+{left}+{top}"
    result = subprocess.run(["compare", "-metric", "AE", f"{png_a}[{crop}]", f"{png_b}[{crop}]", "null:"],
                            capture_output=True, text=True)
    return result.stderr.strip() == "0"


def listed_folders():
    code, out = probe("folders")
    lines = out.splitlines()
    return code, lines


def scenario_install():
    """Discovery, the folder list, install into entry 0, the finished state, exit."""
    seed_prefix()
    installer = Installer()
    try:
        check((installer.width, installer.height) == (600, 320), "the client area is 600 x 320")
        code, lines = listed_folders()
        check(code == 0 and lines[:-2] == EXPECTED_FOLDERS, "the folder list: " + repr(lines[:-2]))
        check("selected 0" in lines, "entry 0 is selected")
        check("list at 16 260" in lines, "the list stands at (16, 260)")
        trace = TRACE.read_bytes().decode("latin-1")
        check(trace == EXPECTED_TRACE, "the trace lines: " + repr(trace))
        installer.screenshot("choosing")

        installer.click(INSTALL_BUTTON)
        target = unix_path(EXPECTED_FOLDERS[0])
        deadline = time.time() + 20
        while time.time() < deadline and "list at 16 1000" not in listed_folders()[1]:
            time.sleep(0.3)
        time.sleep(0.5)
        check("list at 16 1000" in listed_folders()[1], "the finished state moved the list out of sight")
        files = sorted(p.name for p in target.iterdir()) if target.is_dir() else []
        check(files == ["Strokes.8tx", "TrazelKundor(X64).8bf", "TrazelKundor3.8bf"],
              "a folder with no bitness marker gets both modules and the strokes: " + repr(files))
        for name, staged in [("Strokes.8tx", "strokes.8tx"), ("TrazelKundor3.8bf", "plugin32.8bf"),
                             ("TrazelKundor(X64).8bf", "plugin64.8bf")]:
            path = target / name
            check(path.is_file() and path.read_bytes() == (PAYLOAD / staged).read_bytes(),
                  f"{name} is byte-identical to the embedded item")
        presets = (PAYLOAD / "presets.bin").read_bytes()
        _, out = probe("values", PRESET_KEY)
        values = [line.split("\t") for line in out.splitlines()]
        expected = [[f"Portrait{k:02d}", "3", "64", presets[(k - 1) * 64:k * 64].hex()] for k in range(1, 13)]
        check(values == expected, "the twelve portrait presets are stored as REG_BINARY records")
        installer.screenshot("finished")

        installer.click(EXIT_BUTTON)
        check(installer.wait(15) == 0, "the exit button ends the installer with exit code 0")
    finally:
        installer.kill()


def scenario_escape():
    """Esc ends the installer at once, without installing."""
    seed_prefix()
    installer = Installer()
    try:
        installer.click(BLANK_SPOT)
        installer.key("Escape")
        check(installer.wait(15) == 0, "Esc ends the installer with exit code 0")
        check(not unix_path(EXPECTED_FOLDERS[0]).exists(), "nothing was installed")
        check(probe("values", PRESET_KEY)[1] == "", "no preset was stored")
    finally:
        installer.kill()


def scenario_choosing():
    """Hover texts, a second copy, and unticking both components."""
    seed_prefix()
    installer = Installer()
    try:
        bare = installer.screenshot("choosing-bare")
        installer.move(INDICATOR_64)
        hover = installer.screenshot("hover-64")
        check(white_pixels(hover, STATUS_RECT) > 20, "the 64-bit indicator's hover text shows in the status line")
        installer.move(BLANK_SPOT)
        check(white_pixels(installer.screenshot("hover-cleared"), STATUS_RECT) == 0,
              "moving off the indicator clears the status line")

        second = subprocess.run([str(WINE_RUN), str(INSTALLER)], stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=30)
        check(second.returncode == 0, "a second copy ends at once with exit code 0")
        check(installer.process.poll() is None and probe("window", "2")[0] == 0,
              "the first copy's window is still there")

        installer.click(PLUGIN_BOX)
        installer.click(PRESETS_BOX)
        unticked = installer.screenshot("unticked")
        button = (475, 299, 475 + 61, 299 + 20)
        check(not same_region(bare, unticked, button), "unticking both components hides the install button")
        installer.click(INSTALL_BUTTON)
        time.sleep(1)
        check(not unix_path(EXPECTED_FOLDERS[0]).exists(), "the hidden install button installs nothing")
        installer.click(PLUGIN_BOX)
        check(same_region(bare, installer.screenshot("reticked"), button),
              "ticking a component again shows the install button")
        installer.key("Escape")
        check(installer.wait(15) == 0, "Esc ends the installer")
    finally:
        installer.kill()


def demo():
    """scripts/run: the installer in a prefix with a few editors registered.
    With TRAZEL_DEMO_WATCH=1 the user drives it; otherwise it is driven
    through both states and photographed."""
    seed_prefix()
    installer = Installer()
    try:
        if os.environ.get("TRAZEL_DEMO_WATCH") == "1":
            print("The installer is open; it ends with its CANCEL or FINISH button or Esc.")
            installer.process.wait()
        else:
            print("Screenshot of the choosing state:", installer.screenshot("demo-choosing"))
            installer.click(INSTALL_BUTTON)
            time.sleep(3)
            print("Screenshot of the finished state:", installer.screenshot("demo-finished"))
            installer.click(EXIT_BUTTON)
            installer.wait(15)
    finally:
        installer.kill()
    target = unix_path(EXPECTED_FOLDERS[0])
    files = sorted(p.name for p in target.iterdir()) if target.is_dir() else []
    print(f"Installed into {EXPECTED_FOLDERS[0]} ({target}): {', '.join(files) or 'nothing'}")
    _, out = probe("values", PRESET_KEY)
    print(f"Preset values under HKCU\\{PRESET_KEY}: {len(out.splitlines())}")


def main():
    scenario = sys.argv[1] if len(sys.argv) > 1 else ""
    if scenario == "demo":
        demo()
        return
    run = globals().get("scenario_" + scenario)
    if not run:
        sys.exit("usage: e2e.py install|escape|choosing|demo")
    try:
        run()
    finally:
        reset_prefix()
    print(f"{scenario}: {len(failures)} failed check(s)")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
