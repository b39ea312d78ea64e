#!/usr/bin/env python3
"""Fault injection on the real installer under wine64: a full disk, a module
held open by a running image editor, a read-only folder, a folder gone before
the install, a path near MAX_PATH, a registry key nobody may read.

Whatever goes wrong, the installer must leave no truncated or temporary file,
keep an earlier install intact, ask the user (Retry or Cancel) about every
file it could not write, and show the finished state only when everything was
installed. Run by ctest like e2e.py:

    faults.py SCENARIO   (full-disk, held-module, read-only-folder,
                          folder-gone, long-path, denied-key)

The scenarios that mount a small file system need root (CI has it); without
it they are skipped (exit code 77).
"""
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

import e2e as base
from e2e import BUILD, INSTALL_BUTTON, PAYLOAD, PRESET_KEY, Installer, check, probe

MOUNTS = BUILD / "fault-mounts"
DOSDEVICES = base.PREFIX / "dosdevices"
MODULE64 = "TrazelKundor(X64).8bf"
PAYLOAD_FILES = {"Strokes.8tx": "strokes.8tx", "TrazelKundor3.8bf": "plugin32.8bf", MODULE64: "plugin64.8bf"}
EARLIER = {name: f"earlier {name}\n".encode() * 40 for name in PAYLOAD_FILES}
SKIPPED = 77


def register_folder(windows_folder):
    """Makes `windows_folder` the one candidate: entry 0 of the list. Clears
    the prefix first, so create the folder afterwards."""
    base.reset_prefix()
    code, _ = probe("seed", "HKCU", "-", r"Software\Halvorne\Settings", "PluginFolder", windows_folder)
    assert code == 0


def listed(installer):
    return base.listed_folders()[1]


def choosing(installer):
    return "list at 16 260" in listed(installer)


