#!/usr/bin/env python3
"""End-to-end tests of drxwizard-cli: they run the built tool and read its report, files,
picture, messages and exit status.

usage: test_cli.py PATH/TO/drxwizard-cli [unittest options]
"""

import json
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

# Flybar, one subwoofer, five full-range modules: rigging values of that design.
EXAMPLE_WEIGHT = 371.2
EXAMPLE_ASSEMBLY_CG = (-7.686, -31.850)
EXAMPLE_PIN_ANGLES = [22.91, 19.79, 16.54, 9.72, 6.20, 2.62, -0.97, -4.56]

SIX_FULL_RANGE_WEIGHT = 323.4
SIX_FULL_RANGE_ASSEMBLY_CG = (-12.381, -24.182)


def read_png(path):
    """(width, height, rows of (r, g, b) tuples) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("unexpected PNG format %r" % (header,))
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = previous[i]
            upper_left = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                nearest = left if pa <= pb and pa <= pc else up if pb <= pc else upper_left
                line[i] = (line[i] + nearest) & 0xFF
        rows.append([tuple(line[i:i + 3]) for i in range(0, stride, bpp)])
        previous = line
    return width, height, rows


def assert_close_trees(test, a, b, where="report"):
    """Same structure and texts; numbers equal to 1e-9 relative (files keep 16 digits)."""
    if isinstance(a, dict):
        test.assertIsInstance(b, dict, where)
        test.assertEqual(list(a.keys()), list(b.keys()), where)
        for key in a:
            assert_close_trees(test, a[key], b[key], where + "." + key)
    elif isinstance(a, list):
        test.assertIsInstance(b, list, where)
        test.assertEqual(len(a), len(b), where)
        for i, (x, y) in enumerate(zip(a, b)):
            assert_close_trees(test, x, y, "%s[%d]" % (where, i))
    elif isinstance(a, (int, float)) and not isinstance(a, bool):
        test.assertIsInstance(b, (int, float), where)
        test.assertTrue(math.isclose(a, b, rel_tol=1e-9, abs_tol=1e-9), "%s: %r != %r" % (where, a, b))
    else:
        test.assertEqual(a, b, where)


class ToolCase(unittest.TestCase):
    """Runs the tool (ToolCase.tool, set by the script's main) in a fresh working directory
    of its own, with its own TMPDIR and no display."""

    tool = None

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="drx-cli-test-")
        self.tmp = os.path.join(self.dir, "tmp")
        os.mkdir(self.tmp)
        self.work = os.path.join(self.dir, "work")
        os.mkdir(self.work)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def environment(self):
        env = dict(os.environ, TMPDIR=self.tmp)
        env.pop("DISPLAY", None)
        return env

    def run_tool(self, *args):
        done = subprocess.run([self.tool] + list(args), cwd=self.work, env=self.environment(), capture_output=True,
                              text=True, timeout=120)
        return done.returncode, done.stdout, done.stderr

    def report(self, *args):
        status, out, err = self.run_tool(*(list(args) + ["--report"]))
        self.assertEqual(status, 0, err)
        self.assertEqual(err, "")
        return json.loads(out)


class CliTest(ToolCase):

    def path(self, name):
        return os.path.join(self.work, name)

    def seeds_by_start(self):
        """A seed whose start-up array has a subwoofer and one whose array has none."""
        found = {}
        for seed in range(1, 20):
            models = [p["model"] for p in self.report("--seed", str(seed))["array"]["positions"]]
            found.setdefault(models[1], seed)
            if len(found) == 2:
                return found
        self.fail("no seed gave both start-up arrays: %r" % found)

    # ------------------------------------------------------------------------------------
    def test_example_design_has_its_weight_cg_and_pin_angles_from_either_start(self):
        for start, seed in self.seeds_by_start().items():
            with self.subTest(start=start):
                array = self.report("--seed", str(seed), "--set", "Model_DRXS1=1", "--set", "Model_DRXR1=5")["array"]
                self.assertEqual([p["model"] for p in array["positions"] if p["inUse"]],
                                 ["Model_HB1", "Model_DRXS1"] + ["Model_DRXR1"] * 5)
                self.assertEqual((array["total"], array["subwoofers"], array["fullRange"]), (7, 1, 5))
                self.assertAlmostEqual(array["weight"]["pounds"], EXAMPLE_WEIGHT, places=6)
                self.assertAlmostEqual(array["assemblyCG"]["x"], EXAMPLE_ASSEMBLY_CG[0], places=3)
                self.assertAlmostEqual(array["assemblyCG"]["y"], EXAMPLE_ASSEMBLY_CG[1], places=3)
                self.assertEqual([p["pin"] for p in array["pinAngles"]], list(range(1, 9)))
                for pin, expected in zip(array["pinAngles"], EXAMPLE_PIN_ANGLES):
                    self.assertAlmostEqual(pin["angle"], expected, delta=0.005, msg="pin %d" % pin["pin"])
                # The start-up pin is 1; the array hangs with its CG under it.
                self.assertEqual(array["pin"], 1)
                self.assertAlmostEqual(array["angle"], array["pinAngles"][0]["angle"], places=9)
                self.assertAlmostEqual(array["hangingCG"]["x"], array["pickPoint"]["x"], places=6)

    def test_pin_and_counts_change_the_rigging(self):
        cases = [
            # (commands, pin, weight, assembly CG, expected array angle)
            (["--set", "Model_DRXS1=0", "--set", "Model_DRXR1=6", "--set", "SlotPin=7"],
             7, SIX_FULL_RANGE_WEIGHT, SIX_FULL_RANGE_ASSEMBLY_CG, 9.75),
            (["--set", "Model_DRXS1=0", "--set", "Model_DRXR1=6", "--set", "SlotPin=1"],
             1, SIX_FULL_RANGE_WEIGHT, SIX_FULL_RANGE_ASSEMBLY_CG, 36.90),
            (["--set", "Model_DRXS1=1", "--set", "Model_DRXR1=5", "--set", "SlotPin=4"],
             4, EXAMPLE_WEIGHT, EXAMPLE_ASSEMBLY_CG, 9.72),
        ]
        for commands, pin, weight, cg, angle in cases:
            with self.subTest(commands=commands):
                array = self.report("--seed", "1", *commands)["array"]
                self.assertEqual(array["pin"], pin)
                self.assertAlmostEqual(array["weight"]["pounds"], weight, places=6)
                self.assertAlmostEqual(array["assemblyCG"]["x"], cg[0], places=3)
                self.assertAlmostEqual(array["assemblyCG"]["y"], cg[1], places=3)
                self.assertAlmostEqual(array["angle"], angle, delta=0.005)
                self.assertAlmostEqual(array["hangingCG"]["x"], array["pickPoint"]["x"], places=6)

    def test_commands_run_in_the_order_given(self):
        # The edited count keeps its value and the other gives way, so the order matters.
        status, out, err = self.run_tool("--set", "Model_DRXS1=6", "--set", "Model_DRXR1=3", "--report")
        self.assertEqual(status, 0, err)
        # Making room took out every full-range module for a while: that is said.
        self.assertRegex(err, r"^note: Model_DRXS1=6: the full-range count went from \d to 0 to make room\n$")
        array = json.loads(out)["array"]
        self.assertEqual((array["subwoofers"], array["fullRange"]), (3, 3))
        self.assertEqual([p["model"] for p in array["positions"] if p["inUse"]],
                         ["Model_HB1"] + ["Model_DRXS1"] * 3 + ["Model_DRXR1"] * 3)

        # Lowering a count parks the products below; they are still listed, not in use.
        array = self.report("--set", "Model_DRXS1=1", "--set", "Model_DRXR1=2")["array"]
        self.assertEqual(array["total"], 4)
        self.assertEqual([(p["position"], p["inUse"]) for p in array["positions"]],
                         [(1, True), (2, True), (3, True), (4, True), (5, False), (6, False), (7, False)])

    def test_switches_reach_the_modules(self):
        array = self.report("--set", "Model_DRXS1=1", "--set", "Model_DRXR1=5",
                            "--set", "Switch1=3", "--set", "Switch2=7:4")["array"]
        positions = {p["position"]: p for p in array["positions"]}
        self.assertEqual(positions[4]["switch2"], 3)
        self.assertIsNone(positions[5]["switch2"])
        for p in array["positions"]:
            self.assertEqual((p["switch1"], p["switch2Name"]), (1, "HF via DSP"), p["position"])

    def test_area_values_are_in_the_display_units_of_the_moment(self):
        report = self.report("--area", "3:LDist=50", "--set", "Meters=1", "--area", "4:LDist=10")
        self.assertEqual(report["units"], {"system": "SI", "length": "Meters", "weight": "Kilograms"})
        floor, rake = report["areas"][2], report["areas"][3]
        self.assertEqual((floor["name"], rake["name"]), ("Floor", "Rake"))
        self.assertAlmostEqual(floor["line"]["length"]["inches"], 600.0, places=6)  # 50 feet
        self.assertAlmostEqual(rake["line"]["length"]["inches"], 10 / 0.0254, places=6)
        self.assertAlmostEqual(rake["line"]["length"]["display"], 10.0, places=6)
        self.assertAlmostEqual(report["array"]["weight"]["display"],
                               report["array"]["weight"]["pounds"] * 0.45359237, delta=0.1)
        # Samples every 24 inches plus the end point, and their levels summarised.
        self.assertEqual(floor["samples"], 26)
        self.assertLessEqual(floor["spl"]["min"], floor["spl"]["mean"])
        self.assertLessEqual(floor["spl"]["mean"], floor["spl"]["max"])

    def test_report_lists_aim_lines_areas_and_spl_range(self):
        report = self.report("--seed", "1", "--set", "Model_DRXS1=1", "--set", "Model_DRXR1=5")
        types = [(line["type"], line["cab"]) for line in report["aimLines"]]
        self.assertEqual(types, [("UEdge", 3)] + [("Center", c) for c in range(3, 8)] + [("LEdge", 7)])
        self.assertEqual([a["name"] for a in report["areas"]], ["Hang Point", "Stage", "Floor", "Rake", "Balcony1"])
        self.assertEqual([a["visible"] for a in report["areas"]], [None, None, True, True, True])
        self.assertEqual(report["areas"][1]["samples"], 11)
        self.assertEqual(report["areas"][2]["samples"], 39)
        spl = report["spl"]
        surfaces = report["areas"][1:]
        self.assertAlmostEqual(spl["min"], min(a["spl"]["min"] for a in surfaces), places=9)
        self.assertAlmostEqual(spl["max"], max(a["spl"]["max"] for a in surfaces), places=9)
        # Never moved, the scale spans the levels.
        self.assertEqual((spl["scaleBottom"], spl["scaleTop"]), (math.floor(spl["min"]), math.ceil(spl["max"])))
        # A module's listening distance is the length of the last of its aim lines that hit.
        positions = {p["position"]: p for p in report["array"]["positions"]}
        last_line = {line["cab"]: line for line in report["aimLines"]}
        for cab, line in last_line.items():
            self.assertAlmostEqual(positions[cab]["listeningDistance"]["inches"], line["length"]["inches"],
                                   places=6, msg="cab %d" % cab)

    def test_saved_array_loads_back_to_the_same_report(self):
        edits = ["--seed", "4", "--set", "Model_DRXR1=4", "--set", "SlotPin=3", "--set", "Switch2=5:2",
                 "--area", "1:sY=25", "--area", "5:LAngle=15"]
        before = self.report(*(edits + ["--save-array", "design.21w"]))
        self.assertTrue(os.path.isfile(self.path("design.21w")))
        after = self.report("design.21w")
        assert_close_trees(self, before, after)

    def test_saved_venue_loads_back_to_the_same_report(self):
        before = self.report("--seed", "2", "--area", "3:LAngle=5", "--area", "4:LDist=30", "--area", "5:sY=14",
                             "--save-venue", "hall.21v")
        after = self.report("--seed", "2", "hall.21v")
        assert_close_trees(self, before, after)

    def test_seed_makes_runs_reproducible(self):
        _, first, _ = self.run_tool("--seed", "7", "--report")
        _, second, _ = self.run_tool("--seed", "7", "--report")
        self.assertEqual(first, second)

    def test_render_of_start_up_design_writes_the_venue_picture(self):
        status, out, err = self.run_tool("--render", "venue.png")
        self.assertEqual((status, out, err), (0, "", ""))
        width, height, rows = read_png(self.path("venue.png"))
        self.assertEqual((width, height), (1000, 600))
        background = (0x3C, 0x3C, 0x3C)
        self.assertEqual(rows[599][999], background)
        pixels = [p for row in rows for p in row]
        drawn = [p for p in pixels if p != background]
        self.assertGreater(len(drawn), 1000)
        # The SPL gradient colours the surfaces; the outlines alone would be grey.
        self.assertTrue(any(max(p) - min(p) > 60 for p in drawn))

    def test_fit_shows_the_whole_long_venue(self):
        # A 200 ft floor and the balcony 150 ft out run past the classic picture's edge.
        long_venue = ("--area", "3:LDist=200", "--area", "5:sX=150")
        self.assertEqual(self.run_tool(*long_venue, "--render", "classic.png")[0], 0)
        self.assertEqual(self.run_tool(*long_venue, "--render", "fit.png", "--fit")[0], 0)

        def design(p):
            # Coloured, or darker than the background (quiet surfaces are black); the grid,
            # its numbers and the names are light greys.
            return max(p) - min(p) > 20 or max(p) < 0x30

        def drawn_columns(name):
            width, height, rows = read_png(self.path(name))
            self.assertEqual((width, height), (1000, 600))
            return [x for x in range(width) if any(design(rows[y][x]) for y in range(0, height, 2))]

        classic = drawn_columns("classic.png")
        fit = drawn_columns("fit.png")
        # The classic picture is cut at its right edge; the fitted one leaves room there.
        self.assertEqual(max(classic), 999)
        self.assertLess(max(fit), 999)
        self.assertGreater(min(fit), 0)

    def test_report_html_is_one_self_contained_page(self):
        status, out, err = self.run_tool("--report-html", "page.html")
        self.assertEqual((status, out, err), (0, "", ""))
        with open(self.path("page.html"), encoding="utf-8") as f:
            page = f.read()
        self.assertTrue(page.startswith("<!DOCTYPE html>"))
        self.assertIn("<h1>Untitled design</h1>", page)
        self.assertEqual(page.count("data:image/png;base64,"), 1)
        self.assertEqual(page.count('<svg class="plot"'), 3)
        self.assertNotIn('src="http', page)

    def test_report_html_levels_are_those_of_the_view_given(self):
        for view, label, other in (("Classic", "SPL (Classic)", "Band A"), ("BandA", "SPL (Band A)", "Classic")):
            with self.subTest(view=view):
                self.assertEqual(self.run_tool("--view", view, "--report-html", "page.html")[0], 0)
                with open(self.path("page.html"), encoding="utf-8") as f:
                    page = f.read()
                self.assertIn("<h2>Venue, %s</h2>" % label, page)
                self.assertEqual(page.count(", dB</text>"), page.count(">%s, dB</text>" % label))
                self.assertNotIn(other, page)

    def test_modules_go_by_their_position_everywhere(self):
        report = self.report("--set", "Model_DRXS1=1", "--set", "Model_DRXR1=5", "--set", "Switch2=5:3")
        positions = {p["position"]: p for p in report["array"]["positions"]}
        self.assertEqual(positions[3]["switch2"], 2, "module 3 is the cabinet at position 3")

        status, _, err = self.run_tool("--set", "Model_DRXS1=1", "--set", "Model_DRXR1=5", "--set", "Switch2=5:8")
        self.assertEqual(status, 1)
        self.assertIn("there is no module 8 (the array has modules 2 to 7)", err)

        self.assertEqual(self.run_tool("--set", "Model_DRXS1=1", "--set", "Model_DRXR1=2", "--report-html", "page.html")[0], 0)
        with open(self.path("page.html"), encoding="utf-8") as f:
            page = f.read()
        self.assertIn("<tr><td>2</td><td>DRX-S1 subwoofer</td>", page)
        self.assertIn("<td>3 (DRX-R1 full-range module)</td>", page)

    def test_automatic_scale_spans_the_levels_until_turned_off_or_moved(self):
        def scale(report):
            return report["spl"]["scaleBottom"], report["spl"]["scaleTop"]

        def levels(report):
            return math.floor(report["spl"]["min"]), math.ceil(report["spl"]["max"])

        seed = ("--seed", "1")  # the same start-up array in every run

        # A design whose scale was never moved starts with it.
        automatic = self.report(*seed)
        self.assertEqual(scale(automatic), levels(automatic))
        self.assertNotEqual(scale(automatic), (110, 120))
        self.assertEqual(scale(self.report(*seed, "--set", "SplAuto=1")), scale(automatic))
        # It follows the edits that come after it (three modules instead of six), until Base is
        # moved or it is turned off.
        fewer = self.report(*seed, "--set", "SplAuto=1", "--set", "Model_DRXR1=3")
        self.assertNotEqual(levels(fewer), levels(automatic))
        self.assertEqual(scale(fewer), levels(fewer))
        low, high = levels(automatic)
        for ending, expected in ((["--set", "SplAuto=0"], (low, high)), (["--set", "SplBase=1"], (low + 5, high + 5))):
            with self.subTest(ending=ending):
                kept = self.report(*seed, "--set", "SplAuto=1", *ending, "--set", "Model_DRXR1=3")
                self.assertEqual(scale(kept), expected)

        # The picture and the page follow it: many more surface colours, the legend's ends.
        def colours(name, *args):
            self.assertEqual(self.run_tool(*seed, *args, "--render", name)[0], 0)
            _, _, rows = read_png(self.path(name))
            return len({p for row in rows for p in row if max(p) - min(p) > 20})

        # Far above the levels, everything is below the scale: one colour.
        self.assertGreater(colours("auto.png"), 2 * colours("above.png", "--set", "SplBase=8"))
        self.assertEqual(self.run_tool(*seed, "--set", "SplAuto=1", "--report-html", "page.html")[0], 0)
        with open(self.path("page.html"), encoding="utf-8") as f:
            page = f.read()
        self.assertIn(">%.1f dB</text>" % low, page)
        self.assertIn(">%.1f dB</text>" % high, page)

    def test_bad_input_gets_its_status_and_message(self):
        usage = 2
        failed = 1
        with open(self.path("broken.21w"), "w") as f:
            f.write("not a design")
        cases = [
            (["--frobnicate"], usage, "unknown option '--frobnicate'"),
            (["--set"], usage, "--set needs a value"),
            (["--set", "Model_DRXR1"], usage, "expected TARGET=NUMBER[:TEXT]"),
            (["--set", "Volume=3"], usage, "unknown target 'Volume'"),
            (["--set", "Model_DRXR1=five"], usage, "'five' is not a number"),
            (["--set", "SplBase=nan"], usage, "'nan' is not a number"),
            (["--set", "Model_DRXR1=2.5"], usage, "needs a whole number"),
            (["--set", "Switch2=7"], usage, "Switch2 needs the module's number"),
            (["--set", "Switch1=8"], usage, "NUMBER must be 2 x switch"),
            (["--set", "SplAuto=2"], usage, "SplAuto must be from 0 to 1, not '2'"),
            (["--area", "3-sX=1"], usage, "expected SLOT:KEY=VALUE"),
            (["--area", "3:sZ=1"], usage, "unknown key 'sZ'"),
            (["--area", "3:sX=1,5"], usage, "'1,5' is not a number"),
            (["--seed", "x"], usage, "--seed needs a whole number"),
            (["design.xml"], usage, "FILE must be an array file (.21w) or a venue file (.21v)"),
            (["a.21w", "b.21v"], usage, "only one FILE may be given"),
            (["--set", "Model_DRXR1=7"], failed, "the full-range count must be from 0 to 6"),
            (["--set", "Model_DRXS1=-1"], failed, "the subwoofer count must be from 0 to 6"),
            (["--set", "SlotPin=9"], failed, "the pick pin must be from 1 to 8"),
            (["--set", "Switch2=7:9"], failed, "there is no module 9"),
            (["--area", "6:sX=1"], failed, "the venue has no area 6"),
            (["missing.21w"], failed, "Could not load array file"),
            (["missing.21v"], failed, "Could not load venue file"),
            (["broken.21w"], failed, "Could not load array file"),
            (["--save-array", "no/such/dir/a.21w"], failed, "Could not save array file"),
            (["--save-venue", "no/such/dir/a.21v"], failed, "Could not save venue file"),
            (["--render", "no/such/dir/a.png"], failed, "Could not write picture"),
            (["--fit"], usage, "--fit draws the --render picture"),
            (["--report-html"], usage, "--report-html needs a value"),
            (["--report-html", "no/such/dir/r.html"], failed, "Could not write the design report"),
        ]
        for args, expected, message in cases:
            with self.subTest(args=args):
                status, out, err = self.run_tool(*args)
                self.assertEqual(status, expected, err)
                self.assertIn(message, err)
                self.assertEqual(out, "")
                if expected == usage:
                    self.assertTrue(err.startswith("drxwizard-cli: "), err)
                    self.assertIn("usage: drxwizard-cli", err)
                else:
                    self.assertEqual(err.count("error: "), 1, err)
                    self.assertTrue(err.startswith("error: "), err)

    def test_later_steps_run_after_a_failure(self):
        status, out, err = self.run_tool("missing.21w", "--set", "SlotPin=12", "--set", "SlotPin=3",
                                         "--save-array", "kept.21w", "--report")
        self.assertEqual(status, 1)
        self.assertEqual(err.count("error: "), 2, err)
        self.assertEqual(json.loads(out)["array"]["pin"], 3)
        self.assertTrue(os.path.isfile(self.path("kept.21w")))
        # A refused load leaves the design as it was: the saved file loads as a design.
        self.assertEqual(self.report("kept.21w")["array"]["pin"], 3)

    def test_refused_values_change_nothing_and_later_steps_still_run(self):
        plain = self.report("--seed", "2", "--set", "SlotPin=3")
        cases = [
            (["--area", "3:LDist=-5"], "--area 3:LDist=-5: Floor (area 3): Length must be a number greater than 0 ft"),
            (["--area", "3:LDist=0"], "Length must be a number greater than 0 ft, not '0'"),
            (["--area", "3:LAngle=95"], "Angle must be a number from -90 to 90 degrees, not '95'"),
            (["--set", "Model_DRXR1=7"], "the full-range count must be from 0 to 6"),
            (["--set", "SlotPin=0"], "the pick pin must be from 1 to 8"),
        ]
        for refused, message in cases:
            with self.subTest(refused=refused):
                status, out, err = self.run_tool("--seed", "2", *refused, "--set", "SlotPin=3", "--report")
                self.assertEqual(status, 1, err)
                self.assertIn(message, err)
                self.assertEqual(err.count("error: "), 1, err)
                self.assertEqual(json.loads(out), plain)

    def test_undo_and_redo_step_through_the_commands_in_the_order_given(self):
        def saved(*args):
            for name in ["a.21w", "v.21v"]:
                if os.path.exists(self.path(name)):
                    os.remove(self.path(name))
            status, _, err = self.run_tool("--seed", "4", *args, "--save-array", "a.21w", "--save-venue", "v.21v")
            self.assertEqual(status, 0, err)
            with open(self.path("a.21w"), "rb") as a, open(self.path("v.21v"), "rb") as v:
                return a.read(), v.read()

        start = saved()
        counted = saved("--set", "Model_DRXR1=2")
        both = saved("--set", "Model_DRXR1=2", "--area", "3:LAngle=10")
        self.assertNotEqual(start, counted)
        self.assertNotEqual(counted, both)
        # Saves after undo are byte for byte the saves of the design before the command.
        self.assertEqual(saved("--set", "Model_DRXR1=2", "--area", "3:LAngle=10", "--undo"), counted)
        self.assertEqual(saved("--set", "Model_DRXR1=2", "--area", "3:LAngle=10", "--undo", "--undo"), start)
        self.assertEqual(saved("--set", "Model_DRXR1=2", "--area", "3:LAngle=10", "--undo", "--undo", "--redo"),
                         counted)
        self.assertEqual(saved("--set", "Model_DRXR1=2", "--undo", "--redo", "--area", "3:LAngle=10"), both)
        # Views and saves are no steps: the undo takes back the count.
        self.assertEqual(saved("--set", "Model_DRXR1=2", "--set", "Meters=1", "--set", "SaveVenueFile=x.21v",
                               "--set", "Meters=0", "--undo"), start)
        # The SPL scale is a view, saved with the design: undo leaves it as it was set.
        scaled = saved("--set", "SplAuto=0", "--set", "SplBase=1", "--set", "SplRange=2")
        self.assertNotEqual(scaled, start)
        self.assertEqual(saved("--set", "SplAuto=0", "--set", "Model_DRXR1=2", "--set", "SplBase=1", "--set", "SplRange=2",
                               "--undo"),
                         scaled)
        automatic = saved("--set", "Model_DRXR1=2", "--set", "SplAuto=1", "--undo")
        self.assertIn(b"<Automatic>1</Automatic>", automatic[0])
        self.assertIn(b"<Automatic>1</Automatic>", automatic[1])
        # A load is a step too.
        with open(self.path("counted.21w"), "wb") as f:
            f.write(counted[0])
        self.assertEqual(saved("--set", "LoadArrayFile=counted.21w", "--undo"), start)

        status, out, err = self.run_tool("--seed", "4", "--undo", "--set", "SlotPin=3", "--redo", "--report")
        self.assertEqual(status, 1)
        self.assertIn("--undo: there is nothing to undo; the command was not sent", err)
        self.assertIn("--redo: there is nothing to redo; the command was not sent", err)
        self.assertEqual(err.count("error: "), 2, err)
        self.assertEqual(json.loads(out)["array"]["pin"], 3)

        status, _, err = self.run_tool("--undo=1")
        self.assertEqual(status, 2)
        self.assertIn("--undo takes no value", err)

    def test_run_directory_holds_the_engine_files_or_nothing_is_left(self):
        status, _, _ = self.run_tool("--render", "out.png", "--save-venue", "out.21v")
        self.assertEqual(status, 0)
        self.assertEqual(sorted(os.listdir(self.work)), ["out.21v", "out.png"])
        self.assertEqual(os.listdir(self.tmp), [])

        status, _, _ = self.run_tool("--run-dir", "run", "--set", "SlotPin=0")
        self.assertEqual(status, 1)
        run = self.path("run")
        for name in ["LogFile.txt", "Array_Output.xml", "Venue_Data.xml", "Scene_Data.xml", "Product_PX1.xml",
                     "SPLPolarData.xml", "Settings.xml"]:
            self.assertTrue(os.path.isfile(os.path.join(run, name)), name)
        with open(os.path.join(run, "LogFile.txt")) as f:
            self.assertIn("the pick pin must be from 1 to 8", f.read())

    def run_with_stdout(self, stdout, *args):
        """Runs the tool with standard output given (a file object) or closed (None)."""
        closing = (lambda: os.close(1)) if stdout is None else None
        done = subprocess.run([self.tool] + list(args), cwd=self.work, env=self.environment(), stdout=stdout,
                              stderr=subprocess.PIPE, text=True, timeout=120, preexec_fn=closing)
        return done.returncode, done.stderr

    def saved_design(self, name):
        status, _, err = self.run_tool("--save-array", name)
        self.assertEqual(status, 0, err)
        with open(self.path(name)) as f:
            return f.read()

    def test_hostile_files_are_refused_at_once(self):
        bomb = '<?xml version="1.0" ?>' + "<Root>" + "<a>" * 1000000
        design = self.saved_design("good.21w")
        venue = design[design.index("<Venue>"):]
        area_total = venue.index("<Total>5</Total>", venue.index("<AreaList>"))
        files = {
            "bomb.21w": bomb,
            "bomb.21v": bomb,
            # A declaration whose values swallow their neighbours would not be written back the same.
            "declaration.21w": '<?xml version="1.0+ encoding="UTF-8"?>' + design[design.index("<Root>"):],
            "positions.21w": design.replace("<Total>7</Total>", "<Total>100000</Total>", 1),
            "positions_max.21w": design.replace("<Total>7</Total>", "<Total>2147483647</Total>", 1),
            "areas.21v": "<Root>" + venue[:area_total] + "<Total>2147483647</Total>"
                         + venue[area_total + len("<Total>5</Total>"):],
        }
        for name, text in files.items():
            with open(self.path(name), "w") as f:
                f.write(text)
        os.mkfifo(self.path("pipe.21w"))
        os.symlink("/dev/zero", self.path("zero.21v"))
        cases = [
            ("bomb.21w", "elements nested deeper than 64"),
            ("bomb.21v", "elements nested deeper than 64"),
            ("declaration.21w", "1: a malformed XML declaration"),
            ("positions.21w", "Array 1 Total is 100000; an array holds from 0 to 7 positions"),
            ("positions_max.21w", "Array 1 Total is 2147483647"),
            ("areas.21v", "Venue 1 AreaList/Total is 2147483647; it must be from 0 to 32"),
            ("pipe.21w", "is not a regular file (it is a FIFO)"),
            ("zero.21v", "is not a regular file (it is a device)"),
        ]
        for name, reason in cases:
            with self.subTest(file=name):
                status, out, err = self.run_tool(name, "--report")
                self.assertEqual(status, 1, err)
                self.assertIn("Could not load", err)
                self.assertIn(reason, err)
                # The design stays the start-up one.
                self.assertEqual(len(json.loads(out)["array"]["positions"]), 7)

    def test_saves_keep_the_mode_and_refuse_what_is_not_a_regular_file(self):
        self.saved_design("private.21w")
        os.chmod(self.path("private.21w"), 0o600)
        status, _, err = self.run_tool("--set", "SlotPin=3", "--save-array", "private.21w")
        self.assertEqual(status, 0, err)
        self.assertEqual(os.stat(self.path("private.21w")).st_mode & 0o7777, 0o600)

        with open(self.path("victim.txt"), "w") as f:
            f.write("not a design")
        os.symlink(self.path("victim.txt"), self.path("link.21w"))
        os.mkfifo(self.path("pipe.21v"))
        os.mkdir(self.path("folder.png"))
        before = sorted(os.listdir(self.work))
        cases = [
            (["--save-array", "link.21w"], "Could not save array file", "(it is a symbolic link)"),
            (["--save-venue", "pipe.21v"], "Could not save venue file", "(it is a FIFO)"),
            (["--render", "folder.png"], "Could not write picture", "(it is a folder)"),
        ]
        for args, message, reason in cases:
            with self.subTest(args=args):
                status, out, err = self.run_tool(*args)
                self.assertEqual((status, out), (1, ""), err)
                self.assertIn(message, err)
                self.assertIn(reason, err)
        self.assertEqual(sorted(os.listdir(self.work)), before)
        self.assertTrue(os.path.islink(self.path("link.21w")))
        with open(self.path("victim.txt")) as f:
            self.assertEqual(f.read(), "not a design")

        longest = "n" * 251 + ".21w"
        status, _, err = self.run_tool("--save-array", longest)
        self.assertEqual(status, 0, err)
        self.assertEqual(self.report(longest)["array"]["pin"], self.report()["array"]["pin"])

    def test_a_file_that_failed_to_load_is_never_saved_over(self):
        damaged = "<?xml version=\"1.0\" ?>\n<Root><Array><Slot>1</Slot><Total>3</Tot"
        with open(self.path("my.21w"), "w") as f:
            f.write(damaged)
        with open(self.path("my.21v"), "w") as f:
            f.write(damaged)
        cases = [
            ["my.21w", "--set", "SlotPin=3", "--save-array", "my.21w"],
            ["my.21w", "--save-array", "./sub/../my.21w"],
            ["my.21v", "--save-venue", "my.21v"],
            ["--set", "LoadArrayFile=my.21w", "--set", "SaveArrayFile=my.21w"],
        ]
        os.mkdir(self.path("sub"))
        for args in cases:
            with self.subTest(args=args):
                status, _, err = self.run_tool(*args)
                self.assertEqual(status, 1, err)
                self.assertIn("failed to load in this run", err)
                with open(self.path("my.21w")) as f:
                    self.assertEqual(f.read(), damaged)
                with open(self.path("my.21v")) as f:
                    self.assertEqual(f.read(), damaged)

    def test_a_report_that_cannot_be_written_is_an_error(self):
        with open("/dev/full", "w") as full:
            status, err = self.run_with_stdout(full, "--report")
        self.assertEqual(status, 1, err)
        self.assertIn("could not write the report", err)
        status, err = self.run_with_stdout(None, "--report")
        self.assertEqual(status, 1, err)
        self.assertIn("could not write the report", err)
        # Nothing the run opened took the place of the closed output.
        self.assertEqual(os.listdir(self.tmp), [])

    def test_area_values_beyond_the_venue_are_refused(self):
        for key in ["sX", "sY", "eX", "eY", "LDist", "LAngle"]:
            with self.subTest(key=key):
                status, out, err = self.run_tool("--area", "3:%s=1e308" % key, "--save-venue", "v.21v")
                self.assertEqual(status, 1, err)
                self.assertIn("--area 3:%s=" % key, err)
                self.assertIn("the command was not sent", err)
                with open(self.path("v.21v")) as f:
                    saved = f.read()
                self.assertNotIn("nan", saved)
                self.assertNotIn("inf", saved)
        status, _, err = self.run_tool("--area", "2:eX=1e308", "--area", "2:eX=30", "--save-venue", "v.21v")
        self.assertEqual(status, 1, err)
        with open(self.path("v.21v")) as f:
            self.assertNotIn("nan", f.read())
        # 30 ft from the stage's front as the start-up shows it; the loaded file shows X from
        # its own stage's front, which the stage's end is.
        end = self.report("v.21v")["areas"][1]["line"]["end"]
        self.assertAlmostEqual(end["x"], 600, places=6)
        self.assertAlmostEqual(end["display"]["x"], 0, places=6)

    def test_file_commands_take_a_path_and_every_command_is_in_the_usage(self):
        # A save and a load sent as commands of their own, paths relative to the caller.
        before = self.report("--seed", "3", "--area", "4:LAngle=7", "--set", "SaveVenueFile=room.21v")
        self.assertTrue(os.path.isfile(self.path("room.21v")))
        after = self.report("--seed", "3", "--set", "LoadVenueFile=room.21v")
        assert_close_trees(self, before["areas"], after["areas"])

        status, out, _ = self.run_tool("--help")
        self.assertEqual(status, 0)
        for form in ["LoadArrayFile=[PATH]", "SaveArrayFile=PATH", "Model_DRXR1=NUMBER", "Switch2=NUMBER:MODULE",
                     "Meters=NUMBER", "sX, sY, eX, eY, LAngle, LDist"]:
            self.assertIn(form, out)

        status, _, err = self.run_tool("--set", "SaveArrayFile")
        self.assertEqual(status, 2)
        self.assertIn("SaveArrayFile needs a file path", err)

    def test_pin_suggestion_changes_nothing_until_it_is_applied(self):
        # The start-up array is random; the seed makes the saved files comparable.
        design = ["--seed", "3", "--set", "Model_DRXR1=6", "--set", "SlotPin=5"]
        r = self.report(*design, "--suggest-pin", "--save-array", "tried.21w")
        s = r["suggestion"]
        self.assertEqual(sorted(s), ["best", "pins", "view"])
        self.assertEqual(s["view"], "Classic")
        self.assertEqual([p["pin"] for p in s["pins"]], list(range(1, 9)))
        for p in s["pins"]:
            self.assertEqual(sorted(p), ["coverage", "max", "median", "min", "pin", "spread"])
            self.assertLessEqual(p["min"], p["median"])
            self.assertLessEqual(p["median"], p["max"])
        smallest = min(p["spread"] for p in s["pins"])
        best = s["best"]
        self.assertLessEqual(s["pins"][best - 1]["spread"], smallest + 0.01)
        self.assertEqual(r["array"]["pin"], 5)

        self.report(*design, "--save-array", "plain.21w")
        with open(self.path("tried.21w"), "rb") as a, open(self.path("plain.21w"), "rb") as b:
            self.assertEqual(a.read(), b.read())

        applied = self.report(*design, "--apply-suggestion", "--save-array", "applied.21w")
        self.assertEqual(applied["suggestion"]["best"], best)
        self.assertEqual(applied["array"]["pin"], best)
        self.report(*design, "--set", "SlotPin=%d" % best, "--save-array", "by-hand.21w")
        with open(self.path("applied.21w"), "rb") as a, open(self.path("by-hand.21w"), "rb") as b:
            self.assertEqual(a.read(), b.read())

    def test_without_full_range_modules_there_is_no_pin_to_suggest(self):
        design = ["--set", "Model_DRXR1=0", "--set", "Model_DRXS1=2"]
        s = self.report(*design, "--suggest-pin")["suggestion"]
        self.assertIsNone(s["best"])
        self.assertTrue(all(p["spread"] is None and p["median"] is None for p in s["pins"]))

        status, out, err = self.run_tool(*design, "--apply-suggestion", "--save-array", "kept.21w", "--report")
        self.assertEqual(status, 1)
        self.assertIn("No pick pin to apply", err)
        self.assertTrue(os.path.exists(self.path("kept.21w")))
        self.assertIsNone(json.loads(out)["suggestion"]["best"])

    def test_help_and_version(self):
        status, out, err = self.run_tool("--help")
        self.assertEqual((status, err), (0, ""))
        self.assertTrue(out.startswith("usage: drxwizard-cli [options] [FILE]"))
        status, out, err = self.run_tool("--version")
        self.assertEqual((status, err), (0, ""))
        self.assertTrue(out.startswith("drxwizard-cli "))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    ToolCase.tool = os.path.abspath(sys.argv.pop(1))
    unittest.main()
