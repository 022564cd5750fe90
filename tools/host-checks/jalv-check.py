#!/usr/bin/env python3
"""Zurizaz's LV2 in jalv, on a JACK server with the dummy driver that this script starts and stops.

  tools/host-checks/jalv-check.py [--artefacts DIR] [--checks LIST] [--keep]

DIR holds LV2/Zurizaz.lv2 (default: build-test/Zurizaz_artefacts/Release). jalv runs with
LV2_PATH set to DIR/LV2 alone, so a copy installed in ~/.lv2 is not seen (a jalv that runs any
other copy's binary counts as a host failure). jalv loads a saved state (-l) and a small JACK
client (jack_probe.c, built here with gcc against libjack.so.0) plays a 500 Hz sine at 0.5 into
the plug-in and records what comes out. The checks named in LIST
(comma-separated; all by default):

  pattern   a state with a step pattern (gains 0.1 to 0.8) in SILENCE mode: the output level
            must walk through the pattern's gains, never at full level;
  bypass    a state with bypass on in DISTORT mode: the output must be the input sine, clean;
  nan       GLIMMER and QUAKE (feedback 0.3) get one NaN input sample: the output must be finite
            again within two periods (a period is one run call here) and stay so.

jalv's console sets only control ports, and this plug-in's parameters are patch properties,
so the parameters reach it through the state.

Prints what it saw; exits 1 when a fault shows, 2 when a host could not be driven, 0 otherwise.
"""

import argparse
import atexit
import array
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True   # nothing written next to the scripts
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from zurizaz_state import (HEIGHTS, LV2_STATE_KEY, LV2_URI, juce_base64_encode,  # noqa: E402
                           make_blob, run_bounded)

HERE = os.path.dirname(os.path.abspath(__file__))
RATE = 48000
PERIOD = 1024
FREQ = 500.0           # 96 samples a cycle at 48 kHz
AMPLITUDE = 0.5
SECONDS = 3.0          # the gate's eight steps take 2 s at the 120 bpm the plug-in assumes
WINDOW = 960           # 20 ms, ten whole cycles
NAN_AT = 0.5           # seconds into the recording

DEFAULTS = {"speed": 2.0, "fx": 1.0, "impact": 1.0, "depth": 0.2, "rate": 3.5, "feedback": 0.3,
            "phaserX": 0.0, "bite": 32.0, "bypassOn": 0.0, "knobsShowing": 0.0, "presets": 2.0}
DEFAULTS.update({h: 0.875 for h in HEIGHTS})

# Handle tops whose steps play at 0.1, 0.2, ... 0.8.
PATTERN_PX = [83, 100, 120, 140, 160, 200, 230, 270]
PATTERN_GAINS = [0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8]
PATTERN = {h: px / 400.0 for h, px in zip(HEIGHTS, PATTERN_PX)}


class Faults:
    def __init__(self):
        self.faults = []

    def expect(self, ok, what):
        print("  %s %s" % ("ok   " if ok else "FAULT", what))
        if not ok:
            self.faults.append(what)


class HostError(RuntimeError):
    pass


def write_state(directory, values):
    """A saved LV2 state as jalv -l (and Ardour) read it, holding the plug-in's blob."""
    os.makedirs(directory, exist_ok=True)
    with open(os.path.join(directory, "manifest.ttl"), "w") as f:
        f.write("@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n\n"
                "<state.ttl>\n\tlv2:appliesTo <%s> ;\n\ta pset:Preset ;\n\trdfs:seeAlso <state.ttl> .\n" % LV2_URI)
    with open(os.path.join(directory, "state.ttl"), "w") as f:
        f.write("@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n\n"
                "<>\n\ta pset:Preset ;\n\tlv2:appliesTo <%s> ;\n\tstate:state [\n\t\t<%s> \"%s\"\n\t] .\n"
                % (LV2_URI, LV2_STATE_KEY, juce_base64_encode(make_blob(values))))


