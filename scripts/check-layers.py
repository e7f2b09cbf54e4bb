#!/usr/bin/env python3
"""Holds a built tree to the layer map (scripts/layers.txt): no file includes a
layer above or beside its own, and only the doors include system headers
beyond the C and C++ standard library.

It judges what the compiler read, not what the sources seem to say: each
translation unit of compile_commands.json has the dependency file the
compiler wrote beside its object (-MD), or its entry in Ninja's log of them.
From the unit's source, every #include of a project file is resolved along
the unit's own search path to a real file; an include counts when that file
is among the unit's dependencies (so a branch the preprocessor left out does
not), and the walk goes on into project files only, so what the standard
library includes in turn never counts against anyone. Every project file
among the dependencies must be reached this way.

usage: check-layers.py --build DIR [--source DIR] [--map FILE]
Prints one line per fault and exits 1; 2 when the map or the build cannot be read.
"""
import argparse
import functools
import json
import os
import re
import shlex
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The C and C++ standard headers; any other system header is the OS's, or a
# library's the project does not depend on.
STANDARD_HEADERS = frozenset("""
algorithm any array atomic barrier bit bitset charconv chrono codecvt compare
complex concepts condition_variable coroutine deque exception execution
filesystem format forward_list fstream functional future initializer_list
iomanip ios iosfwd iostream istream iterator latch limits list locale map
memory memory_resource mutex new numbers numeric optional ostream queue random
ranges ratio regex scoped_allocator semaphore set shared_mutex source_location
span sstream stack stdexcept stop_token streambuf string string_view
syncstream system_error thread tuple type_traits typeindex typeinfo
unordered_map unordered_set utility valarray variant vector version
cassert cctype cerrno cfenv cfloat cinttypes climits clocale cmath csetjmp
csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar
cwctype assert.h ctype.h errno.h fenv.h float.h inttypes.h iso646.h limits.h
locale.h math.h setjmp.h signal.h stdalign.h stdarg.h stdbool.h stddef.h
stdint.h stdio.h stdlib.h string.h time.h uchar.h wchar.h wctype.h
""".split())

INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*([<"])([^>"\n]+)[>"]', re.M)
COMMENT = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"', re.S)


class MapError(Exception):
    pass


class LayerMap:
    """Paths to layers, the layers each may include, and the doors."""

    def __init__(self, path):
        self.layer_of_path = {}
        self.doors = []
        sits_on = {}
        with open(path, encoding="utf-8") as lines:
            for number, line in enumerate(lines, 1):
                words = line.split("#", 1)[0].split()
                if not words:
                    continue
                where = f"{path}:{number}"
                if words[0] == "door" and len(words) == 2:
                    self.doors.append(words[1])
                elif words[0] == "layer" and len(words) >= 4:
                    _, place, name, *on = words
                    on = frozenset() if on == ["-"] else frozenset(on)
                    if sits_on.setdefault(name, on) != on:
                        raise MapError(f"{where}: {name} sits on other layers above")
                    self.layer_of_path[place] = name
                else:
                    raise MapError(f"{where}: expected 'layer PATH NAME ON...' or 'door PATH'")
        self.scopes = {place.split("/")[0] for place in self.layer_of_path}
        self.beneath = {name: self._beneath(name, sits_on, ()) for name in sits_on}

    def _beneath(self, name, sits_on, chain):
        if name in chain:
            raise MapError(f"the layers sit on each other in a circle: {' -> '.join(chain)}")
        found = set()
        for lower in sits_on[name]:
            if lower not in sits_on:
                raise MapError(f"{name} sits on {lower}, which no line makes a layer")
            found |= {lower} | self._beneath(lower, sits_on, chain + (name,))
        return found

    @staticmethod
    def _longest(places, relative):
        held = [p for p in places if relative == p or relative.startswith(p + "/")]
        return max(held, key=len) if held else None

    def layer(self, relative):
        """The layer of a project file; None when the map leaves it out."""
        place = self._longest(self.layer_of_path, relative)
        return self.layer_of_path[place] if place else None

    def in_scope(self, relative):
        return relative.split("/")[0] in self.scopes

    def is_door(self, relative):
        return self._longest(self.doors, relative) is not None


def depfile_paths(path, directory):
    """The prerequisites of a make rule the compiler wrote, as real paths."""
    with open(path, encoding="utf-8") as stream:
        text = stream.read().replace("\\\n", " ")
    words, word, i = [], "", 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text) and text[i + 1] in " #":
            word, i = word + text[i + 1], i + 2
            continue
        if c == "$" and text[i + 1:i + 2] == "$":
            word, i = word + "$", i + 2
            continue
        if c.isspace():
            words.append(word)
            word = ""
        else:
            word += c
        i += 1
    words.append(word)
    return {os.path.realpath(os.path.join(directory, word))
            for word in words if word and not word.endswith(":")}


