"""The texts Brenvo shows, read from the sources the program is built from (the question
bank, the verdicts, the layout table and its generator), for the layers that check what
a screen reader is given."""
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools"))
import genforms  # noqa: E402

# The question bank as the program holds it: (question, first answer, second answer, key
# is first), each text one or more literals in a row.
_TEXT = r'((?:u"[^"]*"\s*)+)'
_BANK_ROW = re.compile(r"\{\s*" + _TEXT + r",\s*" + _TEXT + r",\s*" + _TEXT + r",\s*(true|false)\s*\}")


def _joined(literals):
    return "".join(re.findall(r'u"([^"]*)"', literals))


def _read(*path):
    with open(os.path.join(ROOT, *path), encoding="utf-8") as f:
        return f.read()


BANK = [(_joined(q), _joined(a), _joined(b), key == "true")
        for q, a, b, key in _BANK_ROW.findall(_read("src", "braintest", "quiz.cpp"))]
if len(BANK) != 20:
    raise SystemExit(f"the question bank reads as {len(BANK)} questions")
VERDICTS = dict(re.findall(r'kVerdict(\w+) = QStringLiteral\("([^"]*)"\)', _read("src", "braintest", "quiz.h")))

ROWS = genforms.load_rows()


def shown(text):
    """A caption as it is shown: without its access-key markers."""
    return re.sub(r"&(&?)", r"\1", genforms.TEXTS.get(text, text))


def brain_list(frame):
    """A result list as it reads on screen: its title, then its lines from the top."""
    title = next(shown(r["text"]) for r in ROWS if r["window"] == "frmDisplay" and r["control"] == frame)
    lines = sorted((int(r["top"]), shown(r["text"])) for r in ROWS if r["window"] == "frmDisplay" and r["in"] == frame)
    return (title,) + tuple(text for _, text in lines)


RIGHT = brain_list("fraRightBrainResponsible")
LEFT = brain_list("fraLeftBrainResponsible")


def window_texts(window):
    """Every text a window of the layout table can show: its caption, its controls'
    texts, the names given to controls without text, and its menus."""
    texts = {genforms.WINDOWS[window][1]}
    texts |= {shown(r["text"]).replace("\\r\\n", "") for r in ROWS if r["window"] == window and r["text"]}
    texts |= {name for (win, _), name in genforms.ACCESSIBLE.items() if win == window}
    for _, caption, entries in genforms.MENUS.get(window, []):
        texts.add(shown(caption))
        texts |= {shown(c) for _, c in entries or [] if c != "-"}
    return texts


def _literals(block):
    """The texts of the QStringLiteral()s in a block of C++, adjacent literals joined."""
    return ["".join(re.findall(r'"([^"]*)"', group))
            for group in re.findall(r'QStringLiteral\(((?:\s*"[^"]*")+)\s*\)', block)]


# The exit screen's support messages, one of which it shows.
SUPPORT_MESSAGES = _literals(re.search(r"messages = \{(.*?)\};", _read("src", "exit", "ExitScreen.cpp"), re.S).group(1))
SITE = _literals(re.search(r"kSiteBase = (.*?);", _read("src", "web", "pages.h")).group(1))[0]
