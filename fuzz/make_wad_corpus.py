#!/usr/bin/env python3
"""Makes the seed files of wad_structure_fuzzer: small WADs of each game's kind, a PWAD, and the
damaged, hostile and foreign files the reader must tell apart.
Usage: fuzz/make_wad_corpus.py [FOLDER]   (default fuzz/corpus/wad_structure_fuzzer)"""
import io
import os
import struct
import sys
import zipfile

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus", "wad_structure_fuzzer")
os.makedirs(out, exist_ok=True)


def wad(names, magic=b"IWAD", lump=b"data", directory_first=False):
    """A WAD of lumps named `names`, each holding `lump` (markers of map names hold nothing)."""
    body, entries = b"", []
    start = 12 + (16 * len(names) if directory_first else 0)
    for name in names:
        data = b"" if name.startswith(("E", "MAP")) and len(name) <= 5 else lump
        entries.append(struct.pack("<II8s", start + len(body) if data else 0, len(data), name.encode()))
        body += data
    directory = b"".join(entries)
    if directory_first:
        return magic + struct.pack("<II", len(names), 12) + directory + body
    return magic + struct.pack("<II", len(names), 12 + len(body)) + body + directory


def seed(name, data):
    with open(os.path.join(out, name), "wb") as file:
        file.write(data)


doom = wad(["PLAYPAL", "ENDOOM", "E1M1", "THINGS", "E1M2", "THINGS"])
seed("doom", doom)
seed("doom2", wad(["PLAYPAL", "ENDOOM", "MAP01", "THINGS", "MAP02", "THINGS"], directory_first=True))
seed("heretic", wad(["ENDTEXT", "E1M1", "THINGS"]))
seed("hexen", wad(["MAPINFO", "MAP01", "THINGS", "BEHAVIOR"]))
seed("strife", wad(["ENDSTRF", "MAP01", "THINGS"]))
seed("freedoom", wad(["FREEDOOM", "MAP01", "THINGS"]))
seed("pwad", wad(["MAP07", "THINGS"], magic=b"PWAD"))
seed("no_game", wad(["PLAYPAL", "COLORMAP"]))
seed("cut_short", doom[: len(doom) // 2])
seed("lump_past_end", wad(["E1M1", "THINGS"], directory_first=True)[:-2])
seed("billion_lumps", b"IWAD" + struct.pack("<II", 1_000_000_000, 12))
seed("directory_in_header", b"PWAD" + struct.pack("<II", 1, 4) + b"\0" * 16)
seed("nul_in_name", b"IWAD" + struct.pack("<II", 1, 12) + struct.pack("<II8s", 0, 0, b"E1\0M1\0\0\0"))
seed("short_header", b"IWAD\x01\0")
packed = io.BytesIO()
with zipfile.ZipFile(packed, "w") as archive:
    archive.writestr(zipfile.ZipInfo("doom.wad", date_time=(1994, 12, 10, 0, 0, 0)), doom)
seed("zip", packed.getvalue())
seed("page", b"<!DOCTYPE html>\n<html><head><title>404 Not Found</title></head></html>\n")
seed("other", b"MZ\x90\0\x03\0\0\0")
