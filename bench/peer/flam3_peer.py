#!/usr/bin/env python3
"""Times quillmere-render's density picture against flam3-render on the same systems.

Each pattern file (seven numbers a row: a b c d e f p, x' = a·x + b·y + e, y' = c·x + d·y + f)
becomes a flame of linear variations with the same maps, the same picture size, the same number
of points, supersample (oversample) 1 and no density estimation. First both programs draw every
pattern small and the script checks that the covered pixels agree; then it times the chosen
systems, the two programs in turn, and prints the medians and how many times flam3's points per
second Quillmere's are.

  bench/peer/flam3_peer.py --render build-release/bin/quillmere-render

Without flam3-render (Debian's flam3-utils) it says so and stops with status 0: it is a benchmark,
not a test.
"""

import argparse
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

# Pattern files and the names quillmere-render knows them by.
PATTERNS = {
    "Sierpinski": "Sierpinski", "ChristmasT": "Christmas Tree", "Dragon": "Dragon",
    "Cantor": "Cantor Maze", "Twig": "Twig", "Crystal4": "Crystal4", "Crystal5": "Crystal5",
    "Tree": "Tree", "Fern": "Fern", "Koch": "Koch", "SKoch": "Square Koch",
}
# Share of either picture's covered pixels that the other must cover within a pixel.
SHAPE_AGREEMENT = 0.9


def read_maps(path):
    rows = []
    with open(path) as f:
        for line in f:
            if line.strip():
                rows.append([float(v) for v in line.replace(",", " ").split()])
    return rows


def genome(name, rows, width, height, points):
    """A flame drawing `rows` where Quillmere draws them on a width × height picture.

    Quillmere puts the unit square's (x, y) at pixel (0.1·W + s·x, 0.9·H − s·y), s = 0.8·min(W, H)
    (the drawing square on a landscape picture; the left margin is a tenth of the width). flam3's
    rows grow downwards, so the maps are drawn in Y = −y: (a, −b, −c, d, e, −f). flam3 writes the
    affine map as coefs="a d b e c f" for x' = a·x + b·y + c, y' = d·x + e·y + f in its own
    letters, that is: our a, our c, our b, our d, our e, our f."""
    s = 0.8 * min(width, height)
    origin_x = 0.1 * width
    origin_y = 0.9 * height if width >= height else 0.1 * height + s
    center_x = (width / 2 - origin_x) / s
    center_y = (height / 2 - origin_y) / s
    xforms = []
    for a, b, c, d, e, f, p in rows:
        if p <= 0:
            continue
        a2, b2, c2, d2, e2, f2 = a, -b, -c, d, e, -f
        xforms.append(f'  <xform weight="{p!r}" color="0" linear="1" '
                      f'coefs="{a2!r} {c2!r} {b2!r} {d2!r} {e2!r} {f2!r}"/>')
    colours = "\n".join(f'  <color index="{i}" rgb="255 255 255"/>' for i in range(256))
    quality = points / (width * height)  # flam3 plays quality samples per pixel
    return (f'<flame name="{name}" size="{width} {height}" center="{center_x!r} {center_y!r}" '
            f'scale="{s!r}" supersample="1" oversample="1" filter="0.5" quality="{quality!r}" '
            f'background="0 0 0" brightness="4" gamma="4" estimator_radius="0">\n'
            + "\n".join(xforms) + "\n" + colours + "\n</flame>\n")


def read_bmp_covered(path):
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    bpp, = struct.unpack_from("<H", data, 28)
    step = bpp // 8
    stride = (width * step + 3) // 4 * 4
    covered = set()
    for row in range(abs(height)):
        y = abs(height) - 1 - row if height > 0 else row
        base = offset + row * stride
        for x in range(width):
            b, g, r = data[base + x * step:base + x * step + 3]
            if (r, g, b) != (255, 255, 255):
                covered.add((x, y))
    return width, abs(height), covered


