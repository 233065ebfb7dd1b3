# The machines the tests configure: registry files, a Windows SYSTEM hive file built from
# nothing, and a Samba server on 127.0.0.1 that stands in for a running Windows host.

import os
import shutil
import signal
import socket
import struct
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "fixtures")
COLLECTIONS = os.path.abspath(os.path.join(HERE, "..", "..", "..", ".."))
REPOSITORY = os.path.dirname(COLLECTIONS)
QSERCTL = os.environ.get("QSERCTL", os.path.join(REPOSITORY, "build", "src", "cli", "qserctl"))

SAMBA_USER = "root"
SAMBA_PASSWORD = "Qser-Test-9"


def fixture(name):
    return os.path.join(FIXTURES, name)


def qserctl(registry, *arguments):
    return subprocess.run([QSERCTL, "--registry", registry] + list(arguments), capture_output=True, text=True, check=False)


def registry_file(path, reg_name):
    """Our registry file holding the keys of a fixture .reg file."""
    done = qserctl(path, "import", fixture(reg_name))
    if done.returncode != 0:
        raise RuntimeError("qserctl import %s: %s" % (reg_name, done.stderr))
    return path


# A hive of one bin: the root key and its security descriptor (owner and group Administrators,
# everyone full access); hivex adds the rest.
def _empty_hive():
    header = bytearray(4096)
    bin_size = 4096
    root, root_size = 0x20, 88
    security = root + root_size
    struct.pack_into("<4sIIQIIIIII", header, 0, b"regf", 1, 1, 0, 1, 3, 0, 1, root, bin_size)
    struct.pack_into("<I", header, 0x2C, 1)
    hbin = bytearray(bin_size)
    struct.pack_into("<4sII", hbin, 0, b"hbin", 0, bin_size)
    struct.pack_into("<i2sH", hbin, root, -root_size, b"nk", 0x2C)
    for offset in (0x20, 0x24, 0x2C, 0x34):
        struct.pack_into("<I", hbin, root + offset, 0xFFFFFFFF)
    struct.pack_into("<I", hbin, root + 0x30, security)
    struct.pack_into("<HH4s", hbin, root + 0x4C, 4, 0, b"ROOT")
    admins = bytes([1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0])
    everyone = bytes([1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0])
    ace = struct.pack("<BBHI", 0, 0x02, 20, 0x000F003F) + everyone
    acl = struct.pack("<BBHHH", 2, 0, 8 + len(ace), 1, 0) + ace
    descriptor = struct.pack("<BBHIIII", 1, 0, 0x8004, 20, 36, 0, 52) + admins + admins + acl
    size = (4 + 20 + len(descriptor) + 7) // 8 * 8
    struct.pack_into("<i2sxxIIII", hbin, security, -size, b"sk", security, security, 1, len(descriptor))
    hbin[security + 24:security + 24 + len(descriptor)] = descriptor
    free = security + size
    struct.pack_into("<I", hbin, free, bin_size - free)
    checksum = 0
    for offset in range(0, 0x1FC, 4):
        checksum ^= struct.unpack_from("<I", header, offset)[0]
    checksum = {0: 1, 0xFFFFFFFF: 0xFFFFFFFE}.get(checksum, checksum)
    struct.pack_into("<I", header, 0x1FC, checksum)
    return bytes(header + hbin)


def hive_file(path, reg_name):
    """A SYSTEM hive whose ControlSet001 (the current one) holds the keys of a fixture .reg file."""
    with open(path, "wb") as out:
        out.write(_empty_hive())
    with open(fixture(reg_name), encoding="latin-1", newline="") as source:
        header, keys = source.read().split("\r\n", 1)
    select = "".join('"%s"=dword:%08x\r\n' % pair for pair in (("Current", 1), ("Default", 1), ("Failed", 0), ("LastKnownGood", 1)))
    # hivexregedit creates no parents.
    text = "%s\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Select]\r\n%s\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001]\r\n%s" % (
        header, select, keys.replace("\\CurrentControlSet\\", "\\ControlSet001\\"))
    merge = path + ".reg"
    with open(merge, "w", encoding="latin-1", newline="") as out:
        out.write(text)
    subprocess.run(["hivexregedit", "--merge", "--prefix", "HKEY_LOCAL_MACHINE\\SYSTEM", path, merge], check=True)
    os.unlink(merge)
    return path


