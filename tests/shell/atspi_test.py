# SPDX-License-Identifier: GPL-3.0-or-later
"""A blind player's game, checked through AT-SPI as a screen reader sees it.

Run by atspi_test.sh, which gives a private X server, session bus and
accessibility bus. Starts the program, plays game 1 to a win with keys sent
by xdotool, reads the help and the hall of fame, and checks through pyatspi
the objects (roles, names, texts, states), the keyboard focus and the events
a screen reader gets. Expected texts are worked out here from the position
read off the board, not taken from the program. Every wait is bounded.
"""

import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

WAIT = 60.0  # seconds: generous, for a loaded machine
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, flush=True)
    return condition


def fatal(what):
    print("FAIL:", what, flush=True)
    raise SystemExit(1)


# Independent words for game 1's positions and moves.
def stones(n):
    return f"{n} steen" if n == 1 else f"{n} stenen"


def position_text(a, b):
    return f"Linker kolom: {stones(a)}, rechter kolom: {stones(b)}."


def column_name(c):
    return "linker kolom" if c == 1 else "rechter kolom"


def legal_moves(a, b):
    return [(1, k) for k in range(1, a + 1)] + [(2, k) for k in range(1, b + 1)]


def parse_position(text):
    m = re.search(r"Linker kolom: (\d+) (?:steen|stenen), rechter kolom: (\d+) (?:steen|stenen)\.", text)
    return (int(m.group(1)), int(m.group(2))) if m else None


class Screen:
    """The program seen through AT-SPI, and the events it sends."""

    def __init__(self, pid):
        self.pid = pid
        self.events = []
        pyatspi.Registry.registerEventListener(
            self.on_event,
            "object:state-changed:showing",
            "object:state-changed:focused",
            "object:property-change:accessible-name",
            "object:property-change:accessible-description",
        )
        self.app = None

    def on_event(self, event):
        try:
            source = event.source
            record = {
                "type": event.type,
                "role": source.getRoleName(),
                "name": source.name,
                "detail": event.detail1,
                "source": source,
            }
            if event.type.startswith("object:property-change:accessible-description"):
                record["description"] = source.description
        except Exception:  # an object already gone
            return
        self.events.append(record)

    def pump(self):
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass

    def wait(self, what, predicate, timeout=WAIT):
        deadline = time.monotonic() + timeout
        while True:
            self.pump()
            result = predicate()
            if result:
                return result
            if time.monotonic() > deadline:
                fatal(f"waited {timeout:.0f} s for {what}")
            time.sleep(0.02)

    def find_app(self):
        def look():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                try:
                    if app is not None and app.get_process_id() == self.pid:
                        return app
                except Exception:
                    continue
            return None

        self.app = self.wait("the program on the accessibility bus", look)
        return self.app

    def find(self, role, name=None, root=None):
        root = root or self.app

        def match(obj):
            try:
                return obj.getRoleName() == role and (name is None or obj.name == name)
            except Exception:
                return False

        return pyatspi.findDescendant(root, match)

    # What the notification said: each time it shows, its name.
    def said(self):
        return [e["name"] for e in self.events
                if e["type"].startswith("object:state-changed:showing")
                and e["role"] == "notification" and e["detail"] == 1]

    def wait_said(self, what, predicate):
        """Waits for a message to be said; returns it."""
        start = len(self.said())

        def new_message():
            for text in self.said()[start:]:
                if predicate(text):
                    return text
            return None

        return self.wait(f"the announcement of {what}", new_message)

    def focused(self):
        return [e for e in self.events
                if e["type"].startswith("object:state-changed:focused") and e["detail"] == 1]


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True, timeout=WAIT)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "50", text], check=True, timeout=WAIT)


def text_of(obj):
    t = obj.queryText()
    return t.getText(0, t.characterCount)


def main():
    zam = sys.argv[1]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([zam], env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT)
    try:
        run(program)
    finally:
        if program.poll() is None:
            program.terminate()
            try:
                program.wait(timeout=WAIT)
            except subprocess.TimeoutExpired:
                program.kill()
                program.wait()
        output = program.stdout.read().decode(errors="replace")
        if output.strip():
            print("program output:\n" + output)
    if failures:
        print(f"{len(failures)} check(s) failed")
        raise SystemExit(1)
    print("all checks passed")


