#!/usr/bin/env python3
"""Writes the four Qt Designer forms in src/ui from src/ui/layouts.tsv and the
window and menu data below.

The table keeps positions in twips (15 to a pixel at 96 dpi) so that it reads
like the layouts it was drawn from; the forms hold pixels. Run it after editing
the table and commit both:

    python3 tools/genforms.py

With --check it writes nothing and fails when a form is out of date with the table.
"""
import html
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
UI = os.path.join(ROOT, "src", "ui")


def project_version():
    # The one place the version is written: the project line of CMakeLists.txt.
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(brenvo VERSION ([0-9.]+)", f.read()).group(1)


# The caption of the windows that name this version (the details window keeps its own).
CAPTION = f"Brenvo v{project_version()}"

# Texts too long for the table, or shared by both main windows.
TEXTS = {
    "@BOARD": "Talk over your result with other users on the Talvern discussion "
              "board. Visit it now at www.talvern.example/board",
    "@FULLBRAND": "Home Business Opportunity. Start your own Internet business and make "
                  "money online. Get this software fully branded for your website. "
                  "Click here for more details.",
    # "&&" is how the label's text shows one "&" (the single & is an access-key marker).
    "@COBRAND": "Co-brand this software for your site.  Increase loyalty and traffic to "
                "your site. Put your site's name &&  link here. See \"Help\" for "
                "details.    Click Here for more info on co-branding.",
    "@SOFTWARES": "If you liked this program, you will like its brothers and sisters too. "
                  "What began as a single program has grown into a large family covering "
                  "astrology, psychic matters, tarot, numerology and the occult. All of "
                  "them are simple, fun and informative. Try them out, and tell your "
                  "friends and family about them!",
    "@CHECK1": "Visit the Talvern Discussion Board Now",
    "@CAPTION": CAPTION,
}

WINDOWS = {
    # name: (class, caption, client w, h in twips, back colour, window font)
    # The details window's caption was never moved on from 1.15, and users and the
    # maker's pages know the window by it: it stays, whatever the version.
    "frmMain": ("QMainWindow", "Brenvo v1.15", 5655, 5070, (48, 98, 165), "Verdana 8.25"),
    "frmDisplay": ("QMainWindow", CAPTION, 8535, 6735, (48, 98, 165), "Verdana 8.25"),
    "frmAbout": ("QDialog", CAPTION, 6330, 4005, (48, 98, 165), "MS Sans Serif 8.25"),
    "frmExitScreen": ("QWidget", CAPTION, 11115, 4725, (255, 255, 255), "MS Sans Serif 8.25"),
}

# The class each window's form and file are named after; the window's own name (the
# table's, and its objectName) stays as the layouts give it.
FORM_CLASSES = {
    "frmMain": "DetailsWindow",
    "frmDisplay": "TestWindow",
    "frmAbout": "AboutDialog",
    "frmExitScreen": "ExitScreen",
}

# Menu bars: (name, caption, entries); an entry with no list is a command on the bar.
MENUS = {
    "frmMain": [
        ("mnuFile", "&File", [("mnuNext", "Take The &Brain Test Now"), ("mnuExit", "E&xit")]),
        ("mnuHelp", "&Help", [("mnuOnline", "&Online Help"), ("mnuVisit", "&Visit Us Online"),
                              ("mnuHelp1", "-"), ("mnuUpdate", "Check for Software &Update"),
                              ("mnuHelp2", "-"), ("mnuAbout", "&About Software")]),
        ("mnuDonate", "&Donate", None),
        ("mnuMakeMoneyOnline", "Make Money &Online", None),
    ],
    "frmDisplay": [
        ("mnuFile", "&File", [("mnuFileBack", "&Back"), ("mnuExit", "E&xit")]),
        ("mnuHelp", "&Help", [("mnuOnline", "&Online Help"), ("mnuVisit", "&Visit Us Online"),
                              ("mnuFileSep1", "-"), ("mnuUpdate", "&Check for Software Update"),
                              ("mnuFileSep2", "-"), ("mnuAbout", "&About Software")]),
        ("mnuDonate", "&Donate", None),
        ("mnuMakeMoneyOnline", "Make Money &Online", None),
    ],
}
DISABLED_ACTIONS = {"mnuMakeMoneyOnline"}

# Controls with no text of their own get a fixed name for screen readers: text boxes
# after the label that explains them, pictures after what they show. (The referral
# boxes are named after the placeholder they start with, below.)
# Everything else is read by its text as it stands, which Qt keeps up to date and
# announces when it changes; a fixed name would hide those changes.
ACCESSIBLE = {
    ("frmMain", "txtName"): "Name",
    ("frmMain", "Picture1"): "Sex",
    ("frmAbout", "picIcon"): "Brenvo",
    ("frmExitScreen", "picExitScreenIcon"): "Brenvo",
}


def px(twips):
    return int((abs(int(twips)) + 7) // 15) * (1 if int(twips) >= 0 else -1)


def esc(s):
    # A literal CR would be folded into LF by the XML reader; keep it as a reference.
    return html.escape(s, quote=False).replace("\r", "&#13;")


def rgb(s):
    return tuple(int(x) for x in s.split(","))


def parse_colours(s):
    fg = bg = None
    transparent = False
    for part in [p.strip() for p in s.split(";") if p.strip() and p.strip() != "—"]:
        if part == "transparent":
            transparent = True
        elif part.startswith("text "):
            v = part[5:]
            fg = None if v.startswith("system") else rgb(v)
        elif part.startswith("back "):
            v = part[5:]
            bg = None if v.startswith("system") else rgb(v)
        elif re.match(r"^\d+,\d+,\d+$", part):
            fg = rgb(part)
    return fg, bg, transparent


def design_font(face_and_size):
    # Kept as the table writes it ("Verdana 8.25 bold underline"): a form's font
    # property holds whole points only. forms::prepareWindow applies it.
    if not re.match(r"^(Verdana|MS Sans Serif) ([\d.]+)((?: bold| underline)*)$", face_and_size):
        raise SystemExit("bad font: " + face_and_size)
    return prop("designFont", f"<string>{face_and_size}</string>", stdset=False)


def palette(roles):
    def group(tag, entries):
        out = [f"<{tag}>"]
        for role, (r, g, b) in entries:
            out.append(f'<colorrole role="{role}"><brush brushstyle="SolidPattern">'
                       f'<color alpha="255"><red>{r}</red><green>{g}</green><blue>{b}</blue>'
                       f"</color></brush></colorrole>")
        out.append(f"</{tag}>")
        return "".join(out)
    # A disabled control keeps its colours; only its text greys, which the style does.
    backgrounds = [(role, c) for role, c in roles if role in ("Window", "Button", "Base")]
    disabled = group("disabled", backgrounds) if backgrounds else "<disabled/>"
    return ('<property name="palette"><palette>' + group("active", roles) + group("inactive", roles)
            + disabled + "</palette></property>")


def prop(name, inner, stdset=True):
    extra = "" if stdset else ' stdset="0"'
    return f'<property name="{name}"{extra}>{inner}</property>'


CLASSES = {
    "label": "QLabel",
    "command button": "QPushButton",
    "option button": "QRadioButton",
    "check box": "QPushButton",
    "line": "QFrame",
}


def widget_class(row):
    kind, text, other = row["kind"], row["text"], row["other"]
    if kind == "frame":
        return "QGroupBox" if text else "QFrame"
    if kind == "text box":
        # A multi-line box takes at most the length the window sets (QPlainTextEdit has no limit).
        return "forms::BoundedTextBox" if "multi-line" in other else "QLineEdit"
    if kind == "picture box":
        # A picture box that holds other controls is a plain container here.
        return "QLabel" if row["control"].startswith("pic") else "QFrame"
    return CLASSES[kind]


def rect(row):
    return tuple(int(row[k]) for k in ("left", "top", "width", "height"))


def overlap(a, b):
    """Controls a and b share a pixel (frames stacked edge to edge share a line)."""
    (ax, ay, aw, ah), (bx, by, bw, bh) = (tuple(px(v) for v in rect(r)) for r in (a, b))
    return ax < bx + bw and bx < ax + aw and ay < by + bh and by < ay + ah


def reads_before(a, b):
    """Control a is read before b: it lies wholly above b, or on the same row to its left."""
    (ax, ay, _, ah), (bx, by, _, bh) = rect(a), rect(b)
    return ay + ah <= by or (ay < by + bh and by < ay + ah and ax < bx)


def reading_order(siblings):
    """Siblings (as the table lists them, front to back) in the order they are made: the
    order a screen reader reads them in, from the top left, except that of two that
    overlap the one behind is made first, since a later one is drawn on top."""
    remaining = list(reversed(siblings))
    made = []
    while remaining:
        ready = [r for i, r in enumerate(remaining) if not any(overlap(r, s) for s in remaining[:i])]
        first = [r for r in ready if not any(reads_before(s, r) for s in ready if s is not r)]
        pick = min(first or ready, key=lambda r: (int(r["top"]), int(r["left"])))
        remaining.remove(pick)
        made.append(pick)
    return made


def control_xml(win, row, children):
    cls = widget_class(row)
    name = row["control"]
    text = TEXTS.get(row["text"], row["text"]).replace("\\r\\n", "\r\n")
    other = [o.strip() for o in row["other"].split(";")]
    fg, bg, transparent = parse_colours(row["colours"])
    x, y, w, h = (px(row[k]) for k in ("left", "top", "width", "height"))
    if row["kind"] == "line":
        h = 1
    p = [prop("geometry", f"<rect><x>{x}</x><y>{y}</y><width>{w}</width><height>{h}</height></rect>")]

    roles = []
    if cls == "QLabel":
        if fg:
            roles.append(("WindowText", fg))
        if bg:
            roles.append(("Window", bg))
        if text:
            p.append(prop("text", f"<string>{esc(text)}</string>"))
        p.append(prop("textFormat", "<enum>Qt::PlainText</enum>"))
        align = "Qt::AlignHCenter|Qt::AlignTop" if "centred text" in other else "Qt::AlignLeft|Qt::AlignTop"
        p.append(prop("alignment", f"<set>{align}</set>"))
        if "auto-size" in other:
            p.append(prop("autoSize", "<bool>true</bool>", stdset=False))
        elif not name.startswith("pic"):
            p.append(prop("wordWrap", "<bool>true</bool>"))
        if not transparent and not name.startswith("pic"):
            p.append(prop("autoFillBackground", "<bool>true</bool>"))
    elif cls in ("QFrame", "QGroupBox"):
        if row["kind"] == "line":
            roles.append(("WindowText", fg))
            p.append(prop("frameShape", "<enum>QFrame::HLine</enum>"))
            p.append(prop("frameShadow", "<enum>QFrame::Plain</enum>"))
        else:
            if fg:
                roles.append(("WindowText", fg))
            if bg:
                roles.append(("Window", bg))
            p.append(prop("autoFillBackground", "<bool>true</bool>"))
            if cls == "QGroupBox":
                p.append(prop("title", f"<string>{esc(text)}</string>"))
                if "flat" in other:
                    p.append(prop("flatBorder", "<bool>true</bool>", stdset=False))
            else:
                p.append(prop("frameShape", "<enum>QFrame::Box</enum>"))
                shadow = "Plain" if "flat" in other else "Sunken"
                p.append(prop("frameShadow", f"<enum>QFrame::{shadow}</enum>"))
    elif cls == "QPushButton":
        if fg:
            roles.append(("ButtonText", fg))
        if bg:
            roles.append(("Button", bg))
        p.append(prop("text", f"<string>{esc(text)}</string>"))
        if row["kind"] == "check box":
            # A check box, even drawn as a button, is toggled by Space only.
            p.append(prop("checkable", "<bool>true</bool>"))
            p.append(prop("autoDefault", "<bool>false</bool>"))
        else:
            # Enter presses the command button that has the focus.
            p.append(prop("autoDefault", "<bool>true</bool>"))
        if "graphical" in other:
            # Painted in its own background colour by forms::FormStyle.
            p.append(prop("graphical", "<bool>true</bool>", stdset=False))
        if "default button" in other:
            p.append(prop("defaultButton", "<bool>true</bool>", stdset=False))
        if "cancel button" in other:
            p.append(prop("cancelButton", "<bool>true</bool>", stdset=False))
    elif cls == "QRadioButton":
        if fg:
            # The text, and the dot of the chosen button.
            roles.append(("WindowText", fg))
            roles.append(("ButtonText", fg))
            roles.append(("Text", fg))
        if bg:
            # A button fills its background with the Button colour; the round
            # indicator is filled with Base.
            roles.append(("Window", bg))
            roles.append(("Button", bg))
            roles.append(("Base", bg))
            p.append(prop("autoFillBackground", "<bool>true</bool>"))
        p.append(prop("text", f"<string>{esc(text)}</string>"))
    elif cls in ("QLineEdit", "forms::BoundedTextBox"):
        if fg:
            roles.append(("Text", fg))
        if bg:
            roles.append(("Base", bg))
        if "flat" in other:
            # One plain black line, drawn by forms::FormStyle.
            p.append(prop("flatBorder", "<bool>true</bool>", stdset=False))
        if cls == "QLineEdit":
            p.append(prop("text", f"<string>{esc(text)}</string>"))
            p.append(prop("frame", "<bool>true</bool>"))
        else:
            p.append(prop("plainText", f"<string>{esc(text)}</string>"))
            # Tab moves on to the next control, as from any other text box.
            p.append(prop("tabChangesFocus", "<bool>true</bool>"))
            p.append(prop("verticalScrollBarPolicy", "<enum>Qt::ScrollBarAlwaysOn</enum>"))
    if roles:
        p.append(palette(roles))
    if "hidden" in other:
        p.append(prop("visible", "<bool>false</bool>"))
    if "disabled" in other:
        p.append(prop("enabled", "<bool>false</bool>"))
    if "hand cursor" in other:
        p.append(prop("cursor", "<cursorShape>PointingHandCursor</cursorShape>"))
    acc = ACCESSIBLE.get((win, name))
    if win == "frmExitScreen" and cls in ("QLineEdit", "forms::BoundedTextBox"):
        acc = text.replace("\r\n", "")
    if acc:
        p.append(prop("accessibleName", f"<string>{esc(acc)}</string>"))
    if row["font"] != "—":
        p.append(design_font(row["font"]))

    out = [f'<widget class="{cls}" name="{name}">'] + p
    for child in reading_order(children.get(name, [])):
        out.append(control_xml(win, child, children))
    out.append("</widget>")
    return "\n".join(out)


def menus_xml(win):
    if win not in MENUS:
        return "", ""
    bar = ['<widget class="QMenuBar" name="menubar">']
    actions = []
    tops = []
    for name, caption, entries in MENUS[win]:
        if entries is None:
            # A command that can never be chosen is not put on the bar: greyed there,
            # it would still claim its access key (Alt+O, the result panel's OK).
            if name not in DISABLED_ACTIONS:
                tops.append(f'<addaction name="{name}"/>')
            a = [f'<action name="{name}">', prop("text", f"<string>{esc(caption)}</string>")]
            if name in DISABLED_ACTIONS:
                a.append(prop("enabled", "<bool>false</bool>"))
            a.append("</action>")
            actions.append("".join(a))
            continue
        bar.append(f'<widget class="QMenu" name="{name}">')
        bar.append(prop("title", f"<string>{esc(caption)}</string>"))
        for ename, ecaption in entries:
            bar.append(f'<addaction name="{ename}"/>')
            a = [f'<action name="{ename}">']
            if ecaption == "-":
                a.append(prop("separator", "<bool>true</bool>"))
            else:
                a.append(prop("text", f"<string>{esc(ecaption)}</string>"))
                a.append(prop("menuRole", "<enum>QAction::NoRole</enum>"))
            a.append("</action>")
            actions.append("".join(a))
        bar.append("</widget>")
        tops.append(f'<addaction name="{name}"/>')
    bar.extend(tops)
    bar.append("</widget>")
    return "\n".join(bar), "\n".join(actions)


def load_rows():
    path = os.path.join(UI, "layouts.tsv")
    with open(path, encoding="utf-8") as f:
        lines = [l.rstrip("\n") for l in f if l.strip()]
    header = lines[0].split("\t")
    return [dict(zip(header, l.split("\t"))) for l in lines[1:]]


def generate(win, rows):
    cls, caption, cw, ch, back, wfont = WINDOWS[win]
    rows = [r for r in rows if r["window"] == win]
    children = {}
    for r in rows:
        children.setdefault(r["in"], []).append(r)
    # A window's own controls stay in the table's order, back to front, since the frames
    # stacked edge to edge are drawn so; forms::PanelAccessible reads them in screen order.
    body = [control_xml(win, r, children) for r in reversed(children.get("window", []))]
    w, h = px(cw), px(ch)
    tabs = sorted(
        (int(re.search(r"tab (\d+)", r["other"]).group(1)), r["control"])
        for r in rows
        if r["kind"] in ("command button", "text box", "option button", "check box"))
    root_props = [
        prop("geometry", f"<rect><x>0</x><y>0</y><width>{w}</width><height>{h}</height></rect>"),
        prop("windowTitle", f"<string>{esc(caption)}</string>"),
        palette([("Window", back)]),
        prop("autoFillBackground", "<bool>true</bool>"),
    ]
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           "<!-- Generated by tools/genforms.py from src/ui/layouts.tsv: do not edit; edit the table. -->",
           '<ui version="4.0">', f"<class>{FORM_CLASSES[win]}</class>",
           f'<widget class="{cls}" name="{win}">']
    out += root_props
    out.append(design_font(wfont))
    if cls == "QMainWindow":
        out.append('<widget class="QWidget" name="centralwidget">')
        out.append(prop("autoFillBackground", "<bool>true</bool>"))
        out.append(palette([("Window", back)]))
        out += body
        out.append("</widget>")
        bar, actions = menus_xml(win)
        out.append(bar)
        out.append(actions)
    else:
        out += body
    out.append("</widget>")
    out.append("<tabstops>" + "".join(f"<tabstop>{n}</tabstop>" for _, n in tabs) + "</tabstops>")
    if any(widget_class(r) == "forms::BoundedTextBox" for r in rows):
        out.append("<customwidgets><customwidget><class>forms::BoundedTextBox</class><extends>QPlainTextEdit</extends>"
                   "<header>ui/BoundedTextBox.h</header></customwidget></customwidgets>")
    out.append("<resources/><connections/></ui>")
    return "\n".join(out) + "\n"


def main():
    # --check: write nothing; fail when a form differs from what the table gives.
    check = "--check" in sys.argv[1:]
    rows = load_rows()
    stale = []
    for win in WINDOWS:
        path = os.path.join(UI, f"{FORM_CLASSES[win]}.ui")
        text = generate(win, rows)
        if check:
            with open(path, encoding="utf-8", newline="") as f:
                if f.read() != text:
                    stale.append(path)
            continue
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    for path in stale:
        print(f"{os.path.relpath(path, ROOT)} is out of date with src/ui/layouts.tsv: run python3 tools/genforms.py",
              file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main())
