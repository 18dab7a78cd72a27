#!/usr/bin/env python3
"""Runs one GoogleTest program under the emulator and passes only when the program ran to its end.

    run_gtest.py EMULATOR PROGRAM [ARGS...]

A program that ends in the middle, whatever its exit code (a crash, exit or ExitProcess inside
a test, Wine reporting 0 for a process that died), never writes its XML report: the report is
written by RUN_ALL_TESTS after the last test. So the program passes when it exits with 0, its
report is there, the report counts no failure and no error, and every test case it started
completed (or was skipped). Output passes through as it comes.
"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def windows_path(path):
    # The prefix maps drive Z: to the root of the file system.
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def judge(report):
    """What is wrong with the report, or None."""
    try:
        root = ET.parse(report).getroot()
    except (OSError, ET.ParseError) as e:
        return f"no complete test report ({e}): the program ended before its last test"
    failures = int(root.get("failures", "0"))
    errors = int(root.get("errors", "0"))
    started = [c for c in root.iter("testcase") if c.get("status") == "run"]
    unfinished = [f"{c.get('classname')}.{c.get('name')}" for c in started
                  if c.get("result", "completed") not in ("completed", "skipped")]
    if failures or errors:
        return f"the report counts {failures} failure(s) and {errors} error(s)"
    if not started:
        return "the report holds no test that ran"
    if unfinished:
        return "tests started but did not complete: " + ", ".join(unfinished)
    return None


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    emulator, program, args = sys.argv[1], sys.argv[2], sys.argv[3:]
    with tempfile.TemporaryDirectory(prefix="gtest-report-") as folder:
        report = os.path.join(folder, "report.xml")
        command = [emulator] if emulator else []
        command += [program, "--gtest_output=xml:" + windows_path(report)] + args
        status = subprocess.call(command)
        sys.stdout.flush()
        if status != 0:
            print(f"[run_gtest] {os.path.basename(program)} exited with {status}", file=sys.stderr)
            return status
        problem = judge(report)
        if problem:
            print(f"[run_gtest] {os.path.basename(program)} exited with 0 but {problem}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
