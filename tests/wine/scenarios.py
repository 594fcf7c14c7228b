"""End-to-end scenarios: the real Install.EXE in a fresh Wine prefix,
driven by the pilot, each checked by what the prefix holds afterwards.

    python3 tests/wine/scenarios.py [--only NAME ...] [--screenshots DIR]

Expects scripts/wine_env.sh's template prefix (wine_ensure_template),
build/windows/Install.EXE and wine_pilot.exe, and make_distribution of the
host build; scripts/wine_scenarios.sh prepares all of it."""

import argparse
import filecmp
import re
import shutil
import subprocess
import sys
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from expected import (APP_FILES, CAPTION, ERROR_FILE_NOT_FOUND, EXTENSIONS, IDC_BROWSE, IDC_DESTINATION, IDC_INTRO,
                      IDC_PERCENT, IDC_RESTART_LATER, IDC_RESTART_NOW, IDC_STATUS, IDC_TYPES, IDCANCEL, IDOK,
                      KEY_APP_PATH, KEY_CURRENT_VERSION, KEY_ENVIRONMENT, KEY_SESSION_MANAGER, KEY_SHELL_FOLDERS,
                      KEY_UNINSTALL, PRODUCT, TEXTS, UNINSTALLER, UNINSTALLER_COPY)
from pilot import REPO, Display, Prefix, Session

MAKE_DISTRIBUTION = REPO / "build" / "host" / "tools" / "make_distribution" / "make_distribution"
INSTALLER = REPO / "build" / "windows" / "Install.EXE"
WORK = REPO / "build" / "wine" / "e2e"
WINDOWS_DIR = "C:\\windows"
DESKTOP = (800, 600)  # the template prefix's virtual desktop
SYSTEM_DIR = "C:\\windows\\system32"


class ScenarioError(Exception):
    """Something that ends a scenario at once: an unexpected window ..."""


# ---------------------------------------------------------------- the run


class Run:
    """One scenario: its prefix, its checks, its screenshots."""

    def __init__(self, name, version, lang, display, shots_root):
        self.name = name
        self.version = version
        self.lang = lang
        self.texts = TEXTS[lang]
        self.display = display
        self.shots = Path(shots_root) / name if shots_root else None
        if self.shots and self.shots.exists():
            shutil.rmtree(self.shots)
        self.failures = []
        self.checks = 0
        self.prefix = Prefix(name)
        self.prefix.map_drive("d", "cdrom")
        # The Windows version Wine reports (the template's virtual desktop,
        # in which Wine draws the captions, stays).
        self.prefix.add_user_keys({"Software\\Wine": {"Version": version}})
        self.session_log_start = 0

    # -- checks

    def check(self, condition, what):
        self.checks += 1
        if not condition:
            self.failures.append(what)
        return condition

    def equal(self, actual, expected, what):
        return self.check(actual == expected, f"{what}: got {actual!r}, expected {expected!r}")

    # -- sessions

    def session(self):
        self.session_log_start = self.prefix.log.stat().st_size if self.prefix.log.exists() else 0
        session = Session(self.prefix, self.display, self.lang, debug="+process", shots=self.shots)
        session.shot_count = len(list(self.shots.glob("*.png"))) if self.shots and self.shots.exists() else 0
        session.idle()  # the prefix has started: renames queued before are done
        return session

    def session_log(self):
        with open(self.prefix.log, "rb") as log:
            log.seek(self.session_log_start)
            return log.read().decode("utf-8", "replace")

    def end_session_command(self):
        """The wineboot command line through which Wine carries out an
        ExitWindowsEx of this session, or None."""
        for line in self.session_log().splitlines():
            if "wineboot" in line.lower() and "--end-session" in line:
                return line
        return None

    # -- windows

    def expect(self, session, kind, settle=0.3, shot=True):
        window = session.window(settle=settle)
        if window.kind != kind:
            raise ScenarioError(f"expected the {kind} window, got {window.summary()}: "
                                f"{[c['text'] for c in window.controls]}")
        if shot:
            session.screenshot(window, kind)
        return window

    def unix(self, windows_path):
        return self.prefix.unix(windows_path)


def make_distribution(name, *options):
    """A distribution folder on the host, with Install.EXE in it."""
    folder = WORK / "distributions" / name
    if folder.exists():
        shutil.rmtree(folder)
    subprocess.run([str(MAKE_DISTRIBUTION), str(folder), "--installer", str(INSTALLER), *options],
                   check=True, stdout=subprocess.DEVNULL)
    return folder


# ---------------------------------------------------------------- dialogs


def check_place(run, window, what):
    """The framework centres every dialog on the desktop after WM_INITDIALOG,
    as none of them moves during it and none has an owner."""
    left, top, right, bottom = window.data["rect"]
    run.check(abs(left + right - DESKTOP[0]) <= 1 and abs(top + bottom - DESKTOP[1]) <= 1,
              f"{what} centred on the {DESKTOP[0]}x{DESKTOP[1]} desktop: {window.data['rect']}")


