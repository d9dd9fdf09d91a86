#!/usr/bin/env python3
"""End-to-end tests of corvane-cli as a test rig on a build server: expectations on receive
sequences, --until, --timeout, timed sends, the exit statuses and the JUnit and JSON reports,
over socat pseudo-terminal pairs with a scripted peer, and with mbpoll as a Modbus RTU master.

The JUnit reports are validated against junit.xsd with xmllint, the JSON reports with Python's
parser. Every wait is bounded; every process started here is ended here."""

import argparse
import json
import os
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_cli as base  # noqa: E402
from e2e_cli import (check, fail, hex_of, open_raw, read_at_least, run_cli, start_cli, stop_process,  # noqa: E402
                     wait_until_open, write_project)

ARGS = None
HELLO = b"hello"
WORLD = b"world\r\n"


def read_reports(tmp, name):
    """The JUnit report, valid against the schema, and the JSON report, parsed."""
    xml_path = os.path.join(tmp, name + ".xml")
    json_path = os.path.join(tmp, name + ".json")
    check(os.path.isfile(xml_path) and os.path.isfile(json_path), "both reports written")
    valid = subprocess.run([ARGS.xmllint, "--noout", "--schema", ARGS.schema, xml_path], capture_output=True,
                           timeout=20)
    with open(xml_path, "rb") as f:
        xml = f.read().decode("utf-8")
    check(valid.returncode == 0, "the JUnit report is valid: %s\n%s" % (valid.stderr.decode(), xml))
    with open(json_path, "rb") as f:
        report = json.loads(f.read().decode("utf-8"))
    leftovers = [entry for entry in os.listdir(tmp) if entry.startswith("." + name)]
    check(not leftovers, "no temporary files left beside the reports: %s" % leftovers)
    return xml, report


def report_args(tmp, name):
    return ["--report", os.path.join(tmp, name + ".xml"), "--report-json", os.path.join(tmp, name + ".json")]


def device_project(tmp, port, stop_on_quit=False):
    project = os.path.join(tmp, "device.ptp")
    write_project(project, 0, port, "COM2", [("World", WORLD)],
                  [("Hello", HELLO, 0, "greeted", False), ("Error", b"ERROR", -1, "", False),
                   ("Quit", b"quit", -1, "", stop_on_quit)])
    return project


def wait_for_exit(process, seconds, what):
    try:
        process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        stop_process(process)
        fail(what + ": corvane-cli did not end by itself")
    return stop_process(process)


def expectation(report, label_start):
    found = [e for e in report["expectations"] if e["label"].startswith(label_start)]
    check(len(found) == 1, "one expectation %r in %s" % (label_start, report["expectations"]))
    return found[0]


def greet(fd, why="greeting answered"):
    """The device says Hello and must hear World back."""
    os.write(fd, HELLO)
    check(read_at_least(fd, len(WORLD), 5) == WORLD, why)


def play_device(cli, pair, play, exit_seconds, why, open_seconds=0.5):
    """Plays the device on the far end of pair (play(fd) does the talking), then waits for the run
    to end by itself; returns its (code, out, err). Whatever happens, everything is closed."""
    fd = None
    try:
        if open_seconds is not None:
            wait_until_open(cli, open_seconds)
        fd = open_raw(pair.device_b)
        play(fd)
        return wait_for_exit(cli, exit_seconds, why)
    finally:
        if fd is not None:
            os.close(fd)
        stop_process(cli)
        pair.close()


