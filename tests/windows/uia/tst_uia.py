#!/usr/bin/python3
"""What a Windows screen reader (NVDA, JAWS, Narrator) is given, read through UI
Automation as they read it: brenvo.exe under Wine 10 or later on an X display with a
window manager, and beside it uia_probe.exe, which reports every focus change and reads
a window's tree on request. The whole keyboard journey of tests/e2e/journey.py: the
details window and its boxes, a message box, the twenty questions with Previous once, a
tie and both its lists, the menu bar, the about window, the farewell screen and its
referral boxes. After every key that
moves the focus: the focused element (its control type and Name) is the one expected and
the focus passed through nothing else on its way, and the window's tree holds only names
of texts on screen, no element of a covered panel, nothing outside the window reported
as on screen, no two groups of one name, and its reading order is the order on screen.

    python3 tests/windows/uia/tst_uia.py build-windows/brenvo.exe build-windows/uia_probe.exe

Waits on events, never for a fixed time.
"""
import datetime
import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "e2e"))
import journey  # noqa: E402
from screentexts import BANK, LEFT, RIGHT, SITE, SUPPORT_MESSAGES, VERDICTS, window_texts  # noqa: E402

TIMEOUT = float(os.environ.get("BRENVO_TIMEOUT", "60"))
# UIA control type ids.
BUTTON, CHECK_BOX, EDIT, RADIO, TEXT, GROUP, WINDOW = 50000, 50002, 50004, 50013, 50020, 50026, 50032
MENUS = (50009, 50010, 50011)  # menu, menu bar, menu item
TYPES = {BUTTON: "button", CHECK_BOX: "check box", EDIT: "edit", RADIO: "radio button", TEXT: "text",
         GROUP: "group", WINDOW: "window", 50033: "pane", 50009: "menu", 50010: "menu bar", 50011: "menu item",
         50006: "image"}

QUESTIONS = {t for q in BANK for t in q[:3]} | {"Question", "Your Answer", "Previous", "Next", "Show My Ability"}
RESULTS = set(VERDICTS.values()) | set(RIGHT) | set(LEFT) | {"Your Brain Result", "OK"}
# The windows of the journey: (caption, every text it may show).
DETAILS = ("Brenvo v1.15", window_texts("frmMain"))
TEST = ("Brenvo v1.20", window_texts("frmDisplay") | QUESTIONS | RESULTS)
ABOUT = ("Brenvo v1.20", window_texts("frmAbout") | {"Click here to visit " + SITE})
EXIT = ("Brenvo v1.20", window_texts("frmExitScreen") | set(SUPPORT_MESSAGES))
BOX = ("Brenvo", {"Brenvo", "OK", "Plese Select Your Sex", "Please Enter Proper Email Address"})


class Failure(AssertionError):
    pass


def described(e):
    return f"'{e['name']}' ({TYPES.get(e['type'], e['type'])})"


