"""The other species, one resting loop each: a dog, a rabbit, a robot, an alien and a
potted plant, drawn in the cat's style (dark outlines, soft fills)."""
import math

from cat import INK, OUTLINE, PINK, WHITE, mapped
from lottie_kit import Keys, Node, bez, color, document, ellipse, line, painted, path_geo, rect, shape, smooth

FPS = 30
REST = [100, 100]
EYE = color("#2a211c")
BLACK = color("#000000")


def shadow(scale=None, width=66):
    node = Node(pivot=(64, 119), scale=scale)
    return node.add(ellipse((64, 119), (width, 7), BLACK, opacity=14))


def eye(x, y, blink, size=(10, 12), highlight=True):
    node = Node(pivot=(x, y), scale=blink)
    node.add(ellipse((x, y), size, EYE))
    if highlight:
        node.add(ellipse((x + size[0] * 0.2, y - size[1] * 0.28), (size[0] * 0.4, size[0] * 0.4), WHITE))
    return node


def blink_keys(frames, at, closed=(100, 10)):
    return Keys(REST).hold(at).to(at + 3, list(closed), "in").to(at + 7, REST, "out").hold(frames)


# ---- dog: sitting, panting, wagging -------------------------------------------------------

def dog_sitting():
    frames = 48
    tan, light, ear_brown = color("#d9a066"), color("#f6e3c8"), color("#8a5a3b")
    scene = Node().add(shadow())

    tail_sway = Keys(-1).wiggle(0, frames, 8, 1, -1)
    tail = Node().add(limb_path(mapped(tail_sway, lambda s: smooth(
        [(82, 110), (95, 104), (101 + 6 * s, 92), (100 + 12 * s, 80)])), tan, 8))
    scene.add(tail)
    scene.add(ellipse((43, 107), (22, 19), tan, INK, OUTLINE), ellipse((85, 107), (22, 19), tan, INK, OUTLINE))
    for side in (-1, 1):
        scene.add(ellipse((64 + side * 33, 114.5), (15, 9), tan, INK, OUTLINE))
    body = Node(pivot=(64, 117), scale=Keys(REST).wiggle(0, frames, 12, [101, 101.5], REST).hold(frames))
    body.add(ellipse((64, 97), (50, 42), tan, INK, OUTLINE), ellipse((64, 101), (26, 28), light))
    scene.add(body)

    head = Node(pivot=(64, 82), rotate=Keys(-3).to(24, 3).to(frames, -3))
    head.add(ellipse((64, 54), (62, 52), tan, INK, OUTLINE))
    ear_swing = Keys(0).wiggle(0, frames, 12, 6, -2).hold(frames)
    for side in (-1, 1):
        # floppy ears hang outward from the top of the head and swing with the panting
        ear = Node(pivot=(64 + side * 24, 33), rotate=mapped(ear_swing, lambda a, s=side: -s * (14 + a)))
        head.add(ear.add(ellipse((64 + side * 28, 52), (18, 36), ear_brown, INK, OUTLINE)))
    head.add(ellipse((52, 40), (7, 4), color("#b97f48")), ellipse((76, 40), (7, 4), color("#b97f48")))
    blink = blink_keys(frames, 30)
    head.add(eye(51, 50, blink, (9, 11)), eye(77, 50, blink, (9, 11)))
    head.add(ellipse((64, 67), (32, 22), light, INK, 2))
    tongue = Node(pivot=(64, 72), scale=Keys([100, 85]).wiggle(0, frames, 12, [100, 112], [100, 85]).hold(frames))
    tongue.add(shape(bez([(58.5, 72), (69.5, 72), (69.5, 79, (0, -2), (0, 3)), (64, 84, (4, 0), (-4, 0)),
                          (58.5, 79, (0, 3), (0, -2))], closed=True), color("#f58b9c"), INK, 1.6),
               line([(64, 74), (64, 79)], color("#d9667a"), 1.2))
    head.add(tongue)
    head.add(line([(56, 68.5), (60, 71.5), (64, 68)], INK, 1.8, curve=True),
             line([(64, 68), (68, 71.5), (72, 68.5)], INK, 1.8, curve=True),
             line([(64, 63), (64, 68)], INK, 1.8))
    head.add(ellipse((64, 61), (13, 9), color("#2e211b")), ellipse((61.5, 59.5), (4, 2.5), WHITE, opacity=70))
    scene.add(head)
    scene.add(rect((64, 82), (36, 6), 3, color("#e05a4f"), INK, 1.8))
    tag = Node(pivot=(64, 85), rotate=Keys(-8).to(24, 8).to(frames, -8))
    scene.add(tag.add(ellipse((64, 89), (7, 7), color("#ffd24d"), INK, 1.5)))
    for x in (54, 74):
        leg = Node()
        leg.add(limb_path(bez([(x, 92), (x, 110)]), tan, 12))
        leg.add(ellipse((x, 113), (15, 10), tan, INK, OUTLINE))
        scene.add(leg)
    return document(scene, frames, FPS, name="dog_sitting")