def case_expect_met(tmp, env):
    """Three greetings expected: the run ends by itself once the third is answered."""
    pair = base.PtyPair(tmp, "met")
    project = device_project(tmp, "COM50")
    cli = start_cli(env, ["--port", "COM50=" + pair.device_a, "--expect", "Hello:3", "--timeout", "20",
                          "--quiet"] + report_args(tmp, "met") + [project])
    def play(fd):
        for _ in range(3):
            greet(fd, "each greeting answered, the last one too")

    code, out, err = play_device(cli, pair, play, 10, "all expectations met", open_seconds=1.5)
    check(code == 0, "exit status %d: %s" % (code, err))
    xml, report = read_reports(tmp, "met")
    check('failures="0" errors="0"' in xml and "<failure" not in xml, "no failure in the JUnit report:\n" + xml)
    check('name="&quot;Hello&quot; detected at least 3 times"' in xml, "a test case per expectation:\n" + xml)
    check("detected 3 times\nfirst detection " in xml, "count and times in system-out:\n" + xml)
    check(report["end"] == "expectations met" and report["exitStatus"] == 0 and report["passed"], str(report))
    hello = expectation(report, '"Hello"')
    check(hello["detections"] == 3 and hello["passed"] and hello["failure"] is None, str(hello))
    first, last = hello["firstDetection"], hello["lastDetection"]
    check(0 <= first["seconds"] <= last["seconds"] <= report["seconds"], "detection times in order: %s" % hello)
    check(first["time"][:4].isdigit() and "T" in first["time"], "arrival time stamps: %s" % first)
    check(report["bytes"] == [{"direction": 0, "channel": "TX", "bytes": 3 * len(WORLD)},
                              {"direction": 1, "channel": "RX", "bytes": 3 * len(HELLO)}], str(report["bytes"]))
    check([s["detections"] for s in report["receiveSequences"]] == [3, 0, 0], str(report["receiveSequences"]))


def case_expect_missed(tmp, env):
    """Five greetings expected, two come: the timeout ends the run as failed with the traffic."""
    pair = base.PtyPair(tmp, "missed")
    project = device_project(tmp, "COM51")
    cli = start_cli(env, ["--port", "COM51=" + pair.device_a, "--expect", "0:5", "--timeout", "3", "--quiet"] +
                    report_args(tmp, "missed") + [project])
    def play(fd):
        for _ in range(2):
            greet(fd)

    code, out, err = play_device(cli, pair, play, 15, "timeout")
    check(code == 3, "a missed expectation gives 3, not %d: %s" % (code, err))
    check('expectation failed: "Hello" detected at least 5 times: detected 2 times, expected at least 5 times '
          '(timeout after 3 s)' in err, "told on standard error:\n" + err)
    xml, report = read_reports(tmp, "missed")
    traffic = "[RX] " + hex_of(HELLO) + "\n[TX] " + hex_of(WORLD) + "\n"
    check('<failure message="detected 2 times, expected at least 5 times (timeout after 3 s)" type="expectation">' +
          traffic * 2 + "</failure>" in xml, "the failure holds the traffic in HEX:\n" + xml)
    check('failures="1" errors="0"' in xml, "one failure")
    missed = expectation(report, '"Hello"')
    check(not missed["passed"] and missed["detections"] == 2, str(missed))
    check(missed["failure"]["traffic"] == traffic * 2, "the JSON failure holds the traffic: %s" % missed)
    check(report["end"] == "timeout" and report["exitStatus"] == 3 and not report["passed"], str(report))


def case_forbidden(tmp, env):
    """A forbidden sequence ends the run at once as failed, long before its duration."""
    pair = base.PtyPair(tmp, "forbidden")
    project = device_project(tmp, "COM52")
    cli = start_cli(env, ["--port", "COM52=" + pair.device_a, "--expect-none", "Error", "--expect", "Hello",
                          "--duration", "30", "--view", "hex"] + report_args(tmp, "forbidden") + [project])
    def play(fd):
        greet(fd)
        os.write(fd, b"xxERROR")

    code, out, err = play_device(cli, pair, play, 10, "forbidden sequence seen")
    check(code == 3, "a forbidden sequence gives 3, not %d: %s" % (code, err))
    check("78 78 45 52 52 4F 52" in out, "the forbidden data is shown:\n" + out)
    xml, report = read_reports(tmp, "forbidden")
    check(report["end"] == "expectation failed" and report["seconds"] < 30, str(report))
    forbidden = expectation(report, '"Error" never')
    check(not forbidden["passed"] and forbidden["failure"]["message"] == "detected once, expected never",
          str(forbidden))
    check(expectation(report, '"Hello"')["passed"], "the other expectation passed")
    check('failures="1"' in xml and xml.count("<testcase ") == 3, "two expectations and the channels:\n" + xml)


