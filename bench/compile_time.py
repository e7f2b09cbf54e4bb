#!/usr/bin/env python3
"""The compiler's CPU seconds for one test file: 50 cases of 20 equality
checks, written for Probex, GoogleTest, Catch2 v2 (Debian's single header)
and doctest, each with its runner in another file as in a real project, so
that only the test file is timed. Each file is compiled (-c, the same flags
for all) at -O0 and at -O2 a few times in turn; the medians are printed
side by side. Before timing, each program is built and run once and must
report every case and check run and passed, and a file that does not
compile is a failure, never a figure.

usage: compile_time.py [--repeat N] [--cxx COMPILER] [--build DIR]
With no --build, it builds the library and the viewer of the bench preset.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CASES = 50
CHECKS = 20
LEVELS = ("-O0", "-O2")

# The same code under test in every file, so that only the framework differs.
SUBJECT = "static int Twice(int n) { return n * 2; }\n"


class CompileError(Exception):
    """A file that did not compile, link or run as it must."""


class Framework:
    """How one framework's test file and its runner are written, what its
    program links besides them (None: the Probex library), and how its run
    says that it passed: a pattern with the number of cases and, where the
    framework prints it, of checks. The runner is the framework's usual main."""

    def __init__(self, key, title, include, case, check, runner, libs, passed, opening="",
                 closing=""):
        self.key, self.title = key, title
        self.include, self.opening, self.closing = include, opening, closing
        self.case, self.check = case, check
        self.runner, self.libs, self.passed = runner, libs, passed

    def counts(self, output):
        """(cases, checks) that a passing run printed, checks None where the
        framework does not print them; None when the run does not say it passed."""
        found = re.search(self.passed, output)
        if not found:
            return None
        checks = found.groupdict().get("checks")
        return int(found["cases"]), int(checks) if checks else None

    def test_file(self, cases=CASES, checks=CHECKS):
        lines = [self.include, SUBJECT, self.opening]
        for c in range(cases):
            lines.append(self.case.format(c=c))
            for k in range(checks):
                n = c * checks + k
                lines.append("  " + self.check.format(actual=f"Twice({n})", expected=2 * n))
            lines.append("}\n")
        lines.append(self.closing)
        return "\n".join(lines)


FRAMEWORKS = [
    Framework("probex", "Probex", "#include <probex/probex.h>\n",
              "PX_CASE(Case{c}) {{", "PX_ASSERT_EQUAL({actual}, {expected});",
              "#include <probex/probex.h>\n\nvoid AddGeneratedTest(CProbexSuite& suite);\n\n"
              "int main() {\n  CProbexSuite suite;\n  AddGeneratedTest(suite);\n"
              "  suite.Suite();\n  return PxExitStatus();\n}\n", None,
              r"Summary: 1 class, (?P<cases>\d+) cases?, (?P<checks>\d+) passed, 0 failed",
              opening="class CGeneratedTest : public CProbex {\npublic:\n"
                      '  CGeneratedTest() { PX_CAPTION_CLASS("generated checks"); }\n',
              closing="  PX_DECLARATION_END();\n};\n\n"
                      "void AddGeneratedTest(CProbexSuite& suite) {\n"
                      "  PX_ADD(suite, CGeneratedTest);\n}\n"),
    Framework("gtest", "GoogleTest", "#include <gtest/gtest.h>\n",
              "TEST(Generated, Case{c}) {{", "EXPECT_EQ({actual}, {expected});",
              "#include <gtest/gtest.h>\n\nint main(int argc, char** argv) {\n"
              "  testing::InitGoogleTest(&argc, argv);\n  return RUN_ALL_TESTS();\n}\n",
              ["-lgtest", "-pthread"], r"\[  PASSED  \] (?P<cases>\d+) tests?\."),
    Framework("catch2", "Catch2 v2", "#include <catch2/catch.hpp>\n",
              'TEST_CASE("case {c}") {{', "CHECK({actual} == {expected});",
              "#define CATCH_CONFIG_MAIN\n#include <catch2/catch.hpp>\n", [],
              r"All tests passed \((?P<checks>\d+) assertions? in (?P<cases>\d+) test cases?\)"),
    Framework("doctest", "doctest", "#include <doctest/doctest.h>\n",
              'TEST_CASE("case {c}") {{', "CHECK({actual} == {expected});",
              "#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN\n#include <doctest/doctest.h>\n", [],
              r"test cases: +(?P<cases>\d+) \| +\d+ passed \| +0 failed.*\n"
              r".*assertions: +(?P<checks>\d+) \| +\d+ passed \| +0 failed"),
]