def finished(installer, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if "list at 16 1000" in listed(installer):
            return True
        time.sleep(0.3)
    return False


def answer_all(answer, at_most=5, wait=10):
    """Answers every question the installer asks; returns their texts."""
    texts = []
    while len(texts) < at_most:
        code, out = probe("answer", answer, str(wait))
        if code != 0:
            break
        texts.append(out.strip())
        wait = 4
    return texts


def end_with_escape(installer):
    installer.key("Escape")
    check(installer.wait(15) == 0, "Esc ends the installer")


def lay_earlier_install(folder: Path):
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in EARLIER.items():
        (folder / name).write_bytes(data)


def earlier_install_intact(folder: Path):
    return sorted(p.name for p in folder.iterdir()) == sorted(EARLIER) and all(
        (folder / name).read_bytes() == data for name, data in EARLIER.items())


def installed_whole(folder: Path):
    return all((folder / name).is_file() and (folder / name).read_bytes() == (PAYLOAD / staged).read_bytes()
               for name, staged in PAYLOAD_FILES.items())


class Drive:
    """A small file system of its own, mapped as a Wine drive."""

    def __init__(self, letter, size, read_only_after=None):
        if os.geteuid() != 0:
            print("skipped: mounting a file system needs root")
            sys.exit(SKIPPED)
        self.letter = letter
        self.mount = MOUNTS / letter
        self.mount.mkdir(parents=True, exist_ok=True)
        subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", str(self.mount)], check=True)
        if read_only_after:
            read_only_after(self.mount)
            subprocess.run(["mount", "-o", "remount,ro", str(self.mount)], check=True)
        self.link = DOSDEVICES / f"{letter}:"
        self.link.unlink(missing_ok=True)
        self.link.symlink_to(self.mount)

    def close(self):
        self.link.unlink(missing_ok=True)
        subprocess.run(["umount", str(self.mount)], check=False)


def scenario_full_disk():
    drive = Drive("t", "256k", None)
    installer = None
    try:
        folder = drive.mount / "Plug-ins" / "Halvorne"
        lay_earlier_install(folder)
        register_folder(r"T:\Plug-ins")
        installer = Installer()
        check(listed(installer)[0] == r"T:\Plug-Ins\Halvorne" + "\\", "the full drive's folder is entry 0")
        installer.click(INSTALL_BUTTON)
        texts = answer_all("cancel")
        asked = sorted(name for name in PAYLOAD_FILES if any(name in text for text in texts))
        check(asked == sorted(PAYLOAD_FILES), f"the user is asked about every file that did not fit: {texts}")
        check(choosing(installer), "the window stays in the choosing state: no claim of success")
        check(earlier_install_intact(folder), "the earlier install is intact and no other file was left")
        end_with_escape(installer)
    finally:
        if installer:
            installer.kill()
        drive.close()


def scenario_held_module():
    register_folder(r"C:\E2E\Editor\Plug-ins")
    target = base.unix_path(r"C:\E2E\Editor\Plug-ins") / "Halvorne"
    lay_earlier_install(target)
    module = r"C:\E2E\Editor\Plug-ins\Halvorne" + "\\" + MODULE64
    holder = subprocess.Popen([str(base.WINE_RUN), str(base.PROBE), "hold", module, "120"],
                              stdout=subprocess.PIPE, text=True)
    installer = None
    try:
        check(holder.stdout.readline().strip() == "holding", "an image editor holds the 64-bit module open")
        installer = Installer()
        installer.click(INSTALL_BUTTON)
        first = answer_all("retry", at_most=1)
        check(len(first) == 1 and MODULE64 in first[0], f"the user is asked about the held module: {first}")
        again = answer_all("cancel", at_most=1)
        check(len(again) == 1 and MODULE64 in again[0], "Retry while it is still held asks again")
        check(choosing(installer), "after Cancel the window stays in the choosing state")
        check((target / MODULE64).read_bytes() == EARLIER[MODULE64], "the held module is intact")
        check(sorted(p.name for p in target.iterdir()) == sorted(PAYLOAD_FILES), "no temporary file is left")

        installer.click(INSTALL_BUTTON)  # the user closes the editor and installs again
        answer_all("retry", at_most=1)
        holder.kill()
        holder.wait()
        time.sleep(1)
        answer_all("retry", at_most=1)
        check(finished(installer), "once the editor let go, Retry installs it and the window finishes")
        check(installed_whole(target), "every file is the embedded item")
        installer.click(base.EXIT_BUTTON)
        check(installer.wait(15) == 0, "the exit button ends the installer")
    finally:
        holder.kill()
        if installer:
            installer.kill()


def scenario_read_only_folder():
    def prepare(mount):
        (mount / "Plug-ins" / "Halvorne").mkdir(parents=True)

    drive = Drive("r", "4m", prepare)
    installer = None
    try:
        register_folder(r"R:\Plug-ins")
        installer = Installer()
        installer.click(INSTALL_BUTTON)
        texts = answer_all("cancel")
        check(len(texts) == 3, f"the user is asked about each of the three files: {texts}")
        check(choosing(installer), "the window stays in the choosing state")
        check(not any((drive.mount / "Plug-ins" / "Halvorne").iterdir()), "nothing was written")
        end_with_escape(installer)
    finally:
        if installer:
            installer.kill()
        drive.close()


def scenario_folder_gone():
    register_folder(r"C:\E2E\Gone\Plug-ins")
    base.unix_path(r"C:\E2E\Gone\Plug-ins").mkdir(parents=True)
    installer = Installer()
    try:
        shutil.rmtree(base.unix_path(r"C:\E2E\Gone"))  # the editor was uninstalled meanwhile
        installer.click(INSTALL_BUTTON)
        check(answer_all("cancel", wait=3) == [], "a folder that cannot be made asks nothing")
        check(choosing(installer), "and changes nothing: the window stays in the choosing state")
        check(not base.unix_path(r"C:\E2E\Gone").exists(), "nothing was created")
        end_with_escape(installer)
    finally:
        installer.kill()


def scenario_long_path():
    # A registered folder whose install path, with "Halvorne\" and a file
    # name, runs past MAX_PATH (260).
    long_folder = "C:\\E2E\\" + "\\".join(["Plug-ins " + "x" * 50] * 4)
    register_folder(long_folder)
    base.unix_path(long_folder).mkdir(parents=True)
    installer = Installer()
    try:
        entry = listed(installer)[0]
        check(len(entry) + len(MODULE64) > 260, f"the install path is near MAX_PATH ({len(entry)} characters)")
        installer.click(INSTALL_BUTTON)
        texts = answer_all("cancel", wait=5)
        target = base.unix_path(entry)
        if finished(installer, seconds=2):
            check(installed_whole(target), "the finished state comes only with every file installed")
        else:
            check(len(texts) > 0, f"what could not be written was asked about: {texts}")
            leftovers = sorted(p.name for p in target.iterdir()) if target.is_dir() else []
            check(all(name in PAYLOAD_FILES and installed_whole_one(target, name) for name in leftovers),
                  f"no partial or temporary file: {leftovers}")
        installer.key("Escape")
        installer.wait(15)
    finally:
        installer.kill()


def installed_whole_one(folder, name):
    return (folder / name).read_bytes() == (PAYLOAD / PAYLOAD_FILES[name]).read_bytes()


def scenario_denied_key():
    base.reset_prefix()
    for name in ("Locked", "Open"):
        base.unix_path(f"C:\\E2E\\{name}").mkdir(parents=True)
        probe("seed", "HKLM", "32", f"Software\\Adobe\\Photoshop\\{name}", "PluginPath", f"C:\\E2E\\{name}")
    locked = r"Software\Adobe\Photoshop\Locked"
    code, _ = probe("deny", "HKLM", "32", locked)
    check(code == 0, "the key's access list denies everyone (Wine enforces it)")
    installer = Installer()
    try:
        check(listed(installer)[:2] == [r"C:\E2E\Open\Halvorne" + "\\", base.BROWSE],
              "a key nobody may read is passed over; its sibling is still found")
        end_with_escape(installer)
    finally:
        installer.kill()
        probe("allow", "HKLM", "32", locked)


def main():
    scenario = sys.argv[1].replace("-", "_") if len(sys.argv) > 1 else ""
    run = globals().get("scenario_" + scenario)
    if not run:
        sys.exit(__doc__)
    try:
        run()
    finally:
        base.reset_prefix()
    print(f"{scenario}: {len(base.failures)} failed check(s)")
    sys.exit(1 if base.failures else 0)


if __name__ == "__main__":
    main()
