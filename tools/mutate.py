#!/usr/bin/env python3
"""Mutation testing: does the suite notice a deliberate mistake?

Each mutation in tools/mutations/*.txt names a source file, an exact snippet of
it and a replacement: a small, plausible mistake. One at a time, the mutation
is applied to a scratch copy of the tree, the copy is rebuilt (one scratch
build directory, so rebuilds are incremental) and the test suite runs with a
timeout. A mutation the suite lets pass is a missing test, unless its entry
says why it is harmless.

The list files hold one entry per mutation; the file's name is its subsystem:

    [name]
    file: src/engine/PanAndLevel.cpp
    why: what the mistake is, in one line
    harmless: (optional) why surviving it is acceptable
    - exact original text (one or more lines, each after "- ")
    + replacement text (one or more lines, each after "+ ")

The original must occur exactly once in the file. Lines starting with '#'
outside an entry's snippet are comments.

Usage:
    tools/mutate.py                    run every mutation
    tools/mutate.py engine host        run the mutations of these subsystems
    tools/mutate.py 'pan-*' sub-level  run mutations by name (shell patterns)
    tools/mutate.py --list             list the mutations and stop
    tools/mutate.py --check            check that every snippet still applies
    tools/mutate.py --tests Effect effects   only the matching ctest tests (quicker)
    tools/mutate.py --target brennix-tests --tests Effect effects
                                       and rebuild only what those tests need

Exit status: 0 when every mutation was caught or is judged harmless, 1 when one
survived unexplained or did not build, 2 for a bad command line or list.
"""

import argparse
import fnmatch
import os
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LISTS = os.path.join(ROOT, "tools", "mutations")
# Never copied into the scratch tree.
SKIP_DIRS = {".git", "__pycache__"}


@dataclass
class Mutation:
    subsystem: str
    name: str
    file: str = ""
    why: str = ""
    harmless: str = ""
    original: list = field(default_factory=list)
    replacement: list = field(default_factory=list)
    where: str = ""  # list file and line, for messages

    @property
    def label(self):
        return f"{self.subsystem}/{self.name}"


class ListError(Exception):
    pass


def parse_list(path):
    subsystem = os.path.splitext(os.path.basename(path))[0]
    mutations = []
    current = None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            where = f"{os.path.relpath(path, ROOT)}:{number}"
            if line.startswith("[") and line.endswith("]"):
                current = Mutation(subsystem, line[1:-1].strip(), where=where)
                mutations.append(current)
            elif line.startswith("- ") or line == "-":
                if current is None or current.replacement:
                    raise ListError(f"{where}: original text outside an entry or after its replacement")
                current.original.append(line[2:])
            elif line.startswith("+ ") or line == "+":
                if current is None or not current.original:
                    raise ListError(f"{where}: replacement before the original text")
                current.replacement.append(line[2:])
            elif not line.strip() or line.startswith("#"):
                continue
            elif current is not None and ":" in line:
                key, value = (part.strip() for part in line.split(":", 1))
                if key not in ("file", "why", "harmless"):
                    raise ListError(f"{where}: unknown field '{key}'")
                setattr(current, key, value)
            else:
                raise ListError(f"{where}: cannot read '{line}'")
    for m in mutations:
        if not m.file or not m.why or not m.original:
            raise ListError(f"{m.where}: [{m.name}] needs file, why and an original snippet")
    return mutations


def load_mutations():
    mutations = []
    for name in sorted(os.listdir(LISTS)):
        if name.endswith(".txt"):
            mutations += parse_list(os.path.join(LISTS, name))
    seen = set()
    for m in mutations:
        if m.label in seen:
            raise ListError(f"{m.where}: duplicate mutation {m.label}")
        seen.add(m.label)
    return mutations


def select(mutations, patterns):
    if not patterns:
        return mutations
    subsystems = {m.subsystem for m in mutations}
    chosen = []
    for m in mutations:
        for p in patterns:
            if p in subsystems and m.subsystem == p or fnmatch.fnmatch(m.name, p) or fnmatch.fnmatch(m.label, p):
                chosen.append(m)
                break
    return chosen


