#!/bin/sh
# Renders every animation into two contact sheets (light and dark background) per file,
# for looking at the drawings: preview_animations.sh BUILD_DIR OUT_DIR [EVERY] [ANIMATION_DIR]
set -eu
build=${1:?build directory}
out=${2:?output directory}
every=${3:-6}
here=$(cd "$(dirname "$0")/.." && pwd)
anims=${4:-$here/resources/Resources/LottieAnimations}
render="$build/tools/tamsel_render_frames"
mkdir -p "$out"
for file in "$anims"/*/*.json; do
    name=$(basename "$file" .json)
    frames="$out/frames/$name"
    rm -rf "$frames"
    "$render" "$file" "$frames" "$every" 128
    for bg in light dark; do
        colour='#f2efe9'
        [ "$bg" = dark ] && colour='#2b2d33'
        montage "$frames"/frame_*.png -background "$colour" -fill gray50 -label '%t' -pointsize 9 \
            -geometry 128x128+4+4 -tile 8x "$out/${name}_$bg.png"
    done
done
echo "contact sheets in $out"