def check_destination(run, window, proposed):
    t = run.texts
    run.equal(window.caption, t["destination.caption"], "destination dialog caption")
    for id_, text in t["destination.buttons"].items():
        run.equal(window.text(id_), text, f"destination dialog button {id_}")
    run.equal(window.default_button, IDOK, "destination dialog default button")
    run.equal(window.text(IDC_INTRO), t["intro"].format(PRODUCT), "introduction text")
    run.equal(window.text(IDC_DESTINATION), proposed, "destination shown")
    run.check(any(c["type"] == "group" and c["text"] == t["destination.group"] for c in window.controls),
              "destination dialog group box")
    run.check(window.icon not in (None, "blank"), f"destination dialog icon: {window.icon}")
    run.equal(window.data["owner"], 0, "destination dialog owner")
    check_place(run, window, "destination dialog")


def pass_progress(run, session, minimum=30):
    """The progress dialog, held still once it shows `minimum` per cent."""
    window = run.expect(session, "progress", settle=0, shot=False)
    held = session.suspend_at(window, IDC_PERCENT, minimum)
    try:
        run.equal(held.caption, run.texts["progress.caption"], "progress dialog caption")
        run.check(re.fullmatch(r"\d{1,3}%", held.text(IDC_PERCENT) or "") is not None,
                  f"percentage: {held.text(IDC_PERCENT)!r}")
        pattern = re.escape(run.texts["installing"]).replace(re.escape("{0}"), r"(\S+)")
        run.check(re.fullmatch(pattern, held.text(IDC_STATUS) or "") is not None,
                  f"status line: {held.text(IDC_STATUS)!r}")
        run.equal(held.data["owner"], 0, "progress dialog owner")
        check_place(run, held, "progress dialog")
        time.sleep(0.2)
        session.screenshot(held, "progress")
    finally:
        session.resume()
    return held


def check_filetypes(run, window, types=EXTENSIONS):
    t = run.texts
    run.equal(window.caption, t["filetypes.caption"], "file types dialog caption")
    for id_, text in t["filetypes.buttons"].items():
        run.equal(window.text(id_), text, f"file types dialog button {id_}")
    run.equal(window.default_button, IDCANCEL, "file types dialog default button")
    run.equal(window.text(IDC_TYPES), types, "extension list")
    check_place(run, window, "file types dialog")


def check_restart(run, window):
    t = run.texts
    run.equal(window.caption, t["restart.caption"], "restart dialog caption")
    for id_, text in t["restart.radios"].items():
        run.equal(window.text(id_), text, f"restart dialog button {id_}")
    run.equal(window.checked(IDC_RESTART_NOW), 1, "restart now selected")
    run.equal(window.checked(IDC_RESTART_LATER), 0, "restart later not selected")
    run.equal(window.default_button, IDOK, "restart dialog default button")
    # The checked radio button is its group's tab stop: the focus starts on it.
    run.equal(window.focus, IDC_RESTART_NOW, "restart dialog focus")
    check_place(run, window, "restart dialog")


def check_message(run, window, text, icon, what):
    run.equal(window.caption, CAPTION, f"{what}: caption")
    run.equal(window.message_text(), text, f"{what}: text")
    run.equal(window.icon, icon, f"{what}: icon")
    run.equal([b["id"] for b in window.buttons], [IDOK], f"{what}: buttons")
    run.equal(window.data["owner"], 0, f"{what}: owner")


def finish(run, session, timeout=60):
    """The installer ends with no window left behind."""
    result = session.wait_exit(timeout)
    run.check(result.get("ok"), f"the installer did not end: {result}")


# ---------------------------------------------------------------- results


def windows_join(*parts):
    return "\\".join(p.rstrip("\\") for p in parts)


def shell_folders(session):
    folders = {}
    for name in ("Programs", "Desktop"):
        folders[name] = session.reg("HKCU", KEY_SHELL_FOLDERS, name).get("data")
    return folders


def check_app_files(run, dest, distribution):
    """The application files in the destination, byte for byte."""
    names = sorted(APP_FILES)
    folder = run.unix(dest)
    installed = sorted(p.name for p in folder.iterdir()) if folder.is_dir() else []
    run.equal(installed, names, "files in the destination folder")
    for name in names:
        target = folder / name
        run.check(target.is_file() and filecmp.cmp(target, distribution / name, shallow=False),
                  f"{name} is not a copy of the distribution's")


def check_uninstaller_copy(run, distribution):
    copy = run.unix(windows_join(WINDOWS_DIR, UNINSTALLER_COPY))
    run.check(copy.is_file() and filecmp.cmp(copy, distribution / UNINSTALLER, shallow=False),
              f"{UNINSTALLER_COPY} in the Windows directory is not the distribution's {UNINSTALLER}")


