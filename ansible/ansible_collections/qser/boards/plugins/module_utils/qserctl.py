# -*- coding: utf-8 -*-
# qserctl on the machine the module runs on: `apply` decides everything, this only runs it and
# reads its answer. Also the text of a configuration that diff mode shows.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os

# apply's exit status when the check found errors and nothing was written.
EXIT_FINDINGS = 4
# The field of apply's answer that lists the changes in registry terms.
REGISTRY_CHANGES = "registry"


class QserctlError(Exception):
    """qserctl failed; the message is its own, or why its output could not be read."""

    def __init__(self, message, rc=None, stdout="", stderr=""):
        super(QserctlError, self).__init__(message)
        self.rc = rc
        self.stdout = stdout
        self.stderr = stderr


class FindingsError(Exception):
    """The configuration has errors on the target; nothing was written."""

    def __init__(self, answer):
        super(FindingsError, self).__init__("the configuration has errors on this machine")
        self.answer = answer


def _stderr_message(stderr, rc):
    lines = [line for line in stderr.splitlines() if line.strip()]
    return "\n".join(lines) if lines else "qserctl ended with exit status %d and said nothing" % rc


class Qserctl:
    def __init__(self, module, executable, platform=None):
        self._module = module
        if os.sep in executable:
            if not os.access(executable, os.X_OK):
                module.fail_json(msg="qserctl is not an executable file: %s" % executable)
            self.path = executable
        else:
            self.path = module.get_bin_path(executable, required=True)
        self.platform = platform

    def _run(self, registry, arguments):
        command = [self.path, "--registry", registry]
        if self.platform:
            command += ["--platform", self.platform]
        # Messages are read by people: keep them in the language qserctl writes.
        return self._module.run_command(command + arguments, environ_update={"LC_ALL": "C"})

    def _json(self, what, stdout, rc, stderr):
        try:
            return json.loads(stdout)
        except ValueError:
            raise QserctlError("qserctl %s did not print JSON: %s" % (what, stdout.strip()[:400] or _stderr_message(stderr, rc)),
                               rc, stdout, stderr)

    def show(self, registry):
        rc, stdout, stderr = self._run(registry, ["show", "--json"])
        if rc != 0:
            raise QserctlError(_stderr_message(stderr, rc), rc, stdout, stderr)
        return self._json("show --json", stdout, rc, stderr)

    def apply(self, registry, source, dry_run=False, allow_problems=False):
        """apply's JSON answer; FindingsError when the check found errors (nothing written)."""
        arguments = ["apply", source, "--json"]
        if dry_run:
            arguments.append("--dry-run")
        if allow_problems:
            arguments.append("--allow-problems")
        rc, stdout, stderr = self._run(registry, arguments)
        if rc == EXIT_FINDINGS:
            answer = {}
            if stdout.strip():
                answer = self._json("apply --json", stdout, rc, stderr)
            raise FindingsError(answer)
        if rc != 0:
            raise QserctlError(_stderr_message(stderr, rc), rc, stdout, stderr)
        return self._json("apply --json", stdout, rc, stderr)

    def import_reg(self, registry, reg_file):
        rc, stdout, stderr = self._run(registry, ["import", reg_file])
        if rc != 0:
            raise QserctlError(_stderr_message(stderr, rc), rc, stdout, stderr)


def _scalar(value):
    return json.dumps(value, ensure_ascii=False) if not isinstance(value, str) else '"%s"' % value


def _record_lines(label, record, nested):
    lines = []
    for name, value in record.items():
        if name != nested:
            lines.append("%s: %s = %s" % (label, name, _scalar(value)))
    return lines


def render(configuration):
    """The configuration as text, one line a value, each line naming its board or port, so
    that a line-by-line diff says what changed where."""
    if not configuration:
        return ""
    blocks = [_record_lines("driver", configuration, "Boards")]
    for board in configuration.get("Boards", []):
        board_name = board.get("BoardName", "?")
        blocks.append(_record_lines(board_name, board, "Ports"))
        for port in board.get("Ports", []):
            blocks.append(_record_lines("%s/%s" % (board_name, port.get("PortName", "?")), port, None))
    return "\n\n".join("\n".join(block) for block in blocks if block) + "\n"