def limb_path(path, fill_color, width):
    """A stroked limb in any colour (the cat's limb() is fur-coloured)."""
    geo = path_geo(path)
    node = Node()
    node.items = [painted(geo, None, INK, width + 2 * OUTLINE), painted(geo, None, fill_color, width)]
    return node


# ---- rabbit: sitting, nose wiggling, one ear flopping -------------------------------------

def rabbit_sitting():
    frames = 60
    white, shade, inner = color("#f7f4f0"), color("#ddd5cc"), color("#f6a9bb")
    scene = Node().add(shadow())
    scene.add(ellipse((95, 108), (16, 15), white, INK, OUTLINE))  # the tuft of a tail
    for side in (-1, 1):
        scene.add(ellipse((64 + side * 26, 115), (26, 9), white, INK, OUTLINE))
        scene.add(ellipse((64 + side * 21, 105), (24, 22), white, INK, OUTLINE))
    body = Node(pivot=(64, 117), scale=Keys(REST).to(30, [101, 102]).to(frames, REST))
    body.add(ellipse((64, 98), (46, 40), white, INK, OUTLINE), ellipse((64, 102), (24, 24), shade, opacity=60))
    scene.add(body)

    head = Node(pivot=(64, 84), rotate=Keys(0).hold(20).to(30, -4).hold(46).to(56, 0).hold(frames))
    flop = {-1: Keys(-6).to(30, -2).to(frames, -6),
            1: Keys(6).hold(18).to(24, 38, "back").hold(36).to(44, 6).hold(frames)}
    for side in (-1, 1):
        ear = Node(pivot=(64 + side * 11, 40), rotate=flop[side])
        ear.add(ellipse((64 + side * 12, 23), (17, 38), white, INK, OUTLINE),
                ellipse((64 + side * 12, 25), (8, 27), inner))
        head.add(ear)
    head.add(ellipse((64, 60), (56, 48), white, INK, OUTLINE))
    head.add(ellipse((44, 68), (9, 5), PINK, opacity=60), ellipse((84, 68), (9, 5), PINK, opacity=60))
    blink = blink_keys(frames, 48)
    head.add(eye(52, 58, blink, (9, 11)), eye(76, 58, blink, (9, 11)))
    sniff = Keys([0, 0]).wiggle(0, 24, 6, [0, -1.4], [0, 0]).hold(frames)
    nose = Node(move=sniff)
    nose.add(shape(bez([(61, 66), (67, 66), (64, 69.5, (2, 0), (-2, 0))], closed=True), color("#ee7b93"), INK, 1.2))
    nose.add(line([(64, 69.5), (64, 72)], INK, 1.6),
             line([(59.5, 72.5), (62, 74), (64, 72)], INK, 1.6, curve=True),
             line([(64, 72), (66, 74), (68.5, 72.5)], INK, 1.6, curve=True))
    for side in (-1, 1):
        for dy in (-1.5, 2):
            nose.add(line([(64 + side * 9, 69 + dy), (64 + side * 21, 67 + 2.2 * dy)], INK, 1.2, opacity=60))
    head.add(nose)
    head.add(rect((64, 77.5), (6, 4), 1, WHITE, INK, 1.2))  # the front teeth
    scene.add(head)
    for x in (56, 72):
        scene.add(ellipse((x, 111), (13, 12), white, INK, OUTLINE))
    return document(scene, frames, FPS, name="rabbit_sitting")


