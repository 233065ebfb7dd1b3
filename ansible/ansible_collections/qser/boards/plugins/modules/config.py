#!/usr/bin/python
# -*- coding: utf-8 -*-
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: config
short_description: Bring the serial adapter boards of a machine to one configuration
version_added: "1.0.0"
description:
  - Makes the board configuration of one target equal to a desired configuration, through
    C(qserctl apply), the command that a person would run on that machine. Every rule of QSER
    applies on the target as it does in the window. Boards are matched by name, boards the
    configuration does not have are deleted, the ports' instance names are chosen free on the
    target, and the resource check runs with the target's own serial ports before anything is
    written.
  - Idempotent. A second run with the same configuration changes nothing and reports C(changed=false);
    a registry file or hive file keeps its bytes.
  - The target is one of I(registry) (a QSER registry file on the managed host), I(hive) (the
    SYSTEM hive file of a Windows installation that is not running, on the managed host) or
    I(windows_host) (a running Windows machine that the managed host reaches over SMB).
  - For I(windows_host) the module reads the driver key, the serial ports' instance keys and the
    values of the C(Serial) service through the remote registry protocol into a temporary
    registry file, lets C(qserctl apply) plan and carry out the change there, then writes exactly
    the registry changes the plan lists to the host, and stops and starts the C(Serial) service
    when the plan says the service must be restarted. Nothing is written to the host when the
    configuration has errors on it or when the plan cannot be carried over whole.
  - The module adds no rule of its own; what is refused, and why, is qserctl's answer.
author:
  - QSER developers
requirements:
  - C(qserctl) on the host that runs the module (see I(qserctl)).
  - For I(windows_host), the Python library impacket on that host (Debian package C(python3-impacket)).
options:
  configuration:
    description:
      - The desired configuration, in the JSON form that C(qserctl show --json) prints.
      - A dictionary (written inline, or read from a file with the C(file) lookup and the
        C(from_json) filter), or the path of a configuration file on the host that runs the module.
      - Quote texts that look like numbers in YAML, for example C("0x2e8") as a C(BoardBaseAddress);
        YAML reads an unquoted C(0x2e8) as the number 744, which qserctl refuses as a wrong type.
    type: raw
    required: true
  registry:
    description:
      - A QSER registry file on the managed host. It is created when it does not exist (its
        folder must exist).
      - Mutually exclusive with I(hive) and I(windows_host).
    type: path
  hive:
    description:
      - The SYSTEM hive file of a Windows NT-family installation that is not running, on the
        managed host, for example C(Windows/System32/config/SYSTEM) inside a mounted disk image.
      - The installation must have been shut down cleanly (no hibernation, no Fast Startup);
        qserctl refuses a hive whose changes are still in its transaction logs.
      - C(CurrentControlSet) is the control set that the hive's C(Select\Current) names.
      - Before its first change qserctl keeps a copy beside it, C(SYSTEM.qser-backup).
      - Mutually exclusive with I(registry) and I(windows_host).
    type: path
  windows_host:
    description:
      - Name or address of a running Windows NT-family machine, reached over SMB from the host
        that runs the module (usually the controller, with C(delegate_to=localhost)).
      - The Remote Registry service must be running there and I(username) must be an
        administrator of that machine over the network (a local administrator account needs
        C(LocalAccountTokenFilterPolicy=1); domain administrators do not).
      - The keys are under C(HKEY_LOCAL_MACHINE\SYSTEM), which has no 32-bit and 64-bit views.
      - Mutually exclusive with I(registry) and I(hive).
    type: str
  port:
    description:
      - The SMB port of I(windows_host).
    type: int
    default: 445
  username:
    description:
      - The account that logs on to I(windows_host). Required with I(windows_host).
    type: str
  password:
    description:
      - The password of I(username). Required with I(windows_host).
    type: str
  domain:
    description:
      - The domain of I(username); empty for a local account of I(windows_host).
    type: str
    default: ""
  timeout:
    description:
      - Seconds to wait for I(windows_host) to answer, and for its C(Serial) service to stop
        before it is started again.
    type: int
    default: 30
  platform:
    description:
      - The platform family of the target, passed to qserctl as C(--platform). Without it
        qserctl takes C(QSER_PLATFORM) of the managed host, else C(nt).
      - A hive file and a running Windows host are Windows NT family; qserctl refuses C(9x) on a hive.
    type: str
    choices: [nt, 9x, linux]
  allow_problems:
    description:
      - Apply the configuration even when the resource check finds errors on the target
        (conflicting addresses, interrupts or COM names). Without it the task fails with the
        findings and nothing is written.
    type: bool
    default: false
  qserctl:
    description:
      - The qserctl program on the host that runs the module, as a name looked up in C(PATH) or as a path.
    type: str
    default: qserctl
notes:
  - Check mode is supported; nothing is written and C(changed) says whether the run would change the target.
  - Diff mode is supported; before and after are the whole configuration of the target, one line a
    value, each line naming its board or port. For a file target in check mode the after text comes
    from applying to a temporary copy of the file.
  - Apply one configuration to many disk images with the role C(qser.boards.offline_images).
