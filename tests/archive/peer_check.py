"""Checks scene archives against independent property-list implementations.

Usage: peer_check.py PROBE FIXTURES [unittest arguments]

PROBE is the archive_probe tool; FIXTURES the folder of archives written by another program.
Python's plistlib (which keeps UIDs) reads what we write and writes archives for us to read;
libplist's plistutil converts our files to XML and back.
"""

import colorsys
import json
import math
import os
import plistlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

PROBE = None
FIXTURES = None

POINT_KEYS = ["glpwcXKey", "glpwcYKey", "glpwcZKey", "glpwcRedKey", "glpwcGreenKey",
              "glpwcBlueKey", "glpwcAlphaKey"]


def f32(value):
    return struct.unpack("f", struct.pack("f", value))[0]


def complement(rgba):
    """The complement of a colour as the scene computes it, to within float rounding."""
    r, g, b, a = (min(max(f32(c), 0.0), 1.0) for c in rgba)
    h, s, v = colorsys.rgb_to_hsv(r, g, b)
    h += 0.5
    if h > 1.0:
        h -= 1.0
    return list(colorsys.hsv_to_rgb(h % 1.0, s, v)) + [a]


def probe(*args, stdin=None):
    out = subprocess.run([PROBE, *args], input=stdin, capture_output=True, text=True, check=True)
    return json.loads(out.stdout)


def read(path):
    return probe("read", path)


class Archive:
    """Builds a keyed archive of a scene the way the platform lays it out."""

    def __init__(self):
        self.objects = ["$null"]
        self.classes = {}

    def add(self, value):
        self.objects.append(value)
        return plistlib.UID(len(self.objects) - 1)

    def klass(self, name):
        if name not in self.classes:
            self.classes[name] = self.add({"$classname": name, "$classes": [name, "NSObject"]})
        return self.classes[name]

    def point(self, values, class_name="GLPointWithColor"):
        uid = self.add(None)
        self.objects[uid.data] = dict(values)
        self.objects[uid.data]["$class"] = self.klass(class_name)
        return uid

    def pair(self, first, second, class_name="GLPointPair"):
        uid = self.add(None)
        entry = {}
        if first is not None:
            entry["glppPoint1Key"] = self.point(first) if isinstance(first, dict) else first
        if second is not None:
            entry["glppPoint2Key"] = self.point(second) if isinstance(second, dict) else second
        entry["$class"] = self.klass(class_name)
        self.objects[uid.data] = entry
        return uid

    def scene(self, pairs, class_name="NSArray"):
        """pairs: list of (first, second) point dicts, or UIDs for ready-made objects."""
        root = self.add(None)
        refs = [p if isinstance(p, plistlib.UID) else self.pair(*p) for p in pairs]
        self.objects[root.data] = {"NS.objects": refs, "$class": self.klass(class_name)}
        return self.top(root)

    def top(self, root):
        return {"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": root},
                "$objects": self.objects}


def point(x, y, z, r, g, b, a):
    return dict(zip(POINT_KEYS, (x, y, z, r, g, b, a)))


def to_xml_uids(value):
    """plistlib has no XML form for UIDs; the platform writes them as {"CF$UID": n}."""
    if isinstance(value, plistlib.UID):
        return {"CF$UID": value.data}
    if isinstance(value, dict):
        return {k: to_xml_uids(v) for k, v in value.items()}
    if isinstance(value, list):
        return [to_xml_uids(v) for v in value]
    return value


class Base(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.dir)

    def path(self, name):
        return os.path.join(self.dir, name)

    def dump(self, archive, name, fmt=plistlib.FMT_BINARY):
        path = self.path(name)
        if fmt == plistlib.FMT_XML:
            archive = to_xml_uids(archive)
        with open(path, "wb") as f:
            plistlib.dump(archive, f, fmt=fmt, sort_keys=False)
        return path

    def both_forms(self, archive):
        return [self.dump(archive, "a.bin.plist"),
                self.dump(archive, "a.xml.plist", plistlib.FMT_XML)]


