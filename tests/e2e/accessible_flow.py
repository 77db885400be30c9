#!/usr/bin/python3
"""Drives the running program through the accessibility bus, as a screen reader user would:
types the Hero and Op1 ranges, clicks a flop in the Cards pane, applies both rows and
reads back what the panes and the range editors show; then evaluates a hand and reads the
equities. Then, with real mouse clicks and keys (xdotool) where a player would use them:
undo and redo in a range editor, the widest band on a flop, an ordering file chosen in the
program's file dialog, "Clear All", and a three-way hand with a dead card saved with Ctrl+S,
replaced by a new one and opened again from "Recent Documents". Expected counts come from small counts of our own
below, expected equities from the command-line tool on the same request.
Usage: accessible_flow.py CLI"""
import itertools
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

RANKS = "AKQJT9876"
SUITS = "cdhs"
DECK = [r + s for r in RANKS for s in SUITS]
TIMEOUT = 60.0


def fail(message):
    print("FAIL:", message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, find, timeout=TIMEOUT):
    end = time.time() + timeout
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def fresh(node):
    try:
        node.clearCache()
    except Exception:
        pass
    return node


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    try:
        children = list(fresh(node))
    except Exception:
        return
    for child in children:
        yield from walk(child, depth + 1)


def the_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Ferrox6Plus":
            return app
    return None


def find(root, name, roles=None):
    for node in walk(root):
        try:
            if node.name == name and (roles is None or node.getRoleName() in roles):
                return node
        except Exception:
            continue
    return None


def find_under(root, container, name, roles=None):
    """The control called name inside an object called container (a pane, a window)."""
    for node in walk(root):
        try:
            if node.name != container or node.childCount == 0:
                continue
        except Exception:
            continue
        found = find(node, name, roles)
        if found:
            return found
    return None


def text_of(node):
    return fresh(node).queryText().getText(0, -1)


def type_into(node, text):
    node.queryEditableText().setTextContents(text)
    wait_for("the text of " + node.name, lambda: text_of(node) == text, 10)


def click(node, button=1):
    """A real click at the middle of the control on the screen."""
    box = fresh(node).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2),
                    "click", str(button)], check=True)


def keys(*combos):
    subprocess.run(["xdotool", "key", "--delay", "60"] + list(combos), check=True)
    time.sleep(0.2)


def typed(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)


def showing(node):
    return fresh(node).getState().contains(pyatspi.STATE_SHOWING)


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


# A plain count of the hand categories that matter here: five cards, no straights or
# flushes possible on this board with these holdings.
def category(cards):
    counts = sorted((sum(1 for c in cards if c[0] == r) for r in RANKS), reverse=True)
    if counts[0] == 4:
        return "quads"
    if counts[0] == 3:
        return "full house" if counts[1] >= 2 else "trips"
    if counts[0] == 2:
        return "two pair" if counts[1] == 2 else "pair"
    return "high"


def hero_hands(board):
    hands = []
    for a, b in itertools.combinations(DECK, 2):
        if a in board or b in board:
            continue
        ranks = {a[0], b[0]}
        pair_of = a[0] == b[0] and a[0] in "AK"
        suited_ak = ranks == {"A", "K"} and a[1] == b[1]
        if pair_of or suited_ak:
            hands.append((a, b))
    return hands


