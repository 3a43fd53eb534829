#!/usr/bin/env python3
"""Pictures made ready for the web, against vipsthumbnail, whole processes timed.

    python3 bench/pictures_vs_vipsthumbnail.py [build/sitorva] [--count 12] [--rounds 3]

Makes COUNT camera photos of 4000 x 3000 pixels (ImageMagick, noise over colour, quality 92,
with EXIF orientation 6, camera and GPS tags written by exiftool; kept in
build/bench-photos/ for the next run) and then, round after round:

    vipsthumbnail -s 1600 PHOTO... (one process, the photos one after another)
    sitorva --generate PAGE.stv --style modern   (a page of COUNT image sections), first
        with no pictures made yet, then again with them made (the second Create Web Page)
    cp PHOTO... (what the classic style does: the originals copied beside the page)

Before the modern page style exists, make_web_pictures (beside sitorva) stands in for
sitorva: the same pictures made through the same cache, without the page.

Prints the medians, the ratio to vipsthumbnail (the aim: at most 2), the largest resident
memory for one photo (GNU time), and the bytes before and after.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SEP = "\xa0"
CRLF = "\r\n"


def run(args, **kwargs):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, **kwargs)


def make_photos(folder, count):
    os.makedirs(folder, exist_ok=True)
    photos = []
    for i in range(count):
        path = os.path.join(folder, "photo%02d.jpg" % i)
        photos.append(path)
        if os.path.exists(path):
            continue
        print("making", path, file=sys.stderr)
        tmp = path + ".tmp.jpg"
        hue = (i * 37) % 360
        run(["convert", "-size", "2000x3000", "xc:hsl(%d,60%%,50%%)" % hue, "-size",
             "2000x3000", "xc:hsl(%d,60%%,30%%)" % ((hue + 120) % 360), "+append",
             "-attenuate", "0.6", "+noise", "Gaussian", "-quality", "92", tmp])
        run(["exiftool", "-q", "-overwrite_original", "-Orientation#=6", "-Make=Sitorvacam",
             "-Model=T%d" % i, "-GPSLatitude=48.8584", "-GPSLatitudeRef=N",
             "-GPSLongitude=2.2945", "-GPSLongitudeRef=E", tmp])
        os.rename(tmp, path)
    return photos


def record(*fields):
    return SEP + "".join(f + SEP for f in fields)


def write_project(path, photos):
    header = ["", "", "", "", "", "", "1", "", "16777215", "Photos"]
    lines = header + [record("Image", "Photo", p, "", "", "", "A photo", "0", "", "0", "1",
                             "1", "0") for p in photos]
    with open(path, "wb") as f:
        f.write((CRLF.join(lines) + CRLF).encode("cp1252"))


def timed(args, env=None):
    start = time.perf_counter()
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, env=env)
    return time.perf_counter() - start


def peak_kib(args):
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + args, check=True,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return int(out.stderr.strip().splitlines()[-1])


def folder_bytes(folder):
    return sum(os.path.getsize(os.path.join(folder, n)) for n in os.listdir(folder)
               if n.endswith(".jpg"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("sitorva", nargs="?", default="build/sitorva")
    parser.add_argument("--count", type=int, default=12)
    parser.add_argument("--rounds", type=int, default=3)
    opts = parser.parse_args()
    build = os.path.dirname(os.path.abspath(opts.sitorva))
    photos = make_photos(os.path.join(build, "bench-photos"), opts.count)
    modern = "--style" in subprocess.run([opts.sitorva, "--help"], capture_output=True,
                                         text=True).stdout
    work = tempfile.mkdtemp(prefix="stv-pictures-")
    cache = os.path.join(build, "WebPictures")  # the program folder's, when it is build/
    try:
        page = os.path.join(work, "page")
        thumbs = os.path.join(work, "thumbs")
        copies = os.path.join(work, "copies")
        project = os.path.join(work, "photos.stv")
        write_project(project, photos)
        if modern:
            ours = [opts.sitorva, "--generate", project, "--style", "modern", "--output",
                    os.path.join(page, "index.html")]
            ours_one = None
        else:
            ours = [os.path.join(build, "make_web_pictures"), cache, page] + photos
            ours_one = [os.path.join(build, "make_web_pictures"), cache, page, photos[0]]
        vips = ["vipsthumbnail", "-s", "1600", "-o", os.path.join(thumbs, "%s.jpg")] + photos
        copy = ["cp"] + photos + [copies]
        times = {"vipsthumbnail": [], "sitorva, first": [], "sitorva, again": [], "cp": []}
        for _ in range(opts.rounds):
            for folder in (page, thumbs, copies):
                shutil.rmtree(folder, ignore_errors=True)
                os.makedirs(folder)
            shutil.rmtree(cache, ignore_errors=True)
            times["vipsthumbnail"].append(timed(vips))
            times["sitorva, first"].append(timed(ours))
            times["sitorva, again"].append(timed(ours))
            times["cp"].append(timed(copy))
        medians = {k: statistics.median(v) for k, v in times.items()}
        what = "sitorva --generate --style modern" if modern else "make_web_pictures"
        print("%d photos of 4000 x 3000, %s, median of %d rounds" % (len(photos), what,
                                                                     opts.rounds))
        for name, seconds in medians.items():
            print("  %-16s %7.2f s  %5.2f x vipsthumbnail" % (
                name, seconds, seconds / medians["vipsthumbnail"]))

        shutil.rmtree(cache, ignore_errors=True)
        one_page = os.path.join(work, "one")
        os.makedirs(one_page)
        if ours_one is None:
            one_project = os.path.join(work, "one.stv")
            write_project(one_project, photos[:1])
            ours_one = [opts.sitorva, "--generate", one_project, "--style", "modern",
                        "--output", os.path.join(one_page, "index.html")]
        else:
            ours_one[2] = one_page
        print("peak memory for one photo: sitorva %d MiB, vipsthumbnail %d MiB" % (
            peak_kib(ours_one) // 1024,
            peak_kib(["vipsthumbnail", "-s", "1600", "-o", os.path.join(one_page, "t%s.jpg"),
                      photos[0]]) // 1024))
        before = sum(os.path.getsize(p) for p in photos)
        print("bytes: originals %.1f MB, sitorva %.1f MB, vipsthumbnail %.1f MB" % (
            before / 1e6, folder_bytes(page) / 1e6, folder_bytes(thumbs) / 1e6))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