seealso:
  - name: qserctl apply
    description: C(man qserctl) on the managed host, or C(qserctl apply --help).
"""

EXAMPLES = r"""
- name: Make this machine's registry file equal to the golden configuration
  qser.boards.config:
    configuration: "{{ lookup('file', 'golden.json') | from_json }}"
    registry: /var/lib/qser/registry.db

- name: Configure an offline Windows installation mounted at /mnt/win
  qser.boards.config:
    configuration: /srv/qser/golden.json
    hive: /mnt/win/Windows/System32/config/SYSTEM

- name: Configure running Windows machines from the controller
  qser.boards.config:
    configuration: "{{ lookup('file', 'golden.json') | from_json }}"
    windows_host: "{{ ansible_host | default(inventory_hostname) }}"
    username: "{{ qser_admin_user }}"
    password: "{{ qser_admin_password }}"
  delegate_to: localhost

- name: An inline configuration of one board with four ports on interrupt 5
  qser.boards.config:
    registry: /tmp/lab.db
    configuration:
      Boards:
        - BoardName: Board000
          BoardType: RX-404
          BoardBaseAddress: "0x300"
          Ports:
            - {PortName: Port000, PortIRQ: "5"}
"""

RETURN = r"""
changed:
  description: Whether the target was changed (in check mode, whether it would be).
  returned: always
  type: bool
changes:
  description:
    - The plan in the words of C(qserctl diff) - boards and ports added and removed, and for each
      board and port the values that change, old and new. Empty when nothing needs changing.
  returned: always
  type: list
  elements: dict
  sample:
    - {kind: value-changed, board: Board000, port: Port001, name: PortIRQ, old: "7", new: "5"}
registry_changes:
  description:
    - The changes in registry terms, as C(qserctl import --dry-run) lists them - keys added and
      deleted, values set (with type, old and new data) and deleted. For I(windows_host) these are
      the writes made on the host.
  returned: always
  type: list
  elements: dict
  sample:
    - {change: value-set, key: 'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\QSERDRV\Board000\Port001',
       name: PortIRQ, type: REG_SZ, old: "7", new: "5"}
findings:
  description: What the resource check found on the target after the change (errors and warnings).
  returned: always
  type: list
  elements: dict
restart:
  description:
    - What the machine needs for the change to take effect - C(service) (the C(Serial) service is
      restarted), C(windows) (Windows 95/98 must be restarted) or C(none).
  returned: always
  type: str
  sample: service
service:
  description:
    - For I(windows_host), the restart of the C(Serial) service - C(restarted), the C(state) last
      seen and a C(message) saying why it was not restarted. Absent when no restart was needed or in check mode.
  returned: when the Serial service of a Windows host was restarted or tried
  type: dict
  sample: {restarted: true, state: running, message: ""}
msg:
  description: What went wrong, in qserctl's words or the host's.
  returned: on failure
  type: str
