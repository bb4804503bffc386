"""The real Orca, Debian's screen reader, run headless beside the desktop of
tests/e2e/desktop: speech goes to speech-dispatcher's silent dummy module, and every
utterance is read back from Orca's line-buffered debug log.

Everything waits on what Orca has said, never for a fixed time.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
from desktop import Failure  # noqa: E402

SPEECH = "SPEECH OUTPUT: '"
CACHE_CLEARED = "GENERATOR: Clearing cache."
# An utterance ends in a quote, then Orca's voice settings or nothing.
CLOSING = re.compile(r"'\s*(\{.*\})?\s*$")
# Orca's own start, with its log opened line-buffered so it can be read while it runs.
LAUNCH = """
import sys
sys.path.insert(0, "/usr/lib/python3/dist-packages")
sys.argv = ["orca"]
from orca import debug
debug.debugLevel = debug.LEVEL_ALL
debug.debugFile = open({log!r}, "w", buffering=1)
from orca import orca, settings_manager
# Orca 43 hands its settings manager out as orca.getSettingsManager(), Orca 48 as
# settings_manager.get_manager().
manager = settings_manager.get_manager() if hasattr(settings_manager, "get_manager") else orca.getSettingsManager()
manager.activate({prefs!r}, {{"enableBraille": False}})
sys.exit(orca.main())
"""


class Orca:
    """One Orca for one desktop; what it said is kept in order in `said()`."""

    def __init__(self, desktop):
        self.work = os.path.join(desktop.work, "orca")
        home = os.path.join(self.work, "home")
        config = os.path.join(home, ".config")
        prefs = os.path.join(self.work, "prefs")
        speechd = os.path.join(config, "speech-dispatcher")
        os.makedirs(speechd)
        os.makedirs(prefs)
        with open("/etc/speech-dispatcher/speechd.conf") as f:
            system = f.read()
        with open(os.path.join(speechd, "speechd.conf"), "w") as f:
            # Silent and never failing for want of a sound card.
            f.write(system + '\nAudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                    'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n')
        self.runtime = os.path.join(self.work, "run")
        os.makedirs(self.runtime, mode=0o700)
        self.log = os.path.join(self.work, "orca.log")
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=config, XDG_DATA_HOME=os.path.join(home, ".local/share"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_RUNTIME_DIR=self.runtime,
                   GSETTINGS_BACKEND="memory", LC_ALL="C.UTF-8")
        code = LAUNCH.format(log=self.log, prefs=prefs)
        self.proc = subprocess.Popen(["/usr/bin/python3", "-c", code], env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.mark()
        wait_until("Orca to speak", lambda: self.said() or self.proc.poll() is not None, 60)
        if self.proc.poll() is not None:
            raise Failure("Orca ended at start-up")

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        # speech-dispatcher daemonizes: stop it by the pid it wrote.
        piddir = os.path.join(self.runtime, "speech-dispatcher", "pid")
        for name in os.listdir(piddir) if os.path.isdir(piddir) else []:
            try:
                with open(os.path.join(piddir, name)) as f:
                    os.kill(int(f.read().strip()), signal.SIGTERM)
            except (OSError, ValueError):
                pass

    def said(self):
        """Every utterance so far, in order."""
        try:
            with open(self.log, errors="replace") as f:
                lines = f.read().split("\n")
        except OSError:
            return []
        out = []
        current = None
        for line in lines:
            if current is None:
                at = line.find(SPEECH)
                if at < 0:
                    continue
                current = line[at + len(SPEECH):]
            else:  # a long utterance goes on over the next lines
                current += " " + line.strip()
            end = CLOSING.search(current)
            if end:
                out.append(current[:end.start()])
                current = None
        return out

    def mark(self):
        """From here on: what `since()` returns starts after what was said until now."""
        self._mark = len(self.said())

    def since(self):
        return self.said()[self._mark:]

    def settle(self, timeout=30.0):
        """Waits until Orca has forgotten what it last generated speech from. Orca 48
        keeps each object's description for up to two seconds and speaks a change made
        meanwhile with the old text, as for a user who answers a question that fast; a
        test goes at a person's pace. Orca 43 keeps nothing: no wait."""
        def lines():
            try:
                with open(self.log, errors="replace") as f:
                    return f.read().split("\n")
            except OSError:
                return []

        def forgotten():
            log = lines()
            spoken = max((i for i, line in enumerate(log) if SPEECH in line), default=-1)
            return any(CACHE_CLEARED in line for line in log[spoken + 1:])
        if any(CACHE_CLEARED in line for line in lines()):
            wait_until("Orca to clear its cache", forgotten, timeout)

    def hear(self, *expected, whole=False, timeout=60.0):
        """Waits until every text of `expected` has been spoken since the mark (as a
        whole utterance, when `whole`) and Orca has been still a moment; returns what
        was said, and moves the mark past it."""
        def matches(e, u):
            return u.strip().rstrip(".") == e if whole else e in u

        def heard():
            now = self.since()
            return all(any(matches(e, u) for u in now) for e in expected) and now
        wait_until(f"Orca to say {expected}", heard, timeout, lambda: self.since())
        wait_still(self)
        now = self.since()
        self.mark()
        return now


def wait_until(what, condition, timeout, report=None):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}" + (f"; heard {report()}" if report else ""))
        time.sleep(0.05)


def wait_still(orca, seconds=0.4, cap=5.0):
    """Until Orca's log has not grown for `seconds` (at most `cap`)."""
    deadline = time.monotonic() + cap
    size = -1
    still_since = time.monotonic()
    while time.monotonic() < deadline:
        now = os.path.getsize(orca.log) if os.path.exists(orca.log) else 0
        if now != size:
            size = now
            still_since = time.monotonic()
        elif time.monotonic() - still_since >= seconds:
            return
        time.sleep(0.05)
