"""The cat's eight animations. Frame numbers are at 30 frames a second; loops end on
exactly the values they start with, and every animation begins and ends at rest."""
from cat import EYE, INK, WHITE, cat, front_paw
from lottie_kit import Keys, Node, bez, color, document, ellipse, line, rect, shape

FPS = 30
REST = [100, 100]
GONE = [0, 0]


def crossfade(on_at, off_at, fade=4):
    """Opacity keys for the happy face: shown from on_at to off_at."""
    return Keys(0).hold(on_at - fade).to(on_at, 100).hold(off_at - fade).to(off_at, 0)


def inverse_fade(on_at, off_at, fade=4):
    return Keys(100).hold(on_at - fade).to(on_at, 0).hold(off_at - fade).to(off_at, 100)


def pop(at, out_at=None, end=None, size=REST):
    """Scale keys: grows from nothing at `at` with a bounce, shrinks away at out_at."""
    keys = Keys(GONE).hold(at).to(at + 7, size, "back")
    if out_at is not None:
        keys.hold(out_at).to(out_at + 6, GONE, "in")
    if end is not None:
        keys.hold(end)
    return keys


# ---- idle: scratching its rear with a hind foot ------------------------------------------

def scratching():
    frames = 90
    marks = Node(opacity=Keys(0).hold(22).wiggle(22, 58, 5, 100, 30, "lin").to(60, 0))
    for (x0, y0), (x1, y1) in (((22, 84), (17, 80)), ((19, 92), (13, 91)), ((21, 100), (15, 103))):
        marks.add(line([(x0, y0), (x1, y1)], INK, 4), line([(x0, y0), (x1, y1)], WHITE, 1.8))
    p = {
        "root.rot": Keys(0).hold(6).to(18, 7).hold(62).to(74, 0).hold(frames),
        "head.rot": Keys(0).hold(6).to(18, -9).hold(62).to(74, 0).hold(frames),
        "footL.move": Keys([0, 0]).hold(8).to(20, [-4, -6]).hold(62).to(72, [0, 0]).hold(frames),
        "footL.rot": Keys(0).hold(8).to(20, 70, "back").wiggle(20, 58, 5, 54, 88).to(72, 0).hold(frames),
        "legL.move": Keys([0, 0]).hold(8).to(20, [2, -3]).hold(62).to(72, [0, 0]).hold(frames),
        "happy.o": crossfade(22, 60).hold(frames),
        "eyes.o": inverse_fade(22, 60).hold(frames),
        "mouth.o": crossfade(26, 56).hold(frames),
        "mouth.scale": [70, 60],
        "cheeks.o": Keys(55).hold(18).to(24, 85).hold(58).to(64, 55).hold(frames),
        "tail": Keys(0).swing(0, frames, 30, 0.6),
        "earL.rot": Keys(0).hold(20).wiggle(20, 58, 10, -4, 3).hold(frames),
        "earR.rot": Keys(0).hold(78).to(81, 14).to(86, 0).hold(frames),
        "blink": Keys(REST).hold(80).to(83, [100, 10]).to(87, REST).hold(frames),
    }
    return document(cat(p, over=[marks]), frames, FPS, name="cat_scratching_butt")


# ---- walking in place: paws step in turn, the body bobs -----------------------------------

def walking():
    frames = 32
    up, down = [0, -8], [0, 0]
    p = {
        "legL.move": Keys(down).to(8, up).to(16, down).hold(frames),
        "legR.move": Keys(down).hold(16).to(24, up).to(frames, down),
        "footR.move": Keys(down).to(8, [0, -5]).to(16, down).hold(frames),
        "footL.move": Keys(down).hold(16).to(24, [0, -5]).to(frames, down),
        "root.move": Keys([0, 0]).to(8, [0, -3.5]).to(16, [0, 0]).to(24, [0, -3.5]).to(frames, [0, 0]),
        "root.rot": Keys(0).swing(0, frames, frames, 3),
        "head.rot": Keys(0).swing(0, frames, frames, -2),
        "earL.rot": Keys(0).to(8, -4).to(16, 0).to(24, -4).to(frames, 0),
        "earR.rot": Keys(0).to(8, 4).to(16, 0).to(24, 4).to(frames, 0),
        "tail": Keys(0).swing(0, frames, frames, 0.8),
        "shadow.scale": Keys(REST).to(8, [95, 95]).to(16, REST).to(24, [95, 95]).to(frames, REST),
    }
    return document(cat(p), frames, FPS, name="cat_walking")


# ---- greeting: a raised, waving paw and a happy face ------------------------------------

