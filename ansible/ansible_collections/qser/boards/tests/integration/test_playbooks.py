# ansible-playbook -c local against four targets: a registry file of a machine with a serial
# port of its own, a registry file configured otherwise, a SYSTEM hive file, and a Samba server
# standing in for a running Windows host; and the image role where guestmount works.

import json
import os
import re
import shutil
import subprocess
import tempfile

import pytest

import machines
from machines import COLLECTIONS, QSERCTL, SAMBA_PASSWORD, SAMBA_USER, fixture, qserctl
from ansible_collections.qser.boards.plugins.module_utils.qserctl import Qserctl
from ansible_collections.qser.boards.plugins.module_utils.remote_apply import RemoteApply, read_host
from ansible_collections.qser.boards.plugins.module_utils.windows_host import WindowsHost

HERE = os.path.dirname(os.path.abspath(__file__))
RECAP = re.compile(r"^machine\s*:\s*(ok=\d+\s+changed=\d+.*)$", re.MULTILINE)
# Values that belong to the machine, not to a configuration.
MACHINE_VALUES = ("PortSerialPort", "SystemNumBoards", "SystemNumPorts")


class Run:
    """One ansible-playbook run: its output, and the one host's result of its last task."""

    def __init__(self, done, result):
        self.returncode = done.returncode
        self.output = done.stdout + done.stderr
        self._result = result

    def result(self):
        assert self._result is not None, "no result of the task:\n" + self.output
        return self._result

    def failed_task(self):
        """The name of the first task that failed, or an empty text."""
        parts = self.output.split("fatal:", 1)
        return parts[0].rsplit("TASK [", 1)[-1].split("]", 1)[0] if len(parts) == 2 else ""

    def recap(self):
        found = RECAP.search(self.output)
        assert found, "no recap in:\n" + self.output
        return found.group(1).split()


def playbook(name, extra, *flags):
    results = tempfile.mkdtemp(prefix="qser-results-")
    env = dict(os.environ, ANSIBLE_COLLECTIONS_PATH=COLLECTIONS, ANSIBLE_NOCOLOR="1", ANSIBLE_RETRY_FILES_ENABLED="0",
               ANSIBLE_CALLBACKS_ENABLED="ansible.builtin.tree", ANSIBLE_CALLBACK_TREE_DIR=results)
    command = ["ansible-playbook", "-i", os.path.join(HERE, "inventory.ini"), os.path.join(HERE, name),
               "-e", json.dumps(dict(extra, qserctl=QSERCTL))] + list(flags)
    try:
        done = subprocess.run(command, env=env, capture_output=True, text=True, timeout=600)
        path = os.path.join(results, "machine")
        result = None
        if os.path.exists(path):
            with open(path) as source:
                result = json.load(source)
        return Run(done, result)
    finally:
        shutil.rmtree(results)


def configuration_only(configuration):
    """The configuration without the values that belong to the machine."""
    clean = {name: value for name, value in configuration.items() if name not in MACHINE_VALUES and name != "Boards"}
    clean["Boards"] = [
        dict({n: v for n, v in board.items() if n != "Ports"},
             Ports=[{n: v for n, v in port.items() if n not in MACHINE_VALUES} for port in board["Ports"]])
        for board in configuration["Boards"]
    ]
    return clean


def desired(name):
    with open(fixture(name)) as source:
        return configuration_only(json.load(source))


class FileTarget:
    def __init__(self, option, path):
        self.option = option
        self.path = path
        self.extra = {option: path}

    def state(self):
        """Everything the target holds, to compare before and after a run."""
        files = [self.path] + [self.path + suffix for suffix in ("-wal", ".qser-backup") if os.path.exists(self.path + suffix)]
        return {name: open(name, "rb").read() for name in files}

    def configuration(self, folder):
        return json.loads(qserctl(self.path, "show", "--json").stdout)


class HostTarget:
    def __init__(self, server, folder):
        self.server = server
        self.extra = {"windows_host": "127.0.0.1", "smb_port": server.port, "username": SAMBA_USER, "password": SAMBA_PASSWORD}

    def _host(self):
        return WindowsHost("127.0.0.1", self.server.port, SAMBA_USER, SAMBA_PASSWORD)

    def state(self):
        with self._host() as host:
            return [(key.path, sorted(key.values)) for key in read_host(host)]

    def configuration(self, folder):
        """Read back through the remote registry protocol, shown by qserctl."""

        class Runner:
            def run_command(self, command, environ_update=None):
                done = subprocess.run(command, capture_output=True, text=True)
                return done.returncode, done.stdout, done.stderr

        with self._host() as host:
            remote = RemoteApply(host, Qserctl(Runner(), QSERCTL, "nt"), folder)
            remote.load()
            return json.loads(qserctl(remote.scratch, "show", "--json").stdout)