def run(program):
    screen = Screen(program.pid)
    screen.find_app()
    def main_window():
        app = screen.app
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and w.name == "Zam games V1.1":
                return w
        return None

    window = screen.wait("the main window", main_window)
    found = subprocess.run(["xdotool", "search", "--sync", "--name", "^Zam games V1.1$"],
                           capture_output=True, text=True, timeout=WAIT, check=True)
    subprocess.run(["xdotool", "windowfocus", "--sync", found.stdout.split()[0]],
                   check=True, timeout=WAIT)
    screen.wait("the window active", lambda: window.getState().contains(pyatspi.STATE_ACTIVE))

    board = screen.find("canvas", "speelbord")
    check(board is not None, "the board is a canvas named speelbord")
    check(board.getState().contains(pyatspi.STATE_FOCUSABLE), "the board takes the focus")
    status = screen.find("label", "Welkom bij Zam - Spelen 1..9  , kies spel en naam")
    check(status is not None, "the status line is a label with the welcome message")
    check(screen.find("notification") is not None, "the window has a notification")

    # The game selector: nine radio buttons with their numbers.
    selector = screen.find("grouping", "Zam game") or screen.find("panel", "Zam game")
    check(selector is not None, "the game selector is a group named Zam game")
    buttons = [selector.getChildAtIndex(i) for i in range(selector.childCount)]
    check([b.name for b in buttons] == [f"spel {n}" for n in range(1, 10)],
          f"the selector offers spel 1 .. spel 9: {[b.name for b in buttons]}")
    check(all(b.getRoleName() == "radio button" for b in buttons), "its items are radio buttons")

    # The name box keeps its name while a name is typed.
    key("alt+n")
    names = screen.find("combo box")
    check(names is not None and names.name == "naam", "the name box is called naam")
    type_text("bob")
    edit = screen.find("text", None, names)
    screen.wait("bob in the name box", lambda: edit is not None and text_of(edit) == "bob")
    check(names.name == "naam", f"the name box is still called naam, not {names.name!r}")
    key("Return")  # signed in as a new player; the focus goes to "start"
    screen.wait("the focus on start",
                lambda: any(e["role"] == "push button" and e["name"] == "start"
                            for e in screen.focused()))

    # A digit chooses the game: said, and checked on the selector.
    key("1")
    chosen = screen.wait_said("game 1 chosen", lambda t: t.startswith("spel 1 gekozen."))
    check("Neem per zet een willekeurig aantal stenen van een kolom weg." in chosen,
          f"the rules of game 1 are said: {chosen!r}")
    screen.wait("spel 1 checked", lambda: buttons[0].getState().contains(pyatspi.STATE_CHECKED))
    check(not any(b.getState().contains(pyatspi.STATE_CHECKED) for b in buttons[1:]),
          "only spel 1 is checked")

    # The game starts: the board takes the focus; the position and the start
    # message are said once.
    del screen.events[:]
    key("ctrl+n")
    start = screen.wait_said("the start", lambda t: t.endswith(
        "doe een zet of laat de computer beginnen."))
    screen.wait("the focus on the board",
                lambda: any(e["role"] == "canvas" for e in screen.focused()))
    pos = parse_position(start)
    check(pos is not None and start == position_text(*pos) +
          " doe een zet of laat de computer beginnen.", f"the start says the position: {start!r}")
    check(board.description == position_text(*pos), f"the board reads the position: "
          f"{board.description!r}")
    check(screen.said().count(start) == 1, "the start is said once")
    names_sent = [e["name"] for e in screen.events
                  if e["type"].startswith("object:property-change:accessible-name")
                  and e["role"] == "label"]
    check(names_sent.count("doe een zet of laat de computer beginnen") == 1,
          f"the status line's new name is sent once: {names_sent}")

    a, b = pos
    if a == b:
        # A good position for the one to move: the computer begins.
        key("ctrl+b")
        pos = computer_reply(screen, board, (a, b))
    turns = 0
    while pos is not None and turns < 40:
        turns += 1
        pos = player_move(screen, board, pos)
        if pos is None:
            break
        pos = computer_reply(screen, board, pos)
    check(pos is None, "the game was won")

    # The game over: the arrows do nothing; Tab reaches "nieuw spel".
    del screen.events[:]
    key("Right")
    key("Left")
    key("Tab")
    screen.wait("the focus on nieuw spel",
                lambda: any(e["role"] == "push button" for e in screen.focused()))
    moved = [(e["role"], e["source"].name) for e in screen.focused()]
    check(moved == [("push button", "nieuw spel")],
          f"after a game the arrows leave the focus alone, Tab goes to nieuw spel: {moved}")

    read_help(screen)
    read_hall_of_fame(screen)


def player_move(screen, board, pos):
    """Plays the winning move of game 1 with the arrows and Enter."""
    a, b = pos
    # Equal columns win: take the difference from the higher one.
    target = (2, b - a) if b > a else (1, a - b)
    moves = legal_moves(a, b)
    steps = moves.index(target) + 1
    for step in range(steps):
        del screen.events[:]
        key("Right")
        column, count = moves[step]
        expected = f"neem {stones(count)} van de {column_name(column)}."
        said = screen.wait_said(f"cursor step {step + 1}", lambda t: True)
        check(said == expected, f"the cursor step says {expected!r}, not {said!r}")
        changes = [e for e in screen.events
                   if e["type"].startswith("object:property-change:accessible-description")
                   and e["role"] == "canvas"]
        check(len(changes) == 1, f"one description change per cursor step, not {len(changes)}")
        focus = [e for e in screen.focused()]
        check(not focus, f"the cursor step leaves the focus on the board: {focus}")
    column, count = target
    new = (a - count, b) if column == 1 else (a, b - count)
    del screen.events[:]
    key("Return")
    if new == (0, 0):
        said = screen.wait_said("the win", lambda t: "gewonnen" in t)
        check(said == position_text(*new) + " je hebt gewonnen !",
              f"the win is said with the last position: {said!r}")
        return None
    said = screen.wait_said("the player's move", lambda t: t.endswith("computer aan zet ..."))
    check(said == position_text(*new) + " computer aan zet ...",
          f"after the move the position and the turn: {said!r}")
    return new