def main():
    app = wait_for("the program on the accessibility bus", the_app)
    hero = wait_for("the Hero box", lambda: find(app, "Hero", ("text",)))
    op1 = find(app, "Op1", ("text",)) or fail("no Op1 box")
    type_into(hero, "AA, KK, AKs")
    type_into(op1, "20%")

    board = ["Ah", "Kd", "7c"]
    for card in board:
        button = find_under(app, "Cards", card, ("push button",)) or fail("no card button " + card)
        press(button)
    for i, card in enumerate(board):
        place = find(app, "Flop card %d" % (i + 1)) or fail("no flop button %d" % (i + 1))
        wait_for("flop card %d to show %s" % (i + 1, card), lambda: fresh(place).description == card, 10)
    used = find_under(app, "Cards", "Ah", ("push button",))
    wait_for("Ah to show as used", lambda: fresh(used).description == "Used", 10)

    press(find(app, "Apply Hero") or fail("no Apply Hero"))
    editor = wait_for("the Hero's range editor", lambda: find(app, "Hand Range Hero "))
    count = wait_for("the Hero's count", lambda: find(editor, "Combinations All count", ("text",)))
    expected = hero_hands(board)
    wait_for("the Hero's count %d/630" % len(expected), lambda: text_of(count) == "%d/630" % len(expected), 10)

    press(find(editor, "Apply", ("push button",)) or fail("no Apply in the editor"))
    categories = [category(list(h) + board) for h in expected]
    trips = find(editor, "3 of kind count", ("text",)) or fail("no 3 of kind field")
    two_pairs = find(editor, "Two pairs count", ("text",)) or fail("no Two pairs field")
    wait_for("3 of kind %d" % categories.count("trips"), lambda: text_of(trips) == str(categories.count("trips")), 10)
    wait_for("two pairs %d" % categories.count("two pair"),
             lambda: text_of(two_pairs) == str(categories.count("two pair")), 10)

    press(find(app, "Apply Op1") or fail("no Apply Op1"))
    op_editor = wait_for("Op1's range editor", lambda: find(app, "Hand Range Op1 "))
    op_count = wait_for("Op1's count", lambda: find(op_editor, "Combinations All count", ("text",)))
    shown = wait_for("Op1's count text", lambda: re.fullmatch(r"(\d+)/630", text_of(op_count)), 10)
    # A fifth of the 630 hands, less those holding a flop card.
    if not 0 < int(shown.group(1)) <= 126:
        fail("Op1 shows " + text_of(op_count))
    if text_of(hero) != "AA, KK, AKs":
        fail("the Hero box now reads " + text_of(hero))
    print("accessible flow: Hero %d/630, trips %d, two pairs %d, Op1 %s" %
          (len(expected), categories.count("trips"), categories.count("two pair"), text_of(op_count)))
    board = evaluate_flow(app)
    editor = undo_flow(app)  # an edit names the editor after its range from here on
    use_mode_flow(editor, board)
    clear_all_flow(app, editor)
    ordering_flow(app)
    hand_file_flow(app)


def evaluate_flow(app):
    press(find(app, "Clear flop") or fail("no Clear flop"))
    wait_for("an empty flop", lambda: fresh(find(app, "Flop card 1")).description == "Empty", 10)
    type_into(find(app, "Hero", ("text",)), "AA,KK")
    type_into(find(app, "Op1", ("text",)), "20%")
    board = ["Ah", "7c", "6d"]
    for card in board:
        press(find_under(app, "Cards", card, ("push button",)) or fail("no card button " + card))
    wait_for("the flop", lambda: fresh(find(app, "Flop card 3")).description == "6d", 10)
    # The open range editors hold the earlier ranges: applying the rows gives them the new ones.
    press(find(app, "Apply Hero"))
    press(find(app, "Apply Op1"))

    cli = subprocess.run([sys.argv[1], "equity", "--hero", "AA,KK", "--op", "20%", "--board", "".join(board),
                          "--json"], capture_output=True, text=True, check=True)
    streets = json.loads(cli.stdout)["streets"]
    press(find(app, "Evaluate", ("push button",)) or fail("no Evaluate button"))
    for street in ("River", "Turn", "Flop"):
        expected = streets[street.lower()]
        for player, value in (("Hero", expected["hero"]), ("Op1", expected["ops"][0])):
            cell = find(app, street + " " + player, ("text",)) or fail("no cell " + street + " " + player)
            want = "%.2f%%" % (100 * value)
            wait_for("%s %s to read %s" % (street, player, want), lambda: text_of(cell) == want, 30)
        empty = find(app, street + " Op2", ("text",)) or fail("no cell " + street + " Op2")
        if text_of(empty):
            fail(street + " Op2 shows " + text_of(empty))
    print("evaluation: river %.2f%%, turn %.2f%%, flop %.2f%% for the Hero, as the command line says" %
          tuple(100 * streets[s]["hero"] for s in ("river", "turn", "flop")))
    return board


def count_of(editor):
    return text_of(find(editor, "Combinations All count", ("text",)) or fail("no count field"))


def wait_count(editor, want):
    wait_for("the count %s" % want, lambda: count_of(editor) == want, 10)