# ---- robot: hovering, antenna light pulsing, screen eyes blinking -------------------------

def robot_idle():
    frames = 60
    steel, steel_dark, screen, glow = color("#c5cfdd"), color("#8e9bb0"), color("#25304a"), color("#4ef0ff")
    hover = Keys([0, 0]).to(30, [0, -4]).to(frames, [0, 0])
    scene = Node().add(shadow(Keys(REST).to(30, [86, 86]).to(frames, REST), 52))
    thrust = Node(pivot=(64, 117), scale=Keys([100, 80]).wiggle(0, frames, 6, [100, 120], [100, 80]))
    thrust.add(ellipse((64, 117), (18, 8), glow, opacity=55), ellipse((64, 116), (10, 4), WHITE, opacity=80))
    scene.add(thrust)
    bot = Node(move=hover)
    for side in (-1, 1):
        arm = Node(pivot=(64 + side * 26, 88), rotate=Keys(side * 4).to(30, -side * 6).to(frames, side * 4))
        arm.add(limb_path(bez([(64 + side * 27, 88), (64 + side * 31, 104)]), steel_dark, 8))
        arm.add(ellipse((64 + side * 31, 106), (11, 11), steel, INK, OUTLINE))
        bot.add(arm)
    bot.add(rect((64, 96), (46, 34), 10, steel, INK, OUTLINE))
    bot.add(ellipse((64, 114), (22, 8), steel_dark, INK, OUTLINE))
    bot.add(rect((64, 95), (26, 15), 4, screen, INK, 2))
    for n, (x, c) in enumerate(((56, "#ff6b6b"), (64, "#ffd24d"), (72, "#4cd964"))):
        start = n * 20
        light = Node(opacity=Keys(35).hold(start).to(start + 3, 100, "lin").hold(start + 16).to(start + 19, 35, "lin")
                     .hold(frames) if start + 19 < frames else Keys(35))
        bot.add(light.add(ellipse((x, 95), (5, 5), color(c))))
    bot.add(rect((64, 77), (14, 6), 2, steel_dark, INK, 2))
    head = Node(pivot=(64, 74), rotate=Keys(0).hold(10).to(20, -5).hold(34).to(44, 0).hold(frames))
    head.add(line([(64, 28), (64, 15)], INK, 2.5))
    bulb_glow = Node(pivot=(64, 12), scale=Keys([80, 80]).to(15, [150, 150]).to(30, [80, 80]).to(45, [150, 150])
                     .to(frames, [80, 80]), opacity=Keys(50).to(15, 0).to(30, 50).to(45, 0).to(frames, 50))
    head.add(bulb_glow.add(ellipse((64, 12), (12, 12), color("#ff6b6b"))))
    head.add(ellipse((64, 12), (9, 9), color("#ff6b6b"), INK, 2))
    for side in (-1, 1):
        head.add(rect((64 + side * 33, 50), (7, 16), 2.5, steel_dark, INK, 2))
    head.add(rect((64, 50), (62, 46), 13, steel, INK, OUTLINE))
    head.add(rect((64, 51), (48, 30), 8, screen, INK, 2))
    look = Keys([0, 0]).hold(10).to(16, [-3, 0]).hold(26).to(32, [3, 0]).hold(40).to(46, [0, 0]).hold(frames)
    blink = Keys(REST).hold(50).to(52, [100, 15]).to(55, REST).hold(frames)
    for x in (53, 75):
        e = Node(pivot=(x, 48), scale=blink, move=look)
        head.add(e.add(rect((x, 48), (9, 12), 3, glow)))
    head.add(line([(58, 58), (64, 61), (70, 58)], glow, 2.2, curve=True))
    bot.add(head)
    scene.add(bot)
    return document(scene, frames, FPS, name="robot_idle")


# ---- alien: floating up and down, antennae wobbling ---------------------------------------