def _free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class SambaServer:
    """smbd on 127.0.0.1 with a private configuration, state and registry, on a free port.

    Samba's registry is not Windows: CurrentControlSet is a plain key there, and its service
    manager knows its own few services, not Serial."""

    def __init__(self, folder):
        self.folder = folder
        self.port = _free_port()
        self.config = os.path.join(folder, "smb.conf")
        self._smbd = None

    def why_not(self):
        """Why this machine cannot run the server, or None."""
        if os.geteuid() != 0:
            return "smbd must run as root to serve a logon"
        for program in ("smbd", "smbpasswd", "net"):
            if shutil.which(program) is None and not os.path.exists("/usr/sbin/" + program):
                return "%s is not installed (Debian package samba)" % program
        return None

    def _write_config(self):
        places = {}
        for name in ("private", "lock", "state", "cache", "pid", "ncalrpc", "log"):
            places[name] = os.path.join(self.folder, name)
            os.makedirs(places[name], exist_ok=True)
        with open(self.config, "w") as out:
            out.write(
                "[global]\n"
                "  netbios name = QSERTESTHOST\n"
                "  workgroup = WORKGROUP\n"
                "  server role = standalone server\n"
                "  interfaces = 127.0.0.1\n"
                "  bind interfaces only = yes\n"
                "  smb ports = %(port)d\n"
                "  disable netbios = yes\n"
                "  private dir = %(private)s\n"
                "  binddns dir = %(private)s\n"
                "  lock directory = %(lock)s\n"
                "  state directory = %(state)s\n"
                "  cache directory = %(cache)s\n"
                "  pid directory = %(pid)s\n"
                "  ncalrpc dir = %(ncalrpc)s\n"
                "  log file = %(log)s/%%m.log\n"
                "  passdb backend = tdbsam:%(private)s/passdb.tdb\n"
                "  load printers = no\n"
                "  printing = bsd\n"
                "  printcap name = /dev/null\n" % dict(places, port=self.port)
            )

    def net(self, *arguments):
        return subprocess.run(["net", "-s", self.config] + list(arguments), capture_output=True, text=True, check=True)

    def start(self, seed_reg):
        self._write_config()
        subprocess.run(["smbpasswd", "-c", self.config, "-s", "-a", SAMBA_USER],
                       input="%s\n%s\n" % (SAMBA_PASSWORD, SAMBA_PASSWORD), text=True, capture_output=True, check=True)
        self.net("registry", "import", fixture(seed_reg))
        # Its own session, so that stopping it reaches no process of ours; smbd in the
        # foreground ends when its standard input ends, so that is a pipe kept open.
        log = open(os.path.join(self.folder, "log", "smbd.out"), "wb")
        self._smbd = subprocess.Popen(["smbd", "-s", self.config, "-F", "--no-process-group", "-d", "1"],
                                      stdin=subprocess.PIPE, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        log.close()
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if self._smbd.poll() is not None:
                raise RuntimeError("smbd ended at once; see %s" % os.path.join(self.folder, "log"))
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return self
            except OSError:
                time.sleep(0.2)
        self.stop()
        raise RuntimeError("smbd did not listen on port %d" % self.port)

    def stop(self):
        # smbd starts samba-dcerpcd on demand in a session of its own; its pid file is ours.
        helper = os.path.join(self.folder, "pid", "samba-dcerpcd.pid")
        if self._smbd is not None:
            os.killpg(self._smbd.pid, signal.SIGTERM)
            self._smbd.stdin.close()
            self._smbd.wait(timeout=20)
            self._smbd = None
        if not os.path.exists(helper):
            return
        with open(helper) as pid_file:
            pid = int(pid_file.read().split()[0])
        try:
            with open("/proc/%d/cmdline" % pid, "rb") as cmdline:
                ours = self.config.encode() in cmdline.read()
        except OSError:
            return
        if ours:
            os.killpg(pid, signal.SIGTERM)
