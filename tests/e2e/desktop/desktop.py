"""A real desktop for the real program: Xvfb, the openbox window manager, a private
D-Bus session bus with the accessibility bus on it, and Brenvo read and driven the
way a screen reader and a user do: through AT-SPI, the keyboard and the mouse.

Everything waits on conditions, never for a fixed time. Run with the system Python
(/usr/bin/python3), which has pyatspi.
"""
import os
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Longer under valgrind (BRENVO_UNDER names the command the program is run under).
TIMEOUT = float(os.environ.get("BRENVO_TIMEOUT", "60"))


class Failure(AssertionError):
    pass


def wait_for(what, condition, timeout=TIMEOUT):
    """Polls condition until it returns something true; returns that, or fails."""
    deadline = time.monotonic() + timeout
    delay = 0.01
    while True:
        try:
            result = condition()
        except Exception:  # a window or node that is going away mid-read
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(delay)
        delay = min(delay * 2, 0.1)


def run(*argv, check=True):
    return subprocess.run(argv, check=check, capture_output=True, text=True).stdout


class Desktop:
    """The X server, window manager and buses, shared by every case of a run. Without
    accessibility: the X server and the window manager alone (for Wine)."""

    def __init__(self, accessibility=True):
        self.work = tempfile.mkdtemp(prefix="brenvo-desktop-")
        self.procs = []
        runtime = os.path.join(self.work, "run")
        os.makedirs(runtime, mode=0o700)
        os.environ["XDG_RUNTIME_DIR"] = runtime
        # The window manager and the selection tool keep their files here, not in the
        # home of whoever runs the tests.
        desk_home = os.path.join(self.work, "desk-home")
        os.makedirs(desk_home)
        for var, sub in (("HOME", ""), ("XDG_CACHE_HOME", ".cache"), ("XDG_CONFIG_HOME", ".config"),
                         ("XDG_DATA_HOME", ".local/share")):
            os.environ[var] = os.path.join(desk_home, sub) if sub else desk_home
        for var in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
            os.environ.pop(var, None)

        # The server reports its display number on a pipe once it accepts clients.
        read_end, write_end = os.pipe()
        self._start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number

        if accessibility:
            bus = self._start(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                              stdout=subprocess.PIPE)
            os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
            self._start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
            # Asked for only once the launcher owns its name, or D-Bus would start another.
            wait_for("the accessibility bus", lambda: "org.a11y.Bus" in run(
                "dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"))
        self._start(["openbox", "--sm-disable"])
        wait_for("the window manager", lambda: "window id" in run(
            "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False))

        self.pyatspi = None
        if accessibility:
            import pyatspi  # only now: it binds to the bus named in the environment
            from gi.repository import Atspi
            Atspi.set_timeout(5000, 10000)
            self.pyatspi = pyatspi

    def _start(self, argv, **kw):
        kw.setdefault("stdout", subprocess.DEVNULL)
        proc = subprocess.Popen(argv, stderr=subprocess.DEVNULL, **kw)
        self.procs.append(proc)
        return proc

    def close(self):
        for proc in reversed(self.procs):
            proc.terminate()
        for proc in self.procs:
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                proc.kill()
        shutil.rmtree(self.work, ignore_errors=True)

    # --- windows as the window manager keeps them ---------------------------------

    def stacking(self):
        """Managed windows, bottom to top."""
        out = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING", check=False)
        return [int(w, 16) for w in out.split("#", 1)[-1].replace(",", " ").split() if w.startswith("0x")]

    def title(self, window):
        out = run("xprop", "-id", str(window), "_NET_WM_NAME", check=False)
        if "=" not in out:
            return None
        return out.split("=", 1)[1].strip().strip('"')

    def frame_hints(self, window):
        """What the window asks of its frame, (Motif functions, Motif decorations), and
        what the window manager allows, its _NET_WM_ALLOWED_ACTIONS."""
        motif = run("xprop", "-id", str(window), "_MOTIF_WM_HINTS", check=False).split("=")[-1]
        words = [int(w, 16) for w in motif.replace(",", " ").split() if w.startswith("0x")]
        allowed = run("xprop", "-id", str(window), "_NET_WM_ALLOWED_ACTIONS", check=False).split("=")[-1]
        return (words[1], words[2]) if len(words) >= 3 else (None, None), allowed.replace(",", " ").split()

    def active(self):
        out = run("xprop", "-root", "_NET_ACTIVE_WINDOW", check=False)
        words = [w for w in out.replace(",", " ").split() if w.startswith("0x")]
        return int(words[0], 16) if words else 0

    def frame_top_left(self, window):
        """Where the window manager put the window's frame, its title bar included."""
        info = run("xwininfo", "-id", str(window))
        x = int(info.split("Absolute upper-left X:")[1].split()[0])
        y = int(info.split("Absolute upper-left Y:")[1].split()[0])
        extents = run("xprop", "-id", str(window), "_NET_FRAME_EXTENTS", check=False).split("=")[-1]
        left, _, top, _ = ([int(e) for e in extents.split(",")] + [0, 0, 0, 0])[:4] if "," in extents else (0, 0, 0, 0)
        return x - left, y - top

    def titled(self, title):
        """Managed windows whose title bar reads title, bottom to top."""
        return [w for w in self.stacking() if self.title(w) == title]

    def pixel(self, x, y):
        out = run("import", "-silent", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-")
        # "0,0: (65535,65535,65535)  #FFFFFF  white"
        hexcolour = out.split("#")[-1].split()[0]
        return tuple(int(hexcolour[i:i + 2], 16) for i in (0, 2, 4))

    # --- the user's hands ------------------------------------------------------------

    def keys(self, *keys):
        run("xdotool", "key", "--clearmodifiers", *keys)

    def keys_to(self, title, *keys):
        """Keys for the topmost window of that title, once the window manager gave it
        the keyboard."""
        wait_for(f"'{title}' to take the keyboard", lambda: self.titled(title)
                 and self.active() == self.titled(title)[-1])
        self.keys(*keys)

    def type(self, text):
        run("xdotool", "type", "--delay", "20", text)

    def click(self, node):
        x, y = centre(node)
        run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def type_into(self, node, text):
        """Clicks into a box and types text once the box has the focus, as a user
        looks before typing."""
        self.click(node)
        wait_for(f"the focus in '{node.name}'", lambda: focused(node))
        self.type(text)


class Program:
    """One run of brenvo with a fresh home, settings and stand-in browser."""

    def __init__(self, desktop, binary, settings=None, env=None, prepare=None):
        self.desktop = desktop
        self.pyatspi = desktop.pyatspi
        self.home = tempfile.mkdtemp(prefix="home-", dir=desktop.work)
        config = os.path.join(self.home, ".config")
        os.makedirs(os.path.join(config, "brenvo"))
        if settings is not None:
            with open(os.path.join(config, "brenvo", "brenvo.conf"), "w") as f:
                f.write(settings)
        self.browser_log = os.path.join(self.home, "browser.log")
        open(self.browser_log, "w").close()
        bindir = os.path.join(self.home, "bin")
        os.makedirs(bindir)
        opener = os.path.join(bindir, "xdg-open")
        with open(opener, "w") as f:
            f.write(f"#!/bin/sh\nprintf '%s\\n' \"$@\" >>'{self.browser_log}'\n")
        os.chmod(opener, 0o755)
        self.env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=config,
                        PATH=bindir + ":" + os.environ["PATH"], BROWSER=opener,
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8")
        self.env.update(env or {})
        self.config = config
        self.limits = {}  # resource limits for the program: {resource.RLIMIT_…: value}
        self.under = []  # a command the program runs under (unshare, say)
        if prepare:
            prepare(self)
        self.binary = binary
        self.proc = None

    def start(self):
        under = self.under + shlex.split(os.environ.get("BRENVO_UNDER", ""))
        # Its output goes to files: a pipe nobody reads fills up, and then the program
        # stops at its next warning (Qt 6.8 warns at every request about a closed window).
        with open(os.path.join(self.home, "stdout"), "wb") as out, open(self._stderr, "wb") as err:
            self.proc = subprocess.Popen(under + [self.binary], env=self.env, stdout=out, stderr=err,
                                         preexec_fn=self._limit if self.limits else None)
        return self

    def _limit(self):
        import resource
        for which, value in self.limits.items():
            resource.setrlimit(which, (value, value))

    @property
    def _stderr(self):
        return os.path.join(self.home, "stderr")

    def stderr(self):
        """What the program has written to its standard error so far."""
        with open(self._stderr, "rb") as f:
            return f.read().decode(errors="replace")

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()

    def ended(self):
        return self.proc.poll() is not None

    # --- the accessibility tree ------------------------------------------------------

    def app(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.proc.pid:
                return app
        return None

    def windows(self):
        app = self.app()
        if app is None:
            return []
        return [app.getChildAtIndex(i) for i in range(app.childCount)]

    def window(self, name, role=None):
        """Waits for a showing top-level window of that name (and role)."""
        def find():
            for w in self.windows():
                if w.name == name and showing(w) and (role is None or has_role(w, role)):
                    return w
            return None
        try:
            return wait_for(f"window '{name}'", find)
        except Failure as failure:
            # What the program did instead: ended, or said something.
            ended = self.proc.poll()
            state = "running" if ended is None else f"ended with status {ended}"
            raise Failure(f"{failure} (the program {state}; standard error: {self.stderr()[-2000:]!r})") from None

    def alert(self):
        return wait_for("a message box", lambda: next(
            (w for w in self.windows() if has_role(w, "alert") and showing(w)), None))

    def no_alert(self):
        wait_for("the message box to go", lambda: not any(
            has_role(w, "alert") and showing(w) for w in self.windows()))

    def opened(self):
        with open(self.browser_log) as f:
            return f.read().splitlines()

    def wait_opened(self, count):
        return wait_for(f"{count} addresses in the browser", lambda: len(self.opened()) >= count and self.opened())


# --- reading nodes -------------------------------------------------------------------

def showing(node):
    return node.getState().contains(__import__("pyatspi").STATE_SHOWING)


def focused(node):
    return node.getState().contains(__import__("pyatspi").STATE_FOCUSED)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def has_role(node, role):
    """Whether node has that role, named as AT-SPI names it ("push button"). By the role
    itself: at-spi2-core 2.56 renamed some (a push button's is "button" there)."""
    import pyatspi
    return node.getRole() == getattr(pyatspi, "ROLE_" + role.upper().replace(" ", "_"))


def find(root, role, name=None, shown=True):
    """The first node of that role (and name) under root; showing ones only by default."""
    for node in walk(root):
        if has_role(node, role) and (name is None or node.name == name) and (not shown or showing(node)):
            return node
    return None


def find_all(root, role, shown=True):
    return [n for n in walk(root) if has_role(n, role) and (not shown or showing(n))]


def need(what, node):
    if node is None:
        raise Failure("not found: " + what)
    return node


def press(node):
    """Presses a button as a screen reader user does: its default action."""
    action = node.queryAction()
    action.doAction(0)


def centre(node):
    import pyatspi
    ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return ext.x + ext.width // 2, ext.y + ext.height // 2


def extents(node):
    import pyatspi
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def focus_in(window):
    return next((n for n in walk(window) if focused(n)), None)


# --- running cases ------------------------------------------------------------------

def run_cases(cases, desktop, *arguments, only=()):
    """Runs each case (or those named in only) as case(desktop, *arguments) on the
    desktop made by calling `desktop`, reporting each; returns the exit status."""
    desktop = desktop()
    passed = failed = 0
    try:
        for case in cases:
            if only and case.__name__ not in only:
                continue
            started = time.monotonic()
            try:
                case(desktop, *arguments)
            except Exception as e:  # report and go on with the next case
                failed += 1
                print(f"FAIL: {case.__name__}: {e}", flush=True)
            else:
                passed += 1
                print(f"PASS: {case.__name__} ({time.monotonic() - started:.1f} s)", flush=True)
    finally:
        desktop.close()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


def main(cases, argv):
    """program [case ...]"""
    return run_cases(cases, Desktop, os.path.abspath(argv[1]), only=argv[2:])