def undo_flow(app):
    """Ctrl+Z and Ctrl+Y in the Hero's editor (the board is Ah 7c 6d, the Hero AA,KK)."""
    press(find(app, "Apply Hero"))  # its editor comes to the front
    editor = wait_for("the Hero's range editor", lambda: find(app, "Hand Range Hero "))
    wait_count(editor, "9/630")
    queens = find(editor, "QQ", ("push button", "check box")) or fail("no QQ cell")
    click(queens)
    wait_count(editor, "15/630")
    hero = find(app, "Hero", ("text",))
    wait_for("the Hero box to follow the editor", lambda: "QQ" in text_of(hero), 10)
    keys("ctrl+z")
    wait_count(editor, "9/630")
    keys("ctrl+y")
    wait_count(editor, "15/630")
    keys("alt+BackSpace")
    wait_count(editor, "9/630")
    print("undo: Ctrl+Z, Ctrl+Y and Alt+Backspace replay a click in the editor")
    return editor


def free_hands(board):
    return sum(1 for a, b in itertools.combinations(DECK, 2) if a not in board and b not in board)


def use_mode_flow(editor, board):
    """The widest band holds only what the flop leaves, and the statistics count on those."""
    vpip = find(editor, "VPIP") or fail("no VPIP field")
    click(vpip)
    keys("ctrl+a")
    typed("100")
    keys("Return")
    want = free_hands(board)
    wait_count(editor, "%d/630" % want)
    click(find(editor, "Apply", ("push button",)))
    top = find(editor, "Top pair count", ("text",))
    share = find(editor, "Top pair percent", ("text",))
    wait_for("the top pairs counted", lambda: text_of(top).isdigit(), 10)
    expected = "%.2f%%" % (100.0 * int(text_of(top)) / want)
    if text_of(share) != expected:
        fail("top pair share %s, not %s of %d hands" % (text_of(share), expected, want))
    print("use mode: 0-100%% holds %d/630 hands on %s; top pair %s" % (want, " ".join(board), text_of(share)))


def ordering_flow(app):
    """A ribbon ordering button opens the program's file dialog; a file chosen there is kept."""
    folder = tempfile.mkdtemp()
    program_dir = os.path.dirname(os.path.realpath(sys.argv[1]))
    shutil.copy(os.path.join(program_dir, "SixPlusVsRandom.txt"), os.path.join(folder, "MyOrdering.txt"))
    button = find(app, "SixPlusVsRandom", ("push button",)) or fail("no ordering button")
    click(button)
    dialog = wait_for("the file dialog", lambda: find(app, "Open", ("dialog", "file chooser")))
    name = wait_for("the file name box", lambda: find(dialog, "File name:", ("text",)))
    if text_of(name) != "SixPlus*.txt":
        fail("the dialog starts from %r" % text_of(name))
    name.queryEditableText().setTextContents(os.path.join(folder, "MyOrdering.txt"))
    press(find(dialog, "Open", ("push button",)) or fail("no Open button"))
    wait_for("the button to name MyOrdering", lambda: find(app, "MyOrdering", ("push button",)), 10)
    shutil.rmtree(folder)
    print("ordering: the dialog chose MyOrdering.txt, shown on the ribbon")


def clear_all_flow(app, editor):
    pairs = find(editor, "Pairs All count", ("text",)) or fail("no pairs field")
    if not text_of(pairs):
        fail("no statistics before Clear All")
    text = find(editor, "Range", ("text",)) or fail("no range text")
    click(find(app, "Clear All", ("push button",)) or fail("no Clear All"))
    wait_for("the statistics emptied", lambda: text_of(pairs) == "", 10)
    wait_count(editor, "0/630")
    wait_for("the range text hidden", lambda: not showing(text), 10)
    print("clear all: statistics and range text cleared")


def equities_shown(app, streets):
    cells = {}
    for street in streets:
        for player in ("Hero", "Op1", "Op2"):
            cell = find(app, street + " " + player, ("text",)) or fail("no cell " + street + " " + player)
            cells[street + " " + player] = text_of(cell)
    return cells