class Jack:
    """A private JACK server with the dummy driver; every client here names it."""

    def __init__(self, workdir, log):
        self.name = "zurizaz-check-%d" % os.getpid()
        self.env = dict(os.environ, JACK_DEFAULT_SERVER=self.name, JACK_NO_AUDIO_RESERVATION="1")
        self.log = open(log, "a")
        self.server = subprocess.Popen(["jackd", "-n", self.name, "-r", "-d", "dummy", "-r", str(RATE),
                                        "-p", str(PERIOD), "-C", "2", "-P", "2"],
                                       stdout=self.log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                       env=self.env, start_new_session=True)
        code, out = run_bounded(["jack_wait", "-w", "-t", "10"], 15, env=self.env)
        if code != 0 or self.server.poll() is not None:
            self.stop()
            raise HostError("jackd did not start: %s" % out.strip())

    def ports(self):
        code, out = run_bounded(["jack_lsp"], 10, env=self.env)
        return out.split()

    def stop(self):
        if self.server.poll() is None:
            self.server.terminate()
            try:
                self.server.wait(10)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait()
        self.log.close()


def mapped_binaries(pid, name):
    """The resolved paths of the files called name that the process has mapped."""
    with open("/proc/%d/maps" % pid) as maps:
        paths = {line.split(None, 5)[5].strip() for line in maps if len(line.split(None, 5)) == 6}
    return sorted(os.path.realpath(p) for p in paths if os.path.basename(p) == name)


def play(jack, probe, artefacts, state_dir, recording, log, tag, nan_at=None):
    """Runs jalv on the state with the probe attached; returns the recorded stereo frames."""
    client = "zurizaz-%s" % tag
    env = dict(jack.env, LV2_PATH=os.path.join(artefacts, "LV2"))
    with open(log, "a") as out:
        jalv = subprocess.Popen(["jalv", "-x", "-n", client, "-l", state_dir], stdin=subprocess.PIPE,
                                stdout=out, stderr=subprocess.STDOUT, env=env, start_new_session=True)
    try:
        ports = []
        for _ in range(100):
            ports = [p for p in jack.ports() if p.startswith(client + ":")]
            if len(ports) >= 4 or jalv.poll() is not None:
                break
            time.sleep(0.1)
        ins = sorted(p for p in ports if ":audio_in_" in p)
        outs = sorted(p for p in ports if ":audio_out_" in p)
        if len(ins) != 2 or len(outs) != 2:
            raise HostError("jalv did not come up with two audio ins and outs (ports: %s)" % ports)
        bundle = os.path.realpath(os.path.join(artefacts, "LV2", "Zurizaz.lv2"))
        ran = mapped_binaries(jalv.pid, "libZurizaz.so")
        foreign = [b for b in ran if not b.startswith(bundle + os.sep)]
        if not ran or foreign:
            raise HostError("jalv runs %s, not the bundle %s" % (", ".join(foreign) or "no Zurizaz binary", bundle))

        code, text = run_bounded([probe, "probe-" + tag, str(SECONDS), recording, str(FREQ), str(AMPLITUDE)]
                                 + ins + outs + ([str(nan_at)] if nan_at is not None else []),
                                 SECONDS * 2 + 15, env=jack.env, log=log)
        if code != 0:
            raise HostError("jack_probe failed (%s): %s" % (code, text.strip()))
    finally:
        if jalv.poll() is None:
            jalv.stdin.close()   # the console ends at the end of its input
            try:
                jalv.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(jalv.pid, 9)
                jalv.wait()

    samples = array.array("f")
    with open(recording, "rb") as f:
        samples.frombytes(f.read())
    return samples[0::2], samples[1::2]


