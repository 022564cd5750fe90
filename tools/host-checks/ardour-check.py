#!/usr/bin/env python3
"""Zurizaz in headless Ardour 7 (ardour7-lua, "None (Dummy)" backend), as the VST3 and as the LV2.

  tools/host-checks/ardour-check.py [--artefacts DIR] [--format vst3|lv2|both] [--checks LIST] [--keep]

DIR holds VST3/Zurizaz.vst3 and LV2/Zurizaz.lv2 (default: build-test/Zurizaz_artefacts/Release).
Ardour runs with a private HOME, LV2_PATH set to DIR/LV2 alone and a VST3 plug-in cache that
holds only DIR's VST3, so it sees only these bundles whatever is installed, and keeps its caches
there. Every run must have mapped only DIR's binaries, or the run counts as a host failure.

For each format, the checks named in LIST (comma-separated; all by default):
  fresh     the values a fresh instance shows the host and saves, against the declared defaults,
            and the two formats against each other; the presets Ardour offers have names;
  session   set a step pattern, preset 6, bypass on and the panel open through the parameters,
            save (does the save hold them?), close, reopen, roll the transport for a second, save
            again: the second save must hold them. When the first save lost them, the script
            writes them into the saved state itself ("forged") so that the reopen is still tried;
  pattern   a session in SILENCE with a step pattern (gains 0.1 to 0.8), saved, reopened and
            played with a constant 0.5 as the input: a level probe after the plug-in must see
            the pattern's gains, never full level (forged like the session when the save lost it);
  nan       GLIMMER and QUAKE sessions with a Lua NaN source before the plug-in: one NaN input
            sample, and the level probe must see finite output again within two cycles;
  set-0909  BabyRadod1 set to 0.0909 (normalised; 0.1 plain) reads back so after processing,
            after a save and after a reopen, and is what both saves hold.

A parameter the plug-in does not offer to the host is reported and left out of what the host
sets; the session's value then reaches the saved state only by the script's own writing.
Ardour keeps its own copy of an LV2 patch parameter and does not take values back from the
plug-in, so for the LV2 only the saves are judged.

Prints what it saw; exits 1 when a fault shows, 2 when a host could not be driven, 0 otherwise.
"""

import argparse
import atexit
import base64
import math
import os
import re
import shutil
import signal
import sys
import tempfile

sys.dont_write_bytecode = True   # nothing written next to the scripts
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from zurizaz_state import (HEIGHTS, IDS, LV2_STATE_KEY, format_values, juce_base64_decode,  # noqa: E402
                           juce_base64_encode, blob_values, replace_blob, run_bounded, same,
                           to_normalised, to_plain, vst3_component_state, vst3_stream)

HERE = os.path.dirname(os.path.abspath(__file__))
LUA = os.path.join(HERE, "ardour_session.lua")
VST3_SCANNER = "/usr/lib/ardour7/ardour-vst3-scanner"
TIMEOUT = 120

# The session the user saved: a step pattern (handle tops at 83, 100, ... 270 px, all inside the
# handles' range and all different), preset 6 (carried as 7), bypass on, the panel open.
PATTERN_PX = [83, 100, 120, 140, 160, 200, 230, 270]
SESSION = dict({"presets": 7.0, "bypassOn": 1.0, "knobsShowing": 1.0},
               **{h: px / 400.0 for h, px in zip(HEIGHTS, PATTERN_PX)})
SESSION_ORDER = ["presets", "bypassOn", "knobsShowing"] + HEIGHTS   # the preset first: it may move handles
PATTERN_GAINS = [0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8]   # what the pattern's steps play at
LISTEN_CYCLES = 100   # about 2.1 s of 1024-frame cycles: one pass of the eight steps at 120 bpm
HEIGHT_0909 = to_plain("babyRadod1", 0.0909)

# Ardour 7.3 keeps its own copy of an LV2 patch parameter, set only by the host itself: it neither
# saves it with the session nor takes values back from the plug-in, so it is shown but not judged.
LV2_HOST_COPY = "(for the LV2 these are Ardour's own copies, not judged: it does not take them back from the plug-in)"


class Check:
    def __init__(self):
        self.faults = []
        self.broken = []

    def expect(self, ok, what):
        print("  %s %s" % ("ok   " if ok else "FAULT", what))
        if not ok:
            self.faults.append(what)
        return ok

    def host_failed(self, what, output=""):
        print("  HOST  %s" % what)
        if output:
            print("\n".join("        | " + line for line in output.strip().splitlines()[-15:]))
        self.broken.append(what)