def case_until_and_timed_send(tmp, env):
    """World goes out 0.8 s after the start; the peer answers with data holding Quit, and the run
    stops right there, the rest of the packet unseen, as a stop action would stop it."""
    pair = base.PtyPair(tmp, "until")
    project = device_project(tmp, "COM53")
    launched = time.time()
    cli = start_cli(env, ["--port", "COM53=" + pair.device_a, "--send", "World@0.8", "--until", "Quit",
                          "--expect", "Hello:1-1", "--duration", "30"] + report_args(tmp, "until") + [project])
    def play(fd):
        got = read_at_least(fd, len(WORLD), 10)
        arrived = time.time()
        check(got == WORLD, "the timed send arrives: %r" % got)
        check(arrived - launched >= 0.8, "not before its moment: %.3f s" % (arrived - launched))
        greet(fd, "the greeting is answered")
        # The Hello after Quit is never looked at.
        os.write(fd, b"..quit..hello")

    code, out, err = play_device(cli, pair, play, 10, "--until", open_seconds=None)
    check(code == 0, "exit status %d: %s" % (code, err))
    check('Communication stopped by receive sequence "Quit".' in out, "stopped like a stop action:\n" + out)
    check("..quit" in out and "..quit..hello" not in out, "the rest of the packet unseen:\n" + out)
    xml, report = read_reports(tmp, "until")
    check(report["end"] == "until" and report["seconds"] < 30, str(report))
    until = expectation(report, 'run stopped by "Quit"')
    check(until["passed"] and until["detections"] == 1, str(until))
    check(expectation(report, '"Hello" detected exactly once')["passed"], str(report["expectations"]))
    check(report["bytes"][1]["bytes"] == len(b"hello..quit"), "received bytes up to the stop: %s" % report)

    # An --until sequence that never comes fails the run at the timeout.
    result = run_cli(env, ["--until", "Quit", "--timeout", "0.5"] + report_args(tmp, "never") +
                     [device_project(tmp, "COM256")])
    check(result.returncode == 3, "an --until that never comes fails: %d" % result.returncode)
    xml, report = read_reports(tmp, "never")
    check(expectation(report, "run stopped by")["failure"]["message"] == "not detected before the run ended "
          "(timeout after 0.5 s)", str(report))


def case_port_gone(tmp, env):
    """The device goes away in the middle of the run: status 4 even though the expectation was met."""
    pair = base.PtyPair(tmp, "gone")
    project = device_project(tmp, "COM54")
    # The port is named by the link, as a device under /dev/serial/by-id would be.
    cli = start_cli(env, ["--port", "COM54=" + pair.a, "--expect", "Hello", "--duration", "3", "--quiet"] +
                    report_args(tmp, "gone") + [project])
    try:
        wait_until_open(cli, 0.5)
        far = open_raw(pair.device_b)
        greet(far, "answered before it goes")
        os.write(far, HELLO)
        pair.close()
        os.close(far)
        code, out, err = wait_for_exit(cli, 15, "port gone")
    finally:
        stop_process(cli)
        pair.close()
    check(code == 4, "a port gone gives 4, not %d: %s" % (code, err))
    xml, report = read_reports(tmp, "gone")
    check(any("General I/O error on COM54" in t for t in report["troubles"]), "the loss is reported: %s" % report)
    check(expectation(report, '"Hello"')["passed"] and report["exitStatus"] == 4, str(report))
    check('errors="1"' in xml and '<error message="General I/O error on COM54' in xml, "the error test case:\n" + xml)


def case_modbus_ten_requests(tmp, env):
    """mbpoll polls a corvane-cli slave ten times; the slave expects ten requests and reports them."""
    request = bytes([0x11, 0x03, 0x00, 0x00, 0x00, 0x02])
    request += base.crc16_modbus(request)
    pair = base.PtyPair(tmp, "modbus")
    project = os.path.join(tmp, "slave.ptp")
    base.write_slave(project, "COM55")
    slave = start_cli(env, ["--port", "COM55=" + pair.device_a, "--expect", "Read holding registers 1-2:10",
                            "--timeout", "40", "--quiet"] + report_args(tmp, "modbus") + [project])
    try:
        wait_until_open(slave)
        for _ in range(10):
            base.check_registers(*base.run_mbpoll(pair.device_b))
        code, out, err = wait_for_exit(slave, 10, "ten requests")
    finally:
        stop_process(slave)
        pair.close()
    check(code == 0, "slave exit status %d: %s" % (code, err))
    xml, report = read_reports(tmp, "modbus")
    polls = expectation(report, '"Read holding registers 1-2" detected at least 10 times')
    check(polls["passed"] and polls["detections"] == 10, str(polls))
    check(report["bytes"][1]["bytes"] == 10 * len(request) and report["bytes"][0]["bytes"] == 10 * 9,
          "ten requests in, ten responses out: %s" % report["bytes"])
    check("detected 10 times" in xml, xml)