def read_ppm_covered(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = data.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    pixels = fields[4]
    covered = set()
    for y in range(height):
        for x in range(width):
            i = 3 * (y * width + x)
            if pixels[i] or pixels[i + 1] or pixels[i + 2]:
                covered.add((x, y))
    return width, height, covered


def agreement(ours, theirs):
    """The share of `ours` with a pixel of `theirs` at most one pixel away."""
    if not ours:
        return 1.0 if not theirs else 0.0
    near = sum(1 for (x, y) in ours
               if any((x + dx, y + dy) in theirs for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    return near / len(ours)


def run_ours(render, pattern, size, points, threads, output):
    subprocess.run([render, "--pattern", pattern, "--mode", "chaos", "--shade", "density",
                    "--iterations", str(points), "--size", f"{size[0]}x{size[1]}",
                    "--threads", str(threads), "--output", output], check=True,
                   stdout=subprocess.DEVNULL)


def run_flam3(genome_path, threads, output, fmt="png"):
    env = dict(os.environ, out=output, format=fmt, nthreads=str(threads), verbose="0")
    with open(genome_path) as stdin:
        subprocess.run(["flam3-render"], stdin=stdin, env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def timed(action):
    start = time.perf_counter()
    action()
    return time.perf_counter() - start


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--render", default="build-release/bin/quillmere-render")
    parser.add_argument("--presets", default=os.path.join(here, "..", "..", "presets"))
    parser.add_argument("--size", default="1920x1080")
    parser.add_argument("--points", type=int, default=207_360_000)  # 100 a pixel at 1920×1080
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--threads", default="1,2")
    parser.add_argument("--systems", default="Fern", help="pattern files to time, by comma")
    parser.add_argument("--skip-shapes", action="store_true")
    args = parser.parse_args()

    if shutil.which("flam3-render") is None:
        print("flam3-render is not installed (Debian: apt-get install flam3-utils); "
              "the peer benchmark is skipped.")
        return 0
    if not os.access(args.render, os.X_OK):
        print(f"{args.render}: no quillmere-render there; build it or give --render.",
              file=sys.stderr)
        return 2
    size = tuple(int(v) for v in args.size.lower().split("x"))
    work = tempfile.mkdtemp(prefix="quillmere-peer-")
    try:
        genomes = {}
        for stem in PATTERNS:
            rows = read_maps(os.path.join(args.presets, stem + ".dat"))
            genomes[stem] = rows

        shapes_ok = True
        if not args.skip_shapes:
            small = (480, 270)
            print(f"Shapes at {small[0]}x{small[1]}, 2·10^6 points (share of each picture's "
                  f"pixels the other covers within a pixel):")
            for stem, rows in genomes.items():
                path = os.path.join(work, stem + "-small.flam3")
                with open(path, "w") as f:
                    f.write(genome(stem, rows, small[0], small[1], 2_000_000))
                ours_path = os.path.join(work, stem + "-ours.bmp")
                theirs_path = os.path.join(work, stem + "-flam3.ppm")
                run_ours(args.render, PATTERNS[stem], small, 2_000_000, 1, ours_path)
                run_flam3(path, 1, theirs_path, "ppm")
                _, _, ours = read_bmp_covered(ours_path)
                _, _, theirs = read_ppm_covered(theirs_path)
                a, b = agreement(ours, theirs), agreement(theirs, ours)
                match = min(a, b) >= SHAPE_AGREEMENT
                shapes_ok &= match
                print(f"  {PATTERNS[stem]:15} ours in flam3's {a:6.1%}   flam3's in ours {b:6.1%}"
                      f"   {'match' if match else 'DIFFER'}")

        threads = [int(t) for t in args.threads.split(",")]
        print(f"\nTimes at {size[0]}x{size[1]}, {args.points} points, medians of {args.runs} "
              f"interleaved runs (load {os.getloadavg()[0]:.1f}):")
        print(f"  {'system':15} {'threads':>7} {'Quillmere s':>12} {'flam3 s':>9} "
              f"{'ratio':>7}")
        for stem in args.systems.split(","):
            path = os.path.join(work, stem + ".flam3")
            with open(path, "w") as f:
                f.write(genome(stem, genomes[stem], size[0], size[1], args.points))
            times = {(t, who): [] for t in threads for who in ("ours", "flam3")}
            for _ in range(args.runs):
                for t in threads:
                    times[(t, "ours")].append(timed(lambda: run_ours(
                        args.render, PATTERNS[stem], size, args.points, t,
                        os.path.join(work, "ours.png"))))
                    times[(t, "flam3")].append(timed(lambda: run_flam3(
                        path, t, os.path.join(work, "flam3.png"))))
            for t in threads:
                ours = statistics.median(times[(t, "ours")])
                theirs = statistics.median(times[(t, "flam3")])
                print(f"  {PATTERNS[stem]:15} {t:>7} {ours:>12.2f} {theirs:>9.2f} "
                      f"{theirs / ours:>6.1f}x")
        print(f"(load now {os.getloadavg()[0]:.1f}; ratio: Quillmere's points per second over "
              f"flam3's)")
        return 0 if shapes_ok else 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
