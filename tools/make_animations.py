#!/usr/bin/env python3
"""Writes the pet's Lottie animations (our own drawings) as compact JSON.

Usage: tools/make_animations.py [OUTPUT_DIR]
  (default: resources/Resources/LottieAnimations, one folder per species)

The drawings live in tools/animations/: lottie_kit.py is the small Lottie writer,
cat.py the cat and its rig, cat_animations.py its eight animations, critters.py the
other species. Run it again after changing a drawing; the output is committed.
Look at the result with tools/preview_animations.sh.
"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "animations"))

import cat_animations  # noqa: E402
import critters  # noqa: E402
from lottie_kit import dumps  # noqa: E402

MAX_BYTES = 60 * 1024


def main():
    root = Path(__file__).resolve().parent.parent
    out_dir = Path(sys.argv[1]) if len(sys.argv) > 1 else root / "resources/Resources/LottieAnimations"
    made = {}
    made.update({("Cat", name): doc for name, doc in cat_animations.all_animations().items()})
    made.update({(species, name): doc for (species, name), doc in critters.all_animations().items()})
    failed = False
    for (species, name), doc in sorted(made.items()):
        text = dumps(doc)
        target = out_dir / species / f"{name}.json"
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_text(text + "\n", encoding="ascii")
        size = len(text) + 1
        note = "" if size < MAX_BYTES else "  TOO LARGE"
        failed |= size >= MAX_BYTES
        print(f"{species}/{name}.json  {size / 1024:.1f} KB  {doc['op']} frames @ {doc['fr']} fps{note}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