class Unit:
    """One translation unit: its source, search path and dependency file."""

    def __init__(self, entry, builtin_dirs):
        self.directory = entry["directory"]
        args = self._expand(entry.get("arguments") or shlex.split(entry["command"]))
        if os.path.basename(args[0]) == "ccache":
            args = args[1:]
        self.source = os.path.realpath(os.path.join(self.directory, entry["file"]))
        self.compiler = args[0]
        quote, user, system, after, output, depfile = [], [], [], [], None, None
        lists = {"-iquote": quote, "-I": user, "-isystem": system, "-idirafter": after}
        i = 1
        while i < len(args):
            flag = args[i]
            for prefix in ("-iquote", "-isystem", "-idirafter", "-I", "-o", "-MF"):
                if flag.startswith(prefix):
                    value = flag[len(prefix):]
                    if not value:
                        i += 1
                        value = args[i]
                    if prefix == "-o":
                        output = value
                    elif prefix == "-MF":
                        depfile = value
                    else:
                        lists[prefix].append(os.path.join(self.directory, value))
                    break
            i += 1
        builtin = builtin_dirs(self.compiler)
        self.system_dirs = [os.path.realpath(d) for d in system + builtin + after]
        self.quote_dirs = tuple(os.path.realpath(d) for d in quote)
        self.angle_dirs = tuple(os.path.realpath(d) for d in user) + tuple(self.system_dirs)
        if depfile is None and output is not None:
            depfile = output + ".d"
        self.depfile = os.path.join(self.directory, depfile) if depfile else None
        self.output = os.path.realpath(os.path.join(self.directory, output)) if output else None

    def _expand(self, args):
        """The arguments with each @file replaced by the ones it holds."""
        expanded = []
        for arg in args:
            if arg.startswith("@"):
                with open(os.path.join(self.directory, arg[1:]), encoding="utf-8") as stream:
                    expanded += self._expand(shlex.split(stream.read()))
            else:
                expanded.append(arg)
        return expanded


