"""The whole journey a blind user takes through Brenvo by keyboard alone, written once:
the keys, and after each what the user must be given. The screen-reader layer replays
it listening to Orca (tests/e2e/screenreader), the UI Automation layer reading what a
Windows reader is given (tests/windows/uia); each layer gives the steps below its own
way of listening. The texts come from the sources (screentexts).

A layer has these, each waiting for what it names and failing when it does not come:
  press(*keys)                   keys as xdotool names them
  type(text)                     text typed
  focus(window, role, name, value=None, described=())
                                 the focus on that control of that window (a value it
                                 shows read back; texts its description carries)
  question(q)                    question q (from 1) and its two answers, in the order
                                 shown, the focus on the question
  answer(q, i)                   the focus on answer i (1 or 2) of question q
  chosen()                       the answer with the focus chosen
  result(lines, verdict=None)    the list in front (its title and lines) takes the
                                 focus, with the verdict when the result comes up;
                                 nothing of the other list is read
  verdict(text)                  the focus on the verdict
  box(text)                      a message box saying text, the focus on its OK
  menu(title)                    the menu bar at that menu (Alt), or that menu open
  tab_to(window, role, name)     Tab pressed until the focus is on that control
"""
from screentexts import BANK, LEFT, RIGHT, VERDICTS

DETAILS, TEST, ABOUT, EXIT = "details", "test", "about", "exit"
TEXT, BUTTON, RADIO, CHECK_BOX = "text", "button", "radio button", "check box"
# What a referral box is named by, and what it shows while empty.
REFERRAL_BOXES = ("Your Name", "Your Email Address", "Friend's Email Address", "Friend's Name")


def replay(user):
    # The details window and its three boxes; a message box and back, the name kept.
    user.focus(DETAILS, TEXT, "Name")
    user.type("ann")
    user.press("Return")
    user.box("Plese Select Your Sex")
    user.press("Return")
    user.focus(DETAILS, TEXT, "Name", value="ANN")
    for role, name in ((BUTTON, "Take The Brain Test Now"), (BUTTON, "Exit"), (RADIO, "Female")):
        user.press("Tab")
        user.focus(DETAILS, role, name)
    user.press("space")
    user.chosen()

    # Twenty questions, the first answer throughout but the second on question 2: ten
    # answers equal their key, a tie. Previous once, after question 3.
    user.press("alt+b")
    user.question(1)
    for q in range(1, 21):
        user.press("Down")
        user.answer(q, 1)
        if q == 2:
            user.press("Down")
            user.answer(q, 2)
        user.press("space")
        user.chosen()
        user.press("Return")
        if q < 20:
            user.question(q + 1)
        if q == 3:
            user.press("alt+p")
            user.question(3)
            user.press("Down")
            user.answer(3, 1)
            user.press("space")
            user.chosen()
            user.press("Return")
            user.question(4)

    # The verdict: the list in front takes the focus at once; Enter evaluates again and
    # the verdict is read; each tie button brings its list forward.
    user.result(RIGHT, verdict=VERDICTS["Equal"])
    user.press("Return")
    user.verdict(VERDICTS["Equal"])
    for lines in (LEFT, RIGHT):
        user.tab_to(TEST, BUTTON, lines[0])
        user.press("space")
        user.result(lines)

    # Back in the details window, the focus where it was; Alt to the menu bar and back;
    # the about window from the Help menu, and back.
    user.press("alt+b")
    user.focus(DETAILS, RADIO, "Female")
    user.press("alt")
    user.menu("File")
    user.press("alt")
    user.focus(DETAILS, RADIO, "Female")
    user.press("alt+h")
    user.menu("Help")
    user.press("a")
    user.focus(ABOUT, BUTTON, "OK")
    user.press("Return")
    user.focus(DETAILS, RADIO, "Female")

    # The farewell screen with its support message, its referral boxes in the order
    # shown, and round to Exit again.
    user.tab_to(DETAILS, BUTTON, "Exit")
    user.press("space")
    user.focus(EXIT, BUTTON, "Exit", described=("www.talvern.example/board", "Refer A Friend"))
    for role, name in ((CHECK_BOX, "Visit the Talvern Discussion Board Now"), (TEXT, "Your Name"),
                       (BUTTON, "Refer A Friend Now"), (TEXT, "Your Email Address"),
                       (TEXT, "Friend's Email Address"), (TEXT, "Friend's Name"), (BUTTON, "Exit")):
        user.press("Tab")
        user.focus(EXIT, role, name)

    # Typed text read back whole; a referral without the sender's address refused with a
    # box, and the focus back in the box it left.
    user.press("shift+Tab")
    user.focus(EXIT, TEXT, "Friend's Name")
    user.type("Bob")
    user.press("shift+Tab")
    user.focus(EXIT, TEXT, "Friend's Email Address")
    user.press("Tab")
    user.focus(EXIT, TEXT, "Friend's Name", value="Bob")
    user.press("alt+n")
    user.box("Please Enter Proper Email Address")
    user.press("Return")
    user.focus(EXIT, TEXT, "Friend's Name")

