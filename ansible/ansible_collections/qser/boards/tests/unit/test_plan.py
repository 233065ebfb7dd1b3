# apply's registry changes carried to a Windows host: the bytes written, and the refusal of
# anything outside the keys that were read from the host.

import pytest

from ansible_collections.qser.boards.plugins.module_utils.remote_apply import PlanError, host_operations, value_bytes

DRIVER = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QSERDRV"
SERIAL = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Serial"


@pytest.mark.parametrize(
    "value_type, data, expected",
    [
        (1, "COM3", b"C\x00O\x00M\x003\x00\x00\x00"),
        (1, "", b"\x00\x00"),
        (2, "%SystemRoot%", "%SystemRoot%\x00".encode("utf-16-le")),
        (7, ["Serenum", "Acpi"], "Serenum\x00Acpi\x00\x00".encode("utf-16-le")),
        (4, 0x2E8, b"\xe8\x02\x00\x00"),
        (4, 0xFFFFFFFF, b"\xff\xff\xff\xff"),
        (4, "010203", b"\x01\x02\x03"),
        (3, "00ff", b"\x00\xff"),
        (11, "0102030405060708", b"\x01\x02\x03\x04\x05\x06\x07\x08"),
    ],
    ids=["text", "empty text", "expandable", "texts", "dword", "dword all ones", "dword of three bytes", "binary", "qword"],
)
def test_value_bytes(value_type, data, expected):
    assert value_bytes(value_type, data) == expected


@pytest.mark.parametrize("value_type, data", [(4, True), (4, "0x2e8"), (3, "not hex"), (7, "a text"), (1, None)],
                         ids=["bool as dword", "text as dword", "bad hex", "text as texts", "no data"])
def test_value_data_that_does_not_fit_its_type_is_refused(value_type, data):
    with pytest.raises(PlanError):
        value_bytes(value_type, data)


def test_changes_become_host_operations_in_their_order():
    changes = [
        {"change": "key-deleted", "key": DRIVER + "\\Board001"},
        {"change": "key-deleted", "key": SERIAL + "\\Parameters\\Serial006"},
        {"change": "key-added", "key": DRIVER + "\\Board000\\Port004"},
        {"change": "value-set", "key": DRIVER + "\\Board000", "name": "BoardShareIRQEnabled", "type": "REG_DWORD", "old": 0, "new": 1},
        {"change": "value-set", "key": SERIAL, "name": "Group", "type": "REG_SZ", "old": None, "new": "Extended base"},
        {"change": "value-deleted", "key": DRIVER + "\\Board000", "name": "Stale", "type": "REG_SZ", "old": "x"},
    ]
    relative = "SYSTEM\\CurrentControlSet\\Services\\"
    assert host_operations(changes) == [
        ("delete_key", relative + "QSERDRV\\Board001"),
        ("delete_key", relative + "Serial\\Parameters\\Serial006"),
        ("create_key", relative + "QSERDRV\\Board000\\Port004"),
        ("set_value", relative + "QSERDRV\\Board000", "BoardShareIRQEnabled", 4, b"\x01\x00\x00\x00"),
        ("set_value", relative + "Serial", "Group", 1, "Extended base\x00".encode("utf-16-le")),
        ("delete_value", relative + "QSERDRV\\Board000", "Stale"),
    ]


@pytest.mark.parametrize(
    "change",
    [
        {"change": "key-added", "key": "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Other"},
        {"change": "key-deleted", "key": SERIAL},
        {"change": "value-set", "key": SERIAL + "\\Enum", "name": "0", "type": "REG_SZ", "new": "x"},
        {"change": "key-added", "key": DRIVER + "X"},
        {"change": "key-added", "key": "HKEY_CURRENT_USER\\Software"},
        {"change": "key-renamed", "key": DRIVER},
        {"change": "value-set", "key": DRIVER, "name": "V", "type": "REG_WHATEVER", "new": "x"},
    ],
    ids=["another service", "the serial service itself", "a serial key not read", "a sibling named like the driver",
         "another root", "unknown change", "unknown type"],
)
def test_a_change_outside_what_was_read_refuses_the_whole_plan(change):
    harmless = {"change": "key-added", "key": DRIVER + "\\Board000"}
    with pytest.raises(PlanError):
        host_operations([harmless, change])