def expected_link(dest, target, description):
    uninstaller = target.lower() == UNINSTALLER.lower()
    return {
        "path": windows_join(WINDOWS_DIR, UNINSTALLER_COPY) if uninstaller else windows_join(dest, target),
        "arguments": f"/{PRODUCT} /{dest}" if uninstaller else "",
        "description": description,
        "workdir": "",
        "icon": "",
        "show": 1,  # SW_SHOWNORMAL
    }


def check_links(run, session, dest):
    folders = shell_folders(session)
    group = windows_join(folders["Programs"], PRODUCT)
    links = session.links(group)
    table = run.texts["shortcuts"]
    run.equal(sorted(links), sorted(name for name, _, _ in table), "links in the Start-menu group")
    for name, target, description in table:
        link = links.get(name, {})
        got = {key: link.get(key) for key in ("path", "arguments", "description", "workdir", "icon", "show")}
        run.equal(got, expected_link(dest, target, description), f"link {name!r}")
    first, target, description = table[0]
    desktop = session.links(folders["Desktop"])
    run.equal(sorted(desktop), [first], "links on the desktop")
    link = desktop.get(first, {})
    got = {key: link.get(key) for key in ("path", "arguments", "description", "workdir", "icon", "show")}
    run.equal(got, expected_link(dest, target, description), "desktop link")


def string_value(run, value, expected, what):
    """A REG_SZ value written with its terminating zero."""
    run.equal((value.get("type"), value.get("data")), ("REG_SZ", expected), what)
    if value.get("type") == "REG_SZ":
        run.equal(value.get("size"), 2 * (len(expected) + 1), f"{what}: size with the terminator")


def check_product_entries(run, session, dest):
    exe = windows_join(dest, "Quorlet.exe")
    string_value(run, session.reg("HKLM", KEY_APP_PATH), exe, "App Paths of Quorlet.exe")
    string_value(run, session.reg("HKLM", KEY_UNINSTALL, "DisplayName"), PRODUCT, "DisplayName")
    string_value(run, session.reg("HKLM", KEY_UNINSTALL, "UninstallString"),
                 f"{windows_join(WINDOWS_DIR, UNINSTALLER_COPY)} /{PRODUCT} /{dest}", "UninstallString")


def read_txtfile(session):
    keys = ["txtfile\\DefaultIcon", "txtfile\\shell\\open\\command", "txtfile\\shell\\print\\command"]
    return {key: session.reg("HKCR", key) for key in keys}


def check_txtfile(run, session, dest, extensions):
    exe = windows_join(dest, "Quorlet.exe")
    values = read_txtfile(session)
    string_value(run, values["txtfile\\DefaultIcon"], exe + ",0", "txtfile DefaultIcon")
    # The editor's path is quoted: it holds blanks.
    string_value(run, values["txtfile\\shell\\open\\command"], f'"{exe}" "%1"', "txtfile open command")
    string_value(run, values["txtfile\\shell\\print\\command"], f'"{exe}" /p "%1"', "txtfile print command")
    for extension in extensions:
        string_value(run, session.reg("HKCR", "." + extension), "txtfile", f"class of .{extension}")


def pending_renames(session):
    value = session.reg("HKLM", KEY_SESSION_MANAGER, "PendingFileRenameOperations")
    return value.get("data") or []


def nt_path(session):
    return session.reg("HKLM", KEY_ENVIRONMENT, "PATH")


def temp_files(run):
    return sorted(p.name for p in run.unix(SYSTEM_DIR).iterdir() if re.fullmatch(r"tem[0-9a-f]+\.tmp", p.name, re.I))


def find_file(run, windows_folder, name):
    """A file of a folder, whatever the case of its name, as Windows finds it."""
    folder = run.unix(windows_folder)
    for path in folder.iterdir():
        if path.name.lower() == name.lower():
            return path
    return folder / name


def system_file(run, name):
    return find_file(run, SYSTEM_DIR, name)


def same_file(path, reference):
    return path.is_file() and filecmp.cmp(path, reference, shallow=False)


def drive_tree(run):
    """Every file and folder of drive C: but the pilot's, with size and time."""
    root = run.unix("C:\\")
    tree = {}
    for path in root.rglob("*"):
        relative = path.relative_to(root).as_posix()
        if relative.split("/")[0] == "pilot" or path.is_symlink():
            continue
        stat = path.stat()
        tree[relative] = (path.is_dir(), stat.st_size, stat.st_mtime_ns)
    return tree


# ---------------------------------------------------------------- scenarios

SCENARIOS = []


def scenario(name, version, lang):
    def register(function):
        SCENARIOS.append((name, version, lang, function))
        return function
    return register


