"""The pet cat: one drawing, rigged once, posed by each of its eight animations.

Every animation starts and ends in the same resting pose, so switching from one to the
next never makes the cat jump.
"""
from lottie_kit import Keys, Node, bez, color, ellipse, line, painted, path_geo, shape, smooth

INK = color("#4a2e1f")
FUR = color("#f5a623")
FUR_DARK = color("#d9822b")
CREAM = color("#fff1dc")
PINK = color("#f7a8b8")
NOSE = color("#ee7b93")
EYE = color("#33241c")
WHITE = color("#ffffff")
MOUTH = color("#9c3d45")
TONGUE = color("#f58b9c")

OUTLINE = 2.5


def limb(points, width, curve=False):
    """A leg or tail: a fur stroke over a slightly wider outline stroke, round ends."""
    geo = path_geo(smooth(points) if curve else bez(points))
    node = Node()
    node.items = [painted(geo, None, INK, width + 2 * OUTLINE), painted(geo, None, FUR, width)]
    return node


def tail_path(sway):
    """The tail curling up beside the body; sway -1 .. 1 swings the tip left or right."""
    return smooth([(80, 111), (97, 112), (107 + 3 * sway, 99), (103 + 9 * sway, 85 - 2 * abs(sway))])


def mapped(keys, fn):
    """The same timing with each value passed through fn."""
    if not isinstance(keys, Keys):
        return fn(keys)
    out = Keys(fn(keys.keys[0][1]), keys.keys[0][0])
    for frame, value, ease in keys.keys[1:]:
        out.to(frame, fn(value), ease)
    return out


def ear(side, rotate):
    """side -1 is the viewer's left ear, 1 the right one."""
    def mx(x):
        return 64 + side * (x - 64)
    outer = bez([(mx(35), 47), (mx(37), 14, (0, 0), (0, 0)), (mx(58), 31)], closed=True)
    inner = bez([(mx(40), 40), (mx(41.5), 22), (mx(53), 32)], closed=True)
    node = Node(pivot=(mx(46), 38), rotate=rotate)
    return node.add(shape(outer, FUR, INK, OUTLINE), shape(inner, PINK))


def eye(x, blink, look):
    node = Node(pivot=(x, 55), scale=blink)
    pupil = Node(move=look)
    pupil.add(ellipse((x, 55), (10, 13), EYE), ellipse((x + 2, 51), (4, 4), WHITE))
    return node.add(pupil)


def head(p):
    node = Node(pivot=(64, 82), move=p.get("head.move"), rotate=p.get("head.rot"))
    node.add(ear(-1, p.get("earL.rot")), ear(1, p.get("earR.rot")))
    node.add(ellipse((64, 55), (68, 54), FUR, INK, OUTLINE))
    for a, b in (((56, 31), (57, 38)), ((64, 29.5), (64, 38)), ((72, 31), (71, 38))):
        node.add(line([a, b], FUR_DARK, 3))
    node.add(ellipse((64, 67), (26, 15), CREAM))
    cheeks = Node(opacity=p.get("cheeks.o", 55))
    node.add(cheeks.add(ellipse((43, 66), (10, 6), PINK), ellipse((85, 66), (10, 6), PINK)))

    eyes = Node(opacity=p.get("eyes.o"))
    blink = p.get("blink")
    eyes.add(eye(50, blink, p.get("look")), eye(78, blink, p.get("look")))
    node.add(eyes)
    happy = Node(opacity=p.get("happy.o", 0))
    for x in (50, 78):
        happy.add(line([(x - 5.5, 57), (x, 51), (x + 5.5, 57)], EYE, 2.8, curve=True))
    node.add(happy)

    mouth_open = Node(pivot=(64, 67), opacity=p.get("mouth.o", 0), scale=p.get("mouth.scale"))
    mouth_open.add(shape(bez([(58.5, 67), (69.5, 67, (0, 0), (0, 0)),
                              (64, 75, (4.5, 0), (-4.5, 0))], closed=True), MOUTH, INK, 1.5),
                   ellipse((64, 72.5), (6, 3.5), TONGUE))
    node.add(mouth_open)
    node.add(shape(bez([(60.5, 61, (0, 0), (0, 0)), (67.5, 61), (64, 65, (2, 0), (-2, 0))], closed=True),
                   NOSE, INK, 1.4))
    node.add(line([(58, 67), (61, 69.5), (64, 67)], INK, 1.8, curve=True),
             line([(64, 67), (67, 69.5), (70, 67)], INK, 1.8, curve=True),
             line([(64, 65), (64, 67)], INK, 1.8))
    whiskers = Node(pivot=(64, 66), scale=p.get("whiskers.scale"))
    for side in (-1, 1):
        for (x0, y0), (x1, y1) in (((41, 63), (25, 60)), ((41, 67), (24, 67.5)), ((42, 71), (27, 75))):
            whiskers.add(line([(64 + side * (x0 - 64), y0), (64 + side * (x1 - 64), y1)], INK, 1.4, opacity=75))
    node.add(whiskers)
    return node


