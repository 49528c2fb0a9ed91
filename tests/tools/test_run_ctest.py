"""./run-tests runs a failed test again only when LeakSanitizer's tracer
crashed at process exit after the test had passed, and says which tests
needed that."""

import io
import os
import sys
import unittest
from xml.sax.saxutils import escape

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import run_ctest  # noqa: E402

PASSED = ("[ RUN      ] Suite.Case\n[       OK ] Suite.Case (3 ms)\n"
          "[==========] 1 test from 1 test suite ran. (3 ms total)\n[  PASSED  ] 1 test.\n")
FAILED = ("[ RUN      ] Suite.Case\nfile.cpp:12: Failure\n[  FAILED  ] Suite.Case (3 ms)\n"
          "[==========] 1 test from 1 test suite ran. (3 ms total)\n[  PASSED  ] 0 tests.\n"
          "[  FAILED  ] 1 test, listed below:\n")
TRACER = ("Tracer caught signal 11: addr=0x0 pc=0x7f3a5c1b2c3d sp=0x7f3a4bfff000\n"
          "==4242==LeakSanitizer has encountered a fatal error.\n"
          "==4242==HINT: For debugging, try setting environment variable LSAN_OPTIONS=verbosity=1:log_threads=1\n"
          "==4242==HINT: LeakSanitizer does not work under ptrace (strace, gdb, etc)\n")
LEAK = ("==4242==ERROR: LeakSanitizer: detected memory leaks\n\n"
        "Direct leak of 16 byte(s) in 1 object(s) allocated from:\n    #0 0x4a in operator new\n")
ASAN = "==4242==ERROR: AddressSanitizer: heap-use-after-free on address 0x602000000010\n"
UBSAN = "game/hero.cpp:40:12: runtime error: signed integer overflow\n"
STARTED = run_ctest.STARTED_PROGRAM_CRASH + "\n"
DEATH = run_ctest.DEATH_TEST_LINE


class Recognition(unittest.TestCase):
    def test_only_a_tracer_crash_after_a_passed_test_is_run_again(self):
        for name, output, again in (
                ("the tracer crashed after the test passed", PASSED + TRACER, True),
                ("a passed test", PASSED, False),
                ("a failed check, then the tracer crash", FAILED + TRACER, False),
                ("a leak found", PASSED + LEAK, False),
                ("a leak found and the tracer crashed", PASSED + LEAK + TRACER, False),
                ("a use after free, then the tracer crash", PASSED + ASAN + TRACER, False),
                ("undefined behaviour, then the tracer crash", PASSED + UBSAN + TRACER, False),
                ("another fatal error of the leak check", PASSED + TRACER.split("\n", 1)[1], False),
                ("a crash before the test ended", "[ RUN      ] Suite.Case\n" + TRACER, False),
                ("a started program's tracer crashed", FAILED + STARTED + TRACER, True),
                ("a started program's tracer crashed after it leaked", FAILED + STARTED + LEAK + TRACER, False),
                ("a started program's tracer crashed after a use after free",
                 FAILED + STARTED + ASAN + TRACER, False),
                ("the line without the crash", FAILED + STARTED, False),
                ("a death test's copy met the crash", FAILED + DEATH + TRACER, True),
                ("a death test's copy leaked", FAILED + DEATH + LEAK + DEATH + TRACER, False),
        ):
            with self.subTest(name):
                self.assertEqual(run_ctest.tracer_crash_at_exit(output), again)

    def test_the_pattern_names_exactly_the_tests(self):
        import re
        pattern = run_ctest.name_pattern(["EverySong/EverySong.Plays/0", "A.B(1)+[x]"])
        self.assertTrue(re.match(pattern, "EverySong/EverySong.Plays/0"))
        self.assertTrue(re.match(pattern, "A.B(1)+[x]"))
        self.assertFalse(re.match(pattern, "EverySong/EverySong.Plays/01"))
        self.assertFalse(re.match(pattern, "AxB(1)+[x]"))


def junit(path, cases):
    with open(path, "w") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<testsuite name="(empty)">\n')
        for name, status, output in cases:
            f.write('<testcase name="%s" status="%s"><system-out>%s</system-out></testcase>\n'
                    % (escape(name, {'"': "&quot;"}), status, escape(output)))
        f.write("</testsuite>\n")


class FakeCTest:
    """Stands for ctest: each call writes the next prepared result."""

    def __init__(self, *runs):
        self.runs = list(runs)
        self.calls = []

    def __call__(self, build, args, junit_path):
        self.calls.append(list(args))
        code, cases = self.runs.pop(0)
        junit(junit_path, cases)
        return code


class Runs(unittest.TestCase):
    def run_main(self, fake):
        out = io.StringIO()
        code = run_ctest.main(["run_ctest.py", "build-tests", "-j", "8"], ctest=fake, out=out)
        return code, out.getvalue()

    def test_a_clean_run_is_one_run(self):
        fake = FakeCTest((0, [("A.a", "run", PASSED), ("B.b", "run", PASSED)]))
        code, out = self.run_main(fake)
        self.assertEqual(code, 0)
        self.assertEqual(fake.calls, [["-j", "8"]])
        self.assertIn("Tests that needed a second run: none", out)

    def test_tracer_crashes_are_run_again_and_named(self):
        fake = FakeCTest((8, [("A.a", "fail", PASSED + TRACER), ("B.b", "run", PASSED),
                              ("C/c.d/0", "fail", PASSED + TRACER)]),
                         (0, [("A.a", "run", PASSED), ("C/c.d/0", "run", PASSED)]))
        code, out = self.run_main(fake)
        self.assertEqual(code, 0)
        self.assertEqual(fake.calls[1], ["--no-tests=error", "-R", "^(A\\.a|C/c\\.d/0)$"])
        self.assertIn("Tests that needed a second run: A.a, C/c.d/0", out)

    def test_a_real_failure_is_not_run_again(self):
        # Not even the tracer crash beside it: the run fails at once.
        fake = FakeCTest((8, [("A.a", "fail", FAILED), ("B.b", "fail", PASSED + TRACER)]))
        code, out = self.run_main(fake)
        self.assertEqual(code, 8)
        self.assertEqual(len(fake.calls), 1)
        self.assertIn("Tests that needed a second run: none", out)

    def test_a_second_failure_fails_the_run(self):
        for name, second in (("the tracer crashed again", (8, [("A.a", "fail", PASSED + TRACER)])),
                             ("the test was not run", (0, []))):
            with self.subTest(name):
                fake = FakeCTest((8, [("A.a", "fail", PASSED + TRACER)]), second)
                code, out = self.run_main(fake)
                self.assertNotEqual(code, 0)
                self.assertIn("Tests that needed a second run: A.a", out)


if __name__ == "__main__":
    unittest.main()
