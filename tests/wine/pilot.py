"""The Wine side of the end-to-end tests: a prefix per scenario, a session
(one start of the prefix with the pilot running in it) and the windows the
pilot reports.

Every Wine command goes through scripts/wine_env.sh, so the tests, the
contract checks and the demo share one set-up (the environment, the Wine
user when started as root)."""

import json
import os
import shutil
import subprocess
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
WINE_ENV = REPO / "scripts" / "wine_env.sh"
PILOT_EXE = REPO / "build" / "windows" / "wine_pilot.exe"

LANGS = {"en": "C.UTF-8", "fr": "fr_FR.UTF-8", "it": "it_IT.UTF-8"}


def wine_shell(script, *args, env=None, **kwargs):
    """Runs bash with wine_env.sh sourced; args are $1 ..."""
    command = ["bash", "-c", f'source "{WINE_ENV}"\n{script}', "wine_shell", *map(str, args)]
    return subprocess.run(command, env=env, **kwargs)


def shell_env(lang="en", debug=None):
    env = dict(os.environ)
    env["WINE_LANG"] = LANGS[lang]
    if debug:
        env["WINEDEBUG"] = debug
    else:
        env.pop("WINEDEBUG", None)
    return env


class Prefix:
    """A copy of the test run's template prefix."""

    def __init__(self, name):
        result = wine_shell('wine_new_prefix "$1"', name, capture_output=True, text=True, check=True)
        self.name = name
        self.path = Path(result.stdout.strip().splitlines()[-1])
        self.drive_c = self.path / "drive_c"
        user_dirs = [p for p in (self.drive_c / "users").iterdir() if p.name != "Public" and p.is_dir()]
        self.user = user_dirs[0].name
        self.log = self.path.parent.parent / "logs" / f"{name}.log"
        self.log.parent.mkdir(parents=True, exist_ok=True)
        for old in (self.log, self.log.with_suffix(".pilot.log")):
            if old.exists():
                old.unlink()

    def unix(self, windows_path):
        """The host path of C:\\... or D:\\... in this prefix."""
        drive, rest = windows_path[0].lower(), windows_path[2:].lstrip("\\")
        base = (self.path / "dosdevices" / f"{drive}:").resolve()
        return base.joinpath(*[p for p in rest.split("\\") if p])

    def map_drive(self, letter, folder):
        """Drive LETTER: becomes a folder of the prefix."""
        target = self.path / folder
        target.mkdir(exist_ok=True)
        link = self.path / "dosdevices" / f"{letter.lower()}:"
        if link.is_symlink() or link.exists():
            link.unlink()
        link.symlink_to(os.path.relpath(target, link.parent))
        self.own(target)

    def put(self, source, windows_path):
        """Copies a host file or folder into the prefix, owned by the Wine user."""
        target = self.unix(windows_path)
        created = self._make_parents(target)
        if Path(source).is_dir():
            shutil.copytree(source, target, dirs_exist_ok=True)
        else:
            shutil.copyfile(source, target)
        self.own(created or target)
        return target

    def write(self, windows_path, data):
        target = self.unix(windows_path)
        created = self._make_parents(target)
        target.write_bytes(data)
        self.own(created or target)
        return target

    @staticmethod
    def _make_parents(target):
        """Creates the missing folders above target; the topmost one made."""
        missing = None
        for parent in target.parents:
            if parent.exists():
                break
            missing = parent
        target.parent.mkdir(parents=True, exist_ok=True)
        return missing

    def own(self, path):
        wine_shell('wine_own "$1"', path, check=True)

    def add_user_keys(self, keys):
        """Adds values under HKEY_CURRENT_USER while the prefix is stopped,
        in Wine's own registry file: {"Software\\Wine": {"Version": "nt40"}}.
        A key named twice in the file is one key when Wine loads it."""
        stamp = int(time.time())
        lines = []
        for key, values in keys.items():
            lines.append(f"\n[{key.replace(chr(92), chr(92) * 2)}] {stamp}")
            for name, data in values.items():
                escaped = data.replace("\\", "\\\\").replace('"', '\\"')
                lines.append(f'"{name}"="{escaped}"')
        with open(self.path / "user.reg", "a", encoding="utf-8") as reg:
            reg.write("\n".join(lines) + "\n")

    def set_version(self, version):
        wine_shell('wine_set_version "$1" "$2"', self.path, version, check=True)

    def run(self, *command, lang="en", debug=None):
        """A Wine command in this prefix (wineboot -r ...), waited for to the end."""
        with open(self.log, "a") as log:
            return wine_shell('wine_use_prefix "$1"; shift; wine_as_user "$@"; wine_as_user wineserver -w',
                              self.path, *command, env=shell_env(lang, debug), stdout=log, stderr=log).returncode

    def stop(self):
        wine_shell('wine_stop "$1"', self.path)

    def reg_file(self, hive):
        return (self.path / hive).read_text(encoding="utf-8", errors="replace")