def check_probe(jack, probe, workdir, log):
    """The probe recording its own sine: the measuring chain itself must be exact."""
    raw = os.path.join(workdir, "loopback.raw")
    me = "probe-loopback"
    code, text = run_bounded([probe, me, "1", raw, str(FREQ), str(AMPLITUDE), me + ":record_L", me + ":record_R",
                              me + ":send_L", me + ":send_R"], 20, env=jack.env, log=log)
    if code != 0:
        raise HostError("jack_probe cannot record itself (%s): %s" % (code, text.strip()))
    samples = array.array("f")
    with open(raw, "rb") as f:
        samples.frombytes(f.read())
    amplitude, residual = fit_sine(samples[0::2])
    print("\n[probe] its own sine read back: amplitude %.4f, what is not the sine %.2e rms" % (amplitude, residual))
    if abs(amplitude - AMPLITUDE) > 1e-3 or residual > 1e-4:
        raise HostError("the probe does not read back its own sine")


def fit_sine(x):
    """Least-squares fit of a DC level and the probe's sine at FREQ; returns (amplitude, residual rms)."""
    n = len(x)
    w = 2 * math.pi * FREQ / RATE
    s = [math.sin(w * i) for i in range(n)]
    c = [math.cos(w * i) for i in range(n)]
    # The basis is orthogonal over whole cycles; the record holds whole cycles.
    mean = sum(x) / n
    a = 2 * sum(xi * si for xi, si in zip(x, s)) / n
    b = 2 * sum(xi * ci for xi, ci in zip(x, c)) / n
    residual = math.sqrt(sum((xi - mean - a * si - b * ci) ** 2 for xi, si, ci in zip(x, s, c)) / n)
    return math.hypot(a, b), residual


def window_gains(x):
    gains = []
    for start in range(0, len(x) - WINDOW + 1, WINDOW):
        block = x[start:start + WINDOW]
        rms = math.sqrt(sum(v * v for v in block) / WINDOW)
        gains.append(rms * math.sqrt(2) / AMPLITUDE)
    return gains


def check_pattern(left, right, faults):
    print("\n[pattern] restored state: SILENCE, pattern %s px (gains %s)" % (PATTERN_PX, PATTERN_GAINS))
    for name, x in (("left", left), ("right", right)):
        gains = window_gains(x)
        histogram = {}
        for g in gains:
            histogram[round(g, 1)] = histogram.get(round(g, 1), 0) + 1
        print("    %s: output/input level per 20 ms, rounded: %s" % (
            name, ", ".join("%.1f x%d" % (k, histogram[k]) for k in sorted(histogram))))
        heard = [g for g in PATTERN_GAINS if sum(1 for v in gains if abs(v - g) < 0.02) >= 3]
        faults.expect(len(heard) >= 7 and max(gains) < 0.85,
                      "%s: the restored pattern plays (steps heard at %s; loudest %.2f)"
                      % (name, ", ".join("%.1f" % g for g in heard) or "none", max(gains)))


