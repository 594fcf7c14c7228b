"""The demonstration run behind scripts/demo.sh: Install.EXE from a sample
distribution folder in a fresh Wine prefix. With a display the person
clicks through the real dialogs; without one the pilot takes every default
(Enter in each window) under a virtual X server. Either way every window is
photographed as it comes, and the run ends with what was installed.

    python3 tests/wine/demo.py [--lang en|fr|it] [--windows nt40|win98|win95] [--headless]"""

import argparse
import os
import shutil
import subprocess
import sys
import textwrap
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from expected import (EXTENSIONS, IDC_PERCENT, KEY_APP_PATH, KEY_ENVIRONMENT, KEY_SESSION_MANAGER,
                      KEY_SHELL_FOLDERS, KEY_UNINSTALL, PRODUCT, UNINSTALLER_COPY)
from pilot import REPO, Display, PilotError, Prefix, Session, Window

MAKE_DISTRIBUTION = REPO / "build" / "host" / "tools" / "make_distribution" / "make_distribution"
INSTALLER = REPO / "build" / "windows" / "Install.EXE"
DEMO = REPO / "build" / "wine" / "demo"
AUTOEXEC = b"@ECHO OFF\r\nPATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n"


def heading(text):
    print(f"\n== {text}")


def show(label, value):
    print(f"   {label}: {value}")


def watch(session, interactive):
    """Every window of the run, photographed; without a person, Enter."""
    while True:
        data = session.command("window", 600000 if interactive else 60000, 0, check=False)
        if not data.get("ok"):
            if data.get("error") == "no new window" and interactive:
                continue
            if data.get("error") != "the program ended":
                print(f"   pilot: {data.get('error')}")
            return
        window = Window(data["window"])
        if window.kind == "progress":
            # Held still for its picture once a part of the files is in.
            try:
                window = session.suspend_at(window, IDC_PERCENT, 40)
                time.sleep(0.2)
                shot = session.screenshot(window, window.kind)
                session.resume()
            except PilotError:
                shot = None
        else:
            time.sleep(0.3)
            window = session.describe(window)
            shot = session.screenshot(window, window.kind)
        where = f" -> {shot.relative_to(REPO)}" if shot else ""
        print(f"   window: \"{window.caption}\" ({window.kind}){where}")
        if window.kind == "message":
            print(textwrap.indent(textwrap.fill(window.message_text() or "", 90), "      "))
        if not interactive and window.kind != "progress":
            session.key(window, "enter")


def reg_text(value):
    if value.get("missing"):
        return "(none)"
    data = value.get("data")
    if isinstance(data, list):
        return "; ".join(data)
    return f"{data}  [{value.get('type')}]"


def ending(prefix):
    """How the run ended Windows' session: the wineboot command line through
    which Wine carries out ExitWindowsEx, if the installer called it."""
    log = prefix.log.read_text("utf-8", "replace") if prefix.log.exists() else ""
    for line in log.splitlines():
        if "wineboot" in line.lower() and "--end-session" in line:
            return "logoff (wineboot --end-session --shutdown)" if "--shutdown" in line else \
                "restart (wineboot --end-session, then the restart's renames)"
    return "none"