@scenario("nt4-english-defaults", "nt40", "en")
def nt4_english_defaults(run):
    """Windows NT 4.0, English, every proposal taken: the whole installation,
    two system DLLs queued for the restart, the restart put off."""
    # Olepro32.dll newer than Wine's own; Mfc42.dll, which Wine lacks, is
    # replaced in any case. Wine reads the version of a file named like
    # one of its built-in DLLs from its built-in copy, whatever the path:
    # it is told to read the installer's files themselves.
    dist = make_distribution(run.name, "--dll", "Olepro32.dll=5.0.4600.0")
    run.prefix.add_user_keys({"Software\\Wine\\AppDefaults\\Install.EXE\\DllOverrides": {"olepro32": "native"}})
    run.prefix.put(dist, "D:\\Setup")
    old_olepro = system_file(run, "olepro32.dll").read_bytes()

    with run.session() as s:
        program_files = s.reg("HKLM", KEY_CURRENT_VERSION, "ProgramFilesDir").get("data")
        path_before = nt_path(s)
        dest = windows_join(program_files, PRODUCT)
        s.start("D:\\Setup\\Install.EXE", "D:\\Setup")

        w = run.expect(s, "destination")
        check_destination(run, w, dest)
        s.key(w, "enter")

        pass_progress(run, s)

        w = run.expect(s, "filetypes")
        check_filetypes(run, w)
        s.click(w, IDOK)

        w = run.expect(s, "restart")
        check_restart(run, w)
        s.click(w, IDC_RESTART_LATER)
        run.equal(s.describe(w).checked(IDC_RESTART_LATER), 1, "restart later selected")
        s.screenshot(s.describe(w), "restart-later")
        s.click(w, IDOK)
        finish(run, s)

        check_app_files(run, dest, dist)
        check_uninstaller_copy(run, dist)
        check_links(run, s, dest)
        check_product_entries(run, s, dest)
        check_txtfile(run, s, dest, EXTENSIONS.split())

        path_after = nt_path(s)
        run.equal(path_after.get("type"), path_before.get("type"), "type of PATH kept")
        run.equal(path_after.get("data"), path_before.get("data") + ";" + dest, "PATH extended")

        # Mfc42.dll and Olepro32.dll queued, in list order, each as a
        # temporary copy in the system directory replacing its target.
        renames = pending_renames(s)
        run.equal(len(renames), 4, f"pending renames {renames}")
        queued = {}
        for source, target in zip(renames[0::2], renames[1::2]):
            run.check(source.lower().startswith("\\??\\" + SYSTEM_DIR.lower() + "\\tem"), f"rename source {source}")
            run.check(target.startswith("!\\??\\"), f"replace target {target}")
            queued[target.rsplit("\\", 1)[-1].lower()] = source.rsplit("\\", 1)[-1]
        run.equal(list(queued), ["mfc42.dll", "olepro32.dll"], "DLLs queued, in list order")
        for dll, temp in queued.items():
            original = "Mfc42.dll" if dll == "mfc42.dll" else "Olepro32.dll"
            run.check(same_file(system_file(run, temp), dist / original), f"{temp} holds the new {original}")
        run.check(not system_file(run, "mfc42.dll").exists(), "Mfc42.dll is in place before the restart")
        run.check(system_file(run, "olepro32.dll").read_bytes() == old_olepro, "Olepro32.dll changed before the restart")
        run.equal(run.end_session_command(), None, "no restart or logoff started")
        run.check(not find_file(run, WINDOWS_DIR, "wininit.ini").exists(), "no Wininit.ini on NT")

    # The prefix restarts: the queued replacements take place.
    run.prefix.run("wineboot", "-r", lang=run.lang)
    run.check(same_file(system_file(run, "mfc42.dll"), dist / "Mfc42.dll"), "Mfc42.dll replaced at the restart")
    run.check(same_file(system_file(run, "olepro32.dll"), dist / "Olepro32.dll"),
              "Olepro32.dll replaced at the restart")
    run.equal(temp_files(run), [], "temporary copies left after the restart")
    run.check("PendingFileRenameOperations" not in run.prefix.reg_file("system.reg"), "renames still pending")


WININIT_BEFORE = b"[rename]\r\nNUL=C:\\STALE.TXT\r\n\r\n[CombineVBX]\r\nvbx=keep\r\n"
AUTOEXEC_BEFORE = b"@ECHO OFF\r\nSET TEMP=C:\\WINDOWS\\TEMP\r\nPATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\nWIN\r\n"


