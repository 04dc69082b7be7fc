"""A small kit for writing Lottie documents by hand: nodes with keyframed transforms,
ellipses, rounded rectangles and bezier paths with fills and strokes.

Everything lands in shape groups inside one shape layer, the subset that every Lottie
player (rlottie among them) renders the same way. A node's transform turns around its
pivot, so a limb is drawn where it rests and swings from its joint.
"""
import json

# Easing curves, as (out tangent of a key, in tangent of the next key).
EASES = {
    "lin": ((0.0, 0.0), (1.0, 1.0)),
    "io": ((0.42, 0.0), (0.58, 1.0)),
    "in": ((0.42, 0.0), (1.0, 1.0)),
    "out": ((0.0, 0.0), (0.58, 1.0)),
    "back": ((0.34, 0.0), (0.5, 1.45)),  # overshoots, then settles
    "soft": ((0.3, 0.0), (0.7, 1.0)),
}


def _r(v):
    """Rounds for a compact file; whole numbers lose their decimals."""
    if isinstance(v, (list, tuple)):
        return [_r(x) for x in v]
    if isinstance(v, dict):
        return {k: _r(x) for k, x in v.items()}
    if isinstance(v, float):
        v = round(v, 2)
        return int(v) if v == int(v) else v
    return v


def _vec(v):
    return list(v) if isinstance(v, (list, tuple)) else [v]


def prop(value, dims=None):
    """A property: a constant, or a list of keys (frame, value[, ease]) where the ease
    shapes the way from this key to the next; 'hold' jumps at the next key."""
    if isinstance(value, Keys):
        value = value._shifted()
    if isinstance(value, list) and value and isinstance(value[0], tuple) and len(value[0]) >= 2 \
            and isinstance(value[0][0], (int, float)) and _is_key(value[0]):
        keys = sorted(value, key=lambda k: k[0])
        out = []
        for n, key in enumerate(keys):
            frame, val = key[0], key[1]
            ease = key[2] if len(key) > 2 else "io"
            entry = {"t": frame, "s": _shape_or_vec(val)}
            if n < len(keys) - 1:
                if ease == "hold":
                    entry["h"] = 1
                else:
                    (ox, oy), (ix, iy) = EASES[ease]
                    entry["o"] = {"x": [ox], "y": [oy]}
                    entry["i"] = {"x": [ix], "y": [iy]}
            out.append(entry)
        return {"a": 1, "k": out}
    return {"a": 0, "k": value if isinstance(value, dict) else _vec(value) if dims != 1 else value}


def _is_key(k):
    return len(k) in (2, 3) and (len(k) == 2 or isinstance(k[2], str))


def _shape_or_vec(v):
    return [v] if isinstance(v, dict) else _vec(v)


class Keys:
    """Collects keys for one property in time order: Keys(v0).to(12, v1).hold(30)..."""

    def __init__(self, start_value, start=0):
        self.keys = [(start, start_value, "io")]

    def to(self, frame, value, ease="io"):
        if frame <= self.keys[-1][0]:
            raise ValueError(f"key at frame {frame} does not come after frame {self.keys[-1][0]}")
        self.keys.append((frame, value, ease))
        return self

    def hold(self, frame):
        """Keeps the last value until frame (nothing to do if that is not later)."""
        if frame <= self.keys[-1][0]:
            return self
        return self.to(frame, self.keys[-1][1])

    def ease_last(self, ease):
        """Sets how the way from the latest key to the next one is shaped."""
        f, v, _ = self.keys[-1]
        self.keys[-1] = (f, v, ease)
        return self

    def wiggle(self, start, end, period, a, b, ease="io"):
        """Alternates between a and b every half period from start to end, ending on the
        value held before."""
        rest = self.keys[-1][1]
        self.hold(start)
        f = start
        flip = True
        while f + period / 2 < end:
            f += period / 2
            self.to(f, a if flip else b, ease)
            flip = not flip
        self.to(end, rest, ease)
        return self

    def swing(self, start, end, period, amplitude):
        """A sine-like sway about the value held before, from start to end: out to
        +amplitude, back, out to -amplitude, back. The speed is continuous where it
        crosses the middle; (end - start) should be whole periods."""
        base = self.keys[-1][1]
        self.hold(start)
        quarter = period / 4
        steps = ((1, "out"), (0, "in"), (-1, "out"), (0, "in"))
        f, k = start, 0
        while f + quarter <= end + 1e-9:
            f += quarter
            sign, ease = steps[k % 4]
            self.to(f, _offset(base, sign * amplitude), ease)
            k += 1
        return self.hold(end) if self.keys[-1][1] == base else self.to(end, base)

    def _shifted(self):
        # Each key's ease describes the way *into* the next key in the builder, but the
        # file stores it on the key it starts from.
        out = []
        for n, (f, v, _) in enumerate(self.keys):
            nxt = self.keys[n + 1][2] if n + 1 < len(self.keys) else "io"
            out.append((f, v, nxt))
        return out


def _offset(value, by):
    if isinstance(value, (list, tuple)):
        return [v + by for v in value]
    return value + by


def _keys_of(value):
    if isinstance(value, Keys):
        return value._shifted()
    return value


def color(hex_rgb, alpha=1.0):
    hex_rgb = hex_rgb.lstrip("#")
    return [int(hex_rgb[i:i + 2], 16) / 255 for i in (0, 2, 4)] + [alpha]


# ---- shapes ---------------------------------------------------------------------------

