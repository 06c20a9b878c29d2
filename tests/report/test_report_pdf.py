#!/usr/bin/env python3
"""The design report as paper: drxwizard-cli writes the page, a real browser (Debian's
chromium, headless) prints it to PDF, and pdftotext reads the PDF back. The text must hold
the array's weight, the array angle at all eight pins and every listening distance, in the
display units, exactly as the tool's JSON report gives them.

usage: test_report_pdf.py PATH/TO/drxwizard-cli [unittest options]
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

TOOL = None


def fixed(value, decimals):
    text = "%.*f" % (decimals, value)
    return text[1:] if text.startswith("-") and float(text) == 0 else text


class ReportOnPaper(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="drx-report-pdf-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def design_and_page(self, *options):
        page = self.path("report.html")
        run = subprocess.run([TOOL, "--seed", "3", "--set", "Model_DRXR1=6", *options,
                              "--report-html", page, "--report"],
                             capture_output=True, text=True, timeout=120)
        self.assertEqual(run.returncode, 0, run.stderr)
        return json.loads(run.stdout), page

    def print_to_text(self, page):
        browser = shutil.which("chromium")
        self.assertIsNotNone(browser, "chromium is missing (scripts/setup.sh installs it)")
        self.assertIsNotNone(shutil.which("pdftotext"), "pdftotext is missing (poppler-utils)")
        pdf = self.path("report.pdf")
        profile = self.path("profile")
        env = dict(os.environ, HOME=self.dir)
        subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                        "--disable-background-networking", "--disable-component-update", "--disable-sync",
                        "--user-data-dir=" + profile, "--no-pdf-header-footer",
                        "--print-to-pdf=" + pdf, "file://" + page],
                       capture_output=True, timeout=120, env=env, check=False)
        self.assertTrue(os.path.getsize(pdf) > 1000, "the browser printed no PDF")
        with open(pdf, "rb") as f:
            self.assertEqual(f.read(5), b"%PDF-")
        text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True,
                              timeout=60, check=True).stdout
        return text

    def check_paper_holds_the_design(self, report, text):
        length = "ft" if report["units"]["length"] == "Feet" else "m"
        weight = "lb" if report["units"]["weight"] == "Pounds" else "kg"
        array = report["array"]
        self.assertIn(fixed(array["weight"]["display"], 1) + " " + weight, text)
        pins = [p["angle"] for p in array["pinAngles"]]
        self.assertEqual(len(pins), 8)
        pin_row = next((line for line in text.splitlines() if line.strip().startswith("Array angle")
                        and line.count("°") >= 8), "")
        for pin, angle in enumerate(pins, 1):
            self.assertIn(fixed(angle, 1) + "°", pin_row, "pin %d" % pin)
        distances = [p["listeningDistance"]["display"] for p in array["positions"]
                     if p["model"] == "Model_DRXR1"]
        self.assertEqual(len(distances), 6)
        for distance in distances:
            self.assertIn(fixed(distance, 2) + " " + length, text)
        for name in ("Floor", "Rake", "Balcony1"):
            self.assertIn(name, text)

    def test_us_units_on_paper(self):
        report, page = self.design_and_page()
        self.assertEqual(report["units"]["length"], "Feet")
        self.check_paper_holds_the_design(report, self.print_to_text(page))

    def test_si_units_on_paper(self):
        report, page = self.design_and_page("--set", "Meters=1")
        self.assertEqual(report["units"]["length"], "Meters")
        text = self.print_to_text(page)
        self.check_paper_holds_the_design(report, text)
        self.assertNotIn(" ft", text)


if __name__ == "__main__":
    TOOL = os.path.abspath(sys.argv.pop(1))
    unittest.main()
