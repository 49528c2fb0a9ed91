#!/usr/bin/python3
"""Runs CTest once over a build folder; runs again only the tests whose one
fault was LeakSanitizer's tracer crashing at process exit after the test
itself had passed, and names every test that needed that second run.

    run_ctest.py BUILD_DIR [ctest arguments...]

LeakSanitizer looks for leaks when a process ends: a tracer thread stops
every other thread first, and on a loaded machine that tracer now and then
crashes.  The test's own result is then a pass with a failed exit.  The
same crash in a program the test started leaves that program's result
unknown; the test then says so in the line STARTED_PROGRAM_CRASH (a death
test shows the crash in its copy's output) and is run again too.  Any other
failure (a failed check, a leak found, a sanitizer error, a timeout) fails
the run at once, without a second try.
"""

import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

TRACER_CRASH = "Tracer caught signal"
LSAN_FATAL = "LeakSanitizer has encountered a fatal error"
# Signs of a real fault, which a second run must not hide.
REAL_FAULTS = ("ERROR: LeakSanitizer: detected memory leaks", "ERROR: AddressSanitizer",
               "runtime error:", "[  FAILED  ]")
TEST_PASSED = "[  PASSED  ]"
# How a death test shows the error output of the copy of itself it ran.
DEATH_TEST_LINE = "[  DEATH   ] "
# Written by the tests that start the game as a program of its own
# (tests/game/front/test_process.cpp) when its leak check's tracer crashed.
STARTED_PROGRAM_CRASH = "A started program's exit-time leak check crashed (LeakSanitizer's tracer): its result is unknown"


def tracer_crash_at_exit(output):
    """True when a test's output shows that the test passed and that only
    the leak check at process exit failed, its tracer having crashed, or
    that a program the test started met that crash."""
    if TRACER_CRASH not in output or LSAN_FATAL not in output:
        return False
    if STARTED_PROGRAM_CRASH in output or DEATH_TEST_LINE + TRACER_CRASH in output:
        # The started program's failed exit fails the test's checks of it.
        return not any(sign in output for sign in REAL_FAULTS if sign != "[  FAILED  ]")
    if any(sign in output for sign in REAL_FAULTS):
        return False
    return TEST_PASSED in output


def results(junit_path):
    """(name, status, output) of every test in a CTest JUnit file."""
    out = []
    for case in ET.parse(junit_path).getroot().iter("testcase"):
        text = "".join(e.text or "" for e in case.iter("system-out"))
        out.append((case.get("name"), case.get("status"), text))
    return out


def run_ctest(build, args, junit_path):
    # The end of a long output holds the sanitizer's report: keep it.
    cmd = ["ctest", "--test-dir", build, "--output-on-failure", "--test-output-truncation", "head",
           "--output-junit", junit_path] + list(args)
    return subprocess.call(cmd)


def name_pattern(names):
    """A CTest regular expression matching exactly these test names."""
    special = set("\\^$.|?*+()[]{}")
    return "^(" + "|".join("".join("\\" + c if c in special else c for c in n) for n in names) + ")$"


def main(argv, ctest=run_ctest, out=sys.stdout):
    if len(argv) < 2:
        print("usage: run_ctest.py BUILD_DIR [ctest arguments...]", file=sys.stderr)
        return 2
    build, args = argv[1], argv[2:]
    with tempfile.TemporaryDirectory() as tmp:
        first = os.path.join(tmp, "first.xml")
        code = ctest(build, args, first)
        retried = []
        if code != 0 and os.path.exists(first):
            failed = [(name, output) for name, status, output in results(first) if status == "fail"]
            retried = [name for name, output in failed if tracer_crash_at_exit(output)]
            if failed and len(retried) == len(failed):
                print("LeakSanitizer's tracer crashed at exit after these tests passed; running them again: "
                      + ", ".join(retried), file=out)
                second = os.path.join(tmp, "second.xml")
                code = ctest(build, ["--no-tests=error", "-R", name_pattern(retried)], second)
                if code == 0 and sorted(n for n, s, _ in results(second) if s == "run") != sorted(retried):
                    print("The second run did not pass every test it was to run again.", file=out)
                    code = 1
            else:
                retried = []
        print("Tests that needed a second run: " + (", ".join(retried) if retried else "none"), file=out)
        return code


if __name__ == "__main__":
    sys.exit(main(sys.argv))
