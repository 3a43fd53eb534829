#!/usr/bin/env python3
"""The modern page checked by the real tools.

    python3 tests/page/page_checks.py SITORVA SOURCE_DIR

- The Nu HTML checker (vnu.jar on Debian's Java) finds no error in the modern pages of every
  section kind and option (the raw HTML sections hold valid code of their own).
- Headless Chromium shows the classic and the modern page of each project with the same
  words, in the same order.
- Lighthouse (mobile, Debian's Chromium) gives the sample's modern page 100 in accessibility,
  best practices and SEO; its performance score is printed (make bench-page measures it).

The checker and Lighthouse are the versions locked in tools/page-checks (make page-checks).
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                                "page-checks"))
import page_projects as pp  # noqa: E402

SITORVA = SOURCE = CHECKS = None


def generate(prog, project, page, style, preview=False):
    argv = [os.path.join(prog, "sitorva"), "--generate", project, "--output", page,
            "--style", style] + (["--preview"] if preview else [])
    env = dict(os.environ, SOURCE_DATE_EPOCH="1796652309", TZ="UTC", LC_ALL="C.UTF-8")
    done = subprocess.run(argv, capture_output=True, text=True, env=env, timeout=60)
    if done.returncode != 0:
        raise AssertionError(f"{' '.join(argv)} failed: {done.stderr}")


class PageChecks(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        for need in (os.path.join(CHECKS, "node_modules", ".installed"), "/usr/bin/chromium"):
            if not os.path.exists(need):
                raise unittest.SkipTest(f"{need} is missing: run make page-checks")
        cls.root = tempfile.mkdtemp(prefix="stvpage")
        cls.pages = []  # (classic, modern) page pairs
        for variant in pp.VARIANTS:
            folder = os.path.join(cls.root, variant.name)
            prog = pp.write_program_folder(os.path.join(folder, "prog"), SITORVA, variant)
            project = pp.write_project(folder, variant)
            for preview in (False, True):
                pair = []
                for style in ("classic", "modern"):
                    page = os.path.join(folder, "site" + ("-preview" if preview else ""),
                                        f"{style}.html")
                    os.makedirs(os.path.dirname(page), exist_ok=True)
                    generate(prog, project, page, style, preview)
                    pair.append(page)
                cls.pages.append(tuple(pair))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def test_checker_finds_no_error_in_modern_pages(self):
        jar = os.path.join(CHECKS, "node_modules", "vnu-jar", "build", "dist", "vnu.jar")
        modern = [m for _, m in self.pages]
        done = subprocess.run(["java", "-jar", jar, "--format", "json", "--exit-zero-always"]
                              + modern, capture_output=True, text=True, timeout=300)
        messages = json.loads(done.stderr or '{"messages": []}')["messages"]
        errors = [m for m in messages if m.get("type") == "error"
                  or m.get("subType") == "fatal"]
        report = "\n".join(f"{os.path.relpath(m.get('url', '')[7:], self.root)}:"
                           f"{m.get('lastLine')}: {m.get('message')} [{m.get('extract', '')}]"
                           for m in errors)
        print(f"vnu: {len(modern)} modern pages, {len(errors)} errors", file=sys.stderr)
        self.assertEqual(errors, [], "\n" + report)

    def test_classic_and_modern_pages_show_the_same_words(self):
        script = os.path.join(SOURCE, "tools", "page-checks", "visible_text.mjs")
        files = [p for pair in self.pages for p in pair]
        done = subprocess.run(["node", script] + files, capture_output=True, text=True,
                              timeout=600, cwd=CHECKS)
        self.assertEqual(done.returncode, 0, done.stderr)
        texts = json.loads(done.stdout)
        for classic, modern in self.pages:
            with self.subTest(page=os.path.relpath(modern, self.root)):
                words_classic = texts[classic].split()
                words_modern = texts[modern].split()
                self.assertGreater(len(words_modern), 5)
                self.assertEqual(words_classic, words_modern)

    def test_lighthouse_scores_the_sample_modern_page(self):
        scores = pp.lighthouse_scores(SITORVA, self.root, "modern", CHECKS)
        failed = scores.pop("failed")
        print("lighthouse (mobile) sample modern page: " + ", ".join(
            f"{k} {v}" for k, v in scores.items()), file=sys.stderr)
        for category in ("accessibility", "best-practices", "seo"):
            self.assertEqual(scores[category], 100, f"{category}; failed: {failed}")


if __name__ == "__main__":
    SITORVA, SOURCE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    CHECKS = os.path.join(SOURCE, "tools", "page-checks")
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
