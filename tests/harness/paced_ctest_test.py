#!/usr/bin/env python3
"""The test command's pacing (scripts/paced-ctest, named as the argument):
each result line read whole, whatever its test's name holds; every test of a
folder of small tests of its own run once, a fixture's setup too, with the
wait for the load taken (a load limit of 1 and a wait of one second) or not;
a ctest killed from inside, or a stop from outside, leaves no test running
and none run again, and the tests left are named."""
import atexit
import importlib.machinery
import importlib.util
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

loader = importlib.machinery.SourceFileLoader("paced_ctest", sys.argv[1])
paced = importlib.util.module_from_spec(importlib.util.spec_from_loader("paced_ctest", loader))
loader.exec_module(paced)
faults = []


def check(ok, what):
    if not ok:
        faults.append(what)


# Result lines as ctest writes them: (line, the test's number and result, whether that is no failure).
names = {5: "x # GetParam() = Passed", 7: "Sweep.Case/0  # GetParam() = ***Failed .... x", 8: "short", 9: "a"}
for line, found, harmless in [
    ("2/7 Test #5: x # GetParam() = Passed ..........***Failed    0.19 sec", (5, "Failed"), False),
    ("2/7 Test #5: x # GetParam() = Passed ..........   Passed    0.19 sec", (5, "Passed"), True),
    ("10/12 Test  #7: Sweep.Case/0  # GetParam() = ***Failed .... x ...   Passed    1.00 sec", (7, "Passed"), True),
    ("10/12 Test  #7: Sweep.Case/0  # GetParam() = ***Failed .... x ...***Timeout 120.01 sec", (7, "Timeout"), False),
    (" 1/7 Test #8: short ..........................***Not Run (Disabled)   0.00 sec", (8, "Not Run (Disabled)"), True),
    ("3/7 Test #8: short ...........................***Exception: SegFault  0.30 sec", (8, "Exception: SegFault"), False),
    ("3/7 Test #8: short ...........................***Not Run   0.00 sec", (8, "Not Run"), False),
    ("4/7 Test #9: a ...   Passed    0.01 sec\n", (9, "Passed"), True),
    ("4/7 Test #9: a Passed ...***Failed    0.01 sec", (9, "unreadable: a Passed ...***Failed    0.01 sec"), False),
    ("1/1 Test #8: short ...Subprocess terminated***Exception:   0.09 sec", (8, "Subprocess terminated***Exception:"), False),
    ("4/7 Test #3: c ...   Passed    0.01 sec", (3, "unreadable: c ...   Passed    0.01 sec"), False),
    ("    Start 5: x # GetParam() = Passed", None, None),
    ("5: [  PASSED  ] 1 test.", None, None),
]:
    got = paced.read_result(line, names)
    check(got == found, f"{line!r} read as {got}")
    check(found is None or paced.passed(found[1]) == harmless, f"{line!r}: harmless should be {harmless}")

work = tempfile.mkdtemp(prefix="paced_ctest_test_")
atexit.register(shutil.rmtree, work, True)


def folder(name, tests):
    """A folder of tests as ctest reads them: (name, shell command, properties)."""
    path = os.path.join(work, name)
    os.mkdir(path)
    with open(os.path.join(path, "CTestTestfile.cmake"), "w") as f:
        for test, command, properties in tests:
            f.write(f'add_test([=[{test}]=] "sh" "-c" [=[echo "{test}" >> ../{name}.log; {command}]=])\n')
            if properties:
                f.write(f"set_tests_properties([=[{test}]=] PROPERTIES {properties})\n")
    return path


