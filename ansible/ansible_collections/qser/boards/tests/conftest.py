import os
import subprocess
import sys

import pytest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import machines  # noqa: E402

sys.path.insert(0, machines.COLLECTIONS)


class ModuleStandIn:
    """The little of AnsibleModule that the module utilities use, for calling them directly."""

    def run_command(self, command, environ_update=None):
        done = subprocess.run(command, capture_output=True, text=True, env=dict(os.environ, **(environ_update or {})))
        return done.returncode, done.stdout, done.stderr

    def get_bin_path(self, name, required=False):
        return name

    def fail_json(self, **result):
        raise AssertionError(result["msg"])


@pytest.fixture
def module():
    return ModuleStandIn()


@pytest.fixture(scope="module")
def samba(tmp_path_factory):
    """A Samba server seeded with a QSER configuration and a serial port of the machine's own."""
    server = machines.SambaServer(str(tmp_path_factory.mktemp("samba")))
    reason = server.why_not()
    if reason:
        pytest.skip("no Samba server: " + reason)
    server.start("configured.reg")
    yield server
    server.stop()


_RECAPS = []


@pytest.fixture
def recaps():
    """Lines for the summary: each target's recaps of its first and second run."""
    return _RECAPS


def pytest_terminal_summary(terminalreporter):
    if _RECAPS:
        terminalreporter.section("playbook recaps")
        for line in _RECAPS:
            terminalreporter.write_line(line)