def greeting():
    frames = 75
    p = {
        "legR.rot": Keys(0).hold(4).to(16, -150, "back").wiggle(16, 54, 10, -128, -165).to(65, 0).hold(frames),
        "head.rot": Keys(0).hold(4).to(16, -7).hold(54).to(65, 0).hold(frames),
        "root.rot": Keys(0).hold(4).to(16, -3).hold(54).to(65, 0).hold(frames),
        "happy.o": crossfade(14, 60).hold(frames),
        "eyes.o": inverse_fade(14, 60).hold(frames),
        "mouth.o": crossfade(14, 58).hold(frames),
        "cheeks.o": Keys(55).hold(10).to(16, 90).hold(54).to(60, 55).hold(frames),
        "tail": Keys(0).to(12, 0.8).to(24, -0.4).to(36, 0.8).to(48, -0.4).to(60, 0.3).to(70, 0).hold(frames),
        "earR.rot": Keys(0).hold(16).to(20, 8).to(26, 0).hold(frames),
    }
    return document(cat(p), frames, FPS, name="cat_greeting")


# ---- blinking: a slow blink, then a double blink, tail swaying ---------------------------

def blinking():
    frames = 60
    closed = [100, 8]
    p = {
        "blink": Keys(REST).hold(16).to(19, closed, "in").to(24, REST, "out").hold(40)
        .to(42, closed, "in").to(45, REST, "out").to(47, closed, "in").to(50, REST, "out").hold(frames),
        "tail": Keys(0).swing(0, frames, frames, 0.6),
        "breath": Keys(REST).to(30, [101, 102.5]).to(frames, REST),
        "head.rot": Keys(0).to(30, 2.5).to(frames, 0),
    }
    return document(cat(p), frames, FPS, name="cat_blinking")


# ---- thinking: paw on the chin, eyes up, thought dots rising --------------------------------

def thought_dots(frames):
    out_at = 82
    nodes = []
    for n, ((x, y), d) in enumerate((((95, 41), 6), ((101.5, 31.5), 9))):
        node = Node(pivot=(x, y), scale=pop(18 + 7 * n, out_at + 2 * n, frames))
        nodes.append(node.add(ellipse((x, y), (d, d), WHITE, INK, 2)))
    cloud = Node(pivot=(110, 17), scale=pop(32, out_at + 4, frames),
                 move=Keys([0, 0]).hold(40).to(55, [0, -1.5]).to(70, [0, 0]).hold(frames))
    puffs = [((101, 18.5), (14, 12)), ((110, 11.5), (18, 15)), ((119, 18), (13, 12)), ((110, 22), (22, 11))]
    for center, size in puffs:
        cloud.add(ellipse(center, size, None, INK, 4.5))
    for center, size in puffs:
        cloud.add(ellipse(center, size, WHITE))
    for n, x in enumerate((104, 110, 116)):
        dot = Node(pivot=(x, 17), opacity=Keys(0).hold(40 + 6 * n).to(42 + 6 * n, 100, "lin").hold(frames))
        cloud.add(dot.add(ellipse((x, 17), (3.6, 3.6), EYE)))
    nodes.append(cloud)
    return nodes


def thinking():
    frames = 105
    p = {
        "legL.rot": Keys(0).hold(6).to(20, -145).hold(84).to(96, 0).hold(frames),
        "head.rot": Keys(0).hold(6).to(20, 8).hold(84).to(96, 0).hold(frames),
        "look": Keys([0, 0]).hold(8).to(18, [2.2, -2.8]).hold(84).to(94, [0, 0]).hold(frames),
        "blink": Keys(REST).hold(56).to(59, [100, 10], "in").to(63, REST, "out").hold(frames),
        "tail": Keys(0).to(30, 0.4).to(60, -0.3).to(90, 0.3).to(frames, 0),
        "earL.rot": Keys(0).hold(30).to(34, -10).to(40, 0).hold(frames),
    }
    return document(cat(p, front=thought_dots(frames)), frames, FPS, name="cat_thinking")


# ---- gaming: a game pad in both paws, buttons flashing, a little win at the end ----------

def game_pad(frames):
    pad = Node(pivot=(64, 101), scale=pop(2, 100, frames),
               rotate=Keys(0).hold(14).wiggle(14, 88, 14, -3, 3).hold(frames))
    purple = color("#7b6cf6")
    dark = color("#3d3366")
    pad.add(ellipse((44, 105), (19, 17), purple, INK, 2.5), ellipse((84, 105), (19, 17), purple, INK, 2.5))
    pad.add(rect((64, 100), (58, 19), 9.5, purple, INK, 2.5))
    pad.add(rect((54, 100), (11, 3.6), 1, dark), rect((54, 100), (3.6, 11), 1, dark))
    pad.add(rect((64, 95.5), (6, 2.4), 1.2, dark))
    for (x, y), c, t0 in (((72, 97.5), "#ff5a5f", 20), ((77.5, 102), "#4cd964", 26)):
        flash = Node(pivot=(x, y), scale=Keys(REST).hold(t0).wiggle(t0, 86, 12, [70, 70], [120, 120]).hold(frames))
        pad.add(flash.add(ellipse((x, y), (5.5, 5.5), color(c), INK, 1.2)))
    return pad