def wait_equities(app, hand_file):
    """Waits for the cells of the turn and flop to read what the tool computes from the file."""
    cli = subprocess.run([sys.argv[1], "equity", "--hand", hand_file, "--json"], capture_output=True, text=True,
                         check=True)
    streets = json.loads(cli.stdout)["streets"]
    for street in ("Turn", "Flop"):
        expected = streets[street.lower()]
        for player, value in (("Hero", expected["hero"]), ("Op1", expected["ops"][0]), ("Op2", expected["ops"][1])):
            cell = find(app, street + " " + player, ("text",)) or fail("no cell " + street + " " + player)
            want = "%.2f%%" % (100 * value)
            wait_for("%s %s to read %s" % (street, player, want), lambda: text_of(cell) == want, 60)
    return equities_shown(app, ("Turn", "Flop"))


def hand_file_flow(app):
    """Ctrl+S keeps a three-way hand, Ctrl+N starts a new one, and "Recent Documents" brings the
    first back: the same boxes, and the same equities as the tool computes from the file."""
    folder = tempfile.mkdtemp()
    hand_file = os.path.join(folder, "three-way.f6hand")
    texts = {"Hero": "AA,KK", "Op1": "20%", "Op2": "77+, AJs+"}
    for name, text in texts.items():
        type_into(find(app, name, ("text",)) or fail("no box " + name), text)
    dead = find(app, "Dead", ("text",)) or fail("no Dead box")
    type_into(dead, "Qs")
    for card in ("Ah", "7c", "6d"):
        press(find_under(app, "Cards", card, ("push button",)) or fail("no card button " + card))
    wait_for("the flop", lambda: fresh(find(app, "Flop card 3")).description == "6d", 10)
    press(find(app, "Evaluate", ("push button",)))
    time.sleep(1)

    click(find(app, "Hero", ("text",)))
    keys("ctrl+s")
    dialog = wait_for("the Save As dialog", lambda: find(app, "Save As", ("dialog", "file chooser")))
    name = wait_for("the file name box", lambda: find(dialog, "File name:", ("text",)))
    name.queryEditableText().setTextContents(hand_file)
    press(find(dialog, "Save", ("push button",)) or fail("no Save button"))
    wait_for("the hand file", lambda: os.path.exists(hand_file), 10)
    saved = wait_equities(app, hand_file)

    click(find(app, "Hero", ("text",)))
    keys("ctrl+n")
    kinds = wait_for("the New dialog", lambda: find(app, "New", ("dialog",)))
    press(find(kinds, "OK", ("push button",)) or fail("no OK in the New dialog"))
    hero = find(app, "Hero", ("text",))
    wait_for("an empty Hero box", lambda: text_of(hero) == "", 10)
    # Another hand evaluated meanwhile, so that the cells must be computed again.
    for name, text in (("Hero", "QQ"), ("Op1", "KK"), ("Op2", "99")):
        type_into(find(app, name, ("text",)), text)
    press(find(app, "Evaluate", ("push button",)))
    flop_hero = find(app, "Flop Hero", ("text",))
    wait_for("other equities", lambda: text_of(flop_hero) not in ("", saved["Flop Hero"]), 60)

    # The application menu's popup is not on the accessibility bus: it is walked with keys,
    # New, Open, Save, Save As, then Recent Documents and its first entry.
    click(find(app, "File", ("push button",)) or fail("no application button"))
    keys(*(["Down"] * 5), "Right", "Return")
    # The hand typed meanwhile is not kept.
    wait_for("the question to save", lambda: find(app, "Save changes to Untitled?", ("label",)))
    no = wait_for("its No button", lambda: find(app, "No", ("push button",)))
    press(no)
    for name, text in texts.items():
        box = find(app, name, ("text",))
        wait_for("%s to read %r again" % (name, text), lambda: text_of(box) == text, 10)
    if text_of(dead) != "Qs":
        fail("the Dead box reads %r" % text_of(dead))
    wait_for("the flop again", lambda: fresh(find(app, "Flop card 3")).description == "6d", 10)
    press(find(app, "Evaluate", ("push button",)))
    if wait_equities(app, hand_file) != saved:
        fail("the reopened hand shows other equities")
    shutil.rmtree(folder)
    print("hand file: saved, replaced by a new hand, reopened from Recent Documents; flop %s / %s / %s" %
          (saved["Flop Hero"], saved["Flop Op1"], saved["Flop Op2"]))


if __name__ == "__main__":
    main()