def alien_floating():
    frames = 72
    green, green_dark, bulb = color("#8fd16a"), color("#5fa84a"), color("#d4f7a1")
    bob = Keys([0, 2]).to(36, [0, -6]).to(frames, [0, 2])
    scene = Node().add(shadow(Keys(REST).to(36, [78, 78]).to(frames, REST), 50))
    for n, (x, y) in enumerate(((20, 30), (108, 58), (26, 88))):
        t = 8 + n * 20
        twinkle = Node(pivot=(x, y), scale=Keys([30, 30]).hold(t).to(t + 6, REST).to(t + 14, [30, 30]).hold(frames))
        h = 5
        twinkle.add(shape(bez([(x, y - h), (x + 1.2, y - 1.2), (x + h, y), (x + 1.2, y + 1.2), (x, y + h),
                               (x - 1.2, y + 1.2), (x - h, y), (x - 1.2, y - 1.2)], closed=True),
                          color("#ffe27a"), INK, 1.2))
        scene.add(twinkle)
    # drawn a little smaller than the others, so the antennae stay inside the canvas at the top of a bob
    alien = Node(pivot=(64, 100), move=bob, rotate=Keys(-3).to(36, 3).to(frames, -3), scale=[92, 92])
    dangle = Keys(6).to(36, -6).to(frames, 6)
    for side in (-1, 1):
        leg = Node(pivot=(64 + side * 7, 100), rotate=mapped(dangle, lambda a, s=side: a * (1 if s < 0 else 0.7)))
        leg.add(limb_path(bez([(64 + side * 7, 100), (64 + side * 8, 110)]), green, 8))
        leg.add(ellipse((64 + side * 9, 111.5), (12, 7), green, INK, 2))
        alien.add(leg)
    for side in (-1, 1):
        arm = Node(pivot=(64 + side * 13, 88), rotate=Keys(side * -10).to(36, side * 10).to(frames, side * -10))
        arm.add(limb_path(bez([(64 + side * 13, 88), (64 + side * 23, 97)]), green, 6))
        alien.add(arm)
    alien.add(ellipse((64, 93), (30, 24), green, INK, OUTLINE), ellipse((64, 95), (14, 12), bulb, opacity=70))
    wobble = Keys(0).to(12, 12).to(30, -10).to(48, 8).to(60, -4).to(frames, 0)
    for side in (-1, 1):
        antenna = Node(pivot=(64 + side * 10, 27), rotate=mapped(wobble, lambda a, s=side: a * s))
        antenna.add(line([(64 + side * 10, 27), (64 + side * 15, 16), (64 + side * 19, 9)], INK, 2.5, curve=True))
        antenna.add(ellipse((64 + side * 19, 8), (9, 9), bulb, INK, 2))
        alien.add(antenna)
    head = path_geo(bez([(64, 22, (-20, 0), (20, 0)), (98, 48, (0, -16), (0, 14)),
                         (64, 82, (14, 0), (-14, 0)), (30, 48, (0, 14), (0, -16))], closed=True))
    alien.add(painted(head, green, INK, OUTLINE))
    alien.add(ellipse((64, 30), (22, 8), WHITE, opacity=25))
    blink = Keys(REST).hold(56).to(59, [100, 10]).to(63, REST).hold(frames)
    for side in (-1, 1):
        x = 64 + side * 15
        e = Node(pivot=(x, 50), rotate=side * 28, scale=blink)
        e.add(ellipse((x, 50), (15, 22), EYE), ellipse((x + 2, 44), (5, 6), WHITE), ellipse((x - 2, 55), (2.5, 3), WHITE))
        alien.add(e)
    alien.add(line([(58, 68), (64, 71.5), (70, 68)], INK, 2, curve=True))
    alien.add(ellipse((42, 63), (8, 4.5), color("#f29ab3"), opacity=55), ellipse((86, 63), (8, 4.5), color("#f29ab3"),
                                                                              opacity=55))
    scene.add(alien)
    return document(scene, frames, FPS, name="alien_floating")


# ---- plant: a potted sprout that grows, blooms and settles back ---------------------------

