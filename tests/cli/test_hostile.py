#!/usr/bin/env python3
"""drxwizard-cli against hostile input: design files, output targets, run folders and numbers.
Every case asserts the exit status, the message and that nothing else changed.

usage: test_hostile.py PATH/TO/drxwizard-cli [unittest options]
"""

import json
import os
import re
import signal
import socket
import stat
import subprocess
import sys
import time
import unittest

from test_cli import ToolCase

USAGE = 2
FAILED = 1


def snapshot(folder):
    """What a folder holds: per name its kind, mode and content (or link target)."""
    held = {}
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        info = os.lstat(path)
        if stat.S_ISLNK(info.st_mode):
            held[name] = ("link", os.readlink(path))
        elif stat.S_ISREG(info.st_mode):
            with open(path, "rb") as f:
                held[name] = ("file", stat.S_IMODE(info.st_mode), f.read())
        else:
            held[name] = ("other", stat.S_IFMT(info.st_mode), stat.S_IMODE(info.st_mode))
    return held


class HostileCase(ToolCase):

    def path(self, name):
        return os.path.join(self.work, name)

    def write(self, name, data):
        with open(self.path(name), "wb" if isinstance(data, bytes) else "w") as f:
            f.write(data)

    def saved(self, name, *args):
        status, _, err = self.run_tool("--seed", "2", *args, "--save-array" if name.endswith(".21w") else "--save-venue",
                                       name)
        self.assertEqual(status, 0, err)
        with open(self.path(name)) as f:
            return f.read()


class HostileFiles(HostileCase):

    def test_values_in_files_are_checked_as_typed_ones_and_refusals_change_nothing(self):
        design = self.saved("good.21w", "--set", "SplBase=0")
        venue = self.saved("good.21v")
        pin = re.search(r"<SlotPin>\s*<Value>\d+</Value>", design).group(0)
        area_total = re.search(r"<Total>5</Total>\s*</AreaList>", venue).group(0)

        def array_with(old, new):
            self.assertIn(old, design)
            return design.replace(old, new, 1)

        def venue_with(old, new):
            self.assertIn(old, venue)
            return venue.replace(old, new, 1)

        def pin_at(value):
            return array_with(pin, re.sub(r"\d+</Value>", value + "</Value>", pin))

        def area_total_at(value):
            return venue_with(area_total, area_total.replace("5", value))

        base_x = re.search(r"<ConvLBaseX>[^<]*</ConvLBaseX>", design).group(0)
        base_y = re.search(r"<ConvLBaseY>[^<]*</ConvLBaseY>", design).group(0)
        global_x = re.search(r"<ConvGBaseX>[^<]*</ConvGBaseX>", design).group(0)
        bottom = re.search(r"<Bottom>[^<]*</Bottom>", design).group(0)
        top = re.search(r"<Top>[^<]*</Top>", design).group(0)
        angle = re.search(r"<LAngle>[^<]*</LAngle>", venue[venue.index("<Slot>3</Slot>"):]).group(0)
        cases = [
            ("far.21w", array_with(base_x, "<ConvLBaseX>1e21</ConvLBaseX>"),
             "Array 1 RenderSpec ConvLBaseX is 1e+21; coordinates and lengths must be within"),
            ("nan.21w", array_with(base_y, "<ConvLBaseY>nan</ConvLBaseY>"), "ConvLBaseY is nan"),
            ("global.21w", array_with(global_x, "<ConvGBaseX>1e12</ConvGBaseX>"), "ConvGBaseX is 1e+12"),
            ("far.21v", venue_with("<ConvLBaseX />", "<ConvLBaseX>-inf</ConvLBaseX>"),
             "Venue 1 RenderSpec ConvLBaseX is -inf"),
            ("pin0.21w", pin_at("0"), "Array 1 ArrayInfo/SlotPin is 0; the pick pin must be from 1 to 8"),
            ("pin9.21w", pin_at("9"), "ArrayInfo/SlotPin is 9"),
            ("pin1000.21w", pin_at("1000"), "ArrayInfo/SlotPin is 1000"),
            ("hex.21v", area_total_at("0x7fffffff"), "Venue 1 AreaList/Total holds '0x7fffffff' where a whole number"),
            ("fraction.21v", area_total_at("7.9"), "AreaList/Total holds '7.9'"),
            ("exponent.21v", area_total_at("1e9"), "AreaList/Total holds '1e9'"),
            ("positions.21w", array_with("<Total>7</Total>", "<Total>6</Total>"),
             "but its Total of 6 positions leaves room for 5"),
            ("inverted.21w", array_with(bottom, "<Bottom>130</Bottom>"), "the SPL scale runs from 130 to"),
            ("infinite.21w", array_with(top, "<Top>inf</Top>"), "to inf dB; it must lie within 0 to 200 dB"),
            ("turned.21v", venue_with(angle, "<LAngle>1000</LAngle>"), "the angle is 1000; angles must be within ±180"),
            ("utf16.21w", design.encode("utf-16"), "the file is UTF-16 text"),
            ("cp1252.21v", venue_with('<?xml version="1.0" ?>', '<?xml version="1.0" encoding="windows-1252" ?>'),
             'its encoding "windows-1252" is not read'),
            ("bytes.21v", venue_with("Balcony1", "Balc\xf3n").encode("latin-1"), "byte 0xF3 is not UTF-8"),
        ]
        plain = self.report("--seed", "2")
        for name, text, message in cases:
            self.write(name, text)
        before = snapshot(self.work)
        for name, _, message in cases:
            with self.subTest(file=name):
                status, out, err = self.run_tool(name, "--seed", "2", "--report")
                self.assertEqual(status, FAILED, err)
                self.assertIn("Could not load", err)
                self.assertIn(message, err)
                self.assertEqual(err.count("error: "), 1, err)
                self.assertEqual(json.loads(out), plain)
        self.assertEqual(snapshot(self.work), before)

    def test_a_latin1_design_keeps_its_letters(self):
        venue = self.saved("good.21v").replace('<?xml version="1.0" ?>',
                                                '<?xml version="1.0" encoding="ISO-8859-1" ?>', 1)
        self.write("latin.21v", venue.replace("Balcony1", "Balc\xf3n").encode("latin-1"))
        status, out, err = self.run_tool("latin.21v", "--save-venue", "out.21v", "--report")
        self.assertEqual(status, 0, err)
        self.assertIn("Balc\xf3n", [a["name"] for a in json.loads(out)["areas"]])
        with open(self.path("out.21v"), "rb") as f:
            saved = f.read()
        self.assertIn("Balc\xf3n".encode("utf-8"), saved)
        self.assertNotIn(b"ISO-8859-1", saved)


