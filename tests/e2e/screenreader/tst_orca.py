#!/usr/bin/python3
"""A blind person's whole journey through Brenvo (tests/e2e/journey.py), heard through
the real Orca: every step is checked on what Orca spoke.

    /usr/bin/python3 tests/e2e/screenreader/tst_orca.py build/brenvo
"""
import datetime
import os
import shutil
import sys

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "desktop"))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, HERE)
import journey  # noqa: E402
from desktop import Desktop, Failure, Program  # noqa: E402
from orca import Orca  # noqa: E402
from screentexts import BANK, LEFT, RIGHT  # noqa: E402

CAPTIONS = {journey.DETAILS: "Brenvo v1.15", journey.TEST: "Brenvo v1.20", journey.ABOUT: "Brenvo v1.20",
            journey.EXIT: "Brenvo v1.20"}
# The word Orca says after a control's name. A push button's is AT-SPI's name for the
# role: "push button" up to at-spi2-core 2.46, "button" in 2.56. A radio button's state
# and role come in an utterance of their own.
ROLE_WORDS = {journey.TEXT: "text", journey.BUTTON: Atspi.role_get_name(Atspi.Role.PUSH_BUTTON),
              journey.CHECK_BOX: "check box", journey.RADIO: None}


def spoke(heard, text):
    return any(text in u for u in heard)


class Listener:
    """The journey's steps, each checked on what Orca says."""

    def __init__(self, desktop, orca):
        self.desktop, self.orca = desktop, orca
        self.window = None

    def check(self, condition, what, heard):
        if not condition:
            raise Failure(f"{what}; Orca said {heard}")

    def hear(self, window, *texts):
        """Waits for texts, and for the window's title when the window is new (Orca 48
        says its role word "frame" only at times)."""
        if window != self.window:
            texts = (CAPTIONS[window],) + texts
            self.window = window
        return self.orca.hear(*texts)

    def press(self, *keys):
        # Orca 48 speaks a change made within two seconds of its last reading with the
        # old text: keys that change what is shown go at a person's pace.
        if any(k == "Return" or k.startswith("alt+") for k in keys):
            self.orca.settle()
        self.desktop.keys(*keys)

    def type(self, text):
        self.desktop.type(text)
        self.orca.hear(text[-1].lower())  # Orca echoes each key

    def focus(self, window, role, name, value=None, described=()):
        word = ROLE_WORDS[role]
        heard = self.hear(window, f"{name} {word}" if word else name, *described, *([value[:-1]] if value else []))
        if value:  # read back whole
            self.check(spoke(heard, value), f"'{name}' read back short", heard)
        if role == journey.TEXT:  # by its name, never its placeholder
            self.check(not [u for u in heard if u.rstrip(". ") in journey.REFERRAL_BOXES], "a placeholder was read",
                       heard)

    def question(self, q):
        self.hear(journey.TEST, *BANK[q - 1][:3])

    def answer(self, q, i):
        self.orca.hear(BANK[q - 1][i])

    def chosen(self):
        self.orca.hear("selected", whole=True)

    def result(self, lines, verdict=None):
        heard = self.orca.hear(*([verdict] if verdict else []), lines[0], lines[2])
        self.check(all(spoke(heard, line) for line in lines), f"'{lines[0]}' not heard whole", heard)
        other = LEFT if lines is RIGHT else RIGHT
        self.check(not any(spoke(heard, line) for line in other[1:]), "the covered list was read out", heard)

    def verdict(self, text):
        self.orca.hear(text)

    def box(self, text):
        self.orca.hear(text, f"OK {ROLE_WORDS[journey.BUTTON]}")

    def menu(self, title):
        self.orca.hear(title)

    def tab_to(self, window, role, name):
        for _ in range(8):
            self.desktop.keys("Tab")
            if spoke(self.hear(window, "tab"), f"{name} {ROLE_WORDS[role]}"):
                return
        raise Failure(f"Tab never reached '{name}'")


def main(argv):
    desktop = Desktop()
    orca = program = None
    try:
        orca = Orca(desktop)
        settings = f"[Settings]\nDuration={datetime.date.today()}\n"
        program = Program(desktop, os.path.abspath(argv[1]), settings=settings).start()
        journey.replay(Listener(desktop, orca))
    except Failure as e:
        print(f"FAIL: journey: {e}", flush=True)
        print("0 passed, 1 failed")
        return 1
    finally:
        if program:
            program.stop()
        if orca:
            orca.close()
            # For a look at everything Orca did: BRENVO_ORCA_LOG=FILE keeps its debug
            # log, and FILE.brenvo what the program wrote to standard error.
            if os.environ.get("BRENVO_ORCA_LOG"):
                shutil.copy(orca.log, os.environ["BRENVO_ORCA_LOG"])
                with open(os.environ["BRENVO_ORCA_LOG"] + ".brenvo", "w") as f:
                    f.write(program.stderr() if program else "")
        desktop.close()
    print("PASS: journey")
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