@scenario("win98-french", "win98", "fr")
def win98_french(run):
    """Windows 98, French: the folder browser opened and cancelled, the file
    types refused, Wininit.ini merged with what another program queued,
    C:\\Autoexec.bat extended, the restart accepted."""
    dist = make_distribution(run.name)
    run.prefix.put(dist, "D:\\Setup")

    with run.session() as s:
        # Written once the prefix has started, which carries out a
        # Wininit.ini found at start.
        run.prefix.write("C:\\stale.txt", b"left by another program\r\n")
        run.prefix.write(windows_join(WINDOWS_DIR, "wininit.ini"), WININIT_BEFORE)
        run.prefix.write("C:\\autoexec.bat", AUTOEXEC_BEFORE)
        program_files = s.reg("HKLM", KEY_CURRENT_VERSION, "ProgramFilesDir").get("data")
        dest = windows_join(program_files, PRODUCT)
        txtfile_before = read_txtfile(s)
        path_before = nt_path(s)
        s.start("D:\\Setup\\Install.EXE", "D:\\Setup")

        w = run.expect(s, "destination")
        check_destination(run, w, dest)
        s.click(w, IDC_BROWSE)
        b = run.expect(s, "browser", settle=0.8)
        run.check(any(c["text"] == run.texts["choose_dir"] for c in b.controls),
                  f"folder browser title: {[c['text'] for c in b.controls]}")
        run.equal(b.data["owner"], 0, "folder browser owner")
        s.click(b, IDCANCEL)
        run.check(s.gone(b), "the folder browser closed")
        run.equal(s.describe(w).text(IDC_DESTINATION), dest, "destination after the browser was cancelled")
        s.click(w, IDOK)

        pass_progress(run, s, minimum=50)

        w = run.expect(s, "filetypes")
        check_filetypes(run, w)
        s.key(w, "enter")  # the default button, "&Non"

        w = run.expect(s, "restart")
        check_restart(run, w)
        s.click(w, IDOK)  # "Oui, je veux redémarrer maintenant"
        finish(run, s)
        s.idle()

        command = run.end_session_command()
        run.check(command is not None and "--shutdown" not in command,
                  f"a restart started through wineboot: {command}")

        check_app_files(run, dest, dist)
        check_uninstaller_copy(run, dist)
        check_links(run, s, dest)
        check_product_entries(run, s, dest)
        run.equal(read_txtfile(s), txtfile_before, "txtfile class after the file types were refused")
        run.equal(s.reg("HKCR", ".asm").get("missing"), "key", "no key for .asm")
        run.equal(nt_path(s), path_before, "NT PATH on Windows 98")

    # The restart has carried out Wininit.ini, which Wine then keeps as
    # Wininit.bak: the other program's entries and ours, in one [rename].
    run.check(not find_file(run, WINDOWS_DIR, "wininit.ini").exists(), "Wininit.ini still there after the restart")
    backup = find_file(run, WINDOWS_DIR, "wininit.bak")
    content = backup.read_bytes() if backup.exists() else b""
    run.check(content.startswith(b"[rename]\r\nNUL=C:\\STALE.TXT\r\n"), f"earlier entries first: {content!r}")
    run.equal(content.count(b"[rename]"), 1, "one [rename] section")
    run.check(content.endswith(b"\r\n[CombineVBX]\r\nvbx=keep\r\n"), f"other sections kept: {content!r}")
    lines = content.split(b"\r\n")
    ours = [line for line in lines[2:] if b"=" in line and not line.startswith(b"vbx")]
    run.equal(len(ours), 2, f"entries for Mfc42.dll: {ours}")
    if len(ours) == 2:
        run.check(ours[0].lower() == b"nul=" + (SYSTEM_DIR + "\\mfc42.dll").lower().encode(), f"delete line {ours[0]}")
        run.check(re.fullmatch(rb"c:\\windows\\system32\\mfc42\.dll=c:\\windows\\system32\\tem[0-9a-f]+\.tmp",
                               ours[1].lower()) is not None, f"rename line {ours[1]}")
    run.check(same_file(system_file(run, "mfc42.dll"), dist / "Mfc42.dll"), "Mfc42.dll replaced at the restart")
    run.check(not run.unix("C:\\stale.txt").exists(), "the other program's entry carried out")
    run.equal(temp_files(run), [], "temporary copies left after the restart")

    autoexec = find_file(run, "C:\\", "autoexec.bat").read_bytes()
    run.equal(autoexec, AUTOEXEC_BEFORE.replace(b"COMMAND\r\n", b'COMMAND;"' + dest.encode("cp1252") + b'"\r\n'),
              "C:\\Autoexec.bat")