class HostileOutputs(HostileCase):

    def test_outputs_refuse_what_is_not_a_regular_file_and_two_outputs_on_one_file(self):
        self.write("victim.txt", "keep me")
        os.symlink("victim.txt", self.path("link.html"))
        os.mkfifo(self.path("pipe.html"))
        os.mkdir(self.path("folder.html"))
        listener = socket.socket(socket.AF_UNIX)
        self.addCleanup(listener.close)
        listener.bind(self.path("socket.html"))
        self.write("design.21w", self.saved("design.21w"))
        os.link(self.path("design.21w"), self.path("hard.html"))
        os.mkdir(self.path("sub"))
        cases = [
            (["--report-html", "link.html"], FAILED, "Could not write the design report", "(it is a symbolic link)"),
            (["--report-html", "pipe.html"], FAILED, "Could not write the design report", "(it is a FIFO)"),
            (["--report-html", "folder.html"], FAILED, "Could not write the design report", "(it is a folder)"),
            (["--report-html", "socket.html"], FAILED, "Could not write the design report", "(it is a socket)"),
            (["--save-array", "x.21w", "--save-venue", "x.21w"], USAGE, "--save-array x.21w and --save-venue x.21w",
             "name the same file"),
            (["--save-array", "d.21w", "--render", "d.21w"], USAGE, "--save-array d.21w and --render d.21w",
             "name the same file"),
            (["--render", "p.png", "--report-html", "sub/../p.png"], USAGE, "--render p.png and --report-html",
             "name the same file"),
            (["--set", "SaveVenueFile=design.21w", "--report-html", "hard.html"], USAGE,
             "--report-html hard.html and --set SaveVenueFile=design.21w", "name the same file"),
        ]
        before = snapshot(self.work)
        for args, expected, message, reason in cases:
            with self.subTest(args=args):
                status, out, err = self.run_tool(*args)
                self.assertEqual((status, out), (expected, ""), err)
                self.assertIn(message, err)
                self.assertIn(reason, err)
                self.assertEqual(snapshot(self.work), before)
                self.assertEqual(os.listdir(self.tmp), [])

    def test_the_report_page_keeps_the_mode_of_the_file_it_replaces(self):
        self.write("report.html", "old")
        os.chmod(self.path("report.html"), 0o600)
        status, _, err = self.run_tool("--report-html", "report.html")
        self.assertEqual(status, 0, err)
        self.assertEqual(stat.S_IMODE(os.stat(self.path("report.html")).st_mode), 0o600)
        with open(self.path("report.html")) as f:
            self.assertIn("<html", f.read())
        # A save of one kind sent again to its own file is meant: the later design is kept.
        status, _, err = self.run_tool("--set", "SaveArrayFile=a.21w", "--set", "SlotPin=3", "--save-array", "a.21w")
        self.assertEqual(status, 0, err)
        self.assertEqual(self.report("a.21w")["array"]["pin"], 3)