def plant_growing():
    frames = 120
    terracotta, rim, soil = color("#e07a52"), color("#c8603b"), color("#6b4330")
    stem_green, leaf, leaf_dark = color("#5cb85c"), color("#7ed37a"), color("#4c9a48")
    petal, centre = color("#ff8fb1"), color("#ffd24d")
    scene = Node().add(shadow(None, 56))
    grow = Keys([80, 55]).hold(6).to(42, REST, "soft").hold(92).to(116, [80, 55], "soft").hold(frames)
    plant = Node(pivot=(64, 90), scale=grow, rotate=Keys(0).hold(40).to(58, -4).to(76, 4).to(92, 0).hold(frames))
    plant.add(line([(64, 90), (62, 70), (65, 52), (64, 40)], INK, 7.5, curve=True),
              line([(64, 90), (62, 70), (65, 52), (64, 40)], stem_green, 3.5, curve=True))
    unfurl = Keys(60).hold(10).to(40, 0, "soft").hold(94).to(116, 60, "soft").hold(frames)
    for side, (x, y) in ((-1, (62.5, 72)), (1, (64.5, 60))):
        tip = (x + side * 24, y - 8)
        leaf_path = bez([(x, y, (0, 0), (side * 6, -10)), (tip[0], tip[1], (-side * 8, -4), (-side * 6, 6)),
                         (x, y, (side * 10, 4), (0, 0))], closed=True)
        node = Node(pivot=(x, y), rotate=mapped(unfurl, lambda a, s=side: -s * a),
                    scale=Keys([60, 60]).hold(10).to(40, REST, "soft").hold(94).to(116, [60, 60]).hold(frames))
        node.add(shape(leaf_path, leaf, INK, 2),
                 line([(x + side * 2, y - 1), (x + side * 16, y - 6)], leaf_dark, 1.4))
        plant.add(node)
    bud = Node(pivot=(64, 40), scale=Keys(REST).hold(40).to(50, [60, 60]).hold(96).to(108, REST).hold(frames))
    bud.add(ellipse((64, 38), (11, 15), color("#8fd16a"), INK, 2))
    plant.add(bud)
    bloom = Keys([0, 0]).hold(42).to(58, REST, "back").hold(92).to(104, [0, 0], "in").hold(frames)
    flower = Node(pivot=(64, 36), scale=bloom, rotate=Keys(-40).hold(42).to(58, 0).hold(92).to(104, -40).hold(frames))
    for k in range(6):
        a = k * 60
        px, py = 64 + 9 * math.cos(math.radians(a)), 36 + 9 * math.sin(math.radians(a))
        flower.add(Node(pivot=(px, py), rotate=a + 90).add(ellipse((px, py), (11, 15), petal, INK, 2)))
    flower.add(ellipse((64, 36), (10, 10), centre, INK, 2))
    plant.add(flower)
    scene.add(plant)
    scene.add(ellipse((64, 90), (40, 7), soil, INK, 2))
    scene.add(shape(bez([(41, 94), (87, 94), (80, 119, (0, 0), (0, 0)), (48, 119)], closed=True), terracotta, INK,
                    OUTLINE))
    scene.add(rect((64, 93), (52, 10), 3, rim, INK, OUTLINE))
    face = Node()
    blink = blink_keys(frames, 70, (100, 12))
    face.add(eye(56, 104, blink, (5, 6), False), eye(72, 104, blink, (5, 6), False))
    face.add(line([(60, 109), (64, 111.5), (68, 109)], INK, 1.8, curve=True))
    face.add(ellipse((51, 109), (6, 3.5), PINK, opacity=70), ellipse((77, 109), (6, 3.5), PINK, opacity=70))
    scene.add(face)
    return document(scene, frames, FPS, name="plant_growing")


def all_animations():
    return {
        ("Dog", "dog_sitting"): dog_sitting(),
        ("Rabbit", "rabbit_sitting"): rabbit_sitting(),
        ("Robot", "robot_idle"): robot_idle(),
        ("Alien", "alien_floating"): alien_floating(),
        ("Plant", "plant_growing"): plant_growing(),
    }
