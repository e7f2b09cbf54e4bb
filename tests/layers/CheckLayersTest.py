#!/usr/bin/env python3
"""The layer check over a scratch tree laid out like the project and held to
the project's own map: each translation unit is preprocessed for real (-M),
and the check must report exactly the faults a case names.

usage: CheckLayersTest.py COMPILER
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CHECK = os.path.join(ROOT, "scripts", "check-layers.py")
COMPILER = "c++"

# Headers the cases include.
HEADERS = {
    "src/probex/base/Low.h": "#pragma once\n#include <vector>\n",
    "src/probex/platform/Door.h": "#pragma once\n#include <unistd.h>\n",
    "src/probex/platform/posix/Spawn.inc": "#include <spawn.h>\n#include <sys/wait.h>\n",
    "src/probex/view/Stat.h": "#pragma once\n\n#include <sys/stat.h>\n",
    "src/probex/coverage/Mode.h": "#pragma once\n",
    "src/probex/core/High.h": "#pragma once\n",
    "src/probex/core/High Space.h": "#pragma once\n",
    "src/probex/concurrent/Side.h": "#pragma once\n",
    "examples/Example.h": "#pragma once\n",
    "src/probex/extra/Extra.h": "#pragma once\n",
    "tools/divov/Model.h": "#pragma once\n#include \"probex/platform/Door.h\"\n",
}

# A translation unit, its text, and the faults the check must report: the
# line (None: the unit as a whole) and words of the message.
CLEAN = [
    ("src/probex/core/Lower.cpp",
     '#include "probex/base/Low.h"\n#include "../platform/Door.h"\n'
     '// #include "probex/concurrent/Side.h"\n#include <mutex>\n#include <thread>\n'
     "#ifdef NOT_THIS_BUILD\n#include <spawn.h>\n#include \"../suite/Absent.h\"\n#endif\n"),
    ("src/probex/platform/Spawn.cpp", '#include "posix/Spawn.inc"\n'),
    ("tests/core/ProcessTest.cpp", '#include <spawn.h>\n#include "probex/core/High.h"\n'),
    ("tests/tools/ModelTest.cpp", '#include "../../tools/divov/Model.h"\n'),
    ("examples/Example.cpp", '#include <spawn.h>\n'),
]
FAULTY = [
    ("src/probex/view/Climb.cpp", '#include "Stat.h"\n#include "../core/High.h"\n',
     [(2, "view must not include core")]),
    ("src/probex/view/Spaced.cpp", '#include "../core/High Space.h"\n',
     [(1, "view must not include core")]),
    ("src/probex/base/Spawn.cpp", "#include <cstdio>\n#include <spawn.h>\n",
     [(2, "<spawn.h> is a system header")]),
    ("src/probex/base/Quoted.cpp", '#include "unistd.h"\n',
     [(1, '"unistd.h" is a system header')]),
    ("src/probex/view/Uses.cpp", '#include "Stat.h"\n', []),
    ("src/probex/suite/Beside.cpp", '#include <probex/concurrent/Side.h>\n',
     [(1, "suite must not include concurrent")]),
    ("tools/pxmode/PxMode.cpp", '#include "probex/coverage/Mode.h"\n',
     [(1, "pxmode must not include coverage")]),
    ("tests/core/ViewerTest.cpp", '#include "../../tools/divov/Model.h"\n',
     [(1, "tests must not include divov")]),
    ("src/probex/core/Computed.cpp", '#define LOW "probex/base/Low.h"\n#include LOW\n',
     [(None, "reads src/probex/base/Low.h by a way the check cannot follow")]),
    ("src/probex/extra/New.cpp", "", [(None, "in no layer of the map")]),
    ("src/probex/core/Outside.cpp", '#include "../../../examples/Example.h"\n',
     [(1, "is examples/Example.h, which is in no layer")]),
    ("src/probex/core/Unmapped.cpp", '#include "../extra/Extra.h"\n',
     [(1, "is src/probex/extra/Extra.h, which is in no layer")]),
]
# Stat.h's own line carries the fault of every unit that reaches it.
HEADER_FAULTS = [("src/probex/view/Stat.h", 3, "<sys/stat.h> is a system header")]


def write(root, relative, text):
    path = os.path.join(root, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as stream:
        stream.write(text)
    return path


def prepare(root, build, units, built_by="make", response_file=False):
    """compile_commands.json for the units, and what the compiler read for
    each: in a dependency file beside the object as the Makefile generators
    keep it, in Ninja's log (built_by="ninja"), or nowhere (None). The search
    path may come in a response file, as a Windows build gives it."""
    os.makedirs(build, exist_ok=True)
    flags = [f"-I{root}/include", f"-I{root}/src", f"-I{root}/tests", "-std=c++17"]
    if response_file:
        write(build, "includes.rsp", " ".join(flags[:3]))
        flags = ["@includes.rsp", flags[3]]
    entries = []
    preprocess = " ".join([COMPILER] + flags)
    ninja = [f"rule deps\n  command = {preprocess} -M -MF $out.d $in && touch $out\n"
             "  depfile = $out.d\n  deps = gcc\n"]
    for number, (relative, text, *_) in enumerate(units):
        source = write(root, relative, text)
        output = f"unit{number}.o"
        command = [COMPILER] + flags + ["-o", output, "-c", f"'{source}'"]
        entries.append({"directory": build, "file": source, "command": " ".join(command)})
        ninja.append(f"build {output}: deps {source.replace(' ', '$ ')}\n")
        if built_by == "make":
            subprocess.run([COMPILER] + flags + ["-M", "-MF", output + ".d", source], cwd=build,
                           check=True)
    write(build, "compile_commands.json", json.dumps(entries))
    if built_by == "ninja":
        write(build, "build.ninja", "".join(ninja))
        subprocess.run(["ninja", "-C", build], stdout=subprocess.DEVNULL, check=True)


def check(root, build, layer_map=None):
    args = [sys.executable, CHECK, "--source", root, "--build", build]
    if layer_map:
        args += ["--map", layer_map]
    done = subprocess.run(args, stdout=subprocess.PIPE, text=True)
    return done.returncode, done.stdout.splitlines()


class CheckLayersTest(unittest.TestCase):
    def setUp(self):
        scratch = tempfile.TemporaryDirectory()
        self.addCleanup(scratch.cleanup)
        self.root = scratch.name
        for relative, text in HEADERS.items():
            write(self.root, relative, text)

    def test_clean_tree_passes(self):
        build = os.path.join(self.root, "build")
        prepare(self.root, build, CLEAN, response_file=True)
        status, lines = check(self.root, build)
        self.assertEqual(status, 0, lines)
        # The commented and the left-out includes are not among the 13.
        self.assertEqual(lines[-1],
                         "check-layers: 4 translation units, 9 files, 13 includes, 0 faults")

    def test_each_fault_is_reported_where_it_is(self):
        build = os.path.join(self.root, "build")
        prepare(self.root, build, CLEAN + FAULTY)
        self.assert_faults(build)

    @unittest.skipUnless(shutil.which("ninja"), "Ninja is not installed")
    def test_ninjas_log_stands_for_the_dependency_files(self):
        build = os.path.join(self.root, "build")
        prepare(self.root, build, CLEAN + FAULTY, built_by="ninja")
        self.assertFalse(os.path.exists(os.path.join(build, "unit0.o.d")))
        self.assert_faults(build)

    def assert_faults(self, build):
        status, lines = check(self.root, build)
        self.assertEqual(status, 1)
        faults = lines[:-1]
        expected = [(path, line, words) for path, _, found in FAULTY for line, words in found]
        expected += HEADER_FAULTS
        for path, line, words in expected:
            with self.subTest(path=path, words=words):
                start = f"{path}:{line}: " if line else f"{path}: "
                self.assertTrue(any(f.startswith(start) and words in f for f in faults), faults)
        self.assertEqual(len(faults), len(expected), faults)

    def test_unbuilt_tree_fails(self):
        build = os.path.join(self.root, "build")
        prepare(self.root, build, CLEAN[:1], built_by=None)
        status, lines = check(self.root, build)
        self.assertEqual(status, 1)
        self.assertIn("src/probex/core/Lower.cpp: no dependency file", lines[0])
        self.assertIn("build the tree first", lines[0])

    def test_map_faults_stop_the_check(self):
        build = os.path.join(self.root, "build")
        prepare(self.root, build, CLEAN[:1])
        for text, words in [
            ("layer src/probex/core core view\n", "core sits on view, which no line makes a layer"),
            ("layer src/a a b\nlayer src/b b a\n", "the layers sit on each other in a circle"),
            ("layer src/a a -\nlayer include/a a b\nlayer src/b b -\n", "a sits on other layers"),
            ("door\n", "expected 'layer PATH NAME ON...' or 'door PATH'"),
        ]:
            with self.subTest(words=words):
                status, lines = check(self.root, build, write(self.root, "layers.txt", text))
                self.assertEqual(status, 2)
                self.assertIn(words, lines[0])


if __name__ == "__main__":
    if len(sys.argv) > 1:
        COMPILER = sys.argv.pop(1)
    unittest.main()