class Toolchain:
    """The compiler and flags every file gets, and the built library and viewer
    a Probex program needs."""

    def __init__(self, cxx, library, viewer):
        path = shutil.which(cxx)
        if path is None:
            raise CompileError(f"no compiler {cxx}")
        if os.path.basename(os.path.realpath(path)) == "ccache":
            raise CompileError(f"{cxx} is ccache: its hits would be timed, not the compiler")
        self.cxx, self.library, self.viewer = path, library, viewer
        self.flags = ["-std=c++17", "-I" + os.path.join(ROOT, "include")]
        self.env = dict(os.environ, CCACHE_DISABLE="1", LC_ALL="C")

    def cpu_seconds(self, args):
        """Runs the compiler; the user and system CPU seconds of it and of the
        programs it started (cc1plus, as). A failure raises CompileError."""
        with subprocess.Popen([self.cxx, *self.flags, *args], env=self.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE) as child:
            errors = child.stderr.read()
            _, status, usage = os.wait4(child.pid, 0)
            child.returncode = os.waitstatus_to_exitcode(status)
        if child.returncode != 0:
            raise CompileError(f"{' '.join(args)}: {errors.decode(errors='replace')}")
        return usage.ru_utime + usage.ru_stime

    def compile(self, source, obj, level):
        return self.cpu_seconds(["-c", level, source, "-o", obj])

    def link(self, objects, libs, program):
        extra = libs if libs is not None else [
            self.library, "-Wl,-rpath," + os.path.dirname(self.library)]
        self.cpu_seconds([*objects, *extra, "-o", program])


def write_files(framework, folder, cases=CASES, checks=CHECKS):
    """The framework's test file and runner in folder: their names."""
    test = os.path.join(folder, f"{framework.key}_cases.cpp")
    runner = os.path.join(folder, f"{framework.key}_main.cpp")
    with open(test, "w") as out:
        out.write(framework.test_file(cases, checks))
    with open(runner, "w") as out:
        out.write(framework.runner)
    return test, runner


def run_output(tools, framework, program, folder):
    """Everything the program reports of its run; for Probex, the viewer's
    transcript of its log. A run that fails raises CompileError."""
    scratch = tempfile.mkdtemp(dir=folder)
    objects = os.path.join(scratch, "objects")
    os.mkdir(objects, 0o700)
    # No viewer on PATH, so the program only writes its log; the viewer reads it after.
    path = os.pathsep.join(d for d in os.environ.get("PATH", "").split(os.pathsep)
                           if d and not os.path.exists(os.path.join(d, "DiVov.exe")))
    env = dict(tools.env, TMPDIR=scratch, PROBEX_OBJECT_DIR=objects, PATH=path)
    done = subprocess.run([program], env=env, cwd=scratch, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, errors="replace", timeout=120)
    output = done.stdout
    if done.returncode == 0 and framework.key == "probex":
        logs = [name for name in os.listdir(scratch) if name.endswith(".qpxlog")]
        if len(logs) != 1:
            raise CompileError(f"{program}: {len(logs)} logs written")
        done = subprocess.run([tools.viewer, os.path.join(scratch, logs[0]), "--lang=en"],
                              env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              text=True, errors="replace", timeout=120)
        output = done.stdout
    if done.returncode != 0:
        raise CompileError(f"{program} exited with {done.returncode}:\n{output}")
    return output


