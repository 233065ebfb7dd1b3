# Keys read from a host, written as a .reg file and imported by qserctl: what the scratch
# registry file then holds, seen through qserctl's own export.

from machines import qserctl
from ansible_collections.qser.boards.plugins.module_utils.regfile import write_reg
from ansible_collections.qser.boards.plugins.module_utils.windows_host import RemoteKey

KEY = "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters\\Serial000"


def exported(tmp_path, keys):
    data, inexact = write_reg(keys)
    reg = tmp_path / "host.reg"
    reg.write_bytes(data)
    registry = str(tmp_path / "host.db")
    assert qserctl(registry, "import", str(reg)).returncode == 0
    text = qserctl(registry, "export", "HKEY_LOCAL_MACHINE\\" + KEY).stdout
    return text.split("\n\n")[1].split("\n")[1:], inexact


def test_values_of_every_kind_arrive_as_they_were(tmp_path):
    values = [
        ("DosDevices", 1, "COM1\x00".encode("utf-16-le")),
        ('A "quoted" \\ name', 1, "text with \"quotes\" and \\\x00".encode("utf-16-le")),
        ("", 2, "%SystemRoot%\x00".encode("utf-16-le")),
        ("DependOnService", 7, "Serenum\x00Acpi\x00\x00".encode("utf-16-le")),
        ("PortAddress", 4, b"\xf8\x03\x00\x00"),
        ("Short dword", 4, b"\x01\x02"),
        ("Settings", 3, bytes(range(40))),
        ("Marker", 0, b""),
    ]
    lines, inexact = exported(tmp_path, [RemoteKey(KEY, values)])
    assert inexact == []
    assert lines == [
        '"DosDevices"="COM1"',
        '"A \\"quoted\\" \\\\ name"="text with \\"quotes\\" and \\\\"',
        '@=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,00',
        '"DependOnService"=hex(7):53,65,72,65,6e,75,6d,00,41,63,70,69,00,00',
        '"PortAddress"=dword:000003f8',
        '"Short dword"=hex(4):01,02',
        '"Settings"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,\\',
        "  15,16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27",
        '"Marker"=hex(0):',
    ]


def test_what_latin1_cannot_hold_is_named_and_never_breaks_the_import(tmp_path):
    keys = [
        RemoteKey(KEY, [("FriendlyName", 1, "Порт COM1\x00".encode("utf-16-le")), ("Ключ", 4, b"\x01\x00\x00\x00")]),
        RemoteKey(KEY + "\\Имя", [("V", 4, b"\x01\x00\x00\x00")]),
    ]
    lines, inexact = exported(tmp_path, keys)
    assert lines == ['"FriendlyName"="???? COM1"']
    assert inexact == ["HKEY_LOCAL_MACHINE\\" + KEY + "\\FriendlyName", "HKEY_LOCAL_MACHINE\\" + KEY + "\\Ключ",
                       "HKEY_LOCAL_MACHINE\\" + KEY + "\\Имя"]
