#!/usr/bin/env python3
"""End-to-end tests of drxwizard-cli's band prediction: the view, the air commands, the virtual
microphone's JSON and the field map in the rendered picture.

usage: test_band.py PATH/TO/drxwizard-cli [unittest options]
"""

import json
import math
import os
import sys
import unittest

from test_cli import ToolCase, read_png

BACKGROUND = (0x3C, 0x3C, 0x3C)
# The fixed design: flybar, one subwoofer, five full-range modules, the default venue.
DESIGN = ["--seed", "1", "--set", "Model_DRXS1=1", "--set", "Model_DRXR1=5"]
LABELS = ["50", "63", "80", "100", "125", "160", "200", "250", "315", "400", "500", "630", "800", "1k", "1.25k",
          "1.6k", "2k", "2.5k", "3.15k", "4k", "5k", "6.3k", "8k", "10k", "12.5k", "16k"]

# The probe at (60 ft, 5 ft) of the fixed design, as written by this system (levels to 1e-4 dB).
FIXED_PROBE = {
    "x_in": 960, "y_in": 60, "z": 107.212053, "a": 100.640096,
    "bands": [
        {"label": "50", "db": 94.201308},
        {"label": "63", "db": 94.598390},
        {"label": "80", "db": 95.280232},
        {"label": "100", "db": 96.190394},
        {"label": "125", "db": 97.064884},
        {"label": "160", "db": 97.653592},
        {"label": "200", "db": 97.836785},
        {"label": "250", "db": 97.261333},
        {"label": "315", "db": 96.416610},
        {"label": "400", "db": 95.356134},
        {"label": "500", "db": 94.003717},
        {"label": "630", "db": 92.211261},
        {"label": "800", "db": 89.758612},
        {"label": "1k", "db": 86.760685},
        {"label": "1.25k", "db": 85.763084},
        {"label": "1.6k", "db": 87.992262},
        {"label": "2k", "db": 89.246864},
        {"label": "2.5k", "db": 87.363834},
        {"label": "3.15k", "db": 77.674050},
        {"label": "4k", "db": 76.976697},
        {"label": "5k", "db": 81.722159},
        {"label": "6.3k", "db": 86.390511},
        {"label": "8k", "db": 86.273690},
        {"label": "10k", "db": 82.623563},
        {"label": "12.5k", "db": 79.523771},
        {"label": "16k", "db": 78.629922},
    ],
    "sources": [
        {"position": 2, "distance_m": 19.202959957, "delay_ms": 55.950296659, "z": 97.829687},
        {"position": 3, "distance_m": 18.961451489, "delay_ms": 55.246630639, "z": 92.638345},
        {"position": 4, "distance_m": 18.838181829, "delay_ms": 54.887468610, "z": 94.062744},
        {"position": 5, "distance_m": 18.800205630, "delay_ms": 54.776820065, "z": 97.126134},
        {"position": 6, "distance_m": 18.850622342, "delay_ms": 54.923715646, "z": 93.849388},
        {"position": 7, "distance_m": 18.984800408, "delay_ms": 55.314660719, "z": 92.554634},
    ],
}


def a_weighting(f):
    f2 = f * f
    ra = 12194.0 ** 2 * f2 * f2 / ((f2 + 20.6 ** 2) * math.sqrt((f2 + 107.7 ** 2) * (f2 + 737.9 ** 2))
                                   * (f2 + 12194.0 ** 2))
    return 20.0 * math.log10(ra) + 2.0


def power_sum(levels):
    return 10.0 * math.log10(sum(10.0 ** (level / 10.0) for level in levels))


