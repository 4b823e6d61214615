"""Settings files of the program folder: the main ini, the new user's
settings template and the three default window layouts.

Interface: ROOMS, main_ini() -> text, user_template() -> text,
layout(width, height) -> text, LAYOUT_SCREENS, build(outdir) writes
outdir/rw.ini, outdir/RWDEFAULT.INI and outdir/Layouts/Default(WxH).LAY.

Files are private-profile text with CR LF line ends, as the system's
profile calls write them. Keys hold the values the program reads when a key
is missing, so a fresh installation behaves the same with or without them;
the user template departs from that in two places only: moves are heard
(piece_sounds=3) and the game room's Black is the engine, so a new player
starts with a game against the computer.

The layouts come from one description of an 800 x 600 screen, scaled to
each screen size: the main frame, the navigation bar and the room window
fill the screen; every panel has a place, and the panels a room shows
stand in a column at the right of the frame, one below the other, inside
the frame (so they move with it). The classroom and kids-room panels and
the curriculum are never shown from a layout.
"""

import os

ROOMS = ["lobbyroom", "gameroom", "kidsroom", "classroom", "libraryroom", "databaseroom", "tournamentroom",
         "onlineroom"]

# Window keys by window number (the texts of strings 10..37).
WINDOW_KEYS = ["Rookwell", "Room", "Navigation", "Database", "Board", "Advice", "Game Status", "Captured",
               "Thinking", "ThinkLines", "Shortcuts", "MultimediaGameClassroom", "MultimediaGameKidsRoom",
               "Annotation", "Legal Moves", "Statistics", "Coach", "Chat", "Users", "Challenge", "Openings",
               "Tutorial", "Curriculum", "Customize Board", "Black Monitor", "White Monitor", "Duzuru Monitor",
               "RecChallenge"]
NEVER_SHOWN = (11, 12, 22)

CRLF = "\r\n"


def _ini(sections):
    out = []
    for name, keys in sections:
        out.append("[%s]" % name)
        out.extend("%s=%s" % kv for kv in keys)
        out.append("")
    return CRLF.join(out)


def main_ini():
    return _ini([
        ("lookandfeel", [("LastUser", "")]),
        ("settings", [("IntroMovie", "1")]),
        ("language", [("NLA", "ENGMESS")]),
        ("engine", [("book", "duzuru.obk")]),
        ("debug", [("auto_login", "0"), ("auto_login_user", "TestUser"), ("auto_room_select", "0")]),
        ("lobbyroom", [("board_set", "Login Puzzle"), ("piece_set", "Newspaper")]),
    ])


# Player record "kind base second type": a person, or the engine, without a clock.
PERSON, ENGINE = "0 0 0 7", "1 0 0 7"


def user_template():
    sections = [
        ("settings", [("notation_style", "3"), ("piece_sounds", "3"), ("NLAVoice", "1"), ("IVAVoice", "1"),
                      ("TutorialVoice", "1"), ("IllegalMoveVoice", "1"), ("WindowClose", "1"), ("Buddy", "1"),
                      ("ChatTell", "1"), ("Challenge", "1")]),
        ("debug", [("champ_cheat", "0")]),
    ]
    for room, name in enumerate(ROOMS):
        ai = "Tarn - Age 12" if room == 2 else "Rookwell"
        black_engine = room == 1
        sections.append((name, [
            ("white_ai", ai), ("black_ai", ai),
            ("white_player_name", "white"), ("black_player_name", "Rookwell" if black_engine else "black"),
            ("white_player", PERSON), ("black_player", ENGINE if black_engine else PERSON),
            ("turn_lights", "0"), ("quick_entry", "0"), ("sliding_pieces", "1"), ("announce_openings", "1"),
            ("announce_check", "1"), ("timestamp_annotation", "1"), ("board_coordinates", "1"),
            ("highlight_moves", "1"), ("black_on_bottom", "0"),
        ]))
    return _ini(sections)