@scenario("win95-italian", "win95", "it")
def win95_italian(run):
    """Windows 95, Italian, the installer at the root of drive D: another
    folder chosen in the folder browser, an edited extension list, no
    Autoexec.bat, the restart dialog closed with Escape."""
    dist = make_distribution(run.name)
    run.prefix.put(dist, "D:\\")
    chosen = "C:\\Applicazioni\\Quorlet"
    run.unix(chosen).mkdir(parents=True)
    run.prefix.own(run.unix("C:\\Applicazioni"))
    types = "  txt ini   .foo "

    with run.session() as s:
        program_files = s.reg("HKLM", KEY_CURRENT_VERSION, "ProgramFilesDir").get("data")
        path_before = nt_path(s)
        s.start("D:\\Install.EXE", "D:\\")

        w = run.expect(s, "destination")
        check_destination(run, w, windows_join(program_files, PRODUCT))
        s.click(w, IDC_BROWSE)
        b = run.expect(s, "browser", settle=0.8)
        run.check(any(c["text"] == run.texts["choose_dir"] for c in b.controls),
                  f"folder browser title: {[c['text'] for c in b.controls]}")
        s.select_folder(b, chosen)
        s.screenshot(s.describe(b), "browser-chosen")
        s.click(b, IDOK)
        run.check(s.gone(b), "the folder browser closed")
        time.sleep(0.2)
        w = s.describe(w)
        run.equal(w.text(IDC_DESTINATION), chosen, "destination chosen in the browser")
        s.screenshot(w, "destination-chosen")
        s.click(w, IDOK)

        pass_progress(run, s, minimum=70)

        w = run.expect(s, "filetypes")
        check_filetypes(run, w)
        s.set_text(w, IDC_TYPES, types)
        s.click(w, IDOK)

        w = run.expect(s, "restart")
        check_restart(run, w)
        s.key(w, "escape")
        finish(run, s)

        run.equal(run.end_session_command(), None, "no restart after Escape")
        check_app_files(run, chosen, dist)
        check_uninstaller_copy(run, dist)
        check_links(run, s, chosen)
        check_product_entries(run, s, chosen)
        check_txtfile(run, s, chosen, ["txt", "ini", ".foo"])
        run.equal(s.reg("HKCR", ".asm").get("missing"), "key", "no key for .asm")
        run.equal(nt_path(s), path_before, "NT PATH on Windows 95")

    run.check(not find_file(run, "C:\\", "autoexec.bat").exists(), "C:\\Autoexec.bat created")
    wininit = find_file(run, WINDOWS_DIR, "wininit.ini")
    content = wininit.read_bytes() if wininit.exists() else b""
    temps = temp_files(run)
    run.equal(len(temps), 1, f"one temporary copy: {temps}")
    if temps:
        run.check(same_file(system_file(run, temps[0]), dist / "Mfc42.dll"), "the temporary copy holds Mfc42.dll")
        expected = (f"[rename]\r\nNUL={SYSTEM_DIR}\\Mfc42.dll\r\n{SYSTEM_DIR}\\Mfc42.dll={SYSTEM_DIR}\\{temps[0]}\r\n")
        run.equal(content.decode("cp1252").lower(), expected.lower(), "Wininit.ini")


@scenario("nt351-refused", "nt351", "en")
def nt351_refused(run):
    """Windows NT 3.51: refused with one message, nothing else."""
    dist = make_distribution(run.name)
    run.prefix.put(dist, "D:\\Setup")
    with run.session() as s:
        before = drive_tree(run)
        s.start("D:\\Setup\\Install.EXE", "D:\\Setup")
        w = run.expect(s, "message")
        check_message(run, w, TEXTS["en"]["need_win32"], "stop", "refusal")
        s.click(w, IDOK)
        finish(run, s)
        run.equal(s.reg("HKLM", KEY_APP_PATH).get("missing"), "key", "App Paths entry")
        changed = sorted(set(drive_tree(run).items()) ^ set(before.items()))
        run.equal(changed, [], "files changed on drive C:")


@scenario("cancel-destination", "nt40", "en")
def cancel_destination(run):
    """The folder browser looked at and cancelled, then Cancel in the
    destination dialog: nothing written anywhere."""
    dist = make_distribution(run.name)
    run.prefix.put(dist, "D:\\Setup")
    with run.session() as s:
        path_before = nt_path(s)
        before = drive_tree(run)
        s.start("D:\\Setup\\Install.EXE", "D:\\Setup")
        w = run.expect(s, "destination")
        proposed = w.text(IDC_DESTINATION)
        s.click(w, IDC_BROWSE)
        b = run.expect(s, "browser", settle=0.8)
        run.check(any(c["text"] == run.texts["choose_dir"] for c in b.controls),
                  f"folder browser title: {[c['text'] for c in b.controls]}")
        s.key(b, "escape")
        run.check(s.gone(b), "the folder browser closed")
        run.equal(s.describe(w).text(IDC_DESTINATION), proposed, "destination after the browser was cancelled")
        s.click(w, IDCANCEL)
        finish(run, s)
        changed = sorted(set(drive_tree(run).items()) ^ set(before.items()))
        run.equal(changed, [], "files changed on drive C:")
        run.equal(s.reg("HKLM", KEY_APP_PATH).get("missing"), "key", "App Paths entry")
        run.equal(s.reg("HKLM", KEY_UNINSTALL, "DisplayName").get("missing"), "key", "uninstall entry")
        run.equal(nt_path(s), path_before, "PATH")
        run.equal(pending_renames(s), [], "pending renames")


