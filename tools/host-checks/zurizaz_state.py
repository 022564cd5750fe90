"""What the host checks share: the parameter table, the plug-in's state blob, JUCE's base64 form
and the bounded running of host programs. Standard library only."""

import os
import signal
import struct
import subprocess
import xml.etree.ElementTree as ET

# id, minimum, maximum, grid step (plain units), in the hosts' index order.
PARAMETERS = [
    ("speed", 1.0, 3.0, 0.01), ("fx", 1.0, 5.0, 0.01), ("impact", 0.1, 1.0, 0.01),
    ("depth", 0.0, 1.0, 0.01), ("rate", 0.1, 20.0, 0.01), ("feedback", 0.0, 0.6, 0.01),
    ("phaserX", 0.0, 1.0, 0.01), ("bite", 2.0, 32.0, 0.01),
    ("bypassOn", 0.0, 1.0, 1.0), ("knobsShowing", 0.0, 1.0, 1.0), ("presets", 1.0, 13.0, 1.0),
] + [("babyRadod%d" % k, 0.01, 1.0, 0.0025) for k in range(1, 9)]

IDS = [p[0] for p in PARAMETERS]
RANGE = {p[0]: (p[1], p[2]) for p in PARAMETERS}
STEP = {p[0]: p[3] for p in PARAMETERS}
HEIGHTS = ["babyRadod%d" % k for k in range(1, 9)]

LV2_URI = "https://zurizaz.example/plugins/zurizaz"
LV2_STATE_KEY = LV2_URI + ":StateString"


def to_plain(pid, normalised):
    lo, hi = RANGE[pid]
    return lo + normalised * (hi - lo)


def to_normalised(pid, plain):
    lo, hi = RANGE[pid]
    return (plain - lo) / (hi - lo)


def same(pid, a, b):
    """Equal within half a grid step of the parameter (plain units)."""
    return a is not None and b is not None and abs(a - b) <= STEP[pid] / 2 + 1e-6


# --- JUCE's MemoryBlock::toBase64Encoding: "<size>.<chars>", six bits a char, low bits first.
_ALPHABET = ".ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+"


def juce_base64_decode(text):
    size_text, _, chars = text.strip().partition(".")
    size = int(size_text)
    bits = 0
    for position, c in enumerate(chars):
        bits |= _ALPHABET.index(c) << (6 * position)
    return (bits & ((1 << (8 * size)) - 1)).to_bytes(size, "little")


def juce_base64_encode(data):
    bits = int.from_bytes(data, "little")
    count = (len(data) * 8 + 5) // 6
    return "%d.%s" % (len(data), "".join(_ALPHABET[(bits >> (6 * i)) & 63] for i in range(count)))


# --- The plug-in's blob: "VC2!", a 32-bit little-endian length of the text, the XML text, a zero.
def find_blob(data):
    """(offset, length in bytes) of the first state blob inside data, or None."""
    at = data.find(b"VC2!")
    if at < 0 or at + 8 > len(data):
        return None
    text_length = struct.unpack_from("<I", data, at + 4)[0]
    return at, 8 + text_length + 1


def blob_values(data):
    """{id: plain value} of the PARAM elements of the first blob inside data, or None."""
    found = find_blob(data)
    if found is None:
        return None
    at, length = found
    text = data[at + 8: at + length - 1].split(b"\0", 1)[0].decode("utf-8")
    root = ET.fromstring(text)
    return {e.get("id"): float(e.get("value")) for e in root.iter("PARAM")}


def make_blob(values):
    """A blob in the plug-in's own form (PARAMs in id order, one line) holding values."""
    params = "".join('<PARAM id="%s" value="%s"/>' % (pid, repr(float(values[pid])))
                     for pid in sorted(values))
    text = ('<?xml version="1.0" encoding="UTF-8"?> <Zurizaz>%s</Zurizaz>' % params).encode()
    return b"VC2!" + struct.pack("<I", len(text)) + text + b"\0"


def replace_blob(data, values):
    at, length = find_blob(data)
    return data[:at] + make_blob(values) + data[at + length:]


# --- A VST3 preset stream as Ardour stores it: "VST3", version, class id, offset of the chunk
# list; the chunks; "List", count, then (id, offset, size) per chunk.
def vst3_component_state(stream):
    list_at = struct.unpack_from("<q", stream, 40)[0]
    assert stream[list_at:list_at + 4] == b"List"
    count = struct.unpack_from("<i", stream, list_at + 4)[0]
    chunks = []
    for i in range(count):
        cid, offset, size = struct.unpack_from("<4sqq", stream, list_at + 8 + 20 * i)
        chunks.append((cid, stream[offset:offset + size]))
    return chunks


def vst3_stream(header, chunks):
    body = b"".join(data for _, data in chunks)
    out = bytearray(header[:40] + struct.pack("<q", 48 + len(body)) + body)
    out += b"List" + struct.pack("<i", len(chunks))
    offset = 48
    for cid, data in chunks:
        out += struct.pack("<4sqq", cid, offset, len(data))
        offset += len(data)
    return bytes(out)


# --- Running host programs, bounded in time; only the process group we start is ended.
def run_bounded(command, timeout, env=None, cwd=None, log=None):
    """Runs command to its end or for timeout seconds; returns (exit code or None, output)."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env,
                               cwd=cwd, start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
        code = process.returncode
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        output, _ = process.communicate()
        code = None
    except BaseException:
        # Interrupted: the host runs in a session of its own, so no Ctrl-C reaches it.
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise
    text = output.decode("utf-8", "replace")
    if log:
        with open(log, "a") as f:
            f.write("$ %s\n%s\n" % (" ".join(command), text))
    return code, text


def format_values(values, ids=IDS):
    return " ".join("%s=%s" % (pid, "-" if values.get(pid) is None else "%.4g" % values[pid])
                    for pid in ids)