@functools.lru_cache(maxsize=None)
def builtin_dirs_of(compiler):
    """The compiler's own #include <...> search list."""
    done = subprocess.run([compiler, "-x", "c++", "-E", "-v", os.devnull],
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    listed = done.stderr.split("#include <...> search starts here:", 1)[-1]
    listed = listed.split("End of search list.", 1)[0]
    return [line.strip() for line in listed.splitlines() if line.strip()]


class Checker:
    def __init__(self, source, build, layer_map):
        self.source = os.path.realpath(source)
        self.build = os.path.realpath(build)
        self.map = layer_map
        self.problems = set()
        self.includes = {}
        self.counts = {"units": 0, "files": set(), "includes": set()}
        self.ninja_deps = None

    def relative(self, path):
        """The path within the source tree; None for a file outside it or built."""
        inside = path.startswith(self.source + os.sep) and not (
            path == self.build or path.startswith(self.build + os.sep))
        return os.path.relpath(path, self.source).replace(os.sep, "/") if inside else None

    def directives(self, path):
        if path not in self.includes:
            with open(path, encoding="utf-8", errors="replace") as stream:
                text = stream.read()
            # Comments and string literals blanked, lines kept.
            text = COMMENT.sub(lambda m: m.group(0) if m.group(0).startswith('"')
                               else re.sub(r"[^\n]", " ", m.group(0)), text)
            self.includes[path] = [
                (text.count("\n", 0, m.start()) + 1, m.group(1), m.group(2).strip())
                for m in INCLUDE.finditer(text)]
        return self.includes[path]

    @staticmethod
    def resolve(includer, kind, name, unit):
        if os.path.isabs(name):
            dirs = ("",)
        elif kind == '"':
            dirs = (os.path.dirname(includer),) + unit.quote_dirs + unit.angle_dirs
        else:
            dirs = unit.angle_dirs
        for folder in dirs:
            candidate = os.path.join(folder, name)
            if os.path.isfile(candidate):
                return os.path.realpath(candidate)
        return None

    def system_name(self, path, unit):
        held = [d for d in unit.system_dirs if path.startswith(d + os.sep)]
        return os.path.relpath(path, max(held, key=len)) if held else path

    def judge(self, includer, line, kind, name, target, unit):
        here = self.relative(includer)
        layer = self.map.layer(here)
        spelled = f"{kind}{name}{'>' if kind == '<' else kind}"
        where = f"{here}:{line}"
        self.counts["includes"].add((here, line))
        there = self.relative(target)
        if there is not None:
            other = self.map.layer(there)
            if other is None:
                self.problems.add(f"{where}: {spelled} is {there}, which is in no layer")
            elif other != layer and other not in self.map.beneath[layer]:
                self.problems.add(
                    f"{where}: {layer} must not include {other}: {spelled} is {there}")
        else:
            header = self.system_name(target, unit)
            if header not in STANDARD_HEADERS and not self.map.is_door(here):
                shown = spelled if header == name else f"{spelled} ({header})"
                self.problems.add(f"{where}: {shown} is a system header outside the standard "
                                  f"library: only the doors include those")

    def dependencies(self, unit):
        """The files the compiler read for the unit: from its dependency file,
        or from Ninja's log, which takes that file in and deletes it."""
        if unit.depfile and os.path.isfile(unit.depfile):
            return depfile_paths(unit.depfile, unit.directory)
        if self.ninja_deps is None:
            self.ninja_deps = {}
            if os.path.isfile(os.path.join(self.build, ".ninja_deps")) and shutil.which("ninja"):
                listed = subprocess.run(["ninja", "-C", self.build, "-t", "deps"],
                                        stdout=subprocess.PIPE, text=True).stdout
                for line in listed.splitlines():
                    if ": #deps " in line:
                        read = self.ninja_deps.setdefault(os.path.realpath(
                            os.path.join(self.build, line.split(": #deps ", 1)[0])), set())
                    elif line.startswith(" ") and line.strip():
                        read.add(os.path.realpath(os.path.join(self.build, line.strip())))
        return self.ninja_deps.get(unit.output)

    def check_unit(self, unit):
        start = self.relative(unit.source)
        if start is None or not self.map.in_scope(start):
            return
        self.counts["units"] += 1
        if self.map.layer(start) is None:
            self.problems.add(f"{start}: in no layer of the map")
            return
        read = self.dependencies(unit)
        if read is None:
            self.problems.add(f"{start}: no dependency file ({unit.depfile}): build the tree first")
            return
        seen, todo = {unit.source}, [unit.source]
        while todo:
            path = todo.pop()
            self.counts["files"].add(self.relative(path))
            for line, kind, name in self.directives(path):
                target = self.resolve(path, kind, name, unit)
                if target is None or target not in read:
                    continue  # in a branch this build leaves out
                self.judge(path, line, kind, name, target, unit)
                there = self.relative(target)
                if there is not None and target not in seen:
                    seen.add(target)
                    if self.map.layer(there) is not None:
                        todo.append(target)
        for path in sorted(read - seen):
            there = self.relative(path)
            if there is not None and self.map.in_scope(there):
                self.problems.add(f"{start}: reads {there} by a way the check cannot follow")


def main(argv):
    options = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    options.add_argument("--build", required=True)
    options.add_argument("--source", default=os.path.dirname(HERE))
    options.add_argument("--map", default=os.path.join(HERE, "layers.txt"))
    args = options.parse_args(argv)
    try:
        layer_map = LayerMap(args.map)
        with open(os.path.join(args.build, "compile_commands.json"), encoding="utf-8") as stream:
            entries = json.load(stream)
    except (OSError, ValueError, MapError) as error:
        print(f"check-layers: {error}")
        return 2
    checker = Checker(args.source, args.build, layer_map)
    for entry in entries:
        checker.check_unit(Unit(entry, builtin_dirs_of))
    if checker.counts["units"] == 0:
        print("check-layers: no translation unit under the map's folders: nothing was checked")
        return 2
    for problem in sorted(checker.problems):
        print(problem)
    counts = checker.counts
    print(f"check-layers: {counts['units']} translation units, {len(counts['files'])} files, "
          f"{len(counts['includes'])} includes, {len(checker.problems)} faults")
    return 1 if checker.problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
