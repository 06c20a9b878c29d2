#!/usr/bin/env python3
"""The sample designs shipped with the wizard: each loads without a message through the
command-line tool, holds the array and the room it is named for, gets levels on every
audience surface, and its venue file holds the same room as its design file.

usage: test_samples.py PATH/TO/drxwizard-cli PATH/TO/samples [unittest options]
"""

import json
import os
import subprocess
import sys
import tempfile
import unittest

TOOL = None
SAMPLES = None

FOOT = 12.0

# name: subwoofers, full-range modules, pick pin, and per audience surface (floor, rake,
# balcony) its start height in feet, angle in degrees and length in feet.
EXPECTED = {
    "club": (1, 3, 4, [(0, 0, 40), (1.5, 0, 10), (9, 0, 20)]),
    "theatre": (0, 6, 5, [(0, 3, 48), (2.5, 14, 22), (16, 18, 32)]),
    "ballroom": (2, 4, 7, [(0, 0, 66), (1, 0, 16), (13, 0, 26)]),
}


def report(*args):
    with tempfile.TemporaryDirectory() as run_dir:
        done = subprocess.run([TOOL, "--run-dir", run_dir, *args, "--report"], capture_output=True, text=True)
    return done.returncode, done.stderr, json.loads(done.stdout) if done.stdout else None


class SampleDesigns(unittest.TestCase):
    def test_every_sample_is_the_design_it_is_named_for(self):
        for name, (subs, full_range, pin, surfaces) in EXPECTED.items():
            with self.subTest(name):
                status, errors, r = report(os.path.join(SAMPLES, name + ".21w"))
                self.assertEqual((status, errors), (0, ""))
                array = r["array"]
                self.assertEqual((array["subwoofers"], array["fullRange"], array["pin"]), (subs, full_range, pin))
                areas = r["areas"]
                self.assertEqual([a["type"] for a in areas], ["HangPoint", "Stage", "Area", "Area", "Area"])
                for area, (height, angle, length) in zip(areas[2:], surfaces):
                    self.assertAlmostEqual(area["line"]["start"]["y"] / FOOT, height, places=6, msg=area["name"])
                    self.assertAlmostEqual(area["line"]["angle"], angle, places=6, msg=area["name"])
                    self.assertAlmostEqual(area["line"]["length"]["inches"] / FOOT, length, places=6, msg=area["name"])
                    self.assertGreater(area["samples"], 0, area["name"] + " has levels")
                hang = areas[0]["line"]["start"]["y"]
                self.assertGreater(hang, max(a["line"]["end"]["y"] for a in areas[1:]), "the array hangs above the room")
                for position in array["positions"]:
                    if position["model"] == "Model_DRXR1":
                        self.assertGreater(position["listeningDistance"]["inches"], 10 * FOOT,
                                           "every full-range module reaches an audience")

    def test_each_venue_file_holds_the_room_of_its_design(self):
        for name in EXPECTED:
            with self.subTest(name):
                _, _, design = report(os.path.join(SAMPLES, name + ".21w"))
                status, errors, venue = report(os.path.join(SAMPLES, name + ".21v"))
                self.assertEqual((status, errors), (0, ""))
                self.assertEqual([a["line"] for a in venue["areas"]], [a["line"] for a in design["areas"]])


if __name__ == "__main__":
    TOOL, SAMPLES = sys.argv[1], sys.argv[2]
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:])