class Ardour:
    """One private HOME with the bundles under test, shared by the runs of one format."""

    def __init__(self, artefacts, fmt, workdir, log):
        self.fmt = fmt
        self.artefacts = artefacts
        self.workdir = workdir
        self.log = log
        self.env = dict(os.environ)
        home = os.path.join(workdir, "home")
        os.makedirs(os.path.join(home, ".vst3"), exist_ok=True)
        self.env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                        XDG_CACHE_HOME=os.path.join(home, ".cache"),
                        LV2_PATH=os.path.join(artefacts, "LV2"))
        self.env.pop("VST3_PATH", None)
        scripts = os.path.join(home, ".config", "ardour7", "scripts")
        os.makedirs(scripts)
        for script in ("ardour_level_probe.lua", "ardour_nan_source.lua"):
            shutil.copy(os.path.join(HERE, script), scripts)
        bundle = os.path.join(home, ".vst3", "Zurizaz.vst3")
        os.symlink(os.path.join(artefacts, "VST3", "Zurizaz.vst3"), bundle)

        if fmt == "vst3":
            # The Lua session only reads Ardour's plug-in cache; the scanner writes it.
            env = dict(self.env, LD_LIBRARY_PATH="/usr/lib/ardour7")
            code, out = run_bounded([VST3_SCANNER, "-f", bundle], TIMEOUT, env=env, log=log)
            if code != 0:
                raise RuntimeError("the VST3 scanner failed (%s)\n%s" % (code, out))

    def run(self, stage, name, settings=()):
        """Runs one stage; returns ({when: {id: plain}}, {id: plain default}, ids the host is not
        offered, output)."""
        command = ["ardour7-lua", LUA, stage, self.fmt, os.path.join(self.workdir, name), name]
        command += ["%s=%.6f" % (pid, v if pid in ("listen", "nan") else self.host_units(pid, v)) for pid, v in settings]
        code, out = run_bounded(command, TIMEOUT, env=self.env, log=self.log)
        values, defaults, hidden = {}, {}, []
        self.presets = None
        for line in out.splitlines():
            f = line.split()
            if f[:1] == ["@value"]:
                values.setdefault(f[1], {})[f[2]] = self.plain(f[2], float(f[3]))
            elif f[:1] == ["@default"]:
                defaults[f[1]] = self.plain(f[1], float(f[2]))
            elif f[:1] == ["@hidden"]:
                hidden.append(f[1])
            elif f[:1] == ["@presets"]:
                self.presets = (int(f[1]), int(f[2]))
            elif f[:1] == ["@saved"] and f[2] != "0":
                raise RuntimeError("Ardour could not save the session (%s)" % f[2])
        if code != 0 or "@error" in out:
            raise RuntimeError("ardour7-lua %s %s ended with %s\n%s" % (stage, self.fmt, code, out[-3000:]))
        binaries = [line.split(None, 1)[1] for line in out.splitlines() if line.startswith("@binary ")]
        bundle = os.path.join(self.artefacts, "VST3/Zurizaz.vst3" if self.fmt == "vst3" else "LV2/Zurizaz.lv2")
        foreign = [b for b in binaries if not runs_from(b, bundle)]
        if not binaries or foreign:
            raise RuntimeError("Ardour ran %s, not the bundle %s" % (", ".join(foreign) or "no Zurizaz binary", bundle))
        return values, defaults, hidden, out

    def host_units(self, pid, plain):
        return to_normalised(pid, plain) if self.fmt == "vst3" else plain

    def plain(self, pid, host_value):
        return to_plain(pid, host_value) if self.fmt == "vst3" else host_value

    # --- The plug-in's state in the saved session.
    def session_file(self, name):
        return os.path.join(self.workdir, name, name + ".ardour")

    def _processor(self, text):
        m = re.search(r'<Processor id="(\d+)" name="Zurizaz"[^>]*type="%s".*?</Processor>' % self.fmt, text, re.S)
        if not m:
            raise RuntimeError("no Zurizaz processor in the saved session")
        return m

    def saved_state(self, name):
        """(bytes of the plug-in's state as saved, where it lives) for the session's last save."""
        text = open(self.session_file(name)).read()
        proc = self._processor(text)
        if self.fmt == "vst3":
            chunk = re.search(r"<chunk>([^<]*)</chunk>", proc.group(0)).group(1)
            return base64.b64decode(chunk), None
        state_dir = re.search(r'<lv2 [^>]*state-dir="([^"]+)"', proc.group(0)).group(1)
        ttl = os.path.join(self.workdir, name, "plugins", proc.group(1), state_dir, "state.ttl")
        literal = re.search(r'<%s>\s+"([^"]*)"' % re.escape(LV2_STATE_KEY), open(ttl).read()).group(1)
        return juce_base64_decode(literal), ttl

    def saved_values(self, name):
        return blob_values(self.saved_state(name)[0])

    def forge(self, name, values):
        """Writes values into the saved plug-in state, the way the plug-in itself would save them."""
        state, ttl = self.saved_state(name)
        if self.fmt == "vst3":
            chunks = [(cid, replace_blob(data, values) if cid == b"Comp" else data)
                      for cid, data in vst3_component_state(state)]
            stream = base64.b64encode(vst3_stream(state, chunks)).decode()
            path = self.session_file(name)
            text = open(path).read()
            proc = self._processor(text)
            new_proc = re.sub(r"<chunk>[^<]*</chunk>", "<chunk>%s</chunk>" % stream, proc.group(0))
            open(path, "w").write(text.replace(proc.group(0), new_proc))
        else:
            content = open(ttl).read()
            content = re.sub(r'(<%s>\s+")[^"]*(")' % re.escape(LV2_STATE_KEY),
                             lambda m: m.group(1) + juce_base64_encode(replace_blob(state, values)) + m.group(2),
                             content)
            open(ttl, "w").write(content)


