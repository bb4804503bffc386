#!/usr/bin/python3
"""brenvo.exe and its installer under Wine on a virtual screen with openbox (the desktop
of tests/e2e/desktop, without the accessibility bus), in a Wine prefix of their own:
--version and --help, the update prompt and the date stored in the registry, the details
window's size, one copy, a link handed to the browser, boxes owned by their window, the
exit screen kept on top and shown without taking the focus, a Duration that is not text,
a start after a kill, a window larger than the screen; then the installer: a silent
install for this user alone, Apps & features, installing and uninstalling while Brenvo
runs, installing over itself, and a silent uninstall that leaves nothing behind.

    /usr/bin/python3 tests/windows/tst_wine.py build-windows/brenvo.exe build-windows/Brenvo-1.20-win64.exe [case ...]

Waits on conditions, never for a fixed time.
"""
import datetime
import functools
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e", "desktop"))
from desktop import TIMEOUT, Desktop, Failure, run, run_cases, wait_for  # noqa: E402

DETAILS, SECOND, BOX = "Brenvo v1.15", "Brenvo v1.20", "Brenvo"
SETTINGS = r"HKEY_CURRENT_USER\Software\Brenvo\Settings"
UNINSTALL = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brenvo"
PAGE = "https://www.talvern.example/brenvo/ssd.php?page="


def check(condition, what):
    if not condition:
        raise Failure(what)


class Wine:
    """One Wine prefix, and a stand-in browser that writes down what it is handed (Wine
    hands http addresses to the host's xdg-open)."""

    def __init__(self, desktop, exe, installer):
        self.desktop, self.exe, self.installer = desktop, exe, installer
        self.work = os.path.join(desktop.work, "wine-checks")
        bindir = os.path.join(self.work, "bin")
        os.makedirs(bindir)
        self.browser_log = os.path.join(self.work, "browser.log")
        with open(os.path.join(bindir, "xdg-open"), "w") as f:
            f.write(f"#!/bin/sh\nprintf '%s\\n' \"$@\" >>'{self.browser_log}'\n")
        os.chmod(os.path.join(bindir, "xdg-open"), 0o755)
        self.prefix = os.path.join(self.work, "prefix")
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", PATH=bindir + ":" + os.environ["PATH"],
                        WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=")
        self.procs = []
        subprocess.run(["wine", "wineboot", "-i"], env=self.env, check=True, capture_output=True)
        users = os.path.join(self.prefix, "drive_c", "users", os.environ.get("USER") or run("whoami").strip())
        self.installed = os.path.join(users, "AppData", "Local", "Programs", "Brenvo")
        self.menu = os.path.join(users, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                                 "Brenvo")

    def start(self, *args, log=None, **env):
        """A Windows program under Wine (brenvo.exe unless args name another), its
        output to log or nowhere."""
        args = args or (self.exe,)
        out = open(log, "w") if log else subprocess.DEVNULL
        proc = subprocess.Popen(["wine", *args], env=dict(self.env, **env), stdout=out, stderr=out)
        self.procs.append(proc)
        return proc

    def status(self, *args, **env):
        """Runs a Windows program to its end; its exit status."""
        return subprocess.run(["wine", *args], env=dict(self.env, **env), capture_output=True,
                              timeout=5 * TIMEOUT).returncode

    def reg(self, *args):
        return subprocess.run(["wine", "reg", *args], env=self.env, capture_output=True, text=True)

    def value(self, key, name):
        """(type, data) of a registry value, or None."""
        out = self.reg("query", key, "/v", name).stdout.replace("\r", "")
        for line in out.splitlines():
            words = line.split(None, 2)
            if len(words) >= 2 and words[0] == name:
                return words[1], words[2] if len(words) > 2 else ""
        return None

    def stop(self):
        """Ends every Windows program of the prefix, and waits until their windows go."""
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        for proc in self.procs:
            proc.wait()
        self.procs = []
        wait_for("Brenvo's windows to go", lambda: not [w for t in (DETAILS, SECOND, BOX)
                                                        for w in self.desktop.titled(t)])

    def fresh(self):
        """The prefix with nothing of it running, whatever a case before left."""
        self.stop()
        return self

    def close(self):
        self.stop()
        subprocess.run(["bash", os.path.join(HERE, "wine_stop.sh"), self.prefix])

    def opened(self):
        try:
            with open(self.browser_log) as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []


def read(path):
    with open(path, errors="replace") as f:
        return f.read()


def window(desktop, title):
    """Waits for a window titled so; the topmost one."""
    return wait_for(f"a window '{title}'", lambda: desktop.titled(title))[-1]


def gone(proc):
    wait_for("the program to end", lambda: proc.poll() is not None)
    return proc.returncode


def owned_and_in_front(desktop, box, owner):
    out = run("xprop", "-id", str(box), "WM_TRANSIENT_FOR")
    check(out.strip().endswith(f"{owner:#x}"), f"the box is not its window's: {out.strip()}")
    wait_for("the box in front", lambda: desktop.stacking()[-1] == box)


# --- cases ---------------------------------------------------------------------------

def informs(desktop):
    """--version and --help show a box with Qt's text, as for any Windows program without
    a console; OK ends with status 0. Neither takes the settings or the one-copy lock."""
    wine = desktop.wine.fresh()
    for option in ("--version", "--help"):
        log = os.path.join(wine.work, "box.log")
        informing = wine.start(wine.exe, option, log=log, WINEDEBUG="trace+msgbox")
        box = window(desktop, BOX)
        trace = read(log)
        if option == "--version":
            check('MSGBOX_OnInit L"Brenvo 1.20\\n"' in trace, f"--version: {re.findall('MSGBOX.*', trace)}")
            check(wine.reg("query", SETTINGS).returncode != 0, "--version touched the settings")
        else:
            check('MSGBOX_OnInit L"Usage: ' in trace and "\\n\\nOptions:\\n" in trace, "--help shows no usage")
            wine.start()
            window(desktop, DETAILS)  # a start beside the --help box is not refused
        # The details window may take the focus back as it comes up: OK until the box goes.
        def answered():
            if informing.poll() is None and desktop.titled(BOX):
                run("xdotool", "windowactivate", "--sync", str(box), check=False)
                desktop.keys("Return")
            return informing.poll() is not None
        wait_for(f"{option}'s box to go after OK", answered)
        check(informing.returncode == 0, f"{option} ended with status {informing.returncode}")
        wine.stop()


def update_prompt_and_first_window(desktop):
    """After fifteen days the prompt comes before any window, kept on top as a box of
    no window's; No stores today's date in the registry; the details window is 377 pixels wide and 338 high below its menu bar;
    a second copy is refused; a link reaches the browser as one address; a box is its
    window's own and in front of it."""
    wine = desktop.wine.fresh()
    stale = (datetime.date.today() - datetime.timedelta(days=15)).isoformat()
    wine.reg("add", SETTINGS, "/v", "Duration", "/t", "REG_SZ", "/d", stale, "/f")
    log = os.path.join(wine.work, "windows.log")
    wine.start(log=log, WINEDEBUG="trace+win")
    window(desktop, BOX)
    check(not desktop.titled(DETAILS), "the details window came up before the prompt was answered")
    wait_for("the prompt kept on top (Wine's window trace)", lambda: len(topmost(read(log))) == 1)
    desktop.keys_to(BOX, "alt+n")
    details = window(desktop, DETAILS)
    check(wine.value(SETTINGS, "Duration") == ("REG_SZ", datetime.date.today().isoformat()),
          f"the registry holds {wine.value(SETTINGS, 'Duration')}")

    width, height = (int(v) for v in re.search(r"Geometry: (\d+)x(\d+)",
                                                run("xdotool", "getwindowgeometry", str(details))).groups())
    check(width == 377 and height > 338, f"the details window measures {width} x {height}")

    second = wine.start()
    window(desktop, BOX)
    check(len(desktop.titled(DETAILS)) == 1, "the second copy showed a details window")
    desktop.keys_to(BOX, "Return")
    gone(second)

    desktop.keys_to(DETAILS, "alt+h", "o")
    wait_for("the address in the browser", wine.opened)
    check(wine.opened() == [PAGE + "help-web-page"], f"Help > Online Help handed the browser {wine.opened()}")

    desktop.keys_to(DETAILS, "alt+b")  # no name typed
    owned_and_in_front(desktop, window(desktop, BOX), details)
    desktop.keys_to(BOX, "Return")
    wait_for("the box to go", lambda: not desktop.titled(BOX))
    wine.stop()


