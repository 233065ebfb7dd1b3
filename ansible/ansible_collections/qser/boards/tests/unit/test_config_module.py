# The module run as Ansible runs it, with its arguments in a file: the refusals that come
# before qserctl is asked anything, each naming the option at fault.

import json
import os
import subprocess

import pytest

from machines import COLLECTIONS, QSERCTL, fixture, hive_file, registry_file

MODULE = os.path.join(COLLECTIONS, "ansible_collections", "qser", "boards", "plugins", "modules", "config.py")


def run_module(tmp_path, **arguments):
    args = tmp_path / "args.json"
    args.write_text(json.dumps({"ANSIBLE_MODULE_ARGS": dict({"qserctl": QSERCTL}, **arguments)}))
    done = subprocess.run(["/usr/bin/python3", MODULE, str(args)], capture_output=True, text=True,
                          env=dict(os.environ, PYTHONPATH=COLLECTIONS))
    return json.loads(done.stdout)


@pytest.mark.parametrize(
    "arguments, message",
    [
        (dict(hive="{registry}"), "is not a Windows registry hive file"),
        (dict(registry="{hive}"), "is a Windows registry hive file; give it as hive"),
        (dict(hive="{folder}/missing/SYSTEM"), "hive: no such file"),
        (dict(registry="{registry}", configuration="{folder}/missing.json"), "configuration: no such file"),
        (dict(registry="{registry}", configuration=7), "configuration must be a dictionary or the path"),
        (dict(registry="{registry}", hive="{hive}"), "mutually exclusive"),
        (dict(windows_host="127.0.0.1", username="root"), "missing parameter(s) required by 'windows_host': password"),
        (dict(windows_host="127.0.0.1", username="root", password="not-shown", platform="9x"), "nt platform family, not 9x"),
        (dict(registry="{registry}", qserctl="{folder}/args.json"), "qserctl is not an executable file"),
    ],
    ids=["registry file as hive", "hive as registry file", "missing hive", "missing configuration file",
         "configuration of a wrong type", "two targets", "host without password", "host of another family",
         "qserctl not a program"],
)
def test_refusals_name_the_option(tmp_path, arguments, message):
    makers = {"folder": lambda: str(tmp_path), "registry": lambda: registry_file(str(tmp_path / "r.db"), "machine.reg"),
              "hive": lambda: hive_file(str(tmp_path / "SYSTEM"), "configured.reg")}
    used = "".join(str(value) for value in arguments.values())
    places = {name: make() for name, make in makers.items() if "{%s}" % name in used}
    arguments = {name: value.format(**places) if isinstance(value, str) else value for name, value in arguments.items()}
    arguments.setdefault("configuration", fixture("golden.json"))
    result = run_module(tmp_path, **arguments)
    assert result.get("failed") is True
    assert message in result["msg"]