def case_report_names_and_usage(tmp, env):
    """Names with markup, quotes, colons and control characters; malformed check options."""
    project = os.path.join(tmp, "names.ptp")
    odd = 'A<&"b>\x01'
    write_project(project, 0, "COM256", "COM2", [("Send", b"AB:2")],
                  [(odd, b"A", -1, "", False), ("Step:2", b"B", -1, "", False), ("Never", b"Z", -1, "", False)])
    result = run_cli(env, ["--send", "Send", "--expect", odd, "--expect", "Step:2", "--expect", "Step:2:1-1",
                           "--expect", "Never:0", "--timeout", "1.5", "--quiet"] + report_args(tmp, "names") +
                     [project])
    check(result.returncode == 0, "exit status %d: %s" % (result.returncode, result.stderr))
    xml, report = read_reports(tmp, "names")
    names = [s["name"] for s in report["receiveSequences"]]
    check(names == ['A<&"b>\ufffd', "Step:2", "Never"], "names kept, the control character replaced: %s" % names)
    labels = [e["label"] for e in report["expectations"]]
    check(labels == ['"A<&"b>\ufffd" detected at least once', '"Step:2" detected at least once',
                     '"Step:2" detected exactly once', '"Never" detected at least 0 times'], str(labels))
    check(all(e["passed"] for e in report["expectations"]), str(report["expectations"]))

    sample = os.path.join(ARGS.samples, "PingPong.ptp")
    missing_dir = os.path.join(tmp, "no-such-folder", "r.xml")
    for args, text in [(["--expect"], "option --expect needs a value"),
                       (["--timeout", "soon"], "--timeout wants a number of seconds, not 'soon'"),
                       (["--report", ""], "--report wants a file name"),
                       (["--expect", "Nope"], 'the project has no receive sequence "Nope"'),
                       (["--until", "Nope"], 'the project has no receive sequence "Nope" (--until)'),
                       (["--expect", "Pong received:3-2"], "--expect wants NAME[:MIN[-MAX]]"),
                       (["--expect", "Pong received:1000000000"], "--expect wants NAME[:MIN[-MAX]]"),
                       (["--send", "Nope@1"], 'the project has no send sequence "Nope"'),
                       (["--report", missing_dir], "the report cannot be written: cannot create a file beside"),
                       (["--report", tmp, "--report-json", "x"], "the report cannot be written: cannot replace"),
                       (["--report", "r", "--report-json", "./r"], "--report and --report-json name the same file")]:
        result = run_cli(env, [sample] + args)
        err = result.stderr.decode("utf-8", "replace")
        check(result.returncode == 2, "%s gives 2, not %d" % (args, result.returncode))
        check(text in err, "%s: %r in:\n%s" % (args, text, err))
    check(not os.path.exists(os.path.dirname(missing_dir)), "nothing created for a report that can't be written")
    helped = run_cli(env, ["--help"]).stdout.decode()
    for text in ["--expect R[:MIN[-MAX]]", "--report-json FILE", "  3  an expectation failed", "  4  a channel error"]:
        check(text in helped, "--help documents %r" % text)

    # A port that can't be opened: status 1, and the reports say so.
    result = run_cli(env, ["--port", "COM9=" + os.path.join(tmp, "absent"), "--expect", "0"] +
                     report_args(tmp, "nostart") + [device_project(tmp, "COM9")])
    check(result.returncode == 1, "cannot start gives 1, not %d" % result.returncode)
    xml, report = read_reports(tmp, "nostart")
    check(report["end"] == "not started" and "The communication port COM9 could not be opened." in
          report["startError"], str(report))
    check('<error message="communication could not be started"' in xml, xml)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--mbpoll", default="mbpoll")
    parser.add_argument("--xmllint", default="xmllint")
    parser.add_argument("--schema", required=True)
    parser.add_argument("case")
    ARGS = parser.parse_args()
    base.ARGS = ARGS
    case = globals().get("case_" + ARGS.case)
    if case is None:
        fail("unknown case " + ARGS.case)
    with tempfile.TemporaryDirectory(prefix="corvane-e2e-") as tmp:
        case(tmp, base.Environment(tmp))
    print("PASS: " + ARGS.case)


if __name__ == "__main__":
    main()
