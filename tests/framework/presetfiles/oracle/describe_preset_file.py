#!/usr/bin/env python3
"""Describes a written preset file as read by Python's own readers (plistlib for Audio Unit
presets; struct and ElementTree for VST 3 preset files), one canonical line per item, so that
a test compares the description with what it wrote.

usage: describe_preset_file.py aupreset|vstpreset PATH"""
import plistlib
import struct
import sys
import xml.etree.ElementTree as ET


def describe_value(value):
    if isinstance(value, bytes):
        return "data " + value.hex()
    if isinstance(value, bool):
        return "bool " + str(value)
    if isinstance(value, int):
        return "int " + str(value)
    if isinstance(value, str):
        return "str " + value
    if isinstance(value, dict):
        return "dict " + ",".join(f"{k}=({describe_value(v)})" for k, v in value.items())
    return "other " + repr(value)


def base64_lines_ok(text):
    """Every data element: lines of 68 Base64 characters, the last one shorter or equal, each
    indented by one tab."""
    lines = text.split("\n")
    inside = False
    body = []
    for line in lines:
        if line.strip() == "<data>":
            inside, body = True, []
        elif line.strip() == "</data>":
            inside = False
            if any(not l.startswith("\t") or l[1:2] == "\t" for l in body):
                return False
            lengths = [len(l) - 1 for l in body]
            if any(n != 68 for n in lengths[:-1]) or (lengths and not 0 < lengths[-1] <= 68):
                return False
        elif inside:
            body.append(line)
    return True


def aupreset(path):
    raw = open(path, "rb").read()
    top = plistlib.loads(raw)  # keeps the file's key order
    print("keys: " + "|".join(top.keys()))
    for key, value in top.items():
        print(f"{key}: {describe_value(value)}")
    print("lines: " + ("ok" if base64_lines_ok(raw.decode("utf-8")) else "bad"))


def vstpreset(path):
    raw = open(path, "rb").read()
    magic, version, class_id, list_at = struct.unpack_from("<4si32sq", raw, 0)
    print(f"header: {magic.decode()} {version} {class_id.decode()} {list_at}")
    list_magic, count = struct.unpack_from("<4si", raw, list_at)
    entries = [struct.unpack_from("<4sqq", raw, list_at + 8 + 20 * i) for i in range(count)]
    print(f"list: {list_magic.decode()} " +
          " ".join(f"{i.decode()}@{o}+{s}" for i, o, s in entries))
    if list_at + 8 + 20 * count != len(raw):
        print("trailing bytes")
    for ident, offset, size in entries:
        data = raw[offset:offset + size]
        if ident in (b"Comp", b"Cont"):
            (length,) = struct.unpack_from("<i", data, 0)
            print(f"{ident.decode()}: {length} {data[4:].hex()}")
        else:
            root = ET.fromstring(data.decode("utf-8"))
            attrs = " ".join(
                f"{a.get('id')}={a.get('value')}[{a.get('type')},{a.get('flags', '')}]"
                for a in root.findall("Attr"))
            print(f"{ident.decode()}: {root.tag} {attrs}")


if __name__ == "__main__":
    {"aupreset": aupreset, "vstpreset": vstpreset}[sys.argv[1]](sys.argv[2])