# The description, on an 800 x 600 screen. The frame leaves room for the
# task bar; its client area is the frame less borders, caption, menu bar
# and status bar. The room window, navigation bar and board are placed in
# the frame's client area and the room window's, the panels on the screen.
BASE_W, BASE_H = 800, 600
FRAME = (0, 0, 800, 560)
CLIENT_W, CLIENT_H = 792, 490
NAV_W = 72
COLUMN = (548, 50, 796, 530)  # the right-hand panel column, inside the frame
PANEL_GAP = 2
# Where each panel stands when a room shows it by its own choice (screen,
# 800 x 600 design).
PLACES = {
    5: (500, 300, 792, 440), 6: (548, 50, 796, 190), 7: (548, 192, 796, 262), 8: (300, 380, 796, 530),
    9: (560, 280, 796, 516), 10: (548, 380, 796, 530), 11: (548, 50, 796, 530), 12: (548, 50, 796, 530),
    13: (548, 264, 796, 378), 14: (420, 264, 548, 530), 15: (200, 100, 600, 450), 16: (548, 50, 796, 250),
    17: (548, 300, 796, 530), 18: (548, 50, 796, 298), 19: (250, 150, 550, 400), 20: (548, 264, 796, 530),
    21: (548, 50, 796, 530), 22: (76, 50, 300, 530), 23: (548, 264, 796, 420), 24: (76, 380, 300, 530),
    25: (300, 380, 548, 530), 26: (548, 380, 796, 530), 27: (250, 150, 550, 330),
}
# Panels each room shows, top to bottom in the column, with their heights
# in the design. Game Status is tall enough for both players, its buttons
# and a few rows of the move list; Shortcuts takes the size of its tiles,
# whatever the screen.
SHOWN = {
    "gameroom": [(6, 196), (7, 60), (10, 216)],
    "kidsroom": [(7, 70)],
    "classroom": [(16, 200)],
    "libraryroom": [(6, 196), (20, 282)],
    "tournamentroom": [(6, 196), (7, 60), (8, 220)],
    "onlineroom": [(18, 200), (17, 278)],
}


def _scale(rect, sx, sy):
    return tuple(round(v * (sx if k % 2 == 0 else sy)) for k, v in enumerate(rect))


def room_layout(room, width, height):
    """{window number: (left, top, right, bottom, shown)} of one room."""
    sx, sy = width / BASE_W, height / BASE_H
    frame = _scale(FRAME, sx, sy)
    cw, ch = frame[2] - frame[0] - (BASE_W - CLIENT_W), frame[3] - frame[1] - (FRAME[3] - CLIENT_H)
    if room == "lobbyroom":
        return {0: frame + (1,)}
    out = {0: frame + (1,), 1: (NAV_W, 0, cw, ch, 1), 2: (0, 0, NAV_W, ch, 1)}
    if room == "databaseroom":
        return out
    out[3] = (NAV_W, 0, cw, ch, 0)
    # The board keeps clear of the panel column: the room window starts at
    # the frame's left border plus the bar.
    room_left = frame[0] + (BASE_W - CLIENT_W) // 2 + NAV_W
    side = min(round(COLUMN[0] * sx) - room_left, ch) - 20
    out[4] = (10, 10, 10 + side, 10 + side, 1)
    for n, rect in PLACES.items():
        out[n] = _scale(rect, sx, sy) + (0,)
    top = COLUMN[1]
    for n, h in SHOWN[room]:
        assert n not in NEVER_SHOWN
        out[n] = _scale((COLUMN[0], top, COLUMN[2], top + h), sx, sy) + (1,)
        top += h + PANEL_GAP
    assert top - PANEL_GAP <= COLUMN[3], room
    return out


def layout(width, height):
    sections = []
    for room in ROOMS:
        rects = room_layout(room, width, height)
        sections.append((room, [(WINDOW_KEYS[n], "%d %d %d %d %d" % rects[n]) for n in sorted(rects)]))
    return _ini(sections)


LAYOUT_SCREENS = [(800, 600), (1024, 768), (1280, 1024)]


def build(outdir):
    os.makedirs(os.path.join(outdir, "Layouts"), exist_ok=True)
    files = {"rw.ini": main_ini(), "RWDEFAULT.INI": user_template()}
    for w, h in LAYOUT_SCREENS:
        files[os.path.join("Layouts", "Default(%dx%d).LAY" % (w, h))] = layout(w, h)
    for name, text in files.items():
        with open(os.path.join(outdir, name), "w", newline="", encoding="ascii") as f:
            f.write(text)