def check_bypass(left, right, faults):
    print("\n[bypass] restored state: DISTORT at full impact, bypass on, pattern as above")
    for name, x in (("left", left), ("right", right)):
        amplitude, residual = fit_sine(x[: (len(x) // 96) * 96])
        print("    %s: sine amplitude %.4f (sent %.2f), what is not the sine %.2e rms" % (name, amplitude, AMPLITUDE, residual))
        faults.expect(abs(amplitude - AMPLITUDE) < 0.005 and residual < 1e-3 * AMPLITUDE,
                      "%s: bypass passes the sine through untouched" % name)


def check_nan(mode, left, right, faults):
    print("\n[nan] restored state: %s, feedback 0.3; one NaN input sample on the left at %.1f s" % (mode, NAN_AT))
    for name, x in (("left", left), ("right", right)):
        bad = [i for i, v in enumerate(x) if not math.isfinite(v)]
        tail = x[len(x) - RATE:]
        level = math.sqrt(sum(v * v for v in tail) / len(tail)) * math.sqrt(2)   # not finite when the tail is not
        if bad:
            print("    %s: %d non-finite samples, from %.3f s to %.3f s of %.1f s; last second's level %.3f"
                  % (name, len(bad), bad[0] / RATE, bad[-1] / RATE, len(x) / RATE, level))
        else:
            print("    %s: no non-finite sample; last second's level %.3f" % (name, level))
        clean = (not bad or bad[-1] - bad[0] < 2 * PERIOD) and math.isfinite(level) and level > 0.05
        faults.expect(clean, "%s %s: finite again within two periods of the NaN, and still playing" % (mode, name))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--artefacts", default=os.path.join(HERE, "..", "..", "build-test", "Zurizaz_artefacts", "Release"))
    parser.add_argument("--checks", default="pattern,bypass,nan", help="comma-separated, of: pattern, bypass, nan")
    parser.add_argument("--keep", action="store_true", help="keep the states, recordings and log")
    args = parser.parse_args()
    chosen = [c for c in args.checks.split(",") if c]
    if not chosen or any(c not in ("pattern", "bypass", "nan") for c in chosen):
        parser.error("--checks takes a list of: pattern, bypass, nan")

    artefacts = os.path.abspath(args.artefacts)
    if not os.path.isdir(os.path.join(artefacts, "LV2", "Zurizaz.lv2")):
        print("no LV2/Zurizaz.lv2 under %s: build first" % artefacts)
        return 2
    for tool in ("jalv", "jackd", "jack_wait", "jack_lsp", "gcc"):
        if shutil.which(tool) is None:
            print("%s is not installed" % tool)
            return 2

    workdir = tempfile.mkdtemp(prefix="zurizaz-jalv-")
    if not args.keep:
        atexit.register(shutil.rmtree, workdir, True)   # also when stopped half-way
    log = os.path.join(workdir, "hosts.log")
    probe = os.path.join(workdir, "jack_probe")
    code, out = run_bounded(["gcc", "-O2", "-o", probe, os.path.join(HERE, "jack_probe.c"),
                             "/usr/lib/x86_64-linux-gnu/libjack.so.0", "-lm"], 60)
    if code != 0:
        print("cannot build the JACK probe:\n" + out)
        return 2

    print("Zurizaz's LV2 in jalv (JACK dummy driver, %d Hz, %d-frame periods); bundle from %s" % (RATE, PERIOD, artefacts))
    faults = Faults()
    broken = None
    jack = None
    try:
        jack = Jack(workdir, log)
        check_probe(jack, probe, workdir, log)

        if "pattern" in chosen:
            state = dict(DEFAULTS, fx=3.0, **PATTERN)
            write_state(os.path.join(workdir, "pattern"), state)
            check_pattern(*play(jack, probe, artefacts, os.path.join(workdir, "pattern"),
                                os.path.join(workdir, "pattern.raw"), log, "pattern"), faults)

        if "bypass" in chosen:
            state = dict(DEFAULTS, fx=2.0, impact=1.0, bypassOn=1.0, **PATTERN)
            write_state(os.path.join(workdir, "bypass"), state)
            check_bypass(*play(jack, probe, artefacts, os.path.join(workdir, "bypass"),
                               os.path.join(workdir, "bypass.raw"), log, "bypass"), faults)

        for mode, fx in (("GLIMMER", 1.0), ("QUAKE", 4.0)) if "nan" in chosen else ():
            state = dict(DEFAULTS, fx=fx, feedback=0.3)
            write_state(os.path.join(workdir, mode), state)
            check_nan(mode, *play(jack, probe, artefacts, os.path.join(workdir, mode),
                                  os.path.join(workdir, mode + ".raw"), log, mode.lower(), NAN_AT), faults)
    except HostError as e:
        broken = str(e)
        print("  HOST  %s" % broken)
    finally:
        if jack is not None:
            jack.stop()

    print("\n%d fault(s)%s" % (len(faults.faults), ", host failure" if broken else ""))
    if args.keep:
        print("states, recordings and log kept in %s" % workdir)
    return 2 if broken else 1 if faults.faults else 0


if __name__ == "__main__":
    # Stopped from outside, still end the hosts it started (run_bounded, the finally blocks).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    sys.exit(main())