class PlistlibReadsOurFiles(Base):
    def test_random_scene_has_the_platform_layout(self):
        path = self.path("scene.plist")
        scene = probe("random", "7", "12", path)["pairs"]
        with open(path, "rb") as f:
            self.assertEqual(f.read(8), b"bplist00")
        with open(path, "rb") as f:
            archive = plistlib.load(f)
        self.assertEqual(archive["$archiver"], "NSKeyedArchiver")
        self.assertEqual(archive["$version"], 100000)
        self.assertEqual(archive["$top"], {"root": plistlib.UID(1)})
        objects = archive["$objects"]
        self.assertEqual(objects[0], "$null")

        # Depth-first: array, pair, point, point class, point, pair class, pair, point, ...
        point_class = {"$classname": "GLPointWithColor", "$classes": ["GLPointWithColor", "NSObject"]}
        pair_class = {"$classname": "GLPointPair", "$classes": ["GLPointPair", "NSObject"]}
        array_class = {"$classname": "NSArray", "$classes": ["NSArray", "NSObject"]}
        self.assertEqual(len(objects), 2 + 3 * len(scene) + 3)
        self.assertEqual(objects[4], point_class)
        self.assertEqual(objects[6], pair_class)
        self.assertEqual(objects[-1], array_class)
        pair_uids = []
        uid = 2
        for i, pair in enumerate(scene):
            pair_uids.append(plistlib.UID(uid))
            first = uid + 1
            second = uid + (3 if i == 0 else 2)
            self.assertEqual(objects[uid], {"$class": plistlib.UID(6),
                                            "glppPoint1Key": plistlib.UID(first),
                                            "glppPoint2Key": plistlib.UID(second)})
            for stored, expected in ((objects[first], pair[0]), (objects[second], pair[1])):
                self.assertEqual(stored["$class"], plistlib.UID(4))
                self.assertEqual(set(stored), set(POINT_KEYS) | {"$class"})
                values = [stored[k] for k in POINT_KEYS]
                for v in values:
                    self.assertIs(type(v), float)
                self.assertEqual(values, expected["xyz"] + expected["rgba"])
            uid = second + (2 if i == 0 else 1)
        self.assertEqual(objects[1], {"$class": plistlib.UID(len(objects) - 1),
                                      "NS.objects": pair_uids})

    def test_whole_numbers_are_written_as_reals(self):
        path = self.path("whole.plist")
        probe("write", path, stdin="1 -2 0 1 0 0 1 5 6 7 0 0 0 1\n")
        with open(path, "rb") as f:
            point1 = plistlib.load(f)["$objects"][3]
        self.assertEqual([point1[k] for k in POINT_KEYS], [1.0, -2.0, 0.0, 1.0, 0.0, 0.0, 1.0])
        for k in POINT_KEYS:
            self.assertIs(type(point1[k]), float)

    def test_empty_scene(self):
        path = self.path("empty.plist")
        probe("write", path, stdin="")
        with open(path, "rb") as f:
            archive = plistlib.load(f)
        self.assertEqual(archive["$objects"], [
            "$null", {"$class": plistlib.UID(2), "NS.objects": []},
            {"$classname": "NSArray", "$classes": ["NSArray", "NSObject"]}])
        self.assertEqual(read(path), {"pairs": []})