def front_leg(x, rotate, move):
    node = Node(pivot=(x, 92), rotate=rotate, move=move)
    node.add(limb([(x, 93), (x, 110)], 12))
    node.add(ellipse((x, 113), (15, 10), FUR, INK, OUTLINE))
    node.add(line([(x - 2.5, 110.5), (x - 2.5, 114)], INK, 1.2, opacity=60),
             line([(x + 2.5, 110.5), (x + 2.5, 114)], INK, 1.2, opacity=60))
    return node


def front_paw(x, rotate, move):
    """Only the paw of a front leg, posed like the leg: drawn over a prop the paw holds."""
    node = Node(pivot=(x, 92), rotate=rotate, move=move)
    node.add(ellipse((x, 113), (15, 10), FUR, INK, OUTLINE))
    node.add(line([(x - 2.5, 110.5), (x - 2.5, 114)], INK, 1.2, opacity=60),
             line([(x + 2.5, 110.5), (x + 2.5, 114)], INK, 1.2, opacity=60))
    return node


def hind_foot(side, rotate, move):
    """A hind paw folded in front of its haunch; it swings from the hip."""
    x0 = 64 + side * 21
    node = Node(pivot=(x0, 108), rotate=rotate, move=move)
    node.add(limb([(x0, 110), (x0 + side * 9, 113.5)], 10))
    tip = x0 + side * 12
    node.add(ellipse((tip, 114.5), (14, 9), FUR, INK, OUTLINE))
    node.add(line([(tip - side * 1, 111.5), (tip - side * 1, 115)], INK, 1.2, opacity=60))
    return node


def cat(p, behind=(), under_legs=(), over=(), front=()):
    """The whole scene. p maps rig names to keys (or constant values); the four lists add
    props behind the cat, between its body and front legs, over it, and in front of it."""
    scene = Node()
    shadow = Node(pivot=(64, 119), scale=p.get("shadow.scale"), move=p.get("shadow.move"),
                  opacity=p.get("shadow.o"))
    scene.add(shadow.add(ellipse((64, 119), (66, 7), color("#000000"), opacity=14)))
    scene.add(*behind)

    travel = Node(move=p.get("travel.move"))
    body = Node(pivot=(64, 117), move=p.get("root.move"), rotate=p.get("root.rot"), scale=p.get("root.scale"))
    tail = Node(pivot=(80, 111), rotate=p.get("tail.rot"))
    tail_geo = path_geo(mapped(p.get("tail", 0), tail_path))
    tail.items = [painted(tail_geo, None, INK, 8 + 2 * OUTLINE), painted(tail_geo, None, FUR, 8)]
    body.add(tail)
    body.add(ellipse((43, 107), (22, 19), FUR, INK, OUTLINE), ellipse((85, 107), (22, 19), FUR, INK, OUTLINE))
    body.add(hind_foot(-1, p.get("footL.rot"), p.get("footL.move")),
             hind_foot(1, p.get("footR.rot"), p.get("footR.move")))
    torso = Node(pivot=(64, 117), scale=p.get("breath"))
    torso.add(ellipse((64, 96), (52, 42), FUR, INK, OUTLINE), ellipse((64, 101), (28, 26), CREAM))
    body.add(torso)
    body.add(head(p))
    body.add(*under_legs)
    body.add(front_leg(54, p.get("legL.rot"), p.get("legL.move")),
             front_leg(74, p.get("legR.rot"), p.get("legR.move")))
    body.add(*over)
    scene.add(travel.add(body))
    scene.add(*front)
    return scene