@pytest.fixture(params=["registry file with a port of its own", "registry file configured otherwise", "hive file", "windows host"])
def target(request, tmp_path, tmp_path_factory):
    kind = request.param
    if kind == "registry file with a port of its own":
        return FileTarget("registry", machines.registry_file(str(tmp_path / "machine.db"), "machine.reg"))
    if kind == "registry file configured otherwise":
        return FileTarget("registry", machines.registry_file(str(tmp_path / "configured.db"), "configured.reg"))
    if kind == "hive file":
        return FileTarget("hive", machines.hive_file(str(tmp_path / "SYSTEM"), "configured.reg"))
    server = machines.SambaServer(str(tmp_path_factory.mktemp("samba")))
    reason = server.why_not()
    if reason:
        pytest.skip("windows_host not tested: " + reason)
    server.start("configured.reg")
    request.addfinalizer(server.stop)
    return HostTarget(server, str(tmp_path))


def test_a_target_is_brought_to_the_configuration_once(target, tmp_path, recaps, request):
    extra = dict(target.extra, configuration=fixture("golden.json"), inline=target.extra.get("registry", "").endswith("machine.db"))
    name = request.node.callspec.id

    first = playbook("apply.yml", extra)
    assert first.returncode == 0, first.output
    assert "changed=1" in first.recap()
    after_first = target.state()
    second = playbook("apply.yml", extra)
    assert second.returncode == 0, second.output
    assert "changed=0" in second.recap()
    assert target.state() == after_first, "the second run changed the target"
    recaps.append("%s: first run %s; second run %s" % (name, " ".join(first.recap()[:2]), " ".join(second.recap()[:2])))
    assert configuration_only(target.configuration(str(tmp_path))) == desired("golden.json")

    # Check mode, with and without diff, and a configuration with errors on this machine:
    # the verdicts are asserted in the playbook, the diff here as the user sees it.
    cases = playbook("cases.yml", dict(target.extra, next=fixture("golden2.json"), conflict=fixture("conflict.json")))
    assert cases.returncode == 0, cases.output
    for line in ('-Board000: BoardShareIRQ = "5"', '+Board000: BoardShareIRQ = "7"',
                 '-Board001/Port003: PortIRQ = "10"', '+Board001/Port003: PortIRQ = "11"'):
        assert line in cases.output.splitlines(), "the diff does not show " + line
    assert target.state() == after_first, "check mode or a refused configuration wrote to the target"

    # A real change in diff mode.
    extra["configuration"] = fixture("golden2.json")
    changed = playbook("apply.yml", extra, "--diff")
    assert changed.result()["changed"] is True and not changed.result().get("failed"), changed.output
    assert '+Board000: BoardShareIRQ = "7"' in changed.output.splitlines()
    assert configuration_only(target.configuration(str(tmp_path))) == desired("golden2.json")


def test_a_wrong_password_fails_with_the_reason(samba):
    extra = {"windows_host": "127.0.0.1", "smb_port": samba.port, "username": SAMBA_USER, "password": "not the password",
             "configuration": fixture("golden.json")}
    done = playbook("apply.yml", extra)
    assert done.returncode != 0
    assert done.result()["msg"].startswith("logon to 127.0.0.1 as root failed: STATUS_LOGON_FAILURE")


def guestmount_works(folder):
    """Why guestmount cannot mount an image here, or None."""
    image = os.path.join(folder, "probe.img")
    subprocess.run(["mke2fs", "-q", "-t", "ext4", image, "4M"], check=True)
    mount = os.path.join(folder, "probe")
    os.mkdir(mount)
    done = subprocess.run(["guestmount", "--format=raw", "-a", image, "-m", "/dev/sda", "--ro", mount], capture_output=True, text=True)
    if done.returncode != 0:
        return "guestmount cannot mount an image here: " + (done.stderr.strip().splitlines() or ["(no message)"])[-1]
    subprocess.run(["guestunmount", mount], check=True)
    return None


def test_the_image_role_configures_each_image_once(tmp_path, recaps):
    if shutil.which("guestmount") is None:
        pytest.skip("image role not tried: guestmount is not installed (Debian package libguestfs-tools)")
    tree = tmp_path / "tree" / "Windows" / "System32" / "config"
    tree.mkdir(parents=True)
    machines.hive_file(str(tree / "SYSTEM"), "configured.reg")
    image = str(tmp_path / "windows.img")
    subprocess.run(["mke2fs", "-q", "-t", "ext4", "-d", str(tmp_path / "tree"), image, "16M"], check=True)
    extra = {"images": [{"path": image, "format": "raw", "partition": "/dev/sda"}], "configuration": fixture("golden.json")}

    first = playbook("images.yml", extra)
    if first.returncode != 0 and "Mount the Windows partition" in first.failed_task():
        # An appliance costs half a minute or more: only when the role's own mount failed is
        # a bare mount tried, to tell a machine without libguestfs from a broken role.
        reason = guestmount_works(str(tmp_path))
        if reason:
            pytest.skip("image role not tried: " + reason)
    assert first.returncode == 0, first.output
    second = playbook("images.yml", extra)
    assert second.returncode == 0, second.output
    assert "changed=1" in first.recap() and "changed=0" in second.recap()
    recaps.append("disk image: first run %s; second run %s" % (" ".join(first.recap()[:2]), " ".join(second.recap()[:2])))
    hive = str(tmp_path / "SYSTEM.out")
    subprocess.run(["debugfs", "-R", "dump /Windows/System32/config/SYSTEM " + hive, image], check=True, capture_output=True)
    assert configuration_only(json.loads(qserctl(hive, "show", "--json").stdout)) == desired("golden.json")