def pace(path, *narrowing, environment=None, stop=None):
    # No wait for the load, but where a row asks for it.
    environment = {**{k: v for k, v in os.environ.items() if not k.startswith("GREVENHOLT_LOAD_")},
                   "GREVENHOLT_LOAD_LIMIT": "100000", **(environment or {})}
    run = subprocess.Popen([sys.executable, sys.argv[1], path, "4", *narrowing], env=environment,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if stop:
        stop(run)
    try:
        out = run.communicate(timeout=20)[0]
        return run.returncode, out
    except subprocess.TimeoutExpired:
        run.kill()
        return None, run.communicate()[0] + "\n(still running after 20 s)"


def ran(name):
    path = os.path.join(work, name + ".log")
    return open(path).read().splitlines() if os.path.exists(path) else []


# A fixture kept by one test and taken up by one that fails, one whose
# setup fails, beside a test that passes, a disabled one and the cleanup
# after them all.
kept = [
    ("keeps Passed", "exit 0", "FIXTURES_SETUP kept FIXTURES_REQUIRED folder"),
    ("takes up # GetParam() = Passed", "exit 1", "FIXTURES_REQUIRED [=[kept;folder]=]"),
    ("keeps badly", "exit 1", "FIXTURES_SETUP spoilt FIXTURES_REQUIRED folder"),
    ("takes up the spoilt", "exit 0", "FIXTURES_REQUIRED [=[spoilt;folder]=]"),
    ("plain", "exit 0", "FIXTURES_REQUIRED folder"),
    ("off", "exit 0", "DISABLED ON FIXTURES_REQUIRED folder"),
    ("after", "exit 0", "FIXTURES_CLEANUP folder"),
]
failed = "tests failed: takes up # GetParam() = Passed; keeps badly; takes up the spoilt"
# (the tests run, what is said of those that failed); the wait taken where the tests are narrowed.
for name, environment, narrowing, expected, said in [
    ("at-once", {}, [], ["keeps Passed", "takes up # GetParam() = Passed", "keeps badly", "plain", "after"],
     f"scripts/paced-ctest: 3 of 7 {failed}"),
    ("waited", {"GREVENHOLT_LOAD_LIMIT": "1", "GREVENHOLT_LOAD_WAIT": "1"}, ["-R", "takes"],
     ["keeps Passed", "takes up # GetParam() = Passed", "keeps badly", "after"], f"scripts/paced-ctest: 3 of 5 {failed}"),
]:
    status, out = pace(folder(name, kept), *narrowing, environment=environment)
    check(status == 1, f"{name}: exit status {status}\n{out}")
    check(sorted(ran(name)) == sorted(expected) and ran(name)[-1] == "after", f"{name}: ran {ran(name)}")
    lines = [line for line in out.splitlines() if line.startswith("scripts/paced-ctest: ")]
    check(said in lines and not any("did not run" in line for line in lines), f"{name}:\n{out}")

# A ctest killed as a test runs: the rest are named, never run again.
status, out = pace(folder("killed", [("ends its ctest", "kill -9 $PPID; sleep 1", ""), ("later", "exit 0", "")]), "-j1")
check(status == 1 and ran("killed") == ["ends its ctest"], f"killed: {status} {ran('killed')}\n{out}")
check("ctest was ended by signal 9" in out and "2 of 2 tests did not run: ends its ctest; later" in out, f"killed:\n{out}")


# A stop from outside as a test runs reaches that test.
def stop_when_running(run):
    pid_file = os.path.join(work, "stopped.pid")
    for _ in range(200):
        if os.path.exists(pid_file) and os.path.getsize(pid_file):
            break
        time.sleep(0.05)
    run.send_signal(signal.SIGTERM)
    stop_when_running.pid = int(open(pid_file).read())


status, out = pace(folder("stopped", [("sleeps", f"echo $$ > {work}/stopped.pid; exec sleep 30", "")]),
                   stop=stop_when_running)
check(status == 128 + signal.SIGTERM and ("failed: sleeps\n" in out or "did not run: sleeps\n" in out),
      f"stopped: {status}\n{out}")
check(paced.process_state(stop_when_running.pid) in ("", "Z"), "stopped: the test still runs")  # gone, or dead unreaped

for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