def sparkle(x, y, at, frames, size=12):
    star = Node(pivot=(x, y), scale=pop(at, at + 14, frames), rotate=Keys(0).hold(at).to(at + 20, 90).hold(frames))
    h = size / 2
    q = size / 8
    path = bez([(x, y - h), (x + q, y - q), (x + h, y), (x + q, y + q),
                (x, y + h), (x - q, y + q), (x - h, y), (x - q, y - q)], closed=True)
    return star.add(shape(path, color("#ffd84d"), INK, 1.5))


LEG_L_MOVE = Keys([0, 0]).hold(4).to(14, [0, -9]).hold(94).to(104, [0, 0]).hold(120)
LEG_R_MOVE = Keys([0, 0]).hold(4).to(14, [0, -9]).hold(94).to(104, [0, 0]).hold(120)
LEG_L_ROT = Keys(0).hold(4).to(14, 30).wiggle(16, 90, 8, 22, 31).hold(94).to(104, 0).hold(120)
LEG_R_ROT = Keys(0).hold(4).to(14, -30).wiggle(18, 90, 6, -22, -31).hold(94).to(104, 0).hold(120)


def gaming():
    frames = 120
    p = {
        "legL.move": LEG_L_MOVE,
        "legR.move": LEG_R_MOVE,
        "legL.rot": LEG_L_ROT,
        "legR.rot": LEG_R_ROT,
        "blink": Keys(REST).hold(10).to(16, [100, 62]).hold(88).to(92, REST).hold(frames),
        "look": Keys([0, 0]).hold(16).to(22, [-2, 1.5]).to(30, [2, 1.5]).to(38, [-1.5, 1.5]).to(46, [2.5, 1.5])
        .to(54, [0, 1.5]).to(62, [-2, 1.5]).to(70, [2, 1.5]).to(80, [0, 1.5]).to(90, [0, 0]).hold(frames),
        "head.rot": Keys(0).hold(14).wiggle(14, 88, 16, -3, 3).hold(frames),
        "happy.o": crossfade(94, 108).hold(frames),
        "eyes.o": inverse_fade(94, 108).hold(frames),
        "mouth.o": crossfade(94, 106).hold(frames),
        "tail": Keys(0).to(20, 0.5).to(40, -0.3).to(60, 0.5).to(80, -0.3).to(94, 0.9).to(102, -0.4).to(112, 0)
        .hold(frames),
        "root.move": Keys([0, 0]).hold(90).to(95, [0, -5], "out").to(100, [0, 0], "in").hold(frames),
    }
    front = [sparkle(30, 30, 92, frames), sparkle(100, 24, 95, frames, 10), sparkle(22, 62, 98, frames, 8)]
    # The pad lies over the legs; the paws are drawn again on top of it, holding the grips.
    paws = Node(opacity=Keys(0).hold(10).to(11, 100, "hold").hold(100).to(101, 0, "hold").hold(frames))
    paws.add(front_paw(54, LEG_L_ROT, LEG_L_MOVE), front_paw(74, LEG_R_ROT, LEG_R_MOVE))
    return document(cat(p, over=[game_pad(frames), paws], front=front), frames, FPS, name="cat_gaming")


# ---- entering: two hops in from the left, landing at rest --------------------------------

def entering():
    frames = 48
    ground = [0, 0]
    p = {
        "travel.move": Keys([-112, 0]).to(32, [0, 0], "lin").hold(frames),
        "shadow.move": Keys([-112, 0]).to(32, [0, 0], "lin").hold(frames),
        "root.move": Keys(ground).to(8, [0, -11], "out").to(17, ground, "in").to(25, [0, -8], "out")
        .to(32, ground, "in").hold(frames),
        "root.scale": Keys([97, 104]).hold(15).to(17, [114, 86]).to(20, [97, 104]).to(24, REST).hold(30)
        .to(32, [116, 84]).to(36, [95, 106]).to(41, [102, 98]).to(45, REST).hold(frames),
        "shadow.scale": Keys([70, 70]).to(8, [55, 55]).to(17, [95, 95]).to(25, [68, 68]).to(32, REST).hold(frames),
        "earL.rot": Keys(0).to(17, -12).to(24, 6).to(32, -12).to(40, 4).to(46, 0).hold(frames),
        "earR.rot": Keys(0).to(17, 12).to(24, -6).to(32, 12).to(40, -4).to(46, 0).hold(frames),
        "tail": Keys(-0.9).to(17, 0.4).to(32, -0.7).to(46, 0).hold(frames),
        "mouth.o": Keys(100).hold(30).to(36, 0).hold(frames),
        "legL.rot": Keys(25).to(17, 0).to(25, 20).to(32, 0).hold(frames),
        "legR.rot": Keys(-25).to(17, 0).to(25, -20).to(32, 0).hold(frames),
    }
    return document(cat(p), frames, FPS, name="cat_entering")