def build_and_run(tools, framework, folder, cases=CASES, checks=CHECKS):
    """Builds the framework's program from its generated files, runs it and
    returns the (cases, checks) it reported passed."""
    test, runner = write_files(framework, folder, cases, checks)
    objects = [test[:-4] + ".o", runner[:-4] + ".o"]
    tools.compile(test, objects[0], "-O0")
    tools.compile(runner, objects[1], "-O0")
    program = os.path.join(folder, framework.key)
    tools.link(objects, framework.libs, program)
    output = run_output(tools, framework, program, folder)
    found = framework.counts(output)
    if found is None:
        raise CompileError(f"{program} did not say that it passed:\n{output}")
    return found


def verify(tools, folder):
    """Every program runs its 50 cases and, where it counts them, 1000 checks."""
    for framework in FRAMEWORKS:
        cases, checks = build_and_run(tools, framework, folder)
        if cases != CASES or checks not in (None, CASES * CHECKS):
            raise CompileError(f"{framework.title} ran {cases} cases and {checks} checks,"
                               f" not {CASES} and {CASES * CHECKS}")


def measure(tools, folder, repeat):
    """Median CPU seconds of compiling each test file, by (framework key,
    level). The files take turns, so that a busy moment falls on all alike."""
    times = {}
    for _ in range(repeat):
        for framework in FRAMEWORKS:
            test = os.path.join(folder, f"{framework.key}_cases.cpp")
            for level in LEVELS:
                seconds = tools.compile(test, os.path.join(folder, "timed.o"), level)
                times.setdefault((framework.key, level), []).append(seconds)
    return {key: statistics.median(values) for key, values in times.items()}


def figures(tools, repeat):
    """Verifies every program once, then measures: the medians."""
    with tempfile.TemporaryDirectory() as folder:
        verify(tools, folder)
        return measure(tools, folder, repeat)


def report(medians, repeat):
    """The table: each framework's seconds, then each peer's over Probex's."""
    print(f"\n== compiler CPU seconds (user+sys) of one test file, {CASES} cases x {CHECKS}"
          f" equality checks, medians of {repeat}")
    print(f"{'':20}" + "".join(f"{f.title:>12}" for f in FRAMEWORKS))
    for level in LEVELS:
        print(f"{level:20}" + "".join(f"{medians[(f.key, level)]:>12.2f}" for f in FRAMEWORKS))
    for level in LEVELS:
        ours = medians[("probex", level)]
        print(f"{level + ', peer / Probex':20}{'':>12}" + "".join(
            f"{medians[(f.key, level)] / ours:>12.2f}" for f in FRAMEWORKS[1:]))


def bench_toolchain(build, cxx=None):
    """The toolchain for a bench build, which holds the library and the viewer."""
    build = os.path.abspath(build)
    return Toolchain(cxx or os.environ.get("CXX", "c++"),
                     os.path.join(build, "src", "probex", "libProbex140.so"),
                     os.path.join(build, "tools", "divov", "DiVov.exe"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--cxx", help="the compiler (default: $CXX, else c++)")
    parser.add_argument("--build", help="a bench build that holds the library and the viewer")
    options = parser.parse_args()
    if options.build is None:
        options.build = os.path.join(ROOT, "build", "bench")
        subprocess.run(["scripts/setup.sh", "cmake", "g++", "make", "libgtest-dev",
                        "libbenchmark-dev", "catch2", "doctest-dev"], cwd=ROOT, check=True)
        subprocess.run(["cmake", "--preset", "bench"], cwd=ROOT, check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", "--preset", "bench", "--target", "Probex140",
                        "divov"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    try:
        repeat = max(1, options.repeat)
        report(figures(bench_toolchain(options.build, options.cxx), repeat), repeat)
    except CompileError as error:
        print(f"compile_time: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