def topmost(trace):
    """The windows with a title bar that Wine's window trace shows made topmost
    (HWND_TOPMOST), in order; tooltips are topmost too, without one."""
    made = []
    for hwnd, style in re.findall(r"calc_winpos hwnd (0x[0-9a-f]*), after 0xffffffffffffffff,.*? style ([0-9a-f]*)",
                                  trace):
        if int(style, 16) & 0x00c00000 == 0x00c00000 and hwnd not in made:
            made.append(hwnd)
    return made


def exit_screen_on_top(desktop):
    """The exit screen is kept above other windows and shown without taking the focus
    (Wine's window trace: it is the one window with a title bar made topmost, and shown
    only without activation); its box is its own; a second copy's refusal comes up
    above it."""
    wine = desktop.wine.fresh()
    log = os.path.join(wine.work, "windows.log")
    wine.reg("add", SETTINGS, "/v", "Duration", "/t", "REG_SZ", "/d", datetime.date.today().isoformat(), "/f")
    wine.start(log=log, WINEDEBUG="trace+win")
    window(desktop, DETAILS)
    desktop.keys_to(DETAILS, "alt+e")
    screen = window(desktop, SECOND)
    check("_NET_WM_STATE_ABOVE" in run("xprop", "-id", str(screen), "_NET_WM_STATE"), "the exit screen is not on top")
    trace = read(log)
    made = topmost(trace)
    check(len(made) == 1, f"windows with a title bar made topmost: {made}")
    shows = set(re.findall(rf"show_window hwnd={made[0]}, cmd=(\d+)", trace))
    check(shows == {"4"}, f"the exit screen was shown with commands {shows}")  # SW_SHOWNOACTIVATE

    run("xdotool", "mousemove", "--window", str(screen), "30", "10", "click", "1")
    desktop.keys_to(SECOND, "alt+n")
    owned_and_in_front(desktop, window(desktop, BOX), screen)
    desktop.keys_to(BOX, "Return")
    wait_for("the box to go", lambda: not desktop.titled(BOX))

    second = wine.start()
    refusal = window(desktop, BOX)
    wait_for("the refusal above the farewell screen", lambda: desktop.stacking()[-1] == refusal)
    desktop.keys_to(BOX, "Return")
    gone(second)
    wine.stop()


def settings_not_ours(desktop):
    """A Duration that is not text is never written over and prompts for nothing; the
    rest of the key stays; a killed copy's mutex goes with it."""
    wine = desktop.wine.fresh()
    wine.reg("add", SETTINGS, "/v", "Duration", "/t", "REG_DWORD", "/d", "7", "/f")
    wine.reg("add", SETTINGS, "/v", "Other", "/t", "REG_SZ", "/d", "mine", "/f")
    wine.start()
    window(desktop, DETAILS)
    check(not desktop.titled(BOX), "a Duration that is not text prompted")
    check(wine.value(SETTINGS, "Duration") == ("REG_DWORD", "0x7"),
          f"the Duration that is not text became {wine.value(SETTINGS, 'Duration')}")
    check(wine.value(SETTINGS, "Other") == ("REG_SZ", "mine"), "another value in the key changed")
    wine.stop()  # a kill, whatever process ID Wine hands out next
    wine.start()
    window(desktop, DETAILS)
    check(not desktop.titled(BOX), "a start after a kill was refused")
    wine.stop()