class WeReadPlistlibFiles(Base):
    def test_scene_opens_with_second_point_recoloured(self):
        pairs = [(point(1.5, -2, 3, 1, 0, 0, 1), point(4, 5, 6, 0.2, 0.9, 0.3, 0.5)),
                 (point(-800, 800, 0.125, 0.1, 0.6, 0.3, 0.75), point(7, 8, 9, 0, 0, 0, 1))]
        for path in self.both_forms(Archive().scene(pairs)):
            scene = read(path)["pairs"]
            self.assertEqual(len(scene), 2, path)
            for (first, second), got in zip(pairs, scene):
                self.assertEqual(got[0]["xyz"] + got[0]["rgba"], [float(first[k]) for k in POINT_KEYS])
                self.assertEqual(got[1]["xyz"], [float(second[k]) for k in POINT_KEYS[:3]])
                expected = complement([first[k] for k in POINT_KEYS[3:]])
                for a, b in zip(got[1]["rgba"], expected):
                    self.assertAlmostEqual(a, b, places=6)
                self.assertEqual(got[0]["d"] + got[1]["d"], [0.0] * 6)

    def test_same_scene_as_built_in_memory(self):
        lines = "0.5 1 2 0.1 0.7 0.4 0.9 3 4 5 0 0 0 1\n-1 -2 -3 0.3 0.3 0.3 1 1 1 1 1 1 1 1\n"
        built = probe("write", self.path("ours.plist"), stdin=lines)
        pairs = []
        for line in lines.splitlines():
            v = [float(x) for x in line.split()]
            pairs.append((point(*v[:7]), point(*v[7:])))
        for path in self.both_forms(Archive().scene(pairs)):
            self.assertEqual(read(path), built, path)

    def test_mutable_array_root_integers_and_missing_alpha(self):
        first = point(1, 2, 3, 1, 0, 0, 1)
        del first["glpwcAlphaKey"]
        second = {"glpwcXKey": 7}
        for path in self.both_forms(Archive().scene([(first, second)], "NSMutableArray")):
            got = read(path)["pairs"][0]
            self.assertEqual(got[0]["rgba"], [1.0, 0.0, 0.0, 0.0])
            self.assertEqual(got[0]["color"], [1.0, 0.0, 0.0, 0.0])
            self.assertEqual(got[1]["xyz"], [7.0, 0.0, 0.0])
            self.assertEqual(got[1]["rgba"], [0.0, 1.0, 1.0, 0.0])

    def test_shared_objects_are_decoded_once(self):
        archive = Archive()
        shared = archive.point(point(1, 1, 1, 0, 0, 1, 1))
        pair = archive.pair(point(0, 0, 0, 1, 0, 0, 1), shared)
        other = archive.pair(shared, point(2, 2, 2, 0, 1, 0, 1))
        for path in self.both_forms(archive.scene([pair, other, pair])):
            scene = read(path)["pairs"]
            self.assertEqual([len(scene)] + [p["id"] for pr in scene for p in pr],
                             [3, 0, 1, 1, 2, 0, 1])

    def test_a_tiny_file_with_many_shared_references_stays_small(self):
        # Every pair is the same object: the file grows by a byte per pair, the scene by a pointer.
        archive = Archive()
        pair = archive.pair(point(1, 2, 3, 1, 0, 0, 1), point(4, 5, 6, 0, 0, 0, 1))
        scene = read(self.dump(archive.scene([pair] * 5000), "many.plist"))["pairs"]
        self.assertEqual(len(scene), 5000)
        self.assertEqual({p[0]["id"] for p in scene}, {0})

    def test_malformed_archives_are_refused_with_their_reason(self):
        good = point(1, 2, 3, 0.5, 0.5, 0.5, 1)
        cases = []

        def case(name, expected, build):
            cases.append((name, expected, build))

        case("no second point", "The file is damaged: pair 2 has no second point.",
             lambda a: a.scene([(good, good), (good, None)]))
        case("no first point", "The file is damaged: pair 1 has no first point.",
             lambda a: a.scene([(None, good)]))
        case("nil second point", "The file is damaged: pair 1 has no second point.",
             lambda a: a.scene([(good, plistlib.UID(0))]))
        case("unknown class", "The file is damaged: pair 1's second point is not a point (the archive "
             "holds an object of class “NSURL”, which a scene may not contain).",
             lambda a: a.scene([(good, a.point(good, "NSURL"))]))
        case("pair in place of a point", "The file is damaged: pair 1's first point is not a point "
             "(the archive holds a “GLPointPair” there).",
             lambda a: a.scene([(plistlib.UID(2), good)]))
        case("point in place of a pair", "The file is damaged: pair 1 is not a point pair (the archive "
             "holds a “GLPointWithColor” there).",
             lambda a: a.scene([a.point(good)]))
        case("root is a pair", "The file is not a scene: it holds an object of class “GLPointPair”, not a "
             "list of point pairs.",
             lambda a: a.top(a.pair(good, good)))
        case("string element", "The file is damaged: pair 1 is not a point pair (the archive holds a "
             "string there).",
             lambda a: a.scene([a.add("hello")]))
        case("nil element", "The file is damaged: pair 1 is missing.",
             lambda a: a.scene([plistlib.UID(0)]))
        case("reference out of range", "The file is damaged: pair 1's second point is missing (object "
             "999 is not in the archive).",
             lambda a: a.scene([(good, plistlib.UID(999))]))
        case("string for a number", "The file is damaged: pair 1's first point has no valid y coordinate "
             "(glpwcYKey holds a string, not a number).",
             lambda a: a.scene([(dict(good, glpwcYKey="2"), good)]))
        case("boolean for a number", "The file is damaged: pair 1's second point has no valid red component "
             "(glpwcRedKey holds a boolean, not a number).",
             lambda a: a.scene([(good, dict(good, glpwcRedKey=True))]))
        case("not finite", "The file is damaged: pair 1's first point has no valid x coordinate "
             "(glpwcXKey is not a finite number).",
             lambda a: a.scene([(dict(good, glpwcXKey=float("inf")), good)]))
        case("nan", "The file is damaged: pair 1's second point has no valid z coordinate "
             "(glpwcZKey is not a finite number).",
             lambda a: a.scene([(good, dict(good, glpwcZKey=float("nan")))]))
        case("beyond a float", "The file is damaged: pair 1's second point has no valid x coordinate "
             "(glpwcXKey is too large for a point).",
             lambda a: a.scene([(good, dict(good, glpwcXKey=1e300))]))
        case("number for a point", "The file is damaged: pair 1's first point is missing (glppPoint1Key "
             "holds an integer, not an object reference).",
             lambda a: a.scene([(3, good)]))
        case("no class", "The file is damaged: the scene cannot be read (it has no class).",
             lambda a: a.top(a.add({"NS.objects": []})))
        case("no root", "The file is damaged: it holds no scene (the archive has no root object).",
             lambda a: a.top(plistlib.UID(0)))
        case("no objects array", "The file is damaged: its list of point pairs is missing (the array has "
             "no “NS.objects”).",
             lambda a: a.top(a.add({"$class": a.klass("NSArray")})))

        for name, expected, build in cases:
            archive = Archive()
            for path in self.both_forms(build(archive)):
                self.assertEqual(read(path), {"error": expected}, f"{name}: {path}")

    def test_containers_that_are_not_scene_archives(self):
        cases = [
            ({"hello": 1}, "The file is not a scene: it is a property list, but not a keyed archive."),
            ([1, 2], "The file is not a scene: it is a property list, but not a keyed archive."),
            ({"$archiver": "NSKeyedArchiver", "$version": 5, "$top": {}, "$objects": []},
             "The file is not a scene: it is a keyed archive of a version other than 100000."),
            ({"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": plistlib.UID(1)}},
             "The file is damaged: its archived objects are missing (it has no “$objects” array)."),
            ({"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": plistlib.UID(1)},
              "$objects": ["$null"]},
             "The file is damaged: the scene is missing (object 1 is not in the archive)."),
        ]
        for value, expected in cases:
            for path in self.both_forms(value):
                self.assertEqual(read(path), {"error": expected}, path)


