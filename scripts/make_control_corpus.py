#!/usr/bin/env python3
"""Writes the seed corpus of the control-file fuzz target into tests/corpus/control/.

The first byte of each input chooses the kind (0 CM6, 1 GSD, 2 GSD2); the rest is the file.
The seeds cover files of the exact size, one byte short, empty, longer than needed, and data
bytes with the top bit set. Run from the repository root: python3 scripts/make_control_corpus.py
"""
import os

CM6_SIZE = 22601
GSD_SIZE = 2673


def numbered(size, seed=0):
    return bytes((i + seed) & 0x7F for i in range(size))


def gsd_example():
    data = bytearray(GSD_SIZE)
    data[0x24] = 0x64          # master volume
    data[0x26] = 0x40          # master pan
    data[0x27:0x2E] = bytes([4, 5, 6, 0x40, 0x41, 0, 0x12])
    data[0x2E:0x36] = bytes([2, 3, 0x40, 8, 0x50, 3, 0x13, 0])
    for part in range(16):
        record = 0x36 + 122 * part
        data[record + 0x01] = part * 8          # program
        data[record + 0x19] = 100               # level
        data[record + 0x1C] = 64                # pan
        data[record + 0x79] = 2                 # voice reserve
    data[0xA6E:0xA71] = bytes([0x00, 0x20, 0x40])  # fine and coarse tuning
    return bytes(data)


SEEDS = {
    "cm6_empty": b"\x00",
    "cm6_one_short": b"\x00" + numbered(CM6_SIZE - 1),
    "cm6_numbered": b"\x00" + numbered(CM6_SIZE, 5),
    "cm6_high_bits": b"\x00" + bytes([0xFF]) * CM6_SIZE,
    "gsd_example": b"\x01" + gsd_example(),
    "gsd_one_short": b"\x01" + gsd_example()[:-1],
    "gsd_high_bits": b"\x01" + bytes([0xF7]) * GSD_SIZE,
    "gsd2_longer": b"\x02" + gsd_example() + b"RCFW" * 100,
    "gsd2_name_only": b"\x02" + b"SONG.GSD    ",
}


def main():
    folder = os.path.join("tests", "corpus", "control")
    os.makedirs(folder, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
