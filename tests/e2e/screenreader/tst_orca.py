#!/usr/bin/python3
"""A blind person's whole journey through Brenvo, heard through the real Orca: the
details window and its boxes, twenty questions with Previous once, a tie and both its
lists, the farewell screen and the referral form, by keyboard alone. Every check is on
what Orca spoke.

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
from desktop import Desktop, Failure, Program  # noqa: E402
from orca import Orca  # noqa: E402
from screentexts import BANK  # noqa: E402

TIE = "Your Left Brain And Right Brain Are Both Used Equally"
RIGHT = ("The Right Brain is Responsible for", "Understanding of the whole picture", "Ready to take risks")
LEFT = ("The Left Brain is Responsible for", "Good verbal and expressive skills", "Lives in real world")
# What Orca calls a push button is AT-SPI's name for the role: "push button" up to
# at-spi2-core 2.46, "button" in 2.56.
BUTTON = Atspi.role_get_name(Atspi.Role.PUSH_BUTTON)
PLACEHOLDERS = ("Your Name", "Your Email Address", "Friend's Email Address", "Friend's Name", "Your Message")


def check(condition, what, heard):
    if not condition:
        raise Failure(f"{what}; Orca said {heard}")


def spoke(heard, text):
    return any(text in u for u in heard)


def hear_question(orca, q, *before):
    """Waits until question q (from 1) and both its answers have been heard, after what
    `before` names."""
    question, first, second, _ = BANK[q - 1]
    orca.hear(*before, question, first, second)


def tab_to(orca, keys, control):
    """Presses Tab until Orca names control (at most eight times)."""
    for _ in range(8):
        keys("Tab")
        if spoke(orca.hear("tab"), control):
            return
    raise Failure(f"Tab never reached '{control}'")


def journey(desktop, binary):
    orca = Orca(desktop)
    program = Program(desktop, binary, settings=f"[Settings]\nDuration={datetime.date.today()}\n").start()
    try:
        keys = desktop.keys
        orca.hear("Brenvo v1.15", "Name text")

        # Back in the name box after a message box, its text is read out whole.
        desktop.type("ann")
        orca.hear("n")
        keys("Return")
        orca.hear("Plese Select Your Sex", f"OK {BUTTON}")
        keys("Return")
        heard = orca.hear("Name text", "AN")
        check(spoke(heard, "ANN"), "the name box read back short", heard)
        keys("Tab", "Tab", "Tab")
        orca.hear("Female")
        keys("space")
        orca.hear("selected", whole=True)

        # Every question with its two answers: as the window comes up, after each Next,
        # and after Previous. A window is named by its title (Orca 48 says its role word
        # "frame" only at times). The first answer throughout, but the second on question 2:
        # ten answers equal their key, a tie.
        keys("alt+b")
        hear_question(orca, 1, "Brenvo v1.20")
        for q in range(1, 21):
            keys("Down")
            orca.hear(BANK[q - 1][1])
            if q == 2:
                keys("Down")
                orca.hear(BANK[q - 1][2])
            keys("space")
            orca.hear("selected", whole=True)
            orca.settle()
            keys("Return")
            if q < 20:
                hear_question(orca, q + 1)
            if q == 3:
                orca.settle()
                keys("alt+p")
                hear_question(orca, 3)
                keys("Down")
                orca.hear(BANK[2][1])
                keys("space")
                orca.hear("selected", whole=True)
                orca.settle()
                keys("Return")
                hear_question(orca, 4)

        # The verdict and the list in front; Enter evaluates again and is heard again.
        heard = orca.hear(TIE, RIGHT[0], RIGHT[2])
        check(all(spoke(heard, line) for line in RIGHT), "the right list not heard whole", heard)
        check(not any(spoke(heard, line) for line in LEFT[1:]), "the covered list was read out", heard)
        keys("Return")
        orca.hear(TIE)

        # Each tie button brings its list forward, and the list is heard.
        for button, lines in ((f"The Left Brain is Responsible for {BUTTON}", LEFT),
                              (f"The Right Brain is Responsible for {BUTTON}", RIGHT)):
            tab_to(orca, keys, button)
            keys("space")
            # Orca 43 adds the word "panel" after the list's name, Orca 48 does not.
            heard = orca.hear(lines[0], lines[2])
            check(all(spoke(heard, line) for line in lines), f"'{lines[0]}' not heard whole", heard)

        # Back to the details window, then its Exit: the farewell screen and its message.
        keys("alt+b")
        orca.hear("Brenvo v1.15")
        # To Exit by Tab, without a modifier: under load an Alt can reach the menu bar
        # ahead of its letter.
        tab_to(orca, keys, f"Exit {BUTTON}")
        keys("space")
        heard = orca.hear("Brenvo v1.20", f"Exit {BUTTON}", "www.talvern.example/board")
        check(spoke(heard, "Refer A Friend"), "the farewell screen does not point to the referral", heard)

        # Each referral box is named as the focus reaches it, never its placeholder read.
        for name in ("Visit the Talvern Discussion Board Now check box", "Your Name", f"Refer A Friend Now {BUTTON}",
                     "Your Email Address",
                     "Friend's Email Address", "Friend's Name"):
            keys("Tab")
            heard = orca.hear(name)
            check(not [u for u in heard if u.rstrip(". ") in PLACEHOLDERS], "a placeholder was read out", heard)
        desktop.type("Bob")
        orca.hear("b")
        keys("shift+Tab")
        orca.hear("Friend's Email Address text")
        keys("Tab")
        heard = orca.hear("Friend's Name text", "Bo")
        check(spoke(heard, "Bob"), "Friend's Name read back short", heard)

        # A referral without the sender's address is refused with a box that is heard.
        keys("alt+n")
        orca.hear("Please Enter Proper Email Address", f"OK {BUTTON}")
        keys("Return")
        orca.hear("Friend's Name text")
    finally:
        program.stop()
        orca.close()
        # For a look at everything Orca did: BRENVO_ORCA_LOG=FILE keeps its debug log,
        # and FILE.brenvo what the program wrote to standard error.
        if os.environ.get("BRENVO_ORCA_LOG"):
            shutil.copy(orca.log, os.environ["BRENVO_ORCA_LOG"])
            with open(os.environ["BRENVO_ORCA_LOG"] + ".brenvo", "w") as f:
                f.write(program.stderr())


def main(argv):
    desktop = Desktop()
    try:
        journey(desktop, os.path.abspath(argv[1]))
    except Failure as e:
        print(f"FAIL: journey: {e}", flush=True)
        print("0 passed, 1 failed")
        return 1
    finally:
        desktop.close()
    print("PASS: journey")
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