def runs_from(binary, folder):
    """True when the binary lies inside folder, symbolic links resolved in both."""
    return os.path.realpath(binary).startswith(os.path.realpath(folder) + os.sep)


def show(label, values, ids=IDS):
    print("    %-22s %s" % (label, format_values(values or {}, ids)))


def differing(values, wanted):
    return [pid for pid, v in wanted.items() if not same(pid, (values or {}).get(pid), v)]


def check_fresh(ardour, check, seen):
    print("\n[%s] fresh instance" % ardour.fmt)
    values, defaults, hidden, _ = ardour.run("create", "fresh")
    if hidden:
        print("    not offered to the host: %s" % ", ".join(hidden))
    show("declared defaults", defaults)
    show("fresh values", values["fresh"])
    # What each format shows as a fresh instance's values: the VST3 its current values, the LV2
    # its declared defaults.
    seen[ardour.fmt] = values["fresh"] if ardour.fmt == "vst3" else defaults

    saved = ardour.saved_values("fresh")
    show("a save holds", saved)
    seen[ardour.fmt + " save"] = saved
    off = [pid for pid in defaults if not same(pid, saved.get(pid), defaults[pid])]
    check.expect(not off, "[%s] a fresh instance saves its declared defaults%s"
                 % (ardour.fmt, "" if not off else " (differs: %s)" % ", ".join(off)))

    presets, nameless = ardour.presets
    check.expect(nameless == 0, "[%s] Ardour offers %d preset(s), none without a name%s"
                 % (ardour.fmt, presets, "" if not nameless else " (%d nameless)" % nameless))

    if ardour.fmt == "vst3":
        off = [pid for pid in defaults if not same(pid, values["fresh"][pid], defaults[pid])]
        check.expect(not off, "[vst3] a fresh instance reports its declared defaults%s"
                     % ("" if not off else " (differs: %s)" % ", ".join(off)))
    else:
        print("    (Ardour shows an LV2 patch parameter as 0 until the plug-in announces one, "
              "so the declared defaults are what it reports)")