class PilotError(Exception):
    pass


class Window:
    """A top-level window as the pilot described it."""

    def __init__(self, data, others=()):
        self.data = data
        self.hwnd = data["hwnd"]
        self.others = [Window(o) for o in others]

    @property
    def caption(self):
        return self.data.get("caption")

    @property
    def controls(self):
        return self.data.get("controls", [])

    def control(self, id_):
        for control in self.controls:
            if control["id"] == id_:
                return control
        return None

    def text(self, id_):
        control = self.control(id_)
        return None if control is None else control["text"]

    @property
    def kind(self):
        ids = {c["id"] for c in self.controls}
        classes = {c["class"] for c in self.controls}
        if 1024 in ids and 1025 in ids:
            return "destination"
        if 1027 in ids:
            return "progress"
        if 1030 in ids and 1031 in ids:
            return "restart"
        if 257 in ids and "Edit" in classes:
            return "filetypes"
        if "SysTreeView32" in classes:
            return "browser"
        if self.data.get("class") == "#32770" and self.message_text() is not None:
            return "message"
        return "unknown"

    def message_text(self):
        """The text of a message box: its one static text control."""
        texts = [c["text"] for c in self.controls if c["type"] == "text" and c["text"]]
        buttons = [c for c in self.controls if c["class"] == "Button"]
        if len(texts) == 1 and len(buttons) >= 1 and not any(c["class"] == "Edit" for c in self.controls):
            return texts[0]
        return None

    @property
    def icon(self):
        icons = [c.get("icon") for c in self.controls if c["type"] == "icon" and c["visible"]]
        return icons[0] if icons else None

    @property
    def buttons(self):
        return [c for c in self.controls if c["class"] == "Button" and c["type"] in ("push", "defpush")]

    @property
    def default_button(self):
        for c in self.buttons:
            if c.get("default"):
                return c["id"]
        return self.data.get("defid")

    @property
    def focus(self):
        for c in self.controls:
            if c["focus"]:
                return c["id"]
        return None

    def checked(self, id_):
        control = self.control(id_)
        return None if control is None else control.get("checked")

    def summary(self):
        return f"{self.kind} window \"{self.caption}\""