def fill(c, opacity=100):
    return {"ty": "fl", "c": prop(_keys_of(c)), "o": prop(_keys_of(opacity), 1)}


def stroke(c, width, opacity=100, cap=2, join=2):
    return {"ty": "st", "c": prop(_keys_of(c)), "o": prop(_keys_of(opacity), 1),
            "w": prop(_keys_of(width), 1), "lc": cap, "lj": join}


def ellipse_geo(center, size):
    return {"ty": "el", "d": 1, "p": prop(_keys_of(center)), "s": prop(_keys_of(size))}


def rect_geo(center, size, radius=0):
    return {"ty": "rc", "d": 1, "p": prop(_keys_of(center)), "s": prop(_keys_of(size)),
            "r": prop(_keys_of(radius), 1)}


def bez(points, closed=False):
    """A bezier path from (x, y) or (x, y, (in_dx, in_dy), (out_dx, out_dy)) points."""
    v, i, o = [], [], []
    for p in points:
        v.append([p[0], p[1]])
        i.append(list(p[2]) if len(p) > 2 else [0, 0])
        o.append(list(p[3]) if len(p) > 3 else [0, 0])
    return {"c": closed, "v": v, "i": i, "o": o}


def smooth(points, closed=False, tension=0.33):
    """A bezier path through the points with handles along the neighbours' chord."""
    n = len(points)
    out = []
    for k, (x, y) in enumerate(points):
        if closed:
            px, py = points[(k - 1) % n]
            nx, ny = points[(k + 1) % n]
        else:
            px, py = points[max(k - 1, 0)]
            nx, ny = points[min(k + 1, n - 1)]
        dx, dy = (nx - px) * tension / 2, (ny - py) * tension / 2
        if not closed and k in (0, n - 1):
            dx, dy = dx * 0.5, dy * 0.5
        out.append((x, y, (-dx, -dy), (dx, dy)))
    return bez(out, closed)


def path_geo(path):
    """path: a bez() dict, or keys of such dicts for a morph."""
    return {"ty": "sh", "ks": prop(_keys_of(path))}


# ---- nodes ----------------------------------------------------------------------------

class Node:
    """A group with a transform about its pivot. Children are added back to front."""

    def __init__(self, pivot=(0, 0), move=None, rotate=None, scale=None, opacity=None):
        self.pivot = pivot
        self.move = move
        self.rotate = rotate
        self.scale = scale
        self.opacity = opacity
        self.items = []  # back to front

    def add(self, *items):
        for item in items:
            if item is not None:
                self.items.append(item)
        return self

    def _position(self):
        px, py = self.pivot
        keys = _keys_of(self.move)
        if keys is None:
            return prop([px, py])
        if isinstance(keys, list) and keys and isinstance(keys[0], tuple):
            return prop([(k[0], [px + k[1][0], py + k[1][1]]) + tuple(k[2:]) for k in keys])
        return prop([px + keys[0], py + keys[1]])

    def compile(self):
        it = []
        for item in reversed(self.items):  # the file lists the topmost first
            if isinstance(item, Node):
                it.append(item.compile())
            elif isinstance(item, list):
                it.extend(item)
            else:
                it.append(item)
        it.append({
            "ty": "tr",
            "p": self._position(),
            "a": prop(list(self.pivot)),
            "s": prop(_keys_of(self.scale) if self.scale is not None else [100, 100]),
            "r": prop(_keys_of(self.rotate) if self.rotate is not None else 0, 1),
            "o": prop(_keys_of(self.opacity) if self.opacity is not None else 100, 1),
        })
        return {"ty": "gr", "it": it}


def painted(geos, fill_color=None, line=None, width=2.5, opacity=None, line_opacity=100):
    """Geometry with a fill below an outline, as one group item list."""
    geos = geos if isinstance(geos, list) else [geos]
    items = list(geos)
    if line is not None:
        items.append(stroke(line, width, line_opacity))
    if fill_color is not None:
        items.append(fill(fill_color, 100 if opacity is None else opacity))
    node = Node()
    node.items = list(reversed(items))  # Node.compile reverses again
    return node


def ellipse(center, size, fill_color=None, line=None, width=2.5, opacity=None):
    return painted(ellipse_geo(center, size), fill_color, line, width, opacity)


def rect(center, size, radius, fill_color=None, line=None, width=2.5, opacity=None):
    return painted(rect_geo(center, size, radius), fill_color, line, width, opacity)


def shape(path, fill_color=None, line=None, width=2.5, opacity=None):
    return painted(path_geo(path), fill_color, line, width, opacity)


def line(points, c, width, opacity=100, curve=False):
    geo = path_geo(smooth(points) if curve else bez(points))
    return painted(geo, None, c, width, line_opacity=opacity)


# ---- documents -------------------------------------------------------------------------

def document(root, frames, fps=30, size=128, name="anim"):
    layer = {
        "ddd": 0, "ind": 1, "ty": 4, "nm": name, "sr": 1,
        "ks": {"o": prop(100, 1), "r": prop(0, 1), "p": prop([0, 0, 0]), "a": prop([0, 0, 0]),
               "s": prop([100, 100, 100])},
        "ao": 0, "shapes": [root.compile()], "ip": 0, "op": frames, "st": 0, "bm": 0,
    }
    return {"v": "5.7.4", "fr": fps, "ip": 0, "op": frames, "w": size, "h": size, "nm": name,
            "ddd": 0, "assets": [], "layers": [layer]}


def dumps(doc):
    return json.dumps(_r(doc), separators=(",", ":"), ensure_ascii=True)