@scenario("missing-file-win98-french", "win98", "fr")
def missing_file(run):
    """Windows 98, French: an application file missing from the
    distribution. The copy failure in French with the system's own text,
    the progress dialog still up behind it, no later phase."""
    missing = "Html.ini"
    dist = make_distribution(run.name, "--omit", missing)
    run.prefix.put(dist, "D:\\Setup")
    with run.session() as s:
        run.prefix.write("C:\\autoexec.bat", AUTOEXEC_BEFORE)
        program_files = s.reg("HKLM", KEY_CURRENT_VERSION, "ProgramFilesDir").get("data")
        dest = windows_join(program_files, PRODUCT)
        system_text = s.command("errortext", ERROR_FILE_NOT_FOUND)["text"]
        run.check(system_text.strip() != "", "Wine has a text for ERROR_FILE_NOT_FOUND")
        s.start("D:\\Setup\\Install.EXE", "D:\\Setup")
        w = run.expect(s, "destination")
        s.key(w, "enter")
        p = run.expect(s, "progress", settle=0, shot=False)
        w = run.expect(s, "message", shot=False)
        text = run.texts["copy_failed"].format(f"D:\\Setup\\{missing}", windows_join(dest, missing), system_text)
        check_message(run, w, text, "stop", "copy failure")
        behind = [o for o in w.others if o.hwnd == p.hwnd]
        run.check(len(behind) == 1 and behind[0].data.get("visible"), "the progress dialog is still up")
        if behind:
            run.equal(behind[0].text(IDC_STATUS), run.texts["installing"].format(missing),
                      "progress status behind the message")
            # One picture of both windows.
            rects = [behind[0].data["rect"], w.data["rect"]]
            both = [min(r[0] for r in rects), min(r[1] for r in rects),
                    max(r[2] for r in rects), max(r[3] for r in rects)]
            s.screenshot(type(w)({**w.data, "rect": both}), "copy-failure")
        s.click(w, IDOK)
        finish(run, s)

        folder = run.unix(dest)
        installed = sorted(p.name for p in folder.iterdir())
        run.equal(installed, sorted(APP_FILES[:APP_FILES.index(missing)]), "files copied before the failure")
        run.check(not run.unix(windows_join(WINDOWS_DIR, UNINSTALLER_COPY)).exists(), "uninstaller copied")
        run.equal(s.reg("HKLM", KEY_APP_PATH).get("missing"), "key", "App Paths entry")
        group = windows_join(shell_folders(s)["Programs"], PRODUCT)
        run.check(not run.unix(group).exists(), "Start-menu group created")
        run.equal(run.end_session_command(), None, "no restart")

    run.equal(find_file(run, "C:\\", "autoexec.bat").read_bytes(), AUTOEXEC_BEFORE, "C:\\Autoexec.bat")
    # The DLL phase came before: its replacement stays queued.
    wininit = find_file(run, WINDOWS_DIR, "wininit.ini")
    content = wininit.read_bytes() if wininit.exists() else b""
    run.check(content.startswith(b"[rename]\r\n") and b"mfc42.dll=" in content.lower(),
              f"Mfc42.dll still queued in Wininit.ini: {content!r}")


@scenario("installed-twice", "nt40", "en")
def installed_twice(run):
    """The same distribution installed twice: no DLL newer, so the first run
    ends with the logoff; the second overwrites every file and does not add
    the destination to PATH again."""
    # Version 0.0.0 installs no DLL at all (the target counts as 0.0.0).
    dist = make_distribution(run.name, "--dll", "Mfc42.dll=0.0.0.0")
    run.prefix.put(dist, "D:\\Setup")

    def install(s, last_message, icon):
        s.start("D:\\Setup\\Install.EXE", "D:\\Setup")
        w = run.expect(s, "destination")
        s.key(w, "enter")
        run.expect(s, "progress", settle=0, shot=False)
        w = run.expect(s, "filetypes")
        s.click(w, IDOK)
        w = run.expect(s, "message")
        check_message(run, w, last_message, icon, "closing message")
        s.click(w, IDOK)
        finish(run, s)

    with run.session() as s:
        program_files = s.reg("HKLM", KEY_CURRENT_VERSION, "ProgramFilesDir").get("data")
        dest = windows_join(program_files, PRODUCT)
        path_before = nt_path(s)
        install(s, TEXTS["en"]["logoff"], "information")
        s.idle()
        command = run.end_session_command()
        run.check(command is not None and "--shutdown" in command, f"a logoff started through wineboot: {command}")
        run.equal(nt_path(s).get("data"), path_before.get("data") + ";" + dest, "PATH after the first run")

    # Files changed since, as a user might have.
    folder = run.unix(dest)
    (folder / "Html.ini").write_bytes(b"changed by the user\r\n")
    (folder / "Quorlet.exe").write_bytes(b"")
    run.unix(windows_join(WINDOWS_DIR, UNINSTALLER_COPY)).write_bytes(b"old")

    with run.session() as s:
        install(s, TEXTS["en"]["done"], "information")
        run.equal(run.end_session_command(), None, "no logoff after the second run")
        path_after = nt_path(s)
        run.equal(path_after.get("type"), path_before.get("type"), "type of PATH kept")
        run.equal(path_after.get("data"), path_before.get("data") + ";" + dest, "PATH holds the destination once")
        check_app_files(run, dest, dist)
        check_uninstaller_copy(run, dist)
        check_links(run, s, dest)
        check_product_entries(run, s, dest)
        check_txtfile(run, s, dest, EXTENSIONS.split())
        run.equal(pending_renames(s), [], "pending renames")