class Session:
    """One start of a prefix with the pilot running in it, on an X display."""

    def __init__(self, prefix, display, lang="en", debug=None, shots=None):
        self.prefix = prefix
        self.display = display
        self.shots = shots
        self.shot_count = 0
        prefix.put(PILOT_EXE, "C:\\pilot\\wine_pilot.exe")
        env = shell_env(lang, debug)
        env["DISPLAY"] = display.name
        self.log = open(prefix.log, "a")
        self.process = subprocess.Popen(
            ["bash", "-c", f'source "{WINE_ENV}"\nwine_use_prefix "$1"; wine_as_user wine "C:\\\\pilot\\\\wine_pilot.exe"',
             "session", str(prefix.path)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.log, env=env, text=True, encoding="utf-8")
        # Every command and answer, for a look after a failure.
        self.transcript = open(prefix.log.with_suffix(".pilot.log"), "a", encoding="utf-8")

    def command(self, *fields, check=True):
        line = "\t".join(str(f) for f in fields)
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline()
        if not answer:
            raise PilotError(f"the pilot ended during: {line}")
        data = json.loads(answer)
        self.transcript.write(f"> {line}\n< {answer}")
        if check and not data.get("ok"):
            raise PilotError(f"{fields[0]}: {data.get('error')}: {json.dumps(data, ensure_ascii=False)[:2000]}")
        return data

    def start(self, program, folder=None):
        return self.command("start", program, *([folder] if folder else []))

    def window(self, timeout=30, settle=0.3):
        data = self.command("window", int(timeout * 1000), int(settle * 1000))
        return Window(data["window"], data.get("others", []))

    def describe(self, window):
        return Window(self.command("describe", window.hwnd)["window"])

    def click(self, window, id_):
        self.command("click", window.hwnd, id_)

    def key(self, window, name):
        self.command("key", window.hwnd, name)

    def close_box(self, window):
        self.command("close", window.hwnd)

    def set_text(self, window, id_, text):
        self.command("settext", window.hwnd, id_, text)

    def select_folder(self, window, path):
        self.command("select-folder", window.hwnd, path)

    def suspend_at(self, window, id_, minimum, timeout=20):
        """Suspends the program once control id_ shows a number >= minimum;
        the window as it is then."""
        data = self.command("suspend-at", window.hwnd, id_, minimum, int(timeout * 1000))
        return Window(data["window"])

    def resume(self):
        self.command("resume")

    def gone(self, window, timeout=10):
        return self.command("gone", window.hwnd, int(timeout * 1000), check=False).get("ok")

    def wait_exit(self, timeout=60):
        return self.command("exit", int(timeout * 1000))

    def idle(self, timeout=60):
        return self.command("idle", int(timeout * 1000))

    def reg(self, root, key, value=""):
        return self.command("reg", root, key, value)["value"]

    def subkeys(self, root, key):
        return self.command("subkeys", root, key)["subkeys"]

    def links(self, folder):
        return {link["name"]: link for link in self.command("links", folder)["links"]}

    def screenshot(self, window, name):
        """The X server's picture of the window, cut from Wine's desktop."""
        if self.shots is None:
            return None
        self.shot_count += 1
        path = Path(self.shots) / f"{self.shot_count:02d}-{name}.png"
        path.parent.mkdir(parents=True, exist_ok=True)
        desktop = self.display.desktop_window()
        if desktop is None:
            return None
        left, top, right, bottom = window.data["rect"]
        subprocess.run(["import", "-display", self.display.name, "-window", desktop,
                        "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage", str(path)],
                       check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path if path.exists() else None

    def close(self):
        if self.process.poll() is None:
            try:
                self.command("quit", check=False)
            except (PilotError, BrokenPipeError, ValueError):
                pass
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.process.kill()
        self.prefix.stop()
        wine_shell('wine_use_prefix "$1"; wine_as_user wineserver -w', self.prefix.path)
        self.log.close()
        self.transcript.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Display:
    """A virtual X server for the whole test run, or the person's own."""

    def __init__(self, name=None):
        self.process = None
        if name:
            self.name = name
            return
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-ac"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"

    def desktop_window(self):
        for _ in range(50):
            found = subprocess.run(["xdotool", "search", "--name", "Wine desktop"],
                                   env={**os.environ, "DISPLAY": self.name}, capture_output=True, text=True)
            ids = found.stdout.split()
            if ids:
                return ids[-1]
            time.sleep(0.1)
        return None

    def close(self):
        if self.process:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