def apply(m, text):
    """The file's text with the mutation applied; ListError if it does not fit."""
    original = "\n".join(m.original)
    count = text.count(original)
    if count != 1:
        raise ListError(f"{m.where}: [{m.name}] original found {count} times in {m.file}")
    return text.replace(original, "\n".join(m.replacement))


def check(mutations, root):
    problems = 0
    for m in mutations:
        try:
            with open(os.path.join(root, m.file), encoding="utf-8") as f:
                apply(m, f.read())
        except (OSError, ListError) as e:
            print(e if isinstance(e, ListError) else f"{m.where}: {e}")
            problems += 1
    return problems


def sync_tree(source, dest):
    """Makes dest hold the same files as source (build directories excluded).

    Only files whose content differs are written, so the scratch build stays
    incremental; written files get a fresh time stamp, so make rebuilds them."""
    wanted = set()
    for directory, dirs, files in os.walk(source):
        rel = os.path.relpath(directory, source)
        dirs[:] = [d for d in dirs if d not in SKIP_DIRS and not (rel == "." and d.startswith("build"))]
        for name in files:
            path = os.path.normpath(os.path.join(rel, name))
            wanted.add(path)
            src, dst = os.path.join(source, path), os.path.join(dest, path)
            with open(src, "rb") as f:
                data = f.read()
            try:
                with open(dst, "rb") as f:
                    if f.read() == data:
                        continue
            except OSError:
                os.makedirs(os.path.dirname(dst), exist_ok=True)
            with open(dst, "wb") as f:
                f.write(data)
            shutil.copymode(src, dst)
    for directory, dirs, files in os.walk(dest, topdown=False):
        for name in files:
            path = os.path.normpath(os.path.relpath(os.path.join(directory, name), dest))
            if path not in wanted:
                os.remove(os.path.join(dest, path))


def run(command, timeout, cwd=None):
    """(exit status or None on timeout, output)."""
    try:
        p = subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           text=True, errors="replace", timeout=timeout, start_new_session=True)
        return p.returncode, p.stdout
    except subprocess.TimeoutExpired as e:
        out = e.stdout or ""
        return None, out if isinstance(out, str) else out.decode(errors="replace")


class Scratch:
    def __init__(self, directory, jobs, build_timeout, test_timeout, tests=None, targets=None):
        self.tests = tests
        self.targets = targets or []
        self.src = os.path.join(directory, "src")
        self.build = os.path.join(directory, "build")
        self.jobs = jobs
        self.build_timeout = build_timeout
        self.test_timeout = test_timeout
        os.makedirs(self.src, exist_ok=True)

    def prepare(self):
        sync_tree(ROOT, self.src)
        status, out = run(["cmake", "-S", self.src, "-B", self.build, "-DCMAKE_BUILD_TYPE=Release",
                           "-DBRENNIX_BENCH=OFF"], self.build_timeout)
        if status != 0:
            sys.exit("cmake failed in the scratch tree:\n" + out[-3000:])

    def build_tree(self):
        command = ["cmake", "--build", self.build, f"-j{self.jobs}"]
        for target in self.targets:
            command += ["--target", target]
        return run(command, self.build_timeout)

    def test(self):
        """(passed, failing test names, timed out)."""
        command = ["ctest", "--test-dir", self.build, f"-j{self.jobs}", "--stop-on-failure",
                   "--timeout", str(self.test_timeout)]
        if self.tests:
            command += ["-R", self.tests]
        status, out = run(command, self.test_timeout * 4)
        if status is None:
            return False, [], True
        failed = []
        listing = False
        for line in out.splitlines():
            if line.startswith("The following tests FAILED"):
                listing = True
            elif listing and " - " in line:
                failed.append(line.split(" - ", 1)[1].split(" (", 1)[0].strip())
        return status == 0, failed, False


