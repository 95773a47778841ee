#!/usr/bin/python3
"""zed piece as a person runs it: exit codes, standard input and output, messages, help, and
the DXF peer (ezdxf) both ways. Usage: piece_cli.py ZED SAMPLES_DIR"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

ZED = SAMPLES = None


def read(path, mode="rb"):
    with open(path, mode) as f:
        return f.read()


def zed(*args, stdin=None):
    return subprocess.run([ZED, *args], input=stdin, capture_output=True, timeout=120)


class Cli(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="zed-cli-")
        self.blouse = os.path.join(SAMPLES, "blouse.json")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def path(self, name):
        return os.path.join(self.dir, name)

    def test_exit_status_success_failure_and_bad_usage(self):
        cases = [
            (["piece", "info", self.blouse], 0),
            (["--help"], 0), (["piece", "--help"], 0), (["piece", "smooth", "--help"], 0),
            (["--version"], 0),
            (["piece", "info", self.path("missing.json")], 1),
            (["piece", "convert", self.blouse, self.path("x.svg"), "--from", "svg"], 1),
            (["nonsense"], 2), (["piece"], 2), (["piece", "info"], 2),
            (["piece", "smooth", self.blouse, self.path("s.json")], 2),
            (["piece", "smooth", "--beta", "--chord", self.blouse, self.path("s.json")], 2),
            (["piece", "resample", self.blouse, self.path("r.json")], 2),
            (["piece", "resample", "--spacing", "-1", self.blouse, self.path("r.json")], 2),
            (["piece", "convert", self.blouse, self.path("x.dxf"), "--dxf-version", "13"], 2),
        ]
        for args, status in cases:
            with self.subTest(args=args):
                self.assertEqual(zed(*args).returncode, status)

    def test_help_on_every_level_names_the_commands(self):
        out = zed("piece", "--help").stdout.decode()
        for name in ["info", "convert", "prepare", "smooth", "resample", "svg"]:
            self.assertIn(name, out)

    def test_dash_is_standard_input_and_output(self):
        data = read(self.blouse)
        r = zed("piece", "convert", "-", "-", "--from", "json", "--to", "json", stdin=data)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stdout, data)
        chain = zed("piece", "convert", "-", "-", "--from", "json", "--to", "hpgl", stdin=data).stdout
        info = zed("piece", "info", "-", "--from", "hpgl", stdin=chain)
        self.assertIn(b"standard input: 1 piece, 73 points", info.stdout)
        md5 = zed("md5", "-", stdin=data)
        self.assertEqual(md5.stdout, subprocess.run(["md5sum", "-"], input=data, capture_output=True).stdout)

    def test_errors_name_the_file_place_and_field_and_leave_no_file(self):
        bad = self.path("bad.json")
        with open(bad, "w") as f:
            f.write('{"lines":[{"points":[[0,0],[1,"y"]]}]}')
        out = self.path("out.dxf")
        with open(out, "w") as f:
            f.write("old")
        r = zed("piece", "convert", bad, out)
        self.assertEqual(r.returncode, 1)
        self.assertIn(b'bad.json: piece 1, line 1, point 2: field "y": expected a number', r.stderr)
        self.assertEqual(read(out, "r"), "old")
        self.assertEqual(sorted(os.listdir(self.dir)), ["bad.json", "out.dxf"])

    def test_svg_is_well_formed_and_png_is_rendered(self):
        svg, png = self.path("b.svg"), self.path("b.png")
        r = zed("piece", "svg", self.blouse, svg, *(["--png", png] if shutil.which("rsvg-convert") else []))
        self.assertEqual(r.returncode, 0, r.stderr)
        root = ET.parse(svg).getroot()
        self.assertTrue(root.tag.endswith("svg"))
        texts = [t.text for t in root.iter() if t.tag.endswith("text")]
        for name in ["Front", "Back", "Sleeve", "100 mm"]:
            self.assertIn(name, texts)
        if shutil.which("rsvg-convert"):
            self.assertEqual(read(png)[:8], b"\x89PNG\r\n\x1a\n")

    def test_every_command_composes_through_files(self):
        steps = [
            ["piece", "convert", self.blouse, self.path("a.dxf")],
            ["piece", "prepare", self.path("a.dxf"), self.path("b.plt")],
            ["piece", "smooth", "--chord", "--points", "40", self.path("b.plt"), self.path("c.json")],
            ["piece", "resample", "--spacing", "4", self.path("c.json"), self.path("d.json")],
            ["piece", "smooth", "--beta", self.path("d.json"), self.path("e.dxf")],
            ["piece", "svg", self.path("e.dxf"), self.path("e.svg")],
        ]
        for args in steps:
            r = zed(*args)
            self.assertEqual(r.returncode, 0, (args, r.stderr))
        info = zed("piece", "info", self.path("d.json")).stdout.decode()
        self.assertIn("closed", info)


class Schema(unittest.TestCase):
    """The JSON Schema in docs/ holds for what zed writes, and refuses what zed refuses."""

    @classmethod
    def setUpClass(cls):
        try:
            import jsonschema
        except ImportError:
            raise unittest.SkipTest("python3-jsonschema is not installed")
        schema = json.loads(read(os.path.join(SAMPLES, "..", "..", "..", "docs", "piece.schema.json"), "r"))
        jsonschema.Draft202012Validator.check_schema(schema)
        cls.validator = jsonschema.Draft202012Validator(schema)

    def test_files_zed_writes_are_valid(self):
        with tempfile.TemporaryDirectory() as d:
            out = os.path.join(d, "r.json")
            blouse = os.path.join(SAMPLES, "blouse.json")
            for args in [["convert", blouse, out], ["resample", "--spacing", "3", blouse, out],
                         ["smooth", "--beta", blouse, out]]:
                self.assertEqual(zed("piece", *args).returncode, 0)
                errors = list(self.validator.iter_errors(json.loads(read(out, "r"))))
                self.assertEqual(errors, [], args)

    def test_what_zed_refuses_the_schema_refuses(self):
        cases = ['{"lines":[{"points":[[0,0,"Draw+Nope"]]}]}', '{"lines":[{"points":[[0,0,"",70000]]}]}',
                 '{"names":["a","b","c","d","e","f","g"]}', '{"format":"other","pieces":[]}',
                 '{"lines":[{"points":[[0]]}]}', '{"lines":[{"pionts":[]}]}']
        for text in cases:
            with self.subTest(text=text):
                self.assertEqual(zed("piece", "info", "-", "--from", "json", stdin=text.encode()).returncode, 1)
                self.assertTrue(list(self.validator.iter_errors(json.loads(text))))


class DxfPeer(unittest.TestCase):
    """DXF written by zed opens in ezdxf; DXF written by ezdxf imports into zed."""

    @classmethod
    def setUpClass(cls):
        try:
            import ezdxf  # noqa: F401
        except ImportError:
            raise unittest.SkipTest("python3-ezdxf is not installed")

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="zed-dxf-")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def test_zed_dxf_2000_opens_in_ezdxf_with_nothing_to_fix(self):
        import ezdxf
        out = os.path.join(self.dir, "blouse.dxf")
        r = zed("piece", "convert", "--dxf-version", "2000", os.path.join(SAMPLES, "blouse.json"), out)
        self.assertEqual(r.returncode, 0, r.stderr)
        doc = ezdxf.readfile(out)
        auditor = doc.audit()
        self.assertEqual([e.message for e in auditor.errors + auditor.fixes], [])
        self.assertEqual(doc.dxfversion, "AC1015")
        front = doc.blocks.get("Front")
        boundary = next(e for e in front if e.dxftype() == "LWPOLYLINE")
        self.assertEqual((boundary.dxf.layer, len(boundary), boundary.closed), ("1", 23, True))

    def test_zed_dxf_opens_in_ezdxf_with_the_blocks_layers_and_entities(self):
        import ezdxf
        out = os.path.join(self.dir, "blouse.dxf")
        r = zed("piece", "convert", os.path.join(SAMPLES, "blouse.json"), out)
        self.assertEqual(r.returncode, 0, r.stderr)
        doc = ezdxf.readfile(out)
        auditor = doc.audit()
        # ezdxf 0.18 loads R12 by giving every entity a handle, and then reports the SEQEND of
        # each polyline as a fix ("invalid owner handle"), for R12 files it wrote itself as well.
        self.assertEqual(len(auditor.errors), 0, [e.message for e in auditor.errors])
        self.assertEqual({f.message.split("(")[0] for f in auditor.fixes} - {"Deleted SEQEND"}, set())
        self.assertEqual(doc.dxfversion, "AC1009")
        names = [b.name for b in doc.blocks if not b.name.startswith("*")]
        self.assertEqual(names, ["Front", "Back", "Sleeve"])
        inserts = [e.dxf.name for e in doc.modelspace() if e.dxftype() == "INSERT"]
        self.assertEqual(inserts, names)
        front = doc.blocks.get("Front")
        kinds = {}
        for e in front:
            kinds.setdefault((e.dxftype(), e.dxf.layer), 0)
            kinds[(e.dxftype(), e.dxf.layer)] += 1
        self.assertEqual(kinds[("POLYLINE", "1")], 1)     # the boundary
        self.assertEqual(kinds[("LINE", "7")], 1)         # the grain line
        self.assertEqual(kinds[("POINT", "4")], 2)        # notches
        self.assertEqual(kinds[("POINT", "13")], 2)       # drill holes
        boundary = next(e for e in front if e.dxftype() == "POLYLINE")
        self.assertTrue(boundary.is_closed)
        self.assertEqual(len(list(boundary.points())), 23)
        texts = [e.dxf.text for e in front if e.dxftype() == "TEXT"]
        self.assertIn("Piece Name: Front", texts)
        self.assertIn("Size: 38", texts)

    def write_ezdxf(self, version):
        import ezdxf
        doc = ezdxf.new(version)
        for n in ["1", "2", "4", "7", "8", "13"]:
            doc.layers.add(n)
        block = doc.blocks.new("YOKE")
        outline = [(0, 0), (200, 0), (200, 80), (100, 100), (0, 80)]
        if version == "R12":
            block.add_polyline2d(outline, close=True, dxfattribs={"layer": "1"})
        else:
            block.add_lwpolyline(outline, close=True, dxfattribs={"layer": "1"})
        block.add_point((100, 0), dxfattribs={"layer": "4"})       # notch between two vertices
        block.add_point((200, 80), dxfattribs={"layer": "4"})      # notch on a vertex
        block.add_point((0, 80), dxfattribs={"layer": "2"})        # turn point
        block.add_point((60, 40), dxfattribs={"layer": "13"})      # drill hole
        block.add_line((40, 20), (160, 20), dxfattribs={"layer": "7"})
        block.add_text("Piece Name: Yoke", dxfattribs={"layer": "1", "insert": (10, 10), "height": 4})
        block.add_text("Size: 40", dxfattribs={"layer": "1", "insert": (10, 16), "height": 4})
        block.add_text("CUT 1", dxfattribs={"layer": "15", "insert": (50, 50), "height": 5, "rotation": 30})
        doc.modelspace().add_blockref("YOKE", (0, 0))
        path = os.path.join(self.dir, "yoke-%s.dxf" % version)
        doc.saveas(path)
        return path

    def test_ezdxf_files_of_r12_and_r2000_import_into_the_expected_piece(self):
        for version in ["R12", "R2000"]:
            with self.subTest(version=version):
                out = os.path.join(self.dir, "yoke.json")
                r = zed("piece", "convert", self.write_ezdxf(version), out)
                self.assertEqual(r.returncode, 0, r.stderr)
                doc = json.loads(read(out, "r"))
                self.assertEqual(len(doc["pieces"]), 1)
                piece = doc["pieces"][0]
                self.assertEqual(piece["names"][:2], ["Yoke", "40"])
                boundary, grain, drill = piece["lines"]
                self.assertTrue(boundary["closed"])
                pts = [(p[0], p[1], p[2] if len(p) > 2 else "") for p in boundary["points"]]
                self.assertEqual([(x, y) for x, y, _ in pts],
                                 [(0, 0), (100, 0), (200, 0), (200, 80), (100, 100), (0, 80)])
                self.assertIn("Notch", pts[1][2])
                self.assertIn("Notch", pts[3][2])
                self.assertIn("Corner", pts[5][2])
                self.assertEqual([p[:2] for p in grain["points"]], [[40, 20], [160, 20]])
                self.assertEqual(drill["points"][0][:3], [60, 40, "Drill"])
                self.assertEqual(piece["texts"][0]["text"], "CUT 1")
                self.assertAlmostEqual(piece["texts"][0]["angle"], 30, places=4)


if __name__ == "__main__":
    ZED, SAMPLES = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    unittest.main(argv=[sys.argv[0], "-v"])