def report(session, prefix, version, shots):
    app_path = session.reg("HKLM", KEY_APP_PATH).get("data")
    dest = app_path.rsplit("\\", 1)[0] if app_path else None

    heading("Files")
    if dest and prefix.unix(dest).is_dir():
        files = sorted(prefix.unix(dest).iterdir())
        total = sum(f.stat().st_size for f in files)
        show(dest, f"{len(files)} files, {total} bytes")
        print(textwrap.indent(textwrap.fill("  ".join(f.name for f in files), 96), "      "))
    else:
        show("destination", "nothing installed (the run was cancelled or failed)")
    uninstaller = prefix.unix("C:\\windows\\" + UNINSTALLER_COPY)
    show("C:\\windows\\" + UNINSTALLER_COPY, f"{uninstaller.stat().st_size} bytes" if uninstaller.exists()
         else "(none)")

    heading("System DLLs")
    show("restart or logoff asked for", ending(prefix))
    system = prefix.unix("C:\\windows\\system32")
    mfc = [p for p in system.iterdir() if p.name.lower() == "mfc42.dll"]
    show("C:\\windows\\system32\\Mfc42.dll", "in place" if mfc else "not yet in place")
    if version == "nt40":
        pending = session.reg("HKLM", KEY_SESSION_MANAGER, "PendingFileRenameOperations")
        show("PendingFileRenameOperations", reg_text(pending) if not pending.get("missing")
             else "(none: nothing queued, or carried out at the restart)")
    else:
        for name in ("wininit.ini", "wininit.bak"):
            found = [p for p in prefix.unix("C:\\windows").iterdir() if p.name.lower() == name]
            if found:
                show(f"C:\\windows\\{found[0].name}", "")
                print(textwrap.indent(found[0].read_text("cp1252", "replace").rstrip(), "      "))

    heading("Registry")
    show("App Paths\\Quorlet.exe", reg_text(session.reg("HKLM", KEY_APP_PATH)))
    show("Uninstall DisplayName", reg_text(session.reg("HKLM", KEY_UNINSTALL, "DisplayName")))
    show("Uninstall UninstallString", reg_text(session.reg("HKLM", KEY_UNINSTALL, "UninstallString")))
    show("txtfile open command", reg_text(session.reg("HKCR", "txtfile\\shell\\open\\command")))
    registered = [e for e in EXTENSIONS.split() if session.reg("HKCR", "." + e).get("data") == "txtfile"]
    show("extensions of class txtfile", f"{len(registered)} of {len(EXTENSIONS.split())}")

    heading("Search path")
    if version == "nt40":
        show("PATH", reg_text(session.reg("HKLM", KEY_ENVIRONMENT, "PATH")))
    autoexec = [p for p in prefix.unix("C:\\").iterdir() if p.name.lower() == "autoexec.bat"]
    if autoexec:
        show("C:\\Autoexec.bat", "")
        print(textwrap.indent(autoexec[0].read_text("cp1252", "replace").rstrip(), "      "))

    heading("Links")
    folders = {name: session.reg("HKCU", KEY_SHELL_FOLDERS, name).get("data") for name in ("Programs", "Desktop")}
    for folder in (f"{folders['Programs']}\\{PRODUCT}", folders["Desktop"]):
        links = session.links(folder)
        show(folder, f"{len(links)} links")
        for name, link in sorted(links.items()):
            arguments = f" {link['arguments']}" if link.get("arguments") else ""
            print(f"      {name}: {link.get('path')}{arguments}  \"{link.get('description')}\"")

    heading("Screenshots")
    show("folder", shots.relative_to(REPO))
    for shot in sorted(shots.glob("*.png")):
        print(f"      {shot.name}")
    print(f"\nThe prefix stays in {prefix.path}.")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--lang", choices=["en", "fr", "it"], default="en", help="the user's language")
    parser.add_argument("--windows", choices=["nt40", "win98", "win95"], default="nt40",
                        help="the Windows version Wine reports")
    parser.add_argument("--headless", action="store_true", help="no person: Xvfb and the defaults")
    args = parser.parse_args()

    interactive = bool(os.environ.get("DISPLAY")) and not args.headless
    display = Display(os.environ["DISPLAY"] if interactive else None)
    shots = DEMO / "screenshots"
    if shots.exists():
        shutil.rmtree(shots)
    distribution = DEMO / "distribution"
    if distribution.exists():
        shutil.rmtree(distribution)
    subprocess.run([str(MAKE_DISTRIBUTION), str(distribution), "--installer", str(INSTALLER)], check=True)

    prefix = Prefix("demo")
    prefix.map_drive("d", "cdrom")
    prefix.put(distribution, "D:\\Setup")
    prefix.add_user_keys({"Software\\Wine": {"Version": args.windows}})
    try:
        with Session(prefix, display, args.lang, shots=shots, debug="+process") as session:
            session.idle()
            if args.windows != "nt40":
                # Windows 95 and 98 start from C:\Autoexec.bat, which holds
                # the search path there.
                prefix.write("C:\\autoexec.bat", AUTOEXEC)
            session.start("D:\\Setup\\Install.EXE", "D:\\Setup")
            heading(f"Install.EXE from D:\\Setup ({distribution.relative_to(REPO)}), Wine in {args.windows} "
                    f"mode, language {args.lang}")
            if interactive:
                print(f"   Its windows are on your display ({display.name}), inside the Wine desktop window: "
                      "click through them.")
            else:
                print("   No display: on a virtual X server, every window answered with Enter (its default).")
            watch(session, interactive)
            session.wait_exit(600)
            session.idle()
            report(session, prefix, args.windows, shots)
    finally:
        display.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
