"""The installer and the portable archive made by scripts/package.sh, used as a Windows user
would: silent install, start, edit and save, upgrade, uninstall; the archive unpacked and run."""
import hashlib
import os
import shutil
import subprocess
import tempfile
import time
import zipfile

from harness import ROOT, Orvane, wait_until, wine_path

DIST = os.path.join(ROOT, "build", "dist")
VERSION = open(os.path.join(ROOT, "VERSION")).read().strip()


def package(kind):
    path = os.path.join(DIST, "orvane-%s-%s" % (VERSION, kind))
    assert os.path.exists(path), "run scripts/package.sh first: %s is missing" % path
    return path


def drive_c():
    return os.path.join(os.environ["WINEPREFIX"], "drive_c")


def roaming_folders():
    users = os.path.join(drive_c(), "users")
    return [os.path.join(users, u, "AppData", "Roaming", "Orvane") for u in os.listdir(users)]


def clear_roaming():
    for folder in roaming_folders():
        shutil.rmtree(folder, ignore_errors=True)


def roaming_file(name):
    for folder in roaming_folders():
        path = os.path.join(folder, name)
        if os.path.exists(path):
            return path
    return None


def start_menu_shortcut():
    return os.path.join(drive_c(), "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", "Orvane.lnk")


def windows_path(folder):
    """The C: form of a folder inside the prefix's drive C."""
    return "C:\\" + os.path.relpath(folder, drive_c()).replace("/", "\\")


def silent_install(folder):
    subprocess.run(["wine", package("setup.exe"), "/S", "/D=" + windows_path(folder)], check=True, timeout=120,
                   capture_output=True)
    assert wait_until(lambda: os.path.exists(os.path.join(folder, "uninstall.exe")), 30), folder


def silent_uninstall(folder):
    # The uninstaller copies itself to the temporary folder, starts the copy and returns at
    # once: wait for the copy's work. Under Wine that first step now and then answers 1 and
    # starts nothing; a user would run it again, and so does this.
    uninstaller = os.path.join(folder, "uninstall.exe")
    for attempt in range(3):
        done = subprocess.run(["wine", uninstaller, "/S"], timeout=120, capture_output=True)
        if done.returncode == 0 or not os.path.exists(uninstaller):
            break
        time.sleep(1)
    assert done.returncode == 0 or not os.path.exists(uninstaller), (done.returncode, done.stderr[-2000:])
    assert wait_until(lambda: not os.path.exists(folder), 30), os.listdir(folder) if os.path.exists(folder) else []


def registry_entry():
    """The values of the Apps & features entry, or {} when there is none."""
    out = subprocess.run(["wine", "reg", "query", r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"],
                         capture_output=True, timeout=60).stdout.decode("utf-8", "replace")
    values = {}
    for line in out.splitlines():
        parts = line.split(None, 2)
        if len(parts) == 3 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2].strip()
    return values


def forget_earlier_installs():
    """An install remembers its folder for the next one; each scenario starts without it."""
    subprocess.run(["wine", "reg", "delete", r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane", "/f"],
                   capture_output=True, timeout=60)


def scenario_the_installer_goes_to_program_files_by_default():
    folder = os.path.join(drive_c(), "Program Files", "Orvane")
    forget_earlier_installs()
    try:
        subprocess.run(["wine", package("setup.exe"), "/S"], check=True, timeout=120, capture_output=True)
        assert wait_until(lambda: os.path.exists(os.path.join(folder, "uninstall.exe")), 30)
        assert os.path.exists(os.path.join(folder, "orvane.exe"))
        silent_uninstall(folder)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def edit_and_save(app, name, text):
    path = os.path.join(app.folder, name)
    open(path, "wb").close()
    app.start(wine_path(path))
    app.focus()
    app.type(text)
    app.key("ctrl+s")
    assert wait_until(lambda: app.read_bytes(path) == text.encode() + b"\r\n", 10), app.read_bytes(path)
    app.key("ctrl+q")
    assert app.wait_exit() == 0


def scenario_the_installer_installs_runs_upgrades_and_uninstalls_leaving_the_data():
    folder = os.path.join(drive_c(), "OrvaneTest-%d" % os.getpid())
    clear_roaming()
    forget_earlier_installs()
    try:
        silent_install(folder)
        for name in ("orvane.exe", "documentation.txt", "changelog.txt", "license.txt",
                     os.path.join("skin", "mask", "scrollbar.png")):
            assert os.path.exists(os.path.join(folder, name)), name
        assert not os.path.exists(os.path.join(folder, "portable")), "an installed Orvane has no portable folder"
        assert os.path.exists(start_menu_shortcut())
        entry = registry_entry()
        assert entry.get("DisplayVersion") == VERSION and entry.get("Publisher") == "The Orvane developers", entry
        assert entry.get("DisplayIcon", "").endswith("orvane.exe") and int(entry.get("EstimatedSize", "0"), 0) > 0, entry
        # The installed exe is the one the archive holds.
        with zipfile.ZipFile(package("portable.zip")) as z:
            packed = z.read("orvane-%s-portable/orvane.exe" % VERSION)
        assert open(os.path.join(folder, "orvane.exe"), "rb").read() == packed
        with Orvane(installed=folder) as app:
            edit_and_save(app, "installed.txt", "installed")
        user = roaming_file("preferences.txt")
        assert user and roaming_file("preferences-default.txt") and roaming_file("orvane.ini"), roaming_folders()
        # An upgrade (installing again over it) keeps the user's own preferences.
        with open(user, "wb") as f:
            f.write(b'{ "tab_size": 4 }\n')
        silent_install(folder)
        assert open(user, "rb").read() == b'{ "tab_size": 4 }\n'
        with Orvane(installed=folder) as app:
            edit_and_save(app, "upgraded.txt", "again")
        assert open(user, "rb").read() == b'{ "tab_size": 4 }\n'
        silent_uninstall(folder)
        assert not os.path.exists(start_menu_shortcut())
        assert not registry_entry()
        assert open(user, "rb").read() == b'{ "tab_size": 4 }\n', "the data folder stays"
    finally:
        shutil.rmtree(folder, ignore_errors=True)
        clear_roaming()


def scenario_the_portable_archive_keeps_its_data_beside_the_exe():
    clear_roaming()
    unpacked = tempfile.mkdtemp(prefix="orvane-portable-")
    try:
        with zipfile.ZipFile(package("portable.zip")) as z:
            z.extractall(unpacked)
        folder = os.path.join(unpacked, "orvane-%s-portable" % VERSION)
        assert os.path.isdir(os.path.join(folder, "portable")) and not os.listdir(os.path.join(folder, "portable"))
        with Orvane(installed=folder) as app:
            edit_and_save(app, "portable.txt", "portable")
        for name in ("preferences.txt", "preferences-default.txt", "orvane.ini"):
            assert os.path.exists(os.path.join(folder, "portable", name)), name
        assert not any(os.path.exists(f) for f in roaming_folders()), "nothing goes to the roaming folder"
    finally:
        shutil.rmtree(unpacked, ignore_errors=True)


def scenario_the_checksums_match_both_packages():
    sums = open(package("SHA256SUMS.txt")).read().split("\n")
    entries = dict((line.split()[1], line.split()[0]) for line in sums if line.strip())
    for kind in ("setup.exe", "portable.zip"):
        path = package(kind)
        digest = hashlib.sha256(open(path, "rb").read()).hexdigest()
        assert entries.get(os.path.basename(path)) == digest, (path, entries)
