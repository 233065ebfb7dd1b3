# The remote registry and service control over SMB, against a Samba server on 127.0.0.1.

import json

import pytest

from machines import SAMBA_PASSWORD, SAMBA_USER, QSERCTL, qserctl, registry_file
from ansible_collections.qser.boards.plugins.module_utils.qserctl import Qserctl
from ansible_collections.qser.boards.plugins.module_utils.remote_apply import SERVICES, RemoteApply
from ansible_collections.qser.boards.plugins.module_utils.windows_host import WindowsHost, WindowsHostError

SCRATCH = SERVICES + "\\QserTestScratch"


@pytest.fixture
def host(samba):
    with WindowsHost("127.0.0.1", samba.port, SAMBA_USER, SAMBA_PASSWORD) as connected:
        yield connected
        connected.delete_key(SCRATCH)


VALUES = [
    ("Text", 1, "COM3\x00".encode("utf-16-le")),
    ("", 1, "the default value\x00".encode("utf-16-le")),
    ("Expandable", 2, "%SystemRoot%\\x\x00".encode("utf-16-le")),
    ("Texts", 7, "a\x00b c\x00\x00".encode("utf-16-le")),
    ("Number", 4, (0xFFFFFFFF).to_bytes(4, "little")),
    ("Wide number", 11, (2 ** 40 + 5).to_bytes(8, "little")),
    ("Empty", 3, b""),
    ("Every byte", 3, bytes(range(256)) * 40),
    ("Type beyond the names", 0x1234, b"\x01\x02"),
]


def test_values_come_back_byte_for_byte(host):
    host.create_key(SCRATCH + "\\Sub")
    for name, value_type, data in VALUES:
        host.set_value(SCRATCH + "\\Sub", name, value_type, data)
    keys = host.read_key(SCRATCH, True)
    assert [key.path for key in keys] == [SCRATCH, SCRATCH + "\\Sub"]
    assert sorted(keys[1].values) == sorted(VALUES)


def test_a_key_is_deleted_with_its_subtree_and_a_missing_one_is_no_error(host):
    host.create_key(SCRATCH + "\\A\\B\\C")
    host.set_value(SCRATCH + "\\A\\B", "V", 4, b"\x01\x00\x00\x00")
    host.delete_key(SCRATCH + "\\A")
    assert [key.path for key in host.read_key(SCRATCH, True)] == [SCRATCH]
    host.delete_key(SCRATCH + "\\A")
    host.delete_value(SCRATCH, "never there")
    assert host.read_key(SCRATCH + "\\A", True) == []


def test_a_value_of_a_missing_key_is_refused_with_the_key(host):
    with pytest.raises(WindowsHostError, match=r"QserTestScratch\\Missing does not exist on 127.0.0.1"):
        host.set_value(SCRATCH + "\\Missing", "V", 4, b"\x01\x00\x00\x00")


def test_the_host_read_into_a_registry_file_holds_the_same_configuration(host, module, tmp_path):
    remote = RemoteApply(host, Qserctl(module, QSERCTL, "nt"), str(tmp_path))
    remote.load()
    assert remote.inexact == []
    local = registry_file(str(tmp_path / "local.db"), "configured.reg")
    for arguments in (["show", "--json"], ["export", "HKEY_LOCAL_MACHINE\\" + SERVICES + "\\Serial\\Parameters"]):
        assert qserctl(remote.scratch, *arguments).stdout == qserctl(local, *arguments).stdout
    assert json.loads(qserctl(remote.scratch, "show", "--json").stdout)["Boards"][0]["BoardType"] == "RX-401"


def test_services_restart_and_a_missing_one_is_an_answer(host):
    assert host.restart_service("Spooler") == {"restarted": True, "state": "running", "message": ""}
    answer = host.restart_service("Serial")
    assert answer["restarted"] is False
    assert answer["message"] == "service Serial is not installed on 127.0.0.1"


@pytest.mark.parametrize(
    "port_of, password, message",
    [
        ("samba", "wrong", r"^logon to 127\.0\.0\.1 as root failed: STATUS_LOGON_FAILURE"),
        ("closed", SAMBA_PASSWORD, r"^cannot reach 127\.0\.0\.1 on port \d+: .*Connection refused"),
    ],
    ids=["wrong password", "nothing listening"],
)
def test_a_host_that_cannot_be_used_is_refused_with_the_reason(samba, port_of, password, message):
    port = samba.port if port_of == "samba" else 1
    with pytest.raises(WindowsHostError, match=message):
        WindowsHost("127.0.0.1", port, SAMBA_USER, password, timeout=5).connect()