class BandCliTest(ToolCase):
    def picture(self, *args):
        status, out, err = self.run_tool(*(list(args) + ["--render", "venue.png"]))
        self.assertEqual((status, out, err), (0, "", ""))
        _, _, rows = read_png(os.path.join(self.work, "venue.png"))
        return rows

    # ------------------------------------------------------------------------------------
    def test_probe_holds_bands_broadband_levels_and_sources(self):
        report = self.report(*(DESIGN + ["--probe", "60,5", "--probe", "20,-3"]))
        probes = report["probes"]
        self.assertEqual(len(probes), 2)
        for probe in probes:
            self.assertEqual(list(probe.keys()), ["x_in", "y_in", "bands", "z", "a", "sources"])
            bands = probe["bands"]
            # Every band of the two products is present: the subwoofer's low bands and the
            # full-range module's up to 16k, in order, each at its exact centre.
            self.assertEqual([b["label"] for b in bands], LABELS)
            for n, band in zip(range(-13, 13), bands):
                self.assertEqual(list(band.keys()), ["hz", "label", "db"])
                self.assertAlmostEqual(band["hz"], 1000.0 * 10.0 ** (n / 10.0), delta=1e-9 * band["hz"])
            self.assertAlmostEqual(probe["z"], power_sum(b["db"] for b in bands), places=9)
            self.assertAlmostEqual(probe["a"], power_sum(b["db"] + a_weighting(b["hz"]) for b in bands), places=9)
            # One source per module below the flybar, in slot order; arrival time r / c at 20 degrees.
            sources = probe["sources"]
            self.assertEqual([s["position"] for s in sources], [2, 3, 4, 5, 6, 7])
            c = 331.3 * math.sqrt(1.0 + 20.0 / 273.15)
            for source in sources:
                self.assertEqual(list(source.keys()), ["position", "distance_m", "delay_ms", "z"])
                self.assertAlmostEqual(source["delay_ms"], source["distance_m"] / c * 1000.0, places=9)
                self.assertLess(source["z"], probe["z"] + 6.1 * math.log2(len(sources)))
        # Feet from the display origin: the probes lie 40 ft and 8 ft apart.
        self.assertAlmostEqual(probes[0]["x_in"] - probes[1]["x_in"], 480.0, places=9)
        self.assertAlmostEqual(probes[0]["y_in"] - probes[1]["y_in"], 96.0, places=9)
        # Further away, every module is further away.
        near, far = probes[1]["sources"], probes[0]["sources"]
        self.assertTrue(all(f["distance_m"] > n["distance_m"] for n, f in zip(near, far)))

    def test_probe_of_the_fixed_design(self):
        probe = self.report(*(DESIGN + ["--probe", "60,5"]))["probes"][0]
        expected = FIXED_PROBE
        for key in ("x_in", "y_in"):
            self.assertAlmostEqual(probe[key], expected[key], places=6)
        for key in ("z", "a"):
            self.assertAlmostEqual(probe[key], expected[key], delta=1e-4)
        self.assertEqual([b["label"] for b in probe["bands"]], [b["label"] for b in expected["bands"]])
        for got, want in zip(probe["bands"], expected["bands"]):
            self.assertAlmostEqual(got["db"], want["db"], delta=1e-4, msg=want["label"])
        self.assertEqual(len(probe["sources"]), len(expected["sources"]))
        for got, want in zip(probe["sources"], expected["sources"]):
            self.assertEqual(got["position"], want["position"])
            for key in ("distance_m", "delay_ms"):
                self.assertAlmostEqual(got[key], want[key], places=6)
            self.assertAlmostEqual(got["z"], want["z"], delta=1e-4)

    def test_probe_points_follow_the_display_units_and_the_air(self):
        feet = self.report(*(DESIGN + ["--probe", "50,10"]))["probes"][0]
        metres = self.report(*(DESIGN + ["--set", "Meters=1", "--probe", "15.24,3.048"]))["probes"][0]
        self.assertAlmostEqual(feet["x_in"], metres["x_in"], places=6)
        self.assertAlmostEqual(feet["y_in"], metres["y_in"], places=6)
        self.assertAlmostEqual(feet["z"], metres["z"], places=6)

        warm = self.report(*(DESIGN + ["--set", "AirTemperature=40", "--set", "AirHumidity=10",
                                       "--probe", "50,10"]))["probes"][0]
        c_warm = 331.3 * math.sqrt(1.0 + 40.0 / 273.15)
        for source in warm["sources"]:
            self.assertAlmostEqual(source["delay_ms"], source["distance_m"] / c_warm * 1000.0, places=9)
        # Dry warm air takes more of the highest band.
        self.assertLess(warm["bands"][-1]["db"], feet["bands"][-1]["db"] - 0.5)

    def test_levels_nothing_reaches_are_written_as_null(self):
        # Without full-range modules and subwoofers nothing radiates: the levels are -infinity.
        status, out, err = self.run_tool("--seed", "1", "--set", "Model_DRXS1=0", "--set", "Model_DRXR1=0",
                                         "--probe", "50,10", "--report")
        self.assertEqual((status, err), (0, ""))
        self.assertNotIn("Infinity", out)
        self.assertNotIn("NaN", out)
        probe = json.loads(out)["probes"][0]
        self.assertEqual(probe, {"x_in": 840.0, "y_in": 120.0, "bands": [], "z": None, "a": None, "sources": []})

    def test_refusals_name_the_value_and_its_range(self):
        cases = [
            (["--set", "AirTemperature=60"], "AirTemperature must be from -20 to 50, not '60'"),
            (["--set", "AirTemperature=-25"], "AirTemperature must be from -20 to 50"),
            (["--set", "AirHumidity=101"], "AirHumidity must be from 0 to 100, not '101'"),
            (["--view", "Band:4K"], "View must be Classic, BandZ, BandA or Band:LABEL"),
            (["--view", "Loud"], "not 'Loud'"),
            (["--set", "View=Band:3k"], "LABEL one of 50, 63"),
            (["--probe", "10"], "--probe 10: expected X,Y"),
            (["--probe", "10,5"], "--probe adds to the report"),
            (["--field-map"], "--field-map draws into the picture"),
            (["--set", "Delay=2:100.5"], "Delay must be from 0 to 100, not '100.5'"),
            (["--set", "Delay=2"], "expected Delay=MODULE:NUMBER"),
            (["--set", "Polarity=2:0.5"], "Polarity needs a whole number, not '0.5'"),
            (["--set", "Gain=3:-41"], "Gain must be from -40 to 10, not '-41'"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                status, out, err = self.run_tool(*args)
                self.assertEqual(status, 2, err)
                self.assertIn(message, err)
        status, out, err = self.run_tool("--help")
        for form in ["AirTemperature=NUMBER", "AirHumidity=NUMBER", "View=Classic|BandZ|BandA|Band:LABEL",
                     "--view VIEW", "--probe X,Y", "--field-map", "Delay=MODULE:NUMBER",
                     "Polarity=MODULE:NUMBER", "Gain=MODULE:NUMBER"]:
            self.assertIn(form, out)

    def test_processing_per_loudspeaker(self):
        plain = self.report(*(DESIGN + ["--probe", "60,5"]))
        edits = ["--set", "Delay=2:6.5", "--set", "Polarity=2:1", "--set", "Gain=4:-6", "--save-array", "dsp.21w"]
        processed = self.report(*(DESIGN + edits + ["--probe", "60,5"]))
        positions = {p["position"]: p for p in processed["array"]["positions"]}
        self.assertEqual((positions[2]["delay"], positions[2]["polarity"], positions[2]["gain"]), (6.5, 1, 0.0))
        self.assertEqual((positions[4]["delay"], positions[4]["polarity"], positions[4]["gain"]), (0.0, 0, -6.0))
        self.assertNotIn("delay", positions[1], "the flybar radiates nothing")
        before, after = plain["probes"][0], processed["probes"][0]
        # The arrival time includes the delay; the gain moves the source's own level.
        self.assertAlmostEqual(after["sources"][0]["delay_ms"], before["sources"][0]["delay_ms"] + 6.5, places=9)
        self.assertAlmostEqual(after["sources"][2]["z"], before["sources"][2]["z"] - 6.0, places=9)
        self.assertGreater(abs(after["bands"][3]["db"] - before["bands"][3]["db"]), 0.5)
        # Saved with the design, loaded back.
        again = self.report("dsp.21w", "--probe", "60,5")["probes"][0]
        self.assertAlmostEqual(again["z"], after["z"], places=9)
        # A position that radiates nothing is refused when the command is sent.
        status, out, err = self.run_tool(*(DESIGN + ["--set", "Gain=1:-3"]))
        self.assertEqual(status, 1, err)
        self.assertIn("position 1 holds no loudspeaker", err)

    def test_air_is_saved_with_the_venue(self):
        self.report(*(DESIGN + ["--set", "AirTemperature=5", "--set", "AirHumidity=80", "--save-venue", "cold.21v"]))
        with open(os.path.join(self.work, "cold.21v")) as f:
            text = f.read()
        self.assertIn("<Air>", text)
        cold = self.report(*(DESIGN + ["cold.21v", "--probe", "50,10"]))["probes"][0]
        c_cold = 331.3 * math.sqrt(1.0 + 5.0 / 273.15)
        source = cold["sources"][0]
        self.assertAlmostEqual(source["delay_ms"], source["distance_m"] / c_cold * 1000.0, places=9)

    def test_view_colours_the_surfaces_and_the_field_map_fills_the_picture(self):
        # A scale from 80 dB up, so that the band levels fall on it.
        scale = DESIGN + ["--set", "SplRange=30"]
        classic = self.picture(*scale)
        classic_again = self.picture(*(scale + ["--view", "Classic"]))
        self.assertTrue(classic == classic_again, "Classic is the default view")
        band_a = self.picture(*(scale + ["--view", "BandA"]))
        one_band = self.picture(*(scale + ["--view", "Band:4k"]))
        self.assertTrue(classic != band_a, "Band A colours the surfaces")
        self.assertTrue(band_a != one_band, "one band colours the surfaces")

        mapped = self.picture(*(scale + ["--view", "BandZ", "--field-map"]))
        plain = self.picture(*(scale + ["--view", "BandZ"]))
        background = lambda rows: sum(1 for row in rows for p in row if p == BACKGROUND)
        # The map covers the section: far fewer background pixels, and many colours.
        self.assertLess(background(mapped), background(plain) / 4)
        colours = {p for row in mapped for p in row}
        self.assertGreater(len(colours), 50)
        # The venue lines are drawn over the map: where the plain picture draws a white aim
        # line, the mapped picture is still whitish (no SPL colour has all three channels high).
        whites = [(y, x) for y, row in enumerate(plain) for x, p in enumerate(row) if min(p) > 220]
        self.assertGreater(len(whites), 100)
        kept = sum(1 for y, x in whites if min(mapped[y][x]) > 150)
        self.assertGreater(kept, 0.9 * len(whites))

        # The fitted picture (the venue view's framing) gets the map in its own placement:
        # it covers the picture, and the aim lines stay on top.
        fitted = self.picture(*(scale + ["--view", "BandZ", "--fit"]))
        fitted_mapped = self.picture(*(scale + ["--view", "BandZ", "--fit", "--field-map"]))
        self.assertLess(background(fitted_mapped), background(fitted) / 4)
        whites = [(y, x) for y, row in enumerate(fitted) for x, p in enumerate(row) if min(p) > 220]
        self.assertGreater(len(whites), 100)
        kept = sum(1 for y, x in whites if min(fitted_mapped[y][x]) > 150)
        self.assertGreater(kept, 0.9 * len(whites))

    def test_the_suggestion_uses_the_view_and_names_it_as_view_takes_it(self):
        suggested = {}
        for view in ["Classic", "BandZ", "BandA", "Band:4k", "Band:1.25k"]:
            with self.subTest(view=view):
                s = self.report(*(DESIGN + ["--view", view, "--suggest-pin"]))["suggestion"]
                self.assertEqual(s["view"], view)
                self.assertEqual(len(s["pins"]), 8)
                # The name goes back into --view and gives the same suggestion.
                again = self.report(*(DESIGN + ["--view", s["view"], "--suggest-pin"]))["suggestion"]
                self.assertEqual(again, s)
                suggested[view] = s
        # Without --view the suggestion is the classic one, as it always was.
        self.assertEqual(self.report(*(DESIGN + ["--suggest-pin"]))["suggestion"], suggested["Classic"])

        medians = {view: [p["median"] for p in s["pins"]] for view, s in suggested.items()}
        for view in ["BandZ", "BandA", "Band:4k"]:
            for classic, band in zip(medians["Classic"], medians[view]):
                self.assertGreater(abs(classic - band), 0.1, view)
        # The subwoofer's low bands weigh in Band Z and are taken out by the A-weighting.
        for z, a in zip(medians["BandZ"], medians["BandA"]):
            self.assertGreater(z - a, 1.0)
        # One band is quieter than all bands together.
        for z, one in zip(medians["BandZ"], medians["Band:4k"]):
            self.assertLess(one, z)

        # Applying it in a band view applies that view's pin; the printable report names the view.
        best = suggested["BandA"]["best"]
        applied = self.report(*(DESIGN + ["--view", "BandA", "--apply-suggestion", "--report-html", "design.html"]))
        self.assertEqual(applied["suggestion"]["best"], best)
        self.assertEqual(applied["array"]["pin"], best)
        with open(os.path.join(self.work, "design.html"), encoding="utf-8") as f:
            page = f.read()
        self.assertIn("Levels of the Band A view.", page)
        self.assertIn("Suggested pick pin: <strong>%d</strong>" % best, page)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    ToolCase.tool = os.path.abspath(sys.argv.pop(1))
    unittest.main()