def check_session(ardour, check):
    fmt = ardour.fmt
    print("\n[%s] session: pattern %s px, preset 6, bypass on, panel open" % (fmt, PATTERN_PX))
    wanted_ids = SESSION_ORDER
    values, _, hidden, _ = ardour.run("create", "session", [(pid, SESSION[pid]) for pid in SESSION_ORDER])
    set_by_host = {pid: v for pid, v in SESSION.items() if pid not in hidden}
    if hidden:
        print("    not offered to the host, so not set: %s" % ", ".join(hidden))
    show("host after setting", values["set"], wanted_ids)
    first = ardour.saved_values("session")
    show("first save holds", first)
    lost = differing(first, set_by_host)
    check.expect(not lost, "[%s] the first save holds what the host set%s"
                 % (fmt, "" if not lost else " (lost: %s)" % ", ".join(lost)))
    show("host after the save", values["after-save"], wanted_ids)
    if fmt == "vst3":
        snapped = differing(values["after-save"], set_by_host)
        check.expect(not snapped, "[%s] the host's values stay as set after the save%s"
                     % (fmt, "" if not snapped else " (snapped back: %s)" % ", ".join(snapped)))
    else:
        print("    " + LV2_HOST_COPY)

    missing = differing(first, SESSION)
    if missing:
        ardour.forge("session", dict(first, **SESSION))
        print("    the script writes into the saved state what it lacks: %s" % ", ".join(missing))
        show("forged first save", ardour.saved_values("session"))

    values, _, _, out = ardour.run("reopen", "session")
    print("    played to sample %s" % re.search(r"@played (\S+)", out).group(1))
    show("host after reopening", values["loaded"], wanted_ids)
    show("host after playing", values["played"], wanted_ids)
    if fmt == "vst3":
        snapped = differing(values["played"], set_by_host)
        check.expect(not snapped, "[%s] reopened and played: the host shows the session's values%s"
                     % (fmt, "" if not snapped else " (differ: %s)" % ", ".join(snapped)))
    second = ardour.saved_values("session")
    show("second save holds", second)
    lost = differing(second, SESSION)
    check.expect(not lost, "[%s] reopened, played and saved: the second save holds the session%s"
                 % (fmt, "" if not lost else " (lost: %s)" % ", ".join(lost)))


def check_pattern_plays(ardour, check):
    fmt = ardour.fmt
    print("\n[%s] pattern: SILENCE, steps at %s px (gains %s), reopened and played with a constant 0.5 in"
          % (fmt, PATTERN_PX, PATTERN_GAINS))
    wanted = dict({"fx": 3.0}, **{h: SESSION[h] for h in HEIGHTS})
    ardour.run("create", "pattern", list(wanted.items()) + [("listen", 1)])
    first = ardour.saved_values("pattern")
    missing = differing(first, wanted)
    if missing:
        ardour.forge("pattern", dict(first, **wanted))
        print("    the script writes into the saved state what it lacks: %s" % ", ".join(missing))

    _, _, _, out = ardour.run("listen", "pattern")
    peaks = listened(out, "peaks")
    gains = [p / 0.5 for p in peaks[-LISTEN_CYCLES:]]
    if len(gains) < LISTEN_CYCLES:
        raise RuntimeError("the level probe saw only %d cycles" % len(peaks))
    histogram = {}
    for g in gains:
        histogram[round(g, 1)] = histogram.get(round(g, 1), 0) + 1
    print("    output/input peak of the last %d cycles, rounded: %s"
          % (len(gains), ", ".join("%.1f x%d" % (k, histogram[k]) for k in sorted(histogram))))
    heard = [g for g in PATTERN_GAINS if sum(1 for v in gains if abs(v - g) < 0.02) >= 3]
    check.expect(len(heard) >= 7 and max(gains) < 0.85,
                 "[%s] the reopened session plays its pattern (steps heard at %s; loudest %.2f)"
                 % (fmt, ", ".join("%.1f" % g for g in heard) or "none", max(gains)))


def listened(out, key):
    return [float(v) for v in re.search(r"@%s \d+ ?(.*)" % key, out).group(1).split()]


def check_nan(ardour, check):
    fmt = ardour.fmt
    for mode, fx in (("GLIMMER", 1.0), ("QUAKE", 4.0)):
        print("\n[%s] nan: %s, feedback 0.3, a constant 0.5 in; one NaN input sample at the 60th cycle" % (fmt, mode))
        name = "nan" + mode.lower()
        ardour.run("create", name, [("fx", fx), ("feedback", 0.3), ("listen", 1), ("nan", 1)])
        first = ardour.saved_values(name)
        if differing(first, {"fx": fx}):
            ardour.forge(name, dict(first, fx=fx))
        _, _, _, out = ardour.run("listen", name)
        bad = listened(out, "nonfinite")
        peaks = listened(out, "peaks")
        poisoned = [i for i, b in enumerate(bad) if b > 0]
        tail = peaks[-40:]
        if poisoned:
            print("    %d of %d cycles hold non-finite samples, from cycle %d to %d; peaks of the last 40 cycles %.3f..%.3f"
                  % (len(poisoned), len(bad), poisoned[0] + 1, poisoned[-1] + 1, min(tail), max(tail)))
        else:
            print("    no cycle of %d holds a non-finite sample (the NaN never came?)" % len(bad))
        check.expect(bool(poisoned) and poisoned[-1] - poisoned[0] < 2 and all(math.isfinite(p) and p > 0.05 for p in tail),
                     "[%s] %s: the NaN leaves within two cycles and the sound goes on" % (fmt, mode))


