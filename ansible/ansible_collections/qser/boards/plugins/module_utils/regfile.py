# -*- coding: utf-8 -*-
# Keys read from a running Windows host written as a REGEDIT4 file, so that `qserctl import`
# puts them into a scratch registry file. REGEDIT4 holds 8-bit text and the registry file holds
# Latin-1: text values are written as hex(N) with their Latin-1 bytes, other values byte for byte.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

REG_SZ = 1
REG_EXPAND_SZ = 2
REG_DWORD = 4
REG_MULTI_SZ = 7
TEXT_TYPES = (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)

# The width the registry editor wraps hex data at.
_LINE = 77


def _latin1(text):
    """The text in Latin-1, with '?' for what Latin-1 cannot hold, and whether that happened."""
    encoded = text.encode("latin-1", errors="replace")
    return encoded, encoded.decode("latin-1") != text


def _quoted(name):
    return '"' + name.replace("\\", "\\\\").replace('"', '\\"') + '"'


def _hex_line(head, data):
    line = head
    parts = []
    for index, byte in enumerate(data):
        line += "%02x" % byte
        if index + 1 < len(data):
            line += ","
            if len(line) >= _LINE:
                parts.append(line + "\\")
                line = "  "
    parts.append(line)
    return "\r\n".join(parts)


def value_line(name, value_type, data):
    """One value statement; returns (line, lossy) where lossy says text lost characters."""
    head = "@=" if name == "" else _quoted(name) + "="
    if value_type == REG_DWORD and len(data) == 4:
        return head + "dword:%08x" % int.from_bytes(data, "little"), False
    lossy = False
    if value_type in TEXT_TYPES:
        data, lossy = _latin1(data.decode("utf-16-le", errors="replace"))
    tag = "hex:" if value_type == 3 else "hex(%x):" % value_type
    return _hex_line(head + tag, data), lossy


def write_reg(keys):
    """REGEDIT4 bytes for the keys, and the names of keys and values that could not be kept
    exactly (names outside Latin-1 are left out, text outside it keeps a '?')."""
    lines = ["REGEDIT4", ""]
    inexact = []
    for key in keys:
        full = "HKEY_LOCAL_MACHINE\\" + key.path
        if _latin1(full)[1]:
            inexact.append(full)
            continue
        lines.append("[" + full + "]")
        for name, value_type, data in key.values:
            if _latin1(name)[1]:
                inexact.append(full + "\\" + name)
                continue
            line, lossy = value_line(name, value_type, data)
            if lossy:
                inexact.append(full + "\\" + name)
            lines.append(line)
        lines.append("")
    lines.append("")
    return "\r\n".join(lines).encode("latin-1"), inexact
