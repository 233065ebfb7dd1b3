# -*- coding: utf-8 -*-
# Applying a configuration to a running Windows host: its keys are read into a scratch registry
# file, `qserctl apply` plans and carries out the change there, and exactly the registry changes
# its answer lists are then made on the host.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import os

from ansible_collections.qser.boards.plugins.module_utils.qserctl import REGISTRY_CHANGES
from ansible_collections.qser.boards.plugins.module_utils.regfile import write_reg
from ansible_collections.qser.boards.plugins.module_utils.windows_host import WindowsHostError

SERVICES = "SYSTEM\\CurrentControlSet\\Services"
DRIVER_KEY = SERVICES + "\\QSERDRV"
SERIAL_KEY = SERVICES + "\\Serial"
SERIAL_PARAMETERS = SERIAL_KEY + "\\Parameters"
SERIAL_SERVICE = "Serial"
ROOT = "HKEY_LOCAL_MACHINE\\"

_TYPES = {
    "REG_NONE": 0,
    "REG_SZ": 1,
    "REG_EXPAND_SZ": 2,
    "REG_BINARY": 3,
    "REG_DWORD": 4,
    "REG_MULTI_SZ": 7,
    "REG_QWORD": 11,
}


class PlanError(Exception):
    """An answer of qserctl that cannot be carried to the host; nothing was written."""


def type_number(name):
    if name in _TYPES:
        return _TYPES[name]
    if name.startswith("REG_") and name[4:].isdigit():
        return int(name[4:])
    raise PlanError("unknown value type %r in qserctl's answer" % name)


def value_bytes(value_type, data):
    """The bytes of a value as the remote registry takes them, from apply's JSON form: text
    as a text, a DWORD as a number, multiple texts as a list, anything else as hex digits."""
    if isinstance(data, str) and value_type in (1, 2):
        return (data + "\x00").encode("utf-16-le")
    if isinstance(data, list) and value_type == 7:
        return "".join(text + "\x00" for text in data).encode("utf-16-le") + b"\x00\x00"
    if isinstance(data, int) and not isinstance(data, bool) and value_type == 4:
        return data.to_bytes(4, "little")
    if isinstance(data, str):
        try:
            return bytes.fromhex(data)
        except ValueError:
            pass
    raise PlanError("value data %r of type %d in qserctl's answer cannot be written" % (data, value_type))


def _relative(key):
    if not key.upper().startswith(ROOT):
        raise PlanError("key %s in qserctl's answer is not under HKEY_LOCAL_MACHINE" % key)
    return key[len(ROOT):]


def _inside(path, root):
    return path.lower() == root.lower() or path.lower().startswith(root.lower() + "\\")


def _read_scope(path):
    """Whether the path lies in what was read from the host (so the plan may touch it)."""
    if _inside(path, DRIVER_KEY) or _inside(path, SERIAL_PARAMETERS):
        return True
    return path.lower() == SERIAL_KEY.lower()


def host_operations(changes):
    """apply's registry changes as operations on the host, all checked before any is made."""
    operations = []
    for change in changes:
        path = _relative(change.get("key", ""))
        kind = change.get("change")
        if not _read_scope(path) or (kind in ("key-added", "key-deleted") and path.lower() == SERIAL_KEY.lower()):
            raise PlanError("qserctl's answer changes %s%s, which was not read from the host" % (ROOT, path))
        if kind == "key-added":
            operations.append(("create_key", path))
        elif kind == "key-deleted":
            operations.append(("delete_key", path))
        elif kind == "value-set":
            value_type = type_number(change.get("type", ""))
            operations.append(("set_value", path, change.get("name", ""), value_type, value_bytes(value_type, change.get("new"))))
        elif kind == "value-deleted":
            operations.append(("delete_value", path, change.get("name", "")))
        else:
            raise PlanError("unknown change %r in qserctl's answer" % kind)
    return operations


def read_host(host):
    """The keys that qserctl needs to plan: the driver key, the serial service's values and
    the instance keys of every serial port, the machine's own included."""
    return host.read_key(DRIVER_KEY, True) + host.read_key(SERIAL_KEY, False) + host.read_key(SERIAL_PARAMETERS, True)


class RemoteApply:
    """One application of a configuration to one host over one session."""

    def __init__(self, host, qserctl, folder):
        self.host = host
        self.qserctl = qserctl
        self.scratch = os.path.join(folder, "host.db")
        self._reg = os.path.join(folder, "host.reg")
        self.inexact = []

    def load(self):
        """Reads the host into the scratch registry file; names what could not be kept exactly."""
        data, self.inexact = write_reg(read_host(self.host))
        with open(self._reg, "wb") as out:
            out.write(data)
        self.qserctl.import_reg(self.scratch, self._reg)

    def plan(self, source, allow_problems):
        """apply on the scratch file: its answer, and the operations the host needs."""
        answer = self.qserctl.apply(self.scratch, source, allow_problems=allow_problems)
        return answer, host_operations(answer.get(REGISTRY_CHANGES, []))

    def write(self, operations):
        for done, operation in enumerate(operations):
            try:
                getattr(self.host, operation[0])(*operation[1:])
            except WindowsHostError as error:
                # The protocol has no transactions: say how far it got; a new run completes it.
                raise WindowsHostError("%s (%d of the %d registry changes were made; run again to complete them)"
                                       % (error, done, len(operations)))

    def restart_serial(self):
        return self.host.restart_service(SERIAL_SERVICE, self.host.timeout)
