#!/usr/bin/env python3
"""Tests of hlp-context-map against help files that halibut really writes.

The files are read back here the way Wine's winhlp32 reads them
(programs/winhlp32/hlpfile.c): an internal file ends where its ReservedSpace
ends, and must hold its UsedSpace plus the 9-byte header. The topic a map
entry points at is named by halibut's own |TTLBTREE (topic offset -> title),
so the tool's hash and offsets are checked against halibut, not against
themselves.

Run: python3 -B test_hlp_context_map.py (needs halibut on PATH, or its path
in CALVORIN_HALIBUT).
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOOL = os.path.join(HERE, "hlp-context-map")
HELP_SOURCE = os.environ.get("CALVORIN_HELP_SOURCE",
                             os.path.join(HERE, "..", "..", "help", "Calvorin.but"))
HALIBUT = os.environ.get("CALVORIN_HALIBUT") or shutil.which("halibut")


def u16(data, pos):
    return struct.unpack_from("<H", data, pos)[0]


def u32(data, pos):
    return struct.unpack_from("<I", data, pos)[0]


class Hlp:
    """A minimal reader: just enough to see what WinHelp would see."""

    def __init__(self, data):
        self.data = data
        self.files = {}
        for pos in self._leaves(u32(data, 4)):
            name_end = data.index(b"\0", pos)
            self.files[data[pos:name_end].decode("latin-1")] = u32(data, name_end + 1)

    def _leaves(self, tree):
        data = self.data
        page_size = u16(data, tree + 9 + 4)
        page = u16(data, tree + 9 + 26)
        levels = u16(data, tree + 9 + 32)
        pages = tree + 9 + 38
        for _ in range(levels - 1):
            page = u16(data, pages + page * page_size + 4)
        while page != 0xFFFF:
            base = pages + page * page_size
            pos = base + 8
            for _ in range(u16(data, base + 2)):
                yield pos
                pos = self._skip_entry(tree, pos)
            page = u16(data, base + 6)

    def _skip_entry(self, tree, pos):
        fmt = self.data[tree + 9 + 6:tree + 9 + 22].rstrip(b"\0")
        for kind in fmt.decode("ascii"):
            if kind in "zFi":
                pos = self.data.index(b"\0", pos) + 1
            elif kind in "L4":
                pos += 4
            elif kind == "2":
                pos += 2
            else:
                raise AssertionError("entry kind %r" % kind)
        return pos

    def body(self, name):
        offset = self.files[name]
        reserved, used = u32(self.data, offset), u32(self.data, offset + 4)
        assert offset + reserved <= len(self.data), name + " does not fit"
        assert reserved >= used + 9, name + " has an invalid size"
        return self.data[offset + 9:offset + 9 + used]

    def ctxomap(self):
        body = self.body("|CTXOMAP")
        count = u16(body, 0)
        return {u32(body, 2 + 8 * i): u32(body, 6 + 8 * i) for i in range(count)}

    def titles(self):
        tree = self.files["|TTLBTREE"]
        result = {}
        for pos in self._leaves(tree):
            end = self.data.index(b"\0", pos + 4)
            result[u32(self.data, pos)] = self.data[pos + 4:end].decode("cp1252")
        return result

    def free_blocks(self):
        blocks, pos = [], struct.unpack_from("<i", self.data, 8)[0]
        while pos != -1:
            assert pos not in [b[0] for b in blocks], "free list loops"
            blocks.append((pos, u32(self.data, pos)))
            pos = struct.unpack_from("<i", self.data, pos + 4)[0]
        return blocks


def title_at(hlp, offset):
    """The title of the topic that holds a topic offset, as WinHelp picks it."""
    titles = hlp.titles()
    starts = [start for start in titles if start <= offset]
    return titles[max(starts)] if starts else None


@unittest.skipUnless(HALIBUT, "halibut is not installed")
class HlpContextMapTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="hlp-context-map-test-")
        self.addCleanup(shutil.rmtree, self.dir)

    def halibut(self, source_text=None, source=None):
        if source is None:
            source = os.path.join(self.dir, "in.but")
            with open(source, "w") as f:
                f.write(source_text)
        out = os.path.join(self.dir, "in.hlp")
        subprocess.run([HALIBUT, "--winhelp=" + out, source], check=True,
                       stdout=subprocess.DEVNULL)
        return out

    def run_tool(self, *args):
        return subprocess.run([sys.executable, "-B", TOOL] + list(args),
                              capture_output=True, text=True)

    def map_ok(self, source, target, *pairs):
        result = self.run_tool(source, target, *pairs)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(target, "rb") as f:
            return Hlp(f.read())

    def test_calvorin_help_maps_10_and_20_to_its_two_windows(self):
        hlp = self.map_ok(self.halibut(source=HELP_SOURCE), os.path.join(self.dir, "out.hlp"),
                          "10=main_window", "20=about_window")
        ctx = hlp.ctxomap()
        self.assertEqual(sorted(ctx), [10, 20])
        self.assertEqual(title_at(hlp, ctx[10]), "The Calvorin window")
        self.assertEqual(title_at(hlp, ctx[20]), "The About window")

        out = os.path.join(self.dir, "out.hlp")
        self.assertEqual(self.run_tool("--check", out, "20=about_window", "10=main_window")
                         .returncode, 0)
        swapped = self.run_tool("--check", out, "10=about_window", "20=main_window")
        self.assertEqual(swapped.returncode, 1)
        self.assertIn("|CTXOMAP maps", swapped.stderr)
        self.assertEqual(self.run_tool("--check", out, "10=main_window").returncode, 1)

    def test_hash_matches_halibut_for_many_names_and_a_two_level_context_tree(self):
        # 300 topics overflow one 2 KiB |CONTEXT page; the names exercise
        # digits, '.', '_', case, characters whose hash value is negative
        # ('-', '#') and 32-bit overflow of the hash.
        names = ["t%d_X.y-#%s" % (i, "z" * (i % 23)) for i in range(300)]
        text = "\\title T\n\n" + "".join(
            "\\U Topic %d\n\n\\cfg{winhelp-topic}{%s}\n\nText %d.\n\n" % (i, n, i)
            for i, n in enumerate(names))
        pairs = ["%d=%s" % (1000 + i, n.upper() if i % 2 else n) for i, n in enumerate(names)]
        hlp = self.map_ok(self.halibut(text), os.path.join(self.dir, "out.hlp"), *pairs)
        ctx = hlp.ctxomap()
        for i in range(300):
            self.assertEqual(title_at(hlp, ctx[1000 + i]), "Topic %d" % i)

    def test_only_the_map_changes_and_the_file_system_stays_consistent(self):
        source = self.halibut(source=HELP_SOURCE)
        with open(source, "rb") as f:
            before = Hlp(f.read())
        after = self.map_ok(source, os.path.join(self.dir, "out.hlp"),
                            "10=main_window", "20=about_window", "30=Top")
        self.assertEqual(u32(after.data, 12), len(after.data))
        self.assertEqual(u32(after.data, 4), u32(before.data, 4))
        self.assertEqual(set(after.files), set(before.files))
        for name in before.files:
            if name != "|CTXOMAP":
                self.assertEqual(after.body(name), before.body(name), name)
        self.assert_free_blocks_hold_no_file(after)

    def assert_free_blocks_hold_no_file(self, hlp):
        used = [(off, off + u32(hlp.data, off)) for off in hlp.files.values()]
        used.append((u32(hlp.data, 4), u32(hlp.data, 4) + u32(hlp.data, u32(hlp.data, 4))))
        for start, size in hlp.free_blocks():
            self.assertGreaterEqual(size, 8)
            self.assertLessEqual(start + size, len(hlp.data))
            for a, b in used:
                self.assertTrue(start + size <= a or b <= start,
                                "free block at %d overlaps a file at %d" % (start, a))

    def test_rewriting_its_own_output_in_place_and_growing_again(self):
        first = os.path.join(self.dir, "one.hlp")
        second = os.path.join(self.dir, "two.hlp")
        third = os.path.join(self.dir, "three.hlp")
        self.map_ok(self.halibut(source=HELP_SOURCE), first, "10=main_window", "20=about_window")
        hlp = self.map_ok(first, second, "20=main_window")  # smaller: fits in place
        self.assertEqual(os.path.getsize(second), os.path.getsize(first))
        self.assertEqual(title_at(hlp, hlp.ctxomap()[20]), "The Calvorin window")
        hlp = self.map_ok(second, third, "1=Top", "10=main_window", "20=about_window")
        self.assertEqual({n: title_at(hlp, o) for n, o in hlp.ctxomap().items()},
                         {1: "Contents", 10: "The Calvorin window", 20: "The About window"})
        self.assertEqual(len(hlp.free_blocks()), 2)
        self.assert_free_blocks_hold_no_file(hlp)

    def test_unknown_context_fails_naming_it_and_writes_nothing(self):
        target = os.path.join(self.dir, "out.hlp")
        result = self.run_tool(self.halibut(source=HELP_SOURCE), target, "10=main_windw")
        self.assertEqual(result.returncode, 1)
        self.assertIn("'main_windw'", result.stderr)
        self.assertIn("The Calvorin window", result.stderr)
        self.assertFalse(os.path.exists(target))

    def test_damaged_or_foreign_input_fails_cleanly(self):
        with open(self.halibut(source=HELP_SOURCE), "rb") as f:
            good = f.read()
        bad = {
            "truncated": good[:-100],
            "not help": b"MZ" + good[2:],
            "directory out of range": good[:4] + struct.pack("<I", len(good)) + good[8:],
        }
        for label, data in bad.items():
            with self.subTest(label):
                source = os.path.join(self.dir, "bad.hlp")
                target = os.path.join(self.dir, "out.hlp")
                with open(source, "wb") as f:
                    f.write(data)
                result = self.run_tool(source, target, "10=main_window")
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertTrue(result.stderr.startswith("hlp-context-map: "), result.stderr)
                self.assertNotIn("Traceback", result.stderr)
                self.assertFalse(os.path.exists(target))

    def test_bad_pairs_are_refused(self):
        source = self.halibut(source=HELP_SOURCE)
        for pairs in (["10"], ["x=main_window"], ["10=main_window", "0xA=about_window"],
                      ["4294967296=main_window"], ["-1=main_window"]):
            with self.subTest(pairs):
                result = self.run_tool(source, os.path.join(self.dir, "out.hlp"), *pairs)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertNotIn("Traceback", result.stderr)


if __name__ == "__main__":
    sys.dont_write_bytecode = True
    unittest.main(verbosity=2)
