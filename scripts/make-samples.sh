#!/usr/bin/env bash
# Builds the command-line tool and remakes the sample designs in data/samples with it: a club,
# a theatre with a balcony and a ballroom, each as a design (.21w) and as its venue (.21v).
# Lengths are in feet, x measured from the stage's front edge; the stage length is set by
# moving its end (eX) from the default 20 ft.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh" drxwizard-cli
cli="${DRX_BUILD_DIR:-$here/build}/bin/drxwizard-cli"
out="$here/data/samples"
mkdir -p "$out"

area() { # slot KEY=VALUE...
    local slot=$1 kv
    shift
    for kv in "$@"; do printf -- '--area\n%s:%s\n' "$slot" "$kv"; done
}
sample() { # name, then the options
    local name=$1
    shift
    "$cli" --seed 1 "$@" --save-array "$out/$name.21w" --save-venue "$out/$name.21v"
}

# A low 16 ft stage, a flat dance floor, a riser at the back and a mezzanine over the bar.
mapfile -t club < <(area 2 eX=-4 sY=2 eY=2; area 1 sX=-1 sY=13;
    area 3 sX=0 sY=0 LAngle=0 LDist=40; area 4 sX=40 sY=1.5 LAngle=0 LDist=10;
    area 5 sX=30 sY=9 LAngle=0 LDist=20)
sample club --set Model_DRXS1=1 --set Model_DRXR1=3 --set SlotPin=4 "${club[@]}"

# A raised 26 ft stage, gently raked stalls, stepped seating at the back and a balcony.
mapfile -t theatre < <(area 2 eX=6 sY=3.5 eY=3.5; area 1 sX=-2 sY=30;
    area 3 sX=0 sY=0 LAngle=3 LDist=48; area 4 sX=48 sY=2.5 LAngle=14 LDist=22;
    area 5 sX=34 sY=16 LAngle=18 LDist=32)
sample theatre --set Model_DRXS1=0 --set Model_DRXR1=6 --set SlotPin=5 "${theatre[@]}"

# A long flat floor, a raised platform at the far end and a gallery along the back.
mapfile -t ballroom < <(area 2 eX=2 sY=2.5 eY=2.5; area 1 sX=-1 sY=22;
    area 3 sX=0 sY=0 LAngle=0 LDist=66; area 4 sX=66 sY=1 LAngle=0 LDist=16;
    area 5 sX=56 sY=13 LAngle=0 LDist=26)
sample ballroom --set Model_DRXS1=2 --set Model_DRXR1=4 --set SlotPin=7 "${ballroom[@]}"