def main():
    parser = argparse.ArgumentParser(
        description="Applies deliberate mistakes one at a time and reports which ones the tests miss.")
    parser.add_argument("patterns", nargs="*", help="subsystems (list file names) or mutation names (shell patterns)")
    parser.add_argument("--list", action="store_true", help="list the selected mutations and stop")
    parser.add_argument("--check", action="store_true", help="check that every selected snippet applies, and stop")
    # One scratch tree per checkout, so that several checkouts can mutate at once.
    parser.add_argument("--scratch", default=os.path.join(tempfile.gettempdir(),
                                                          "brennix-mutate-" + os.path.basename(ROOT)),
                        help="scratch directory, kept between runs (default %(default)s)")
    parser.add_argument("--tests", metavar="REGEX",
                        help="run only the ctest tests matching REGEX (quicker; the full suite is the default)")
    parser.add_argument("--target", action="append", metavar="TARGET",
                        help="build only this target (repeatable; quicker with --tests; the default builds all)")
    parser.add_argument("--jobs", type=int, default=2, help="parallel build and test jobs (default 2)")
    parser.add_argument("--timeout", type=int, default=120,
                        help="seconds one test may take; the whole suite gets four times that (default 120)")
    parser.add_argument("--no-baseline", action="store_true", help="skip the unmutated build and test run")
    args = parser.parse_args()

    try:
        mutations = select(load_mutations(), args.patterns)
    except ListError as e:
        print(e, file=sys.stderr)
        return 2
    if not mutations:
        print("no mutation matches", " ".join(args.patterns), file=sys.stderr)
        return 2
    if args.list:
        for m in mutations:
            note = "  (judged harmless)" if m.harmless else ""
            print(f"{m.label:40} {m.file}: {m.why}{note}")
        return 0
    if args.check:
        problems = check(mutations, ROOT)
        print(f"{len(mutations)} mutations, {problems} do not apply")
        return 1 if problems else 0
    if check(mutations, ROOT):
        return 2

    scratch = Scratch(args.scratch, args.jobs, build_timeout=1800, test_timeout=args.timeout, tests=args.tests,
                      targets=args.target)
    scratch.prepare()
    if not args.no_baseline:
        status, out = scratch.build_tree()
        if status != 0:
            sys.exit("the unmutated tree does not build:\n" + out[-3000:])
        passed, failed, timed_out = scratch.test()
        if not passed:
            sys.exit("the unmutated tree fails its tests: " + (", ".join(failed) or "timeout"))

    results = {"caught": [], "survived": [], "harmless": [], "broken": []}
    for i, m in enumerate(mutations, 1):
        path = os.path.join(scratch.src, m.file)
        with open(path, encoding="utf-8") as f:
            pristine = f.read()
        started = time.monotonic()
        with open(path, "w", encoding="utf-8") as f:
            f.write(apply(m, pristine))
        try:
            status, out = scratch.build_tree()
            if status != 0:
                lines = [line for line in out.splitlines() if line.strip()]
                verdict, detail = "broken", "does not build:\n    " + "\n    ".join(lines[-8:])
            else:
                passed, failed, timed_out = scratch.test()
                if timed_out:
                    verdict, detail = "caught", "suite timed out"
                elif not passed:
                    verdict, detail = "caught", ", ".join(failed[:3]) + (" ..." if len(failed) > 3 else "")
                elif m.harmless:
                    verdict, detail = "harmless", m.harmless
                else:
                    verdict, detail = "survived", m.why
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(pristine)
        results[verdict].append(m)
        seconds = time.monotonic() - started
        print(f"[{i}/{len(mutations)}] {verdict.upper():8} {m.label}  ({seconds:.0f} s)  {detail}", flush=True)

    print()
    print(f"{len(mutations)} mutations: {len(results['caught'])} caught, "
          f"{len(results['survived'])} survived, {len(results['harmless'])} survived but judged harmless, "
          f"{len(results['broken'])} did not build")
    for verdict in ("survived", "broken"):
        for m in results[verdict]:
            print(f"  {verdict}: {m.label} ({m.where}): {m.why}")
    return 1 if results["survived"] or results["broken"] else 0


if __name__ == "__main__":
    sys.exit(main())