def computer_reply(screen, board, pos):
    said = screen.wait_said("the computer's move", lambda t: t.startswith("de computer neemt"))
    m = re.match(r"de computer neemt (\d+) (?:steen|stenen) van de (linker|rechter) kolom\. (.*)$", said)
    if not check(m is not None, f"the computer's move in words: {said!r}"):
        return None
    count, column = int(m.group(1)), 1 if m.group(2) == "linker" else 2
    a, b = pos
    new = (a - count, b) if column == 1 else (a, b - count)
    check(m.group(3) == position_text(*new) + " doe een zet ...",
          f"then the new position and the turn: {said!r}")
    check(board.description == position_text(*new), "the board reads the new position")
    return new


def read_help(screen):
    """F1 opens the help: its page has the focus and reads as plain text."""
    del screen.events[:]
    key("F1")
    page = screen.wait("the focus on the help page", lambda: next(
        (e["source"] for e in screen.focused() if e["role"] == "paragraph"), None))
    check(page.name == "pagina 1 van 15: inhoud", f"the page is named: {page.name!r}")
    text = text_of(page)
    lines = text.split("\n")
    check(lines[:3] == ["inhoud", "introductie, pagina 2", "naam, password, ere-galerij, pagina 3"],
          f"the contents as text, links with their pages: {lines[:3]}")
    check("game 9, pagina 13" in lines, f"game 9 leads to page 13: {lines}")
    check("\\" not in text, "no mark-up in the text")
    check("Page Down: volgende pagina" in page.description, "the page keys are told")
    key("Next")
    said = screen.wait_said("page 2", lambda t: t.startswith("pagina 2 van 15: introductie."))
    check(len(said) > 80, f"page 2 is read: {said!r}")
    screen.wait("page 2 as text", lambda: text_of(page).startswith("introductie\n"))
    check("\\" not in text_of(page), "no mark-up on page 2")
    key("Home")
    screen.wait_said("the contents again", lambda t: t.startswith("pagina 1 van 15: inhoud."))
    del screen.events[:]
    key("Escape")
    screen.wait("the focus back in the main window",
                lambda: any(e["role"] == "push button" for e in screen.focused()))


def read_hall_of_fame(screen):
    """Ctrl+H opens the hall of fame: a table with the focus, read by rank."""
    del screen.events[:]
    key("ctrl+h")
    table = screen.wait("the focus on the hall of fame", lambda: next(
        (e["source"] for e in screen.focused() if e["role"] == "table"), None))
    check(table.name == "ere galerij", f"the table is named: {table.name!r}")
    check(table.description.startswith("1 speler."), f"it says how many: {table.description!r}")
    key("Down")
    today = time.strftime("%d-%m-%Y")
    said = screen.wait_said("rank 1", lambda t: t.startswith("rang 1"))
    check(said == f"rang 1: bob, level 1 in spel 1, score 1, laatst gespeeld {today}.",
          f"rank 1 with name, levels, score and date: {said!r}")
    # The ranks shown are the table's rows, under titled columns, the
    # selected one marked so.
    grid = table.queryTable()
    check((grid.nRows, grid.nColumns) == (1, 5), f"one rank, five columns: {grid.nRows} {grid.nColumns}")
    titles = ["rang", "naam", "levels", "score", "datum"]
    check([grid.getColumnDescription(c) for c in range(5)] == titles,
          f"the columns: {[grid.getColumnDescription(c) for c in range(5)]}")
    headers = [grid.getColumnHeader(c) for c in range(5)]
    check([(h.getRoleName(), h.name) for h in headers] == [("table column header", t) for t in titles],
          f"the column headers: {[(h.getRoleName(), h.name) for h in headers]}")
    cells = [grid.getAccessibleAt(0, c) for c in range(5)]
    check([c.getRoleName() for c in cells] == ["table cell"] * 5,
          f"the cells: {[c.getRoleName() for c in cells]}")
    check([c.name for c in cells] == ["1", "bob", "level 1 in spel 1", "1", today],
          f"rank 1's cells: {[c.name for c in cells]}")
    check(list(grid.getSelectedRows()) == [0] and grid.isRowSelected(0),
          f"the rank selected by the keys: {list(grid.getSelectedRows())}")
    check(all(c.getState().contains(pyatspi.STATE_SELECTED) for c in cells),
          "its cells are selected")
    key("End")
    screen.wait_said("rank 1 again", lambda t: t.startswith("rang 1"))
    del screen.events[:]
    key("Escape")
    screen.wait("the focus back in the main window",
                lambda: any(e["role"] == "push button" for e in screen.focused()))


if __name__ == "__main__":
    main()