class HostileRunFolders(HostileCase):

    def test_run_folders_that_cannot_be_used_are_named_with_the_reason(self):
        self.write("plain", "not a folder")
        cases = [
            (["--run-dir", "plain"], "cannot use run directory %s: it is not a folder" % self.path("plain")),
            (["--run-dir", "/proc"], "cannot use run directory /proc: no file can be made in it"),
            (["--run-dir", "plain/below"], "cannot use run directory %s: it cannot be made" % self.path("plain/below")),
        ]
        before = snapshot(self.work)
        for args, message in cases:
            with self.subTest(args=args):
                status, out, err = self.run_tool(*args, "--report")
                self.assertEqual((status, out), (FAILED, ""), err)
                self.assertIn(message, err)
                self.assertEqual(err.count("error: "), 1, err)
                self.assertEqual(snapshot(self.work), before)

    def test_a_catalogue_that_cannot_be_written_is_named_with_the_reason(self):
        self.write("victim.txt", "keep me")
        cases = [
            ("folder", lambda path: os.mkdir(path), "Product_PX1.xml is not a regular file (it is a folder)"),
            ("link", lambda path: os.symlink(self.path("victim.txt"), path),
             "Product_PX1.xml is not a regular file (it is a symbolic link)"),
        ]
        for name, plant, reason in cases:
            with self.subTest(planted=name):
                run = self.path("run-" + name)
                os.mkdir(run)
                plant(os.path.join(run, "Product_PX1.xml"))
                status, out, err = self.run_tool("--run-dir", run, "--report")
                self.assertEqual((status, out), (FAILED, ""), err)
                self.assertIn("Error: The product catalogue cannot be written in the run folder: " + reason, err)
                self.assertNotIn("flybar", err)
                self.assertEqual(err.count("error: "), 1, err)
        with open(self.path("victim.txt")) as f:
            self.assertEqual(f.read(), "keep me")

    def test_the_log_is_never_written_through_a_link_nor_opened_as_a_fifo(self):
        self.write("victim.txt", "keep me")
        run = self.path("run")
        os.mkdir(run)
        os.symlink(self.path("victim.txt"), os.path.join(run, "LogFile.txt"))
        status, out, err = self.run_tool("--run-dir", "run", "--set", "SlotPin=0", "--report")
        self.assertEqual(status, FAILED, err)
        self.assertIn("warning: the log LogFile.txt is not written: it is a symbolic link", err)
        self.assertIn("the pick pin must be from 1 to 8", err)
        with open(self.path("victim.txt")) as f:
            self.assertEqual(f.read(), "keep me")

        os.unlink(os.path.join(run, "LogFile.txt"))
        os.mkfifo(os.path.join(run, "LogFile.txt"))
        # Opening a FIFO for writing would wait for a reader for ever.
        status, out, err = self.run_tool("--run-dir", "run", "--report")
        self.assertEqual(status, 0, err)
        self.assertIn("warning: the log LogFile.txt is not written: it is not a regular file", err)
        self.assertTrue(stat.S_ISFIFO(os.lstat(os.path.join(run, "LogFile.txt")).st_mode))

    def test_runs_started_together_each_get_a_folder_of_their_own_and_leave_nothing(self):
        runs = [subprocess.Popen([self.tool, "--seed", str(n), "--report"], cwd=self.work, env=self.environment(),
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True) for n in range(12)]
        for run in runs:
            out, err = run.communicate(timeout=120)
            self.assertEqual(run.returncode, 0, err)
            json.loads(out)
        self.assertEqual(os.listdir(self.tmp), [])

    def test_the_run_folder_goes_when_the_run_is_ended_by_a_signal(self):
        # A reader that stops early ends the run with SIGPIPE.
        done = subprocess.run("'%s' --report | head -c 10" % self.tool, shell=True, cwd=self.work,
                              env=self.environment(), capture_output=True, timeout=120)
        self.assertEqual(len(done.stdout), 10)
        self.assertEqual(os.listdir(self.tmp), [])
        for ending in [signal.SIGTERM, signal.SIGHUP, signal.SIGINT]:
            with self.subTest(signal=ending):
                run = subprocess.Popen([self.tool, "--suggest-pin", "--report"], cwd=self.work,
                                       env=self.environment(), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
                # Ended once its run folder is there, while it works.
                deadline = time.time() + 30
                while not os.listdir(self.tmp) and time.time() < deadline:
                    time.sleep(0.01)
                run.send_signal(ending)
                run.communicate(timeout=120)
                self.assertIn(run.returncode, [-ending, 0])
                self.assertEqual(os.listdir(self.tmp), [])


class HostileNumbers(HostileCase):

    def test_commands_beyond_their_limits_are_refused_and_change_nothing(self):
        # The start-up scale is spread over the levels shown, so where a step leaves it depends on the design.
        SCALE = "; it must lie within 0 to 200 dB with its top at least 1 dB above its bottom"
        cases = [
            (["--set", "SplRange=-20"], FAILED, SCALE),
            (["--set", "SplRange=-40"], FAILED, SCALE),
            (["--set", "SplBase=-23"], FAILED, SCALE),
            (["--set", "SplBase=-1e308"], USAGE, "SplBase must be from"),
            (["--set", "SplRange=1.5"], USAGE, "SplRange needs a whole number, not '1.5'"),
            (["--set", "Meters=2"], USAGE, "1 for SI units (metres, kilograms) or 0 for US units"),
            (["--area", "3:LAngle=100001"], FAILED, "Floor (area 3): Angle must be a number from -90 to 90 degrees, not '100001'"),
            (["--area", "3:sX=1e308"], FAILED, "Floor (area 3): sX 1e+308 ft is refused"),
            (["--set", "LoadArrayFile="], FAILED, "LoadArrayFile needs the path of the file to load"),
            (["--probe", "1e308,0"], FAILED, "--probe 1e+308,0: the point lies beyond the venue's limits"),
        ]
        plain = self.report("--seed", "2")
        for args, expected, message in cases:
            with self.subTest(args=args):
                status, out, err = self.run_tool("--seed", "2", *args, "--report")
                self.assertEqual(status, expected, err)
                self.assertIn(message, err)
                self.assertNotIn("inf", err)
                if expected == FAILED:
                    self.assertEqual(err.count("error: "), 1, err)
                    report = json.loads(out)
                    if "probes" in report:
                        self.assertEqual(report.pop("probes"), [None])
                    self.assertEqual(report, plain)
                self.assertEqual(os.listdir(self.work), [])

    def test_commands_do_what_they_say_or_say_what_they_did(self):
        # The unit system is the one asked for, however often it is asked.
        self.assertEqual(self.report("--set", "Meters=0")["units"]["system"], "US")
        self.assertEqual(self.report("--set", "Meters=1", "--set", "Meters=1")["units"]["system"], "SI")
        # More subwoofers than room leaves fewer full-range modules, and says so.
        status, out, err = self.run_tool("--set", "Model_DRXS1=1", "--set", "Model_DRXR1=3", "--set", "Model_DRXS1=6",
                                         "--report")
        self.assertEqual(status, 0, err)
        self.assertIn("note: Model_DRXS1=6: the full-range count went from 3 to 0 to make room", err)
        self.assertEqual(len(json.loads(out)["array"]["positions"]), 7)
        # A venue without surfaces has no level to report.
        venue = self.saved("good.21v")
        start = venue.index("<AreaList>")
        end = venue.index("</AreaList>")
        self.write("empty.21v", venue[:start] + "<AreaList><Total>0</Total>" + venue[end:])
        spl = self.report("empty.21v")["spl"]
        self.assertEqual((spl["min"], spl["max"]), (None, None))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    ToolCase.tool = os.path.abspath(sys.argv.pop(1))
    unittest.main()
