#!/usr/bin/env python3
"""The compile-time benchmark's own faults, on its Probex file only (the
peers' files take seconds each; the benchmark run builds and runs them): the
generated program must run every case and check it was written with, a run
that fails must not count as a pass, and a figure must be the compiler's.

usage: CompileTimeTest.py COMPILER LIBRARY VIEWER
"""
import copy
import os
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "bench"))
import compile_time  # noqa: E402

ARGS = ["c++", "", ""]


class CompileTimeTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.tools = compile_time.Toolchain(*ARGS)
        self.probex = compile_time.FRAMEWORKS[0]

    def test_generated_program_runs_every_case_and_check(self):
        # The run's own summary, not the generator, says what was there.
        self.assertEqual(compile_time.build_and_run(self.tools, self.probex, self.folder.name),
                         (compile_time.CASES, compile_time.CASES * compile_time.CHECKS))
        # The compiler proper runs as a child of the driver: its time counts.
        test = os.path.join(self.folder.name, "probex_cases.cpp")
        seconds = self.tools.compile(test, os.path.join(self.folder.name, "t.o"), "-O0")
        self.assertGreater(seconds, 0.05)

    def test_failures_are_never_figures(self):
        wrong = copy.copy(self.probex)
        wrong.check = "PX_ASSERT_EQUAL({actual}, {expected} + 1);"
        with self.assertRaisesRegex(compile_time.CompileError, "exited with 1"):
            compile_time.build_and_run(self.tools, wrong, self.folder.name, 2, 2)
        broken = os.path.join(self.folder.name, "broken.cpp")
        with open(broken, "w") as out:
            out.write("int broken = ;\n")
        with self.assertRaisesRegex(compile_time.CompileError, "error"):
            self.tools.compile(broken, broken + ".o", "-O0")

    def test_refuses_a_compiler_cache(self):
        cache = "/usr/bin/ccache"
        if not os.path.exists(cache):
            self.skipTest("no ccache here")
        link = os.path.join(self.folder.name, "c++")
        os.symlink(cache, link)
        with self.assertRaisesRegex(compile_time.CompileError, "ccache"):
            compile_time.Toolchain(link, "", "")


if __name__ == "__main__":
    if len(sys.argv) > 3:
        ARGS = [sys.argv.pop(1) for _ in range(3)]
    unittest.main()