# ---- hide and seek: into a box, peeking out left and right, popping up -----------------------

CARDBOARD = color("#d49a5b")
CARDBOARD_DARK = color("#a8703a")
CARDBOARD_INSIDE = color("#7a4a22")


def box_parts(frames):
    appear = Keys(GONE).hold(2).to(14, REST, "back").hold(192).to(206, GONE, "in").hold(frames)
    back = Node(pivot=(64, 128), scale=appear)
    back.add(shape(bez([(11, 90), (22, 80), (106, 80), (117, 90)], closed=True), CARDBOARD_INSIDE, INK, 2.5))
    front = Node(pivot=(64, 128), scale=appear)
    front.add(shape(bez([(11, 90), (2, 79), (14, 76), (24, 88)], closed=True), CARDBOARD_DARK, INK, 2.5),
              shape(bez([(117, 90), (126, 79), (114, 76), (104, 88)], closed=True), CARDBOARD_DARK, INK, 2.5))
    front.add(rect((64, 110), (106, 42), 3, CARDBOARD, INK, 2.5))
    paw = Node(opacity=45)
    paw.add(ellipse((64, 114), (11, 9), CARDBOARD_INSIDE))
    for x, y in ((57.5, 107.5), (62, 104.5), (66, 104.5), (70.5, 107.5)):
        paw.add(ellipse((x, y), (4.2, 4.6), CARDBOARD_INSIDE))
    front.add(paw)
    return back, front


def hide_and_seek():
    frames = 225
    hidden, peek = [0, 66], [0, 21]
    p = {
        "root.move": Keys([0, 0]).hold(20).to(32, hidden, "in").hold(76).to(88, peek, "out").hold(108)
        .to(118, hidden, "in").hold(128).to(140, peek, "out").hold(158).to(166, [0, 44], "in")
        .to(178, [0, -10], "out").to(186, [0, 0], "in").hold(frames),
        "travel.move": Keys([0, 0]).hold(56).to(68, [-12, 0]).hold(118).to(128, [12, 0]).hold(160)
        .to(170, [0, 0]).hold(frames),
        "root.scale": Keys(REST).hold(14).to(20, [106, 92]).to(26, [96, 106]).to(34, REST).hold(184)
        .to(186, [110, 90]).to(192, REST).hold(frames),
        "look": Keys([0, 0]).hold(90).to(96, [-2.5, 0]).hold(100).to(106, [2.5, 0]).hold(110).to(112, [0, 0])
        .hold(142).to(148, [2.5, 0]).hold(152).to(158, [-2, 0]).hold(160).to(162, [0, 0]).hold(frames),
        "blink": Keys(REST).hold(100).to(102, [100, 10]).to(104, REST).hold(frames),
        "earL.rot": Keys(0).hold(40).wiggle(40, 70, 10, -16, 6).hold(frames),
        "earR.rot": Keys(0).hold(46).wiggle(46, 72, 12, 16, -6).hold(frames),
        "happy.o": crossfade(180, 204).hold(frames),
        "eyes.o": inverse_fade(180, 204).hold(frames),
        "mouth.o": crossfade(180, 202).hold(frames),
        "legL.rot": Keys(0).hold(172).to(182, 150, "back").hold(196).to(208, 0).hold(frames),
        "legR.rot": Keys(0).hold(172).to(182, -150, "back").hold(196).to(208, 0).hold(frames),
        # tucked in while hiding, so that it does not give the cat away
        "tail": Keys(0).hold(20).to(32, -1).hold(170).to(186, 0.9).to(196, -0.5).to(206, 0.3).to(214, 0)
        .hold(frames),
        "shadow.o": Keys(100).hold(2).to(10, 0).hold(200).to(210, 100).hold(frames),
    }
    back, front = box_parts(frames)
    return document(cat(p, behind=[back], front=[front]), frames, FPS, name="cat_hide_and_seek")


def all_animations():
    return {
        "cat_scratching_butt": scratching(),
        "cat_walking": walking(),
        "cat_greeting": greeting(),
        "cat_blinking": blinking(),
        "cat_thinking": thinking(),
        "cat_gaming": gaming(),
        "cat_entering": entering(),
        "cat_hide_and_seek": hide_and_seek(),
    }