# ---------------------------------------------------------------- runner

# The screenshots shown in the README: name in docs/screenshots, scenario,
# picture.
DOC_SCREENSHOTS = [
    ("en-destination.png", "nt4-english-defaults", "destination"),
    ("en-browser.png", "cancel-destination", "browser"),
    ("en-progress.png", "nt4-english-defaults", "progress"),
    ("en-filetypes.png", "nt4-english-defaults", "filetypes"),
    ("en-restart.png", "nt4-english-defaults", "restart-later"),
    ("en-logoff.png", "installed-twice", "message"),
    ("en-done.png", "installed-twice", "message", 2),
    ("en-refused-nt351.png", "nt351-refused", "message"),
    ("fr-destination.png", "win98-french", "destination"),
    ("fr-browser.png", "win98-french", "browser"),
    ("fr-progress.png", "win98-french", "progress"),
    ("fr-filetypes.png", "win98-french", "filetypes"),
    ("fr-restart.png", "win98-french", "restart"),
    ("fr-copy-failure.png", "missing-file-win98-french", "copy-failure"),
    ("it-destination.png", "win95-italian", "destination-chosen"),
    ("it-browser.png", "win95-italian", "browser-chosen"),
    ("it-progress.png", "win95-italian", "progress"),
    ("it-filetypes.png", "win95-italian", "filetypes"),
    ("it-restart.png", "win95-italian", "restart"),
]


def copy_doc_screenshots(shots, docs):
    docs = Path(docs)
    docs.mkdir(parents=True, exist_ok=True)
    for entry in DOC_SCREENSHOTS:
        name, scenario_name, picture = entry[:3]
        occurrence = entry[3] if len(entry) > 3 else 1
        found = sorted(Path(shots, scenario_name).glob(f"[0-9][0-9]-{picture}.png"))
        if len(found) >= occurrence:
            shutil.copyfile(found[occurrence - 1], docs / name)
        else:
            print(f"wine e2e: no screenshot {picture} in {scenario_name}", flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--only", action="append", help="run only this scenario (repeatable)")
    parser.add_argument("--screenshots", default=str(WORK / "screenshots"), help="folder for the screenshots")
    parser.add_argument("--docs", help="also copy the README's screenshots into this folder")
    args = parser.parse_args()

    chosen = [s for s in SCENARIOS if not args.only or s[0] in args.only]
    display = Display()
    results = []
    started = time.time()
    try:
        for name, version, lang, function in chosen:
            begin = time.time()
            run = None
            error = None
            try:
                run = Run(name, version, lang, display, args.screenshots)
                function(run)
            except Exception as exc:  # noqa: BLE001 - any error fails the scenario
                error = "".join(traceback.format_exception_only(type(exc), exc)).strip()
                if not isinstance(exc, ScenarioError):
                    error += "\n" + traceback.format_exc()
            finally:
                if run is not None:
                    run.prefix.stop()
            failures = (run.failures if run else []) + ([error] if error else [])
            seconds = time.time() - begin
            status = "ok" if not failures else "FAILED"
            print(f"wine e2e: {name} ({version}, {lang}): {status}, {run.checks if run else 0} checks, "
                  f"{seconds:.1f} s", flush=True)
            for failure in failures:
                print(f"    {failure}", flush=True)
            if failures and run is not None:
                print(f"    logs: {run.prefix.log} (Wine), {run.prefix.log.with_suffix('.pilot.log')} (pilot)",
                      flush=True)
            results.append((name, failures))
    finally:
        display.close()
    failed = [name for name, failures in results if failures]
    if args.docs:
        copy_doc_screenshots(args.screenshots, args.docs)
    print(f"wine e2e: {len(results) - len(failed)} of {len(results)} scenarios passed in "
          f"{time.time() - started:.0f} s; screenshots in {args.screenshots}", flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