class Probe:
    """uia_probe.exe: focus changes as they come, trees on request."""

    def __init__(self, exe, work):
        self.stderr = open(os.path.join(work, "probe.log"), "w")
        self.proc = subprocess.Popen(["wine", exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=self.stderr, text=True, encoding="utf-8", bufsize=1)
        self.focus = queue.Queue()
        self.replies = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        if self._reply() != "ready":
            raise Failure("the UIA client did not start")
        self.last = None

    def _read(self):
        for line in self.proc.stdout:
            line = line.rstrip("\n")
            if line.startswith("focus "):
                self.focus.put(json.loads(line[6:]))
            else:
                self.replies.put(line)
        self.replies.put("ended")

    def _reply(self):
        # A window's tree is some hundred calls into brenvo.exe, each through Wine's
        # server: on a busy machine that can take a minute.
        try:
            return self.replies.get(timeout=5 * TIMEOUT)
        except queue.Empty:
            raise Failure("the UIA client did not answer") from None

    def windows(self, caption):
        self.proc.stdin.write(f"tree {caption}\n")
        self.proc.stdin.flush()
        reply = self._reply()
        if not reply.startswith("tree "):
            raise Failure(f"the UIA client answered '{reply}'")
        return json.loads(reply[5:])

    def windows_shown(self):
        self.proc.stdin.write("windows\n")
        self.proc.stdin.flush()
        return self._reply()

    def popups(self):
        self.proc.stdin.write("popups\n")
        self.proc.stdin.flush()
        reply = self._reply()
        if not reply.startswith("popups "):
            raise Failure(f"the UIA client answered '{reply}'")
        return int(reply[7:])

    def focus_to(self, types, name, passing=()):
        """Waits for the focus to reach an element of that type (or one of those types) and
        Name. On the way it may pass only windows, repeats of the last focus, and controls
        of types named in passing (anything, when passing is None)."""
        types = types if isinstance(types, tuple) else (types,)
        seen = []
        while True:
            try:
                e = self.focus.get(timeout=TIMEOUT)
            except queue.Empty:
                raise Failure(f"the focus never reached '{name}'; it went to {seen}") from None
            if e["type"] in types and e["name"] == name:
                self.last = e
                return e
            seen.append(described(e))
            repeat = self.last and (e["id"], e["name"]) == (self.last["id"], self.last["name"])
            if passing is not None and e["type"] != WINDOW and not repeat and e["type"] not in passing:
                raise Failure(f"on its way to '{name}' the focus passed {described(e)}")

    def close(self):
        if self.proc.poll() is None:
            try:
                self.proc.stdin.write("quit\n")
                self.proc.stdin.flush()
                self.proc.wait(timeout=10)
            except (OSError, subprocess.TimeoutExpired):
                self.proc.kill()
        self.stderr.close()


def reads_before(a, b):
    """Rectangle a (x, y, width, height) is read before b: from the top, a box whose top
    lies above the other's middle comes first; side by side (each top above the other's
    middle), the left one. The rule of tests/ui/tst_reading.cpp."""
    def above(x, y):
        return 2 * x[1] < 2 * y[1] + y[3]
    if above(a, b) != above(b, a):
        return above(a, b)
    return above(a, b) and a[0] < b[0]


def intersects(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def check_tree(window, elements, focused, covered=()):
    """What a reader finds in a window's tree, against what the screen shows."""
    problems = []
    caption, texts = window
    stack = []  # the ancestors of the element at hand
    read_before = {}  # depth -> the siblings read before, under the same parent
    groups = set()
    ancestors = {}
    for e in elements:
        del stack[e["depth"]:]
        name, rect = e["name"], e["rect"]
        if name and name.rstrip() not in {t.rstrip() for t in texts}:
            problems.append(f"{described(e)} is no text on screen")
        if name in covered:
            problems.append(f"{described(e)} of a covered panel is in the tree")
        if e["type"] == GROUP and name:
            if name in groups:
                problems.append(f"two groups are named '{name}'")
            groups.add(name)
        if rect and not e["offscreen"] and not all(intersects(rect, a["rect"]) for a in stack if a["rect"]):
            problems.append(f"{described(e)} at {rect}, outside its window, is reported as on screen")
        for before in read_before.get(e["depth"], []):
            if before["rect"] and rect and reads_before(rect, before["rect"]):
                problems.append(f"{described(e)} at {rect} is read after {described(before)} at {before['rect']}")
        read_before.setdefault(e["depth"], []).append(e)
        for deeper in [d for d in read_before if d > e["depth"]]:
            del read_before[deeper]
        ancestors[id(e)] = list(stack)
        stack.append(e)
    # One element holds the focus; the window, and a box's button row, may say that
    # the focus is within them.
    holding = [e for e in elements if e["focus"]]
    if not holding or (holding[-1]["type"], holding[-1]["name"]) != (focused["type"], focused["name"]) \
            or any(e not in ancestors[id(holding[-1])] for e in holding[:-1]):
        problems.append(f"the focus is on {[described(e) for e in holding]}, not {described(focused)}")
    if problems:
        raise Failure(f"in '{caption}': " + "; ".join(problems))


class Reader:
    """The journey's steps (tests/e2e/journey.py), each checked on what UI Automation
    gives: after a key that moves the focus, the element it reaches and what it passes
    on its way, and the window's whole tree."""

    def __init__(self, probe):
        self.probe = probe
        self.passing = ()  # what the focus may pass on its way to the next control

    def wait_for(self, what, condition):
        deadline = time.monotonic() + TIMEOUT
        while not condition():
            if time.monotonic() > deadline:
                focus = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], capture_output=True,
                                       text=True).stdout.strip()
                raise Failure(f"timed out waiting for {what}; the keyboard goes to '{focus}', "
                              f"the windows are {self.probe.windows_shown()}")
            time.sleep(0.1)

    def press(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "50", *keys], check=True)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "50", text], check=True)

    def tree(self, window):
        """The elements of the foreground window of that caption."""
        caption = window[0]
        for w in self.probe.windows(caption):
            if w["foreground"]:
                return w["elements"]
        raise Failure(f"no window '{caption}' in front")

    def reach(self, window, type_, name, covered=()):
        """The focus on an element of that type and Name, and the window's tree as a
        reader finds it; returns that tree."""
        focused = self.probe.focus_to(type_, name, self.passing)
        # From a menu the focus may pass menus until it is back in the menu's window.
        if window is DETAILS:
            self.passing = ()
        elements = self.tree(window)
        check_tree(window, elements, focused, covered)
        return elements

    def focus(self, window, role, name, value=None, described=()):
        # Wine's UI Automation reads neither a box's value nor a description.
        self.reach(WINDOWS[window], TYPES_OF[role], name, COVERED.get(window, ()))

    def question(self, q):
        """The group of its answers, or when the focus is there already the question's,
        named with the question; the two answers read in the order shown."""
        text, first, second, _ = BANK[q - 1]
        elements = self.reach(TEST, GROUP, text, covered=RESULTS)
        answers = names(elements, RADIO)
        if answers != [first, second]:
            raise Failure(f"question {q}: the answers read {answers}")

    def answer(self, q, i):
        self.reach(TEST, RADIO, BANK[q - 1][i], covered=RESULTS)

    def chosen(self):
        pass  # Wine's UI Automation sends no property changes

    def result(self, lines, verdict=None):
        """The list in front takes the focus; every line of it is read, none of the other."""
        elements = self.reach(TEST, GROUP, lines[0], covered=QUESTIONS)
        read = names(elements, TEXT, GROUP)
        shown = [t for t in read if t in lines]
        if shown != list(lines[1:]) and shown != list(lines):
            raise Failure(f"the list '{lines[0]}' reads {shown}")
        other = LEFT if lines is RIGHT else RIGHT
        if any(t in other[1:] for t in read):
            raise Failure(f"the covered list '{other[0]}' is in the tree")
        if verdict and verdict not in read:
            raise Failure(f"the verdict '{verdict}' is not in the tree")

    def verdict(self, text):
        self.reach(TEST, GROUP, text, covered=QUESTIONS)

    def box(self, text):
        elements = self.reach(BOX, BUTTON, "OK")
        if text not in names(elements, TEXT):
            raise Failure(f"the box reads {names(elements, TEXT)}, not '{text}'")

    def menu(self, title):
        if title == "File":
            # Alt: the menu bar's first title (Wine reports no focus for the bar itself).
            self.passing = MENUS
            return
        self.wait_for(f"the {title} menu", lambda: self.probe.popups() > 0)
        self.passing = MENUS

    def focused(self, window):
        """The element of the window's tree that holds the focus."""
        holding = [e for e in self.tree(window) if e["focus"] and e["depth"] > 0]
        return holding[-1] if holding else None

    def tab_to(self, window, role, name):
        """Tab, each time until the focus has moved on in the tree, until it is on that
        control; the focus events of the controls passed are not the check here."""
        covered, window, type_ = COVERED.get(window, ()), WINDOWS[window], TYPES_OF[role]
        for _ in range(10):
            before = self.focused(window)
            self.press("Tab")
            self.wait_for("the focus to move on", lambda: self.focused(window) != before)
            now = self.focused(window)
            if (now["type"], now["name"]) == (type_, name):
                self.probe.focus_to(type_, name, passing=None)
                return check_tree(window, self.tree(window), now, covered)
        raise Failure(f"Tab never reached '{name}'")


