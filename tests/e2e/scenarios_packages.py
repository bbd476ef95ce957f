"""The installer and the portable archive made by scripts/package.sh, used as a Windows user
would: silent install, start, edit and save, upgrade, uninstall; the archive unpacked and run."""
import hashlib
import os
import re
import shutil
import subprocess
import tempfile
import time
import zipfile

from harness import BUILD, ROOT, Orvane, wait_until, wine_path

DIST = os.path.join(ROOT, "build", "dist")
VERSION = open(os.path.join(ROOT, "VERSION")).read().strip()
WM_CLOSE = 0x0010


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


def user_folder():
    """The Wine prefix's own user's profile folder."""
    users = os.path.join(drive_c(), "users")
    return next(os.path.join(users, u) for u in sorted(os.listdir(users)) if u != "Public")


def user_start_menu_shortcut():
    return os.path.join(user_folder(), "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                        "Orvane.lnk")


def windows_path(folder):
    """The C: form of a folder inside the prefix's drive C."""
    return "C:\\" + os.path.relpath(folder, drive_c()).replace("/", "\\")


def silent_install(folder, *switches):
    """Installs silently into folder (None: the folder the installer picks)."""
    folder_switch = ["/D=" + windows_path(folder)] if folder else []
    subprocess.run(["wine", package("setup.exe"), "/S"] + list(switches) + folder_switch, check=True, timeout=120,
                   capture_output=True)
    if folder:
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


UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"
APPLICATION_KEY = r"Software\Classes\Applications\orvane.exe"
EDIT_WITH_KEY = r"Software\Classes\*\shell\EditWithOrvane"


def registry_values(key):
    """The values of a registry key ("(Default)" for its default value), or {} when there is
    no such key."""
    out = subprocess.run(["wine", "reg", "query", key], capture_output=True, timeout=60).stdout.decode("utf-8", "replace")
    values = {}
    for line in out.splitlines():
        parts = line.strip().split("    ", 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2].strip() if len(parts) == 3 else ""
    return values


def registry_entry(root="HKLM"):
    """The values of the Apps & features entry, or {} when there is none."""
    return registry_values(root + "\\" + UNINSTALL_KEY)


ROOT_NAMES = {"HKLM": "HKEY_LOCAL_MACHINE", "HKCU": "HKEY_CURRENT_USER"}


def parse_reg_string(text):
    """A quoted .reg string at the start of text: (its value, the rest)."""
    assert text.startswith('"'), text
    value, i = [], 1
    while i < len(text) and text[i] != '"':
        if text[i] == "\\" and i + 1 < len(text):
            i += 1
        value.append(text[i])
        i += 1
    return "".join(value), text[i + 1:]


def registry(root):
    """Every key under root\\Software with its string values ("" for the default value), as
    one export of the registry gives them: {"Software\\...": {name: value}}."""
    handle, path = tempfile.mkstemp(suffix=".reg")
    os.close(handle)
    try:
        subprocess.run(["wine", "reg", "export", root + "\\Software", wine_path(path), "/y"], check=True,
                       capture_output=True, timeout=120)
        text = open(path, "rb").read().decode("utf-16")
    finally:
        os.remove(path)
    keys, values = {}, None
    prefix = ROOT_NAMES[root] + "\\"
    for line in text.splitlines():
        if line.startswith("[") and line.endswith("]"):
            key = line[1:-1][len(prefix):]
            # Wine's own bookkeeping is not the installer's doing.
            values = None if key.startswith("Software\\Wine") else keys.setdefault(key, {})
        elif values is not None and (line.startswith('"') or line.startswith("@=")):
            name, rest = ("", line[1:]) if line.startswith("@") else parse_reg_string(line)
            if rest.startswith('="'):
                values[name] = parse_reg_string(rest[1:])[0]
    return keys


def forget_earlier_installs():
    """An install remembers its mode and folder for the next one; each scenario starts
    without them."""
    for root in ("HKLM", "HKCU"):
        subprocess.run(["wine", "reg", "delete", root + "\\" + UNINSTALL_KEY, "/f"], capture_output=True, timeout=60)


def start_registered_command(command, path):
    """Starts a command registered for the shell (its "%1" replaced by the file) as the shell
    does: the whole line handed to the system to split."""
    line = command.replace("%1", path)
    env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8")
    # The started Orvane holds on to the output the helper had: nothing waits for it.
    done = subprocess.run(["wine", os.path.join(BUILD, "e2e_probe.exe"), "run", line], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=60, env=env)
    assert done.returncode == 0, (line, done.returncode)


def check_registrations(root, folder):
    """"Open with" and "Edit with Orvane" under root, each starting the Orvane in folder on a
    file whose path holds spaces and accented letters."""
    keys = registry(root)
    exe = windows_path(os.path.join(folder, "orvane.exe"))
    assert keys.get(APPLICATION_KEY, {}).get("FriendlyAppName") == "Orvane", keys.get(APPLICATION_KEY)
    types = keys.get(APPLICATION_KEY + "\\SupportedTypes", {})
    assert {".txt", ".c", ".cpp", ".h", ".xml", ".nsi"} <= set(types), types
    assert keys.get(EDIT_WITH_KEY, {}).get("") == "Edit with Orvane", keys.get(EDIT_WITH_KEY)
    open_command = keys.get(APPLICATION_KEY + r"\shell\open\command", {}).get("")
    edit_command = keys.get(EDIT_WITH_KEY + "\\command", {}).get("")
    for command in (open_command, edit_command):
        assert command == '"%s" "%%1"' % exe, command
    for command, name in ((open_command, "Open with"), (edit_command, "Edit with")):
        folder_with_spaces = os.path.join(drive_c(), "Dossier \u00e0 part %d" % os.getpid())
        os.makedirs(folder_with_spaces, exist_ok=True)
        document = os.path.join(folder_with_spaces, "\u00e9t\u00e9 %s.txt" % name)
        with open(document, "wb") as f:
            f.write(b"registered\r\n")
        try:
            with Orvane(installed=folder) as app:
                existing = set(app.windows(r"^Orvane - "))
                start_registered_command(command, windows_path(document))
                title = "Orvane - " + os.path.basename(document)
                app.window = app.wait_window("^%s$" % re.escape(title), exclude=existing)
                app.probe("post", title, WM_CLOSE, 0)
                assert wait_until(lambda: not app.windows("^%s$" % re.escape(title)), 10)
        finally:
            shutil.rmtree(folder_with_spaces, ignore_errors=True)


def uninstall_what_is_left(folder):
    """A scenario that failed half-way leaves no install to the next one."""
    if os.path.exists(os.path.join(folder, "uninstall.exe")):
        silent_uninstall(folder)
    shutil.rmtree(folder, ignore_errors=True)


def added_keys(before, root):
    """The keys under root\\Software that were not there before."""
    return set(registry(root)) - set(before)


def changes(before, after):
    """Keys added, removed or with other values, for a failure message."""
    return sorted((k, before.get(k), after.get(k)) for k in set(before) | set(after) if before.get(k) != after.get(k))


def only_orvane_keys(keys):
    """Nothing but the three entries (and keys above them) were added: no file type's
    default program among them."""
    ours = (UNINSTALL_KEY, APPLICATION_KEY, EDIT_WITH_KEY)
    return all(any(k == o or k.startswith(o + "\\") or o.startswith(k + "\\") for o in ours) for k in keys)


def scenario_the_installer_for_all_users_goes_to_program_files_and_registers_for_the_machine():
    folder = os.path.join(drive_c(), "Program Files", "Orvane")
    forget_earlier_installs()
    machine_before, user_before = registry("HKLM"), registry("HKCU")
    try:
        subprocess.run(["wine", package("setup.exe"), "/S"], check=True, timeout=120, capture_output=True)
        assert wait_until(lambda: os.path.exists(os.path.join(folder, "uninstall.exe")), 30)
        assert os.path.exists(os.path.join(folder, "orvane.exe"))
        machine = registry("HKLM")
        assert machine[UNINSTALL_KEY].get("InstallLocation") == windows_path(folder), machine[UNINSTALL_KEY]
        added = set(machine) - set(machine_before)
        assert added and only_orvane_keys(added), sorted(added)
        assert not added_keys(user_before, "HKCU")
        check_registrations("HKLM", folder)
        silent_uninstall(folder)
        assert not os.path.exists(start_menu_shortcut())
        machine = registry("HKLM")
        assert machine == machine_before, changes(machine_before, machine)
        assert not added_keys(user_before, "HKCU")
    finally:
        uninstall_what_is_left(folder)
        clear_roaming()


def scenario_the_installer_for_the_current_user_writes_nothing_for_the_machine():
    folder = os.path.join(user_folder(), "AppData", "Local", "Programs", "Orvane")
    forget_earlier_installs()
    machine_before, user_before = registry("HKLM"), registry("HKCU")
    try:
        silent_install(None, "/CurrentUser")
        assert wait_until(lambda: os.path.exists(os.path.join(folder, "uninstall.exe")), 30), folder
        assert os.path.exists(os.path.join(folder, "orvane.exe"))
        assert os.path.exists(user_start_menu_shortcut()) and not os.path.exists(start_menu_shortcut())
        user = registry("HKCU")
        entry = user.get(UNINSTALL_KEY, {})
        assert entry.get("InstallLocation") == windows_path(folder) and entry.get("DisplayVersion") == VERSION, entry
        added = set(user) - set(user_before)
        assert added and only_orvane_keys(added), sorted(added)
        check_registrations("HKCU", folder)
        # An upgrade without a switch finds the earlier install's mode and folder.
        silent_install(None)
        assert registry("HKCU")[UNINSTALL_KEY].get("InstallLocation") == windows_path(folder)
        # Nothing at all for the machine: no key or value changed, no Program Files folder.
        machine = registry("HKLM")
        assert machine == machine_before, changes(machine_before, machine)
        assert not os.path.exists(os.path.join(drive_c(), "Program Files", "Orvane"))
        silent_uninstall(folder)
        assert not os.path.exists(user_start_menu_shortcut())
        assert not os.path.exists(os.path.join(user_folder(), "AppData", "Local", "Programs"))
        user = registry("HKCU")
        assert user == user_before, changes(user_before, user)
    finally:
        uninstall_what_is_left(folder)
        clear_roaming()


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
