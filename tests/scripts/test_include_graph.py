#!/usr/bin/env python3
"""The floor check on small source trees: each fault it exists to catch fails it.

usage: test_include_graph.py PATH/TO/include_graph.py [unittest options]
"""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = None
CMAKE = 'set(DRX_APP_SOURCES\n    "${CMAKE_SOURCE_DIR}/app/Main.cpp")\n'


class IncludeGraphTest(unittest.TestCase):
    def check(self, files):
        with tempfile.TemporaryDirectory() as root:
            with open(os.path.join(root, "CMakeLists.txt"), "w") as f:
                f.write(CMAKE)
            for path, includes in files.items():
                os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
                with open(os.path.join(root, path), "w") as f:
                    f.write("".join('#include "%s"\n' % i for i in includes))
            run = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
            return run.returncode, run.stdout

    def test_clean_floors_pass(self):
        status, out = self.check({
            "base/CPoint.h": [],
            "xml/CXmlNode.cpp": ["xml/CXmlNode.h", "base/CPoint.h"],
            "xml/CXmlNode.h": [],
            "array/CArrayManager.cpp": ["venue/CVenueManager.h", "xml/CXmlNode.h"],
            "venue/CVenueManager.h": ["xml/CXmlNode.h"],
            "app/Main.cpp": ["ui/CWindow.h"],
            "ui/CWindow.h": ["app/CJuceManager.h"],
            "app/CJuceManager.h": ["engine/CEngineManager.h"],
        })
        self.assertEqual(status, 0, out)
        self.assertIn("0 upward include(s)", out)

    def test_each_fault_fails(self):
        cases = [
            ("circle across folders",
             {"array/A.cpp": ["venue/V.h"], "venue/V.cpp": ["array/A.h"]}, "circle across 2 files"),
            ("circle inside one folder",
             {"array/CManager.h": ["array/CLineWrap.h"], "array/CLineWrap.h": ["array/CCabWrap.h"],
              "array/CCabWrap.cpp": ["array/CManager.h"]}, "circle across 3 files"),
            ("xml reaching up",
             {"xml/CXmlNode.cpp": ["app/CListenerManager.h"], "app/CListenerManager.h": []}, "xml/ includes a higher"),
            ("base reaching up",
             {"base/CLine.cpp": ["xml/XmlTags.h"], "xml/XmlTags.h": []}, "base/ includes a higher"),
            ("core including the window",
             {"app/CJuceManager.cpp": ["ui/CPanel.h"], "ui/CPanel.h": []}, "core file includes the user interface"),
            ("three upward includes",
             {"engine/E.cpp": ["app/A.h", "app/B.h", "app/C.h"], "app/A.h": [], "app/B.h": [], "app/C.h": []},
             "3 includes run up a floor"),
        ]
        for name, files, message in cases:
            with self.subTest(name):
                status, out = self.check(files)
                self.assertEqual(status, 1, out)
                self.assertIn(message, out)

    def test_two_upward_includes_are_tolerated(self):
        status, out = self.check({"engine/E.cpp": ["app/A.h", "app/B.h"], "app/A.h": [], "app/B.h": []})
        self.assertEqual(status, 0, out)
        self.assertIn("2 upward include(s)", out)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    SCRIPT = os.path.abspath(sys.argv.pop(1))
    unittest.main()