def names(elements, *types):
    return [e["name"] for e in elements if e["type"] in types]


WINDOWS = {journey.DETAILS: DETAILS, journey.TEST: TEST, journey.ABOUT: ABOUT, journey.EXIT: EXIT}
TYPES_OF = {journey.TEXT: EDIT, journey.BUTTON: BUTTON, journey.RADIO: RADIO, journey.CHECK_BOX: CHECK_BOX}
COVERED = {journey.TEST: QUESTIONS}


def main(argv):
    exe, probe_exe = (os.path.abspath(a) for a in argv[1:3])
    work = tempfile.mkdtemp(prefix="brenvo-uia-")
    os.environ.update(WINEPREFIX=os.path.join(work, "wine"), WINEDEBUG="-all",
                      WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=")
    brenvo = probe = None
    try:
        subprocess.run(["wine", "wineboot", "-i"], check=True, capture_output=True)
        subprocess.run(["wine", "reg", "add", r"HKEY_CURRENT_USER\Software\Brenvo\Settings", "/v", "Duration",
                        "/t", "REG_SZ", "/d", datetime.date.today().isoformat(), "/f"], check=True, capture_output=True)
        probe = Probe(probe_exe, work)
        with open(os.path.join(work, "brenvo.log"), "w") as log:
            brenvo = subprocess.Popen(["wine", exe], stdout=log, stderr=log)
        journey.replay(Reader(probe))
    except Failure as e:
        print(f"FAIL: journey: {e}", flush=True)
        if os.environ.get("BRENVO_UIA_LOG"):
            shutil.copytree(work, os.environ["BRENVO_UIA_LOG"], dirs_exist_ok=True, ignore_dangling_symlinks=True,
                            ignore=shutil.ignore_patterns("wine"))
        return 1
    finally:
        if probe:
            probe.close()
        subprocess.run(["wineserver", "-k"], capture_output=True)
        if brenvo:
            brenvo.wait()
        shutil.rmtree(work, ignore_errors=True)
    print("PASS: journey")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
