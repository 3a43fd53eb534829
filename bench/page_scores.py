#!/usr/bin/env python3
"""The four Lighthouse scores (mobile, Debian's Chromium) of the sample's page in both styles.

    python3 bench/page_scores.py [build/sitorva] [--runs N]

Lighthouse 12.2.3 comes from tools/page-checks (make page-checks). The sample's page is
generated with the sample's own lists, served from a loopback HTTP server and scored N times
(default 3); the median of each score is printed, with the audits that failed.
"""
import argparse
import os
import shutil
import statistics
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools", "page-checks"))
import page_projects as pp  # noqa: E402

CATEGORIES = ("performance", "accessibility", "best-practices", "seo")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("sitorva", nargs="?", default="build/sitorva")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    if not os.path.exists(os.path.join(pp.HERE, "node_modules", ".installed")):
        sys.exit("Lighthouse is not installed: run make page-checks")
    print("load average at start: " + " ".join(f"{x:.2f}" for x in os.getloadavg())
          + f" on {os.cpu_count()} cores")
    root = tempfile.mkdtemp(prefix="sitorva-scores-")
    try:
        for style in ("modern", "classic"):
            runs = [pp.lighthouse_scores(os.path.abspath(args.sitorva), root, style)
                    for _ in range(args.runs)]
            medians = {c: statistics.median(r[c] for r in runs) for c in CATEGORIES}
            print(f"{style:8} " + "  ".join(f"{c} {medians[c]:g}" for c in CATEGORIES)
                  + f"   (runs: {' '.join(str(r['performance']) for r in runs)} performance)")
            failed = sorted({a for r in runs for a in r["failed"]})
            for audit in failed:
                print(f"         failed: {audit}")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