def one_copy_whoever_takes_its_name(desktop):
    """Another program that holds the one-copy mutex's name, as an object of another kind
    or as a mutex this user may not open, keeps Brenvo from starting a second time
    rather than switching the guard off: the start is refused, as beside a running copy."""
    wine = desktop.wine.fresh()
    squatter = os.path.join(os.path.dirname(wine.exe), "mutex_squatter.exe")
    for kind in ("event", "denied"):
        holder = subprocess.Popen(["wine", squatter, kind], env=wine.env, stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        try:
            check(holder.stdout.readline().strip() == "ready", f"the {kind} took no name")
            refused = wine.start()
            window(desktop, BOX)
            check(not desktop.titled(DETAILS), f"with the name held by an {kind}, Brenvo started")
            desktop.keys_to(BOX, "Return")
            gone(refused)
        finally:
            holder.stdin.close()
            holder.wait()
    wine.start()
    window(desktop, DETAILS)
    check(not desktop.titled(BOX), "a start once the name was free again was refused")
    wine.stop()


def too_large_for_the_screen(desktop):
    """At scale 3 on 1280 x 1024 the details window keeps its frame's top left, the title
    bar with its close box, on the screen."""
    wine = desktop.wine.fresh()
    wine.start(WINEQT_SCALE_FACTOR="3")
    large = window(desktop, DETAILS)
    wait_for(f"the frame's top left on the screen ({desktop.frame_top_left(large)})",
             lambda: min(desktop.frame_top_left(large)) >= 0)
    wine.stop()


def installer(desktop):
    """A silent install for this user alone: program, notices, Start-menu entry, Apps &
    features as Windows shows it; while Brenvo runs, neither the installer nor the
    uninstaller changes anything, and both say so; installing over itself keeps one
    entry, and an upgrade cancelled in its wizard keeps the install; the silent uninstall
    leaves nothing of the install, and the user's value."""
    wine = desktop.wine.fresh()
    check(wine.status(wine.installer, "/S") == 0, "the silent install failed")
    exe = os.path.join(wine.installed, "brenvo.exe")
    check(os.path.isfile(exe) and os.path.isfile(os.path.join(wine.menu, "Brenvo.lnk")),
          "the install left no program or no Start-menu entry")
    with open(os.path.join(wine.installed, "THIRD-PARTY-NOTICES.txt"), errors="replace") as f:
        notices = f.read()
    check("GNU LESSER GENERAL PUBLIC LICENSE" in notices and "\nLicense: Zlib" in notices, "no third-party notices")
    value = functools.partial(wine.value, UNINSTALL)
    check(value("UninstallString"), "no uninstaller in Apps & features")
    check(value("NoModify") == ("REG_DWORD", "0x1") and value("NoRepair") == ("REG_DWORD", "0x1"),
          f"NoModify and NoRepair are {value('NoModify')} and {value('NoRepair')}")
    size = value("EstimatedSize")
    check(size and size[0] == "REG_DWORD" and int(size[1], 16) > 1000, f"EstimatedSize is {size}")
    location = value("InstallLocation")
    check(location and location[0] == "REG_SZ" and re.fullmatch(r"C:\\users\\.*\\Programs\\Brenvo", location[1]),
          f"InstallLocation is {location}")
    for name in ("DisplayName", "DisplayVersion", "Publisher", "DisplayIcon"):
        check(value(name) and value(name)[0] == "REG_SZ", f"no {name}")

    wine.start(exe)
    window(desktop, DETAILS)
    before = os.stat(exe).st_mtime_ns
    check(wine.status(wine.installer, "/S") != 0, "the silent install over a running Brenvo reported success")
    check(os.stat(exe).st_mtime_ns == before, "the install over a running Brenvo changed it")
    where = run("winepath", "-w", wine.installed).strip()
    for form in (["/S"], ["/S", f"_?={where}"]):
        check(wine.status(os.path.join(wine.installed, "Uninstall.exe"), *form) == 2,
              f"the silent uninstall ({' '.join(form)}) of a running Brenvo did not end with status 2")
    check(os.path.isfile(exe) and os.path.isfile(os.path.join(wine.menu, "Brenvo.lnk")) and value("UninstallString"),
          "the uninstall of a running Brenvo removed something")
    # Interactive, a box asks to close Brenvo; Cancel ends the installer, nothing changed.
    interactive = wine.start(wine.installer)
    window(desktop, "Brenvo Setup")
    desktop.keys_to("Brenvo Setup", "Escape")
    gone(interactive)
    check(os.stat(exe).st_mtime_ns == before, "the cancelled install changed brenvo.exe")
    wine.stop()

    wine.reg("add", SETTINGS, "/v", "Duration", "/t", "REG_SZ", "/d", "2026-01-02", "/f")
    check(wine.status(wine.installer, "/S") == 0, "the install over an earlier one failed")
    entries = wine.reg("query", UNINSTALL.rsplit("\\", 1)[0]).stdout.replace("\r", "").splitlines()
    check(os.path.isfile(exe) and sum(e.endswith("\\Uninstall\\Brenvo") for e in entries) == 1,
          "installing over an earlier install left no program, or two entries")
    # An upgrade cancelled in its wizard (the quit it asks to confirm) leaves the install
    # whole: nothing is removed before the wizard's last page.
    before = os.stat(exe).st_mtime_ns
    upgrade = wine.start(wine.installer)
    window(desktop, "Brenvo Setup")
    desktop.keys_to("Brenvo Setup", "Escape")
    wait_for("the wizard to ask whether to quit", lambda: len(desktop.titled("Brenvo Setup")) == 2)
    desktop.keys_to("Brenvo Setup", "Return")
    gone(upgrade)
    check(os.stat(exe).st_mtime_ns == before and os.path.isfile(os.path.join(wine.menu, "Brenvo.lnk"))
          and value("UninstallString"), "a cancelled upgrade changed or removed the install")

    # Its status comes once the work is done: nothing of the install is left by then.
    check(wine.status(os.path.join(wine.installed, "Uninstall.exe"), "/S") == 0, "the silent uninstall failed")
    left = os.listdir(wine.installed) if os.path.exists(wine.installed) else []
    check(not os.path.exists(wine.installed) and not os.path.exists(wine.menu),
          f"the uninstall reported success and left the folder {left} or the Start-menu entry")
    check(wine.reg("query", UNINSTALL).returncode != 0, "the uninstall left its Apps & features entry")
    check(wine.reg("query", r"HKEY_CURRENT_USER\Software\Talvern Softwares").returncode != 0,
          "the uninstall left the vendor's key")
    check(wine.value(SETTINGS, "Duration") == ("REG_SZ", "2026-01-02"), "the uninstall changed the user's Duration")
    wine.stop()


CASES = [informs, update_prompt_and_first_window, exit_screen_on_top, settings_not_ours,
         one_copy_whoever_takes_its_name, too_large_for_the_screen, installer]


class WineDesktop(Desktop):
    """The desktop, and the Wine prefix its cases share."""

    def __init__(self, exe, installer_exe):
        super().__init__(accessibility=False)
        self.wine = Wine(self, exe, installer_exe)

    def close(self):
        self.wine.close()
        super().close()


def main(argv):
    exe, installer_exe = (os.path.abspath(a) for a in argv[1:3])
    return run_cases(CASES, lambda: WineDesktop(exe, installer_exe), only=argv[3:])


if __name__ == "__main__":
    sys.exit(main(sys.argv))