class Fixtures(Base):
    def test_each_fixture_parses_and_is_refused_as_a_scene(self):
        expected = {
            "array-of-strings.xml.plist":
                "The file is damaged: pair 1 is not a point pair (the archive holds a string there).",
            "dictionary-mixed.bin.plist":
                "The file is not a scene: it holds an object of class “NSDictionary”, not a list of "
                "point pairs.",
            "ordered-set-numbers.bin.plist":
                "The file is not a scene: it holds an object of class “NSOrderedSet”, not a list of "
                "point pairs.",
            "set-empty.bin.plist":
                "The file is not a scene: it holds an object of class “NSSet”, not a list of point "
                "pairs.",
        }
        self.assertEqual(sorted(expected), sorted(f for f in os.listdir(FIXTURES) if f.endswith(".plist")))
        for name, message in expected.items():
            self.assertEqual(read(os.path.join(FIXTURES, name)), {"error": message}, name)


class Plistutil(Base):
    def convert(self, source, fmt, name):
        target = self.path(name)
        subprocess.run(["plistutil", "-i", source, "-o", target, "-f", fmt], check=True)
        return target

    def test_our_files_survive_conversion_to_xml_and_back(self):
        path = self.path("scene.plist")
        probe("random", "11", "25", path)
        scene = read(path)
        xml = self.convert(path, "xml", "scene.xml")
        with open(xml, "rb") as f:
            self.assertTrue(f.read().lstrip().startswith(b"<?xml"))
        self.assertEqual(read(xml), scene)
        back = self.convert(xml, "bin", "back.plist")
        self.assertEqual(read(back), scene)
        with open(path, "rb") as f, open(xml, "rb") as g:
            ours, theirs = plistlib.load(f), plistlib.load(g)
        self.assertEqual(to_xml_uids(ours), theirs)


if __name__ == "__main__":
    PROBE, FIXTURES = sys.argv[1], sys.argv[2]
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:])
