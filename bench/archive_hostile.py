#!/usr/bin/env python3
"""Writes crafted scene files that cost far more to read than their size suggests, and measures
what opening each costs: the peak memory above the idle process as a multiple of the file's
size, and the time.

Usage: archive_hostile.py BUILD_DIR [MEGABYTES]      measure every shape at about that size
       archive_hostile.py --write DIR [MEGABYTES]     only write the files

Shapes (each accepted by the container format, each refused or bounded by the reader):
  shared-dict   many distinct references that all name one pair dictionary with many entries
  one-pair      one pair named over and over through one-byte references
  nested-xml    XML arrays opened and never closed
  flat-xml      one XML array of <true/>
  attributes    one XML element with a great many attributes
"""

import json
import os
import subprocess
import sys
import tempfile


def be(value, size):
    return value.to_bytes(size, "big")


def marker(high, count):
    if count < 15:
        return bytes([(high << 4) | count])
    size = 1 if count < 256 else 2 if count < 65536 else 4 if count < 2**32 else 8
    return bytes([(high << 4) | 0xF, 0x10 | {1: 0, 2: 1, 4: 2, 8: 3}[size]]) + be(count, size)


class Binary:
    """A binary property list assembled object by object; refs are object numbers."""

    def __init__(self):
        self.objects = []

    def add(self, encode):
        self.objects.append(encode)
        return len(self.objects) - 1

    def string(self, text):
        return self.add(lambda r: marker(5, len(text)) + text.encode("ascii"))

    def uid(self, n):
        size = 1 if n < 256 else 2 if n < 65536 else 4
        return self.add(lambda r: bytes([0x80 | (size - 1)]) + be(n, size))

    def real(self, x):
        import struct
        return self.add(lambda r: b"\x23" + struct.pack(">d", x))

    def array(self, items):
        return self.add(lambda r: marker(0xA, len(items)) + b"".join(be(i, r) for i in items))

    def dict(self, keys, values):
        return self.add(lambda r: marker(0xD, len(keys)) + b"".join(be(k, r) for k in keys) +
                        b"".join(be(v, r) for v in values))

    def finish(self, top):
        count = len(self.objects)
        ref = 1 if count <= 256 else 2 if count <= 65536 else 4
        out = bytearray(b"bplist00")
        offsets = []
        for encode in self.objects:
            offsets.append(len(out))
            out += encode(ref)
        table = len(out)
        off = 1 if table < 256 else 2 if table < 65536 else 4 if table < 2**32 else 8
        for o in offsets:
            out += be(o, off)
        out += bytes(6) + bytes([off, ref]) + be(count, 8) + be(top, 8) + be(table, 8)
        return bytes(out)


def archive(b, objects_refs):
    """The keyed archive's top dictionary around an "$objects" array of these refs."""
    objects = b.array(objects_refs)
    keys = [b.string(k) for k in ("$archiver", "$version", "$top", "$objects")]
    top = b.dict([b.string("root")], [b.uid(1)])
    version = b.add(lambda r: b"\x12" + be(100000, 4))
    return b.dict(keys, [b.string("NSKeyedArchiver"), version, top, objects])


def classes(b):
    name = b.string("$classname")
    out = {}
    for cls in ("NSArray", "GLPointPair", "GLPointWithColor"):
        out[cls] = b.dict([name], [b.string(cls)])
    return out


def point(b, cls, class_key):
    keys = [class_key] + [b.string(k) for k in ("glpwcXKey", "glpwcYKey", "glpwcZKey")]
    return b.dict(keys, [b.uid(cls), b.real(1.0), b.real(2.0), b.real(3.0)])


def shared_dict(size):
    """$objects slots 6.. all point at one pair dictionary carrying many extra entries; the
    root array names every slot once."""
    b = Binary()
    cls = classes(b)
    class_key = b.string("$class")
    # $objects: 0 $null, 1 the array, 2-4 classes, 5 point, 6.. the pair (one object, many UIDs)
    extra = max(1, size // 40)
    references = max(1, size // 20)
    p1, p2 = b.string("glppPoint1Key"), b.string("glppPoint2Key")
    filler = b.string("x")
    extra_keys = [b.string("k%d" % i) for i in range(extra)]
    pair = b.dict([class_key, p1, p2] + extra_keys, [b.uid(3), b.uid(5), b.uid(5)] +
                  [filler] * extra)
    pt = point(b, 4, class_key)
    elements = b.array([b.uid(6 + i) for i in range(references)])
    ns = b.dict([class_key, b.string("NS.objects")], [b.uid(2), elements])
    null = b.string("$null")
    slots = [null, ns, cls["NSArray"], cls["GLPointPair"], cls["GLPointWithColor"], pt]
    slots += [pair] * references
    return b.finish(archive(b, slots))


def one_pair(size):
    """The root array names one pair again and again, one byte per reference."""
    b = Binary()
    cls = classes(b)
    class_key = b.string("$class")
    p1, p2 = b.string("glppPoint1Key"), b.string("glppPoint2Key")
    pt = point(b, 4, class_key)
    pair = b.dict([class_key, p1, p2], [b.uid(3), b.uid(5), b.uid(6)])
    pair_uid = b.uid(7)
    elements = b.array([pair_uid] * size)
    ns = b.dict([class_key, b.string("NS.objects")], [b.uid(2), elements])
    slots = [b.string("$null"), ns, cls["NSArray"], cls["GLPointPair"], cls["GLPointWithColor"],
             pt, pt, pair]
    return b.finish(archive(b, slots))


def nested_xml(size):
    return b"<plist>" + b"<array>" * (size // 7)


def flat_xml(size):
    return b"<plist><array>" + b"<true/>" * (size // 7) + b"</array></plist>"


def attributes(size):
    count = size // 8
    return (b"<plist " + b" ".join(b'a%d=""' % i for i in range(count)) +
            b"><array/></plist>")


SHAPES = {"shared-dict": shared_dict, "one-pair": one_pair, "nested-xml": nested_xml,
          "flat-xml": flat_xml, "attributes": attributes}


def write(directory, megabytes):
    paths = {}
    for name, make in SHAPES.items():
        path = os.path.join(directory, name + ".orbalin")
        with open(path, "wb") as f:
            f.write(make(int(megabytes * 1e6)))
        paths[name] = path
    return paths


def main():
    if sys.argv[1] == "--write":
        megabytes = float(sys.argv[3]) if len(sys.argv) > 3 else 1
        for name, path in write(sys.argv[2], megabytes).items():
            print(name, path, os.path.getsize(path))
        return
    peak_tool = os.path.join(sys.argv[1], "bench", "archive_open_peak")
    megabytes = float(sys.argv[2]) if len(sys.argv) > 2 else 4
    print(f"load average {os.getloadavg()[0]:.1f}")
    with tempfile.TemporaryDirectory() as scratch:
        for name, path in write(scratch, megabytes).items():
            run = subprocess.run([peak_tool, "--any", path], capture_output=True, text=True)
            result = json.loads(run.stdout) if run.stdout.strip() else {}
            outcome = result.get("refused") or f"{result.get('pairs')} pairs"
            print(f"{name:12} {os.path.getsize(path) / 1e6:7.2f} MB  "
                  f"{result.get('times_file_size', float('nan')):6.2f}x file  "
                  f"{result.get('cpu_seconds', float('nan')):6.2f} s  {outcome[:70]}")


if __name__ == "__main__":
    main()