"""

import json
import os
import shutil

from ansible.module_utils.basic import AnsibleModule, missing_required_lib

from ansible_collections.qser.boards.plugins.module_utils.qserctl import REGISTRY_CHANGES, FindingsError, Qserctl, QserctlError, render
from ansible_collections.qser.boards.plugins.module_utils.remote_apply import PlanError, RemoteApply
from ansible_collections.qser.boards.plugins.module_utils.windows_host import (
    HAS_IMPACKET,
    IMPACKET_IMPORT_ERROR,
    WindowsHost,
    WindowsHostError,
)

TARGETS = ("registry", "hive", "windows_host")


def source_file(module, folder):
    """The path qserctl reads the configuration from."""
    configuration = module.params["configuration"]
    if isinstance(configuration, dict):
        path = os.path.join(folder, "configuration.json")
        with open(path, "w") as out:
            json.dump(configuration, out)
        return path
    if isinstance(configuration, str):
        path = os.path.expanduser(configuration)
        if not os.path.isfile(path):
            module.fail_json(msg="configuration: no such file on the managed host: %s" % path)
        return path
    module.fail_json(msg="configuration must be a dictionary or the path of a configuration file, not %s" % type(configuration).__name__)


def result_of(answer, changed=None):
    return {
        "changed": bool(answer.get("changed")) if changed is None else changed,
        "changes": answer.get("changes", []),
        "registry_changes": answer.get(REGISTRY_CHANGES, []),
        "findings": answer.get("findings", []),
        "restart": answer.get("restart", "none"),
    }


def diff_of(before, after, target):
    return {
        "before": render(before),
        "after": render(after),
        "before_header": "%s (before)" % target,
        "after_header": "%s (after)" % target,
    }


def copy_of(path, folder):
    """A copy of a registry or hive file (with its write-ahead log, if any) to apply to in check mode."""
    copy = os.path.join(folder, os.path.basename(path))
    if os.path.exists(path):
        shutil.copyfile(path, copy)
        if os.path.exists(path + "-wal"):
            shutil.copyfile(path + "-wal", copy + "-wal")
    return copy


def check_file_kind(module, kind, path):
    """A hive target must be a hive file and a registry target must not be one, so that a
    swapped option cannot configure the wrong file."""
    try:
        with open(path, "rb") as file:
            is_hive = file.read(4) == b"regf"
    except FileNotFoundError:
        if kind == "hive":
            module.fail_json(msg="hive: no such file: %s" % path)
        return
    except OSError as error:
        module.fail_json(msg="%s: cannot read %s: %s" % (kind, path, error.strerror))
    if kind == "hive" and not is_hive:
        module.fail_json(msg="hive: %s is not a Windows registry hive file" % path)
    if kind == "registry" and is_hive:
        module.fail_json(msg="registry: %s is a Windows registry hive file; give it as hive" % path)


def apply_to_file(module, qserctl, kind, source, folder):
    path = os.path.abspath(module.params[kind])
    check_file_kind(module, kind, path)
    allow = module.params["allow_problems"]
    exists = os.path.exists(path)
    before = qserctl.show(path) if module._diff and exists else None
    # A dry run needs the file; the diff needs the result: both come from a copy.
    if module.check_mode and (module._diff or not exists):
        copy = copy_of(path, folder)
        answer = qserctl.apply(copy, source, allow_problems=allow)
        after = qserctl.show(copy)
    else:
        answer = qserctl.apply(path, source, dry_run=module.check_mode, allow_problems=allow)
        after = qserctl.show(path) if module._diff else None
    result = result_of(answer)
    if module._diff:
        result["diff"] = diff_of(before, after, path)
    return result


def apply_to_windows_host(module, qserctl, source, folder):
    if not HAS_IMPACKET:
        module.fail_json(msg=missing_required_lib("impacket (Debian package python3-impacket)"), exception=str(IMPACKET_IMPORT_ERROR))
    if qserctl.platform not in (None, "nt"):
        module.fail_json(msg="windows_host: a running Windows host is of the nt platform family, not %s" % qserctl.platform)
    qserctl.platform = "nt"
    params = module.params
    host = WindowsHost(params["windows_host"], params["port"], params["username"], params["password"], params["domain"], params["timeout"])
    with host:
        remote = RemoteApply(host, qserctl, folder)
        remote.load()
        before = qserctl.show(remote.scratch) if module._diff else None
        answer, operations = remote.plan(source, params["allow_problems"])
        result = result_of(answer)
        if remote.inexact:
            module.warn("kept inexactly in the plan's copy of the host (never written back): %s" % ", ".join(remote.inexact))
        if module._diff:
            result["diff"] = diff_of(before, qserctl.show(remote.scratch), params["windows_host"])
        if module.check_mode or not operations:
            return result
        remote.write(operations)
        if result["restart"] == "service":
            result["service"] = remote.restart_serial()
            if not result["service"]["restarted"]:
                module.warn("the ports take effect when the Serial service restarts: %s" % result["service"]["message"])
    return result


def main():
    module = AnsibleModule(
        argument_spec=dict(
            configuration=dict(type="raw", required=True),
            registry=dict(type="path"),
            hive=dict(type="path"),
            windows_host=dict(type="str"),
            port=dict(type="int", default=445),
            username=dict(type="str"),
            password=dict(type="str", no_log=True),
            domain=dict(type="str", default=""),
            timeout=dict(type="int", default=30),
            platform=dict(type="str", choices=["nt", "9x", "linux"]),
            allow_problems=dict(type="bool", default=False),
            qserctl=dict(type="str", default="qserctl"),
        ),
        mutually_exclusive=[TARGETS],
        required_one_of=[TARGETS],
        required_by={"windows_host": ("username", "password")},
        supports_check_mode=True,
    )
    qserctl = Qserctl(module, module.params["qserctl"], module.params["platform"])
    folder = module.tmpdir
    source = source_file(module, folder)
    try:
        if module.params["windows_host"]:
            result = apply_to_windows_host(module, qserctl, source, folder)
        else:
            kind = "registry" if module.params["registry"] else "hive"
            result = apply_to_file(module, qserctl, kind, source, folder)
    except FindingsError as error:
        findings = error.answer.get("findings", [])
        module.fail_json(msg="The configuration has errors on this machine; nothing was changed:\n%s" % describe(findings),
                         **dict(result_of(error.answer, changed=False)))
    except QserctlError as error:
        module.fail_json(msg=str(error), rc=error.rc, stdout=error.stdout, stderr=error.stderr, changed=False)
    except (WindowsHostError, PlanError) as error:
        module.fail_json(msg=str(error), changed=False)
    module.exit_json(**result)


def describe(findings):
    lines = []
    for finding in findings:
        if isinstance(finding, dict):
            lines.append("%s %s: %s" % (finding.get("severity", ""), finding.get("code", ""), finding.get("message", "")))
        else:
            lines.append(str(finding))
    return "\n".join(lines)


if __name__ == "__main__":
    main()
