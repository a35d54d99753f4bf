#!/usr/bin/env python3
"""Writes the seed corpus of the Standard MIDI File fuzz target into tests/corpus/smf/.

Each file is small and shows one thing the reader must handle: the wrappers, running status,
System Exclusive forms, meta events, the bank and drum conversions, and damaged files.
Run from the repository root: python3 scripts/make_smf_corpus.py
"""
import os
import struct


def vlq(value):
    groups = [value & 0x7F]
    value >>= 7
    while value:
        groups.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(groups))


def track(*events):
    data = b"".join(events)
    return b"MTrk" + struct.pack(">I", len(data)) + data


def header(fmt, tracks, division):
    return b"MThd" + struct.pack(">IHHH", 6, fmt, tracks, division)


def ev(delta, *data):
    return vlq(delta) + bytes(data)


def meta(delta, kind, payload):
    return vlq(delta) + bytes([0xFF, kind]) + vlq(len(payload)) + payload


def sysex(delta, body):
    return vlq(delta) + b"\xF0" + vlq(len(body)) + body


EOT = meta(0, 0x2F, b"")


def song(fmt, division, *tracks):
    return header(fmt, len(tracks), division) + b"".join(tracks)


def riff(smf):
    return b"RIFF" + struct.pack("<I", len(smf) + 12) + b"RMIDdata" + struct.pack("<I", len(smf)) + smf


def macbinary(smf):
    head = bytearray(128)
    head[1] = 8
    head[2:10] = b"song.mid"
    head[65:69] = b"Midi"
    head[83:87] = struct.pack(">I", len(smf))
    return bytes(head) + smf


def gs_rhythm(block, value):
    address = [0x40, 0x10 | block, 0x15, value]
    return bytes([0x41, 0x10, 0x42, 0x12] + address + [(-sum(address)) & 0x7F, 0xF7])


def main():
    plain = song(0, 480,
                 track(meta(0, 0x03, b"Plain song"), meta(0, 0x51, b"\x07\xA1\x20"),
                       meta(0, 0x58, b"\x04\x02\x18\x08"), meta(0, 0x59, b"\x00\x00"),
                       ev(0, 0x90, 60, 100), ev(120, 62, 100), ev(120, 64, 0), ev(0, 0xC0, 5),
                       ev(0, 7), ev(0, 0xE0, 0, 0x40), ev(240, 0x80, 60, 64), EOT))
    two_ports = song(1, 96,
                     track(meta(0, 0x51, b"\x06\x1A\x80"), meta(96, 0x51, b"\x03\x0D\x40"), EOT),
                     track(meta(0, 0x21, b"\x01"), sysex(0, b"\x7E\x7F\x09\x01\xF7"),
                           ev(0, 0x91, 60, 1), ev(0, 0xF7, 3, 0x43, 0x10, 0xF7), meta(48, 0x21, b"\x00"),
                           ev(0, 0x81, 60, 0), EOT))
    conversions = song(1, 96,
                       track(meta(0, 0x03, b"SC-88Pro 88P"), meta(0, 0x7F, b"\x00\x00\x41\x01"), EOT),
                       track(sysex(0, gs_rhythm(1, 2)), ev(0, 0xB9, 0x63, 0x18), ev(0, 0x62, 36),
                             ev(0, 0x06, 0x44), ev(0, 0xB0, 0x00, 8), ev(0, 0x20, 0), ev(0, 0xC0, 56),
                             ev(0, 0xB0, 0x63, 0x18), ev(0, 0x62, 36), ev(0, 0x06, 2),
                             ev(0, 0xBA, 0x07, 100), ev(10, 0x99, 36, 100),
                             sysex(0, b"\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7"), EOT))
    cut_event = song(0, 96, track(ev(0, 0x90, 60, 1), ev(10, 0x90, 61)))
    cut_meta = song(0, 96, track(ev(0, 0x90, 60, 1), vlq(0) + b"\xFF\x01\x40abc"))
    cut_sysex = song(0, 96, track(ev(0, 0x90, 60, 1), vlq(0) + b"\xF0\x83\xFF\x7F\x41"))
    no_status = song(0, 96, track(ev(0, 60, 1), EOT))
    big_deltas = song(0, 1, track(meta(0, 0x51, b"\xFF\xFF\xFF"), ev(0x0FFFFFFF, 0x90, 60, 1),
                                  ev(0x0FFFFFFF, 61, 1), EOT))
    long_chunk = header(0, 1, 96) + b"MTrk" + struct.pack(">I", 0x7FFFFFF0) + ev(0, 0x90, 60, 1)
    format2 = header(2, 1, 96) + track(EOT)
    many_tracks = header(1, 101, 96) + track(EOT)
    smpte = header(1, 1, 0xE728) + track(EOT)

    files = {
        "plain.mid": plain,
        "two_ports.mid": two_ports,
        "riff.rmi": riff(plain),
        "macbinary.mid": macbinary(two_ports),
        "conversions.mid": conversions,
        "cut_event.mid": cut_event,
        "cut_meta.mid": cut_meta,
        "cut_sysex.mid": cut_sysex,
        "no_running_status.mid": no_status,
        "big_deltas.mid": big_deltas,
        "long_chunk.mid": long_chunk,
        "format2.mid": format2,
        "many_tracks.mid": many_tracks,
        "smpte.mid": smpte,
    }
    folder = os.path.join("tests", "corpus", "smf")
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