def check_0909(ardour, check):
    fmt = ardour.fmt
    print("\n[%s] BabyRadod1 set to 0.0909 normalised (%.4f plain)" % (fmt, HEIGHT_0909))
    ids = ["babyRadod1"]
    values, _, _, _ = ardour.run("create", "set0909", [("babyRadod1", HEIGHT_0909)])
    first = ardour.saved_values("set0909")
    values2, _, _, _ = ardour.run("reopen", "set0909")
    second = ardour.saved_values("set0909")

    readings = [("read back after processing", values["set"]), ("read back after the save", values["after-save"]),
                ("first save holds", first), ("read back after reopening", values2["loaded"]),
                ("read back after playing", values2["played"]), ("second save holds", second)]
    if fmt == "lv2":
        print("    " + LV2_HOST_COPY)
    for label, v in readings:
        show(label, v, ids)
        if fmt == "lv2" and label.startswith("read back"):
            continue
        got = (v or {}).get("babyRadod1")
        check.expect(same("babyRadod1", got, HEIGHT_0909),
                     "[%s] BabyRadod1 %s 0.0909 (%s)" % (fmt, label, "missing" if got is None
                                                           else "%.4f normalised" % to_normalised("babyRadod1", got)))


CHECKS = {"fresh": check_fresh, "session": check_session, "pattern": check_pattern_plays,
          "nan": check_nan, "set-0909": check_0909}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--artefacts", default=os.path.join(HERE, "..", "..", "build-test", "Zurizaz_artefacts", "Release"))
    parser.add_argument("--format", choices=["vst3", "lv2", "both"], default="both")
    parser.add_argument("--checks", default=",".join(CHECKS), help="comma-separated, of: " + ", ".join(CHECKS))
    parser.add_argument("--keep", action="store_true", help="keep the sessions and the log")
    args = parser.parse_args()
    chosen = [c for c in args.checks.split(",") if c]
    if not chosen or any(c not in CHECKS for c in chosen):
        parser.error("--checks takes a list of: " + ", ".join(CHECKS))

    artefacts = os.path.abspath(args.artefacts)
    for bundle in ("VST3/Zurizaz.vst3", "LV2/Zurizaz.lv2"):
        if not os.path.isdir(os.path.join(artefacts, bundle)):
            print("no %s under %s: build first" % (bundle, artefacts))
            return 2
    if shutil.which("ardour7-lua") is None:
        print("ardour7-lua is not installed")
        return 2

    workdir = tempfile.mkdtemp(prefix="zurizaz-ardour-")
    if not args.keep:
        atexit.register(shutil.rmtree, workdir, True)   # also when stopped half-way
    log = os.path.join(workdir, "hosts.log")
    print("Zurizaz in Ardour 7 (headless, Dummy backend); bundles from %s" % artefacts)
    check = Check()
    fresh = {}

    for fmt in (["vst3", "lv2"] if args.format == "both" else [args.format]):
        try:
            ardour = Ardour(artefacts, fmt, os.path.join(workdir, fmt), log)
            for name in chosen:
                if name == "fresh":
                    check_fresh(ardour, check, fresh)
                else:
                    CHECKS[name](ardour, check)
        except (RuntimeError, AttributeError, OSError, KeyError) as e:
            check.host_failed("%s: %s" % (fmt, str(e).splitlines()[0]), str(e))

    if len(fresh) == 4:
        print("\n[vst3 + lv2] fresh instances")
        for what, key in (("report", ""), ("save", " save")):
            a, b = fresh["vst3" + key], fresh["lv2" + key]
            off = [pid for pid in IDS if pid in a and pid in b and not same(pid, a[pid], b[pid])]
            check.expect(not off, "a fresh VST3 and a fresh LV2 %s the same values%s"
                         % (what, "" if not off else " (differ: %s)" % ", ".join(
                             "%s %.4g vs %.4g" % (pid, a[pid], b[pid]) for pid in off)))

    print("\n%d fault(s), %d host failure(s)" % (len(check.faults), len(check.broken)))
    if args.keep:
        print("sessions and log kept in %s" % workdir)
    return 2 if check.broken else 1 if check.faults else 0


if __name__ == "__main__":
    # Stopped from outside, still end the hosts it started (run_bounded, the finally blocks).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    sys.exit(main())
