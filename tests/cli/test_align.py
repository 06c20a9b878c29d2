#!/usr/bin/env python3
"""End-to-end tests of drxwizard-cli's subwoofer alignment: the report's "alignment" object, the
saved design untouched by finding it, applying it, and the refusals.

usage: test_align.py PATH/TO/drxwizard-cli [unittest options]
"""

import math
import os
import sys
import unittest

from test_cli import ToolCase

# The fixed design: flybar, one subwoofer (position 2), five full-range modules (3 ... 7).
DESIGN = ["--seed", "1", "--set", "Model_DRXS1=1", "--set", "Model_DRXR1=5"]
SUBWOOFER = 2
POINT = "60,5"
CROSSOVER_LABELS = ["63", "80", "100", "125", "160"]


def power_sum(levels):
    return 10.0 * math.log10(sum(10.0 ** (level / 10.0) for level in levels))


class AlignCliTest(ToolCase):
    def path(self, name):
        return os.path.join(self.work, name)

    def saved(self, *args):
        status, out, err = self.run_tool(*args)
        self.assertEqual((status, err), (0, ""), out)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    # ------------------------------------------------------------------------------------
    def test_alignment_holds_the_point_the_delay_the_levels_and_every_source(self):
        report = self.report(*(DESIGN + ["--align-subs", POINT, "--probe", POINT]))
        alignment = report["alignment"]
        self.assertEqual(list(alignment.keys()),
                         ["x_in", "y_in", "delay_ms", "polarity", "before_db", "after_db", "delays"])
        probe = report["probes"][0]
        self.assertEqual((alignment["x_in"], alignment["y_in"]), (probe["x_in"], probe["y_in"]))

        delta = alignment["delay_ms"]
        self.assertTrue(-20.0 <= delta <= 20.0)
        self.assertAlmostEqual(delta * 100.0, round(delta * 100.0), places=6)
        self.assertIn(alignment["polarity"], ("normal", "inverted"))
        # Before is what the microphone reads over the crossover bands; no delay is one of the
        # candidates, so aligned is never lower.
        crossover = [b["db"] for b in probe["bands"] if b["label"] in CROSSOVER_LABELS]
        self.assertAlmostEqual(alignment["before_db"], power_sum(crossover), places=9)
        self.assertGreaterEqual(alignment["after_db"], alignment["before_db"])

        delays = alignment["delays"]
        self.assertEqual([d["position"] for d in delays], [s["position"] for s in probe["sources"]])
        for d in delays:
            self.assertEqual(list(d.keys()), ["position", "delay_ms", "polarity"])
            if d["position"] == SUBWOOFER:
                self.assertEqual((d["delay_ms"], d["polarity"]), (max(delta, 0.0), alignment["polarity"]))
            else:
                self.assertEqual((d["delay_ms"], d["polarity"]), (max(-delta, 0.0), "normal"))

    def test_finding_it_leaves_the_saved_design_as_it_was(self):
        self.saved(*(DESIGN + ["--save-array", "plain.21w"]))
        self.saved(*(DESIGN + ["--align-subs", POINT, "--report-html", "design.html", "--save-array", "tried.21w"]))
        self.assertEqual(self.read("plain.21w"), self.read("tried.21w"))
        page = self.read("design.html").decode("utf-8")
        self.assertIn("<h2>Subwoofer alignment</h2>", page)
        self.assertIn("At x 60.00 ft, y 5.00 ft.", page)

    def test_applying_sets_every_source_and_the_point_then_adds_up_as_found(self):
        found = self.report(*(DESIGN + ["--align-subs", POINT, "--apply-alignment", "--save-array", "aligned.21w"]))
        alignment = found["alignment"]
        self.saved(*(DESIGN + ["--save-array", "plain.21w"]))
        self.assertNotEqual(self.read("aligned.21w"), self.read("plain.21w"))
        # Aligned again at the same point: the design already stands at the best candidate.
        again = self.report(self.path("aligned.21w"), "--align-subs", POINT)["alignment"]
        self.assertAlmostEqual(again["before_db"], alignment["after_db"], places=9)
        self.assertAlmostEqual(again["after_db"], alignment["after_db"], places=9)
        self.assertEqual((again["delay_ms"], again["polarity"]), (alignment["delay_ms"], alignment["polarity"]))
        self.assertEqual(again["delays"], alignment["delays"])

    def test_nothing_to_align_without_a_subwoofer(self):
        no_sub = ["--seed", "1", "--set", "Model_DRXS1=0", "--set", "Model_DRXR1=4"]
        self.assertIsNone(self.report(*(no_sub + ["--align-subs", POINT]))["alignment"])
        self.saved(*(no_sub + ["--save-array", "plain.21w"]))
        status, out, err = self.run_tool(*(no_sub + ["--align-subs", POINT, "--apply-alignment",
                                                     "--save-array", "tried.21w"]))
        self.assertEqual(status, 1, out)
        self.assertIn("No subwoofer alignment to apply: there is no subwoofer", err)
        self.assertEqual(self.read("plain.21w"), self.read("tried.21w"))

    def test_usage_errors(self):
        cases = [
            (["--align-subs", "60"], "--align-subs 60: expected X,Y"),
            (["--align-subs", "60,5", "--align-subs", "30,5", "--report"], "--align-subs is given once"),
            (["--align-subs", "60,5"], "--align-subs adds to the report"),
            (["--apply-alignment", "--report"], "--apply-alignment applies the alignment found at --align-subs"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                status, out, err = self.run_tool(*args)
                self.assertEqual(status, 2)
                self.assertIn(message, err)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    ToolCase.tool = os.path.abspath(sys.argv.pop(1))
    unittest.main()
