# -*- coding: utf-8 -*-
# The registry and the service control manager of a running Windows host, reached over SMB
# through the remote registry protocol (winreg pipe) and the service control protocol (svcctl
# pipe) with impacket. Paths are relative to HKEY_LOCAL_MACHINE.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import socket
import time

try:
    from impacket import nt_errors
    from impacket.dcerpc.v5 import rrp, scmr, transport
    from impacket.dcerpc.v5.rpcrt import DCERPCException
    from impacket.smbconnection import SessionError, SMBConnection

    HAS_IMPACKET = True
    IMPACKET_IMPORT_ERROR = None
except ImportError as error:  # reported by the module with the package to install
    HAS_IMPACKET = False
    IMPACKET_IMPORT_ERROR = error

ERROR_FILE_NOT_FOUND = 2
ERROR_MORE_DATA = 234
ERROR_NO_MORE_ITEMS = 259
# The registry's limits: value names of 16,383 characters, values of about 1 MB.
MAX_NAME_LENGTH = 16384
MAX_VALUE_SIZE = 1 << 21
ERROR_SERVICE_DOES_NOT_EXIST = 1060
ERROR_SERVICE_NOT_ACTIVE = 1062

SERVICE_STOPPED = 1
SERVICE_STATES = {
    1: "stopped",
    2: "start pending",
    3: "stop pending",
    4: "running",
    5: "continue pending",
    6: "pause pending",
    7: "paused",
}

# impacket creates volatile keys unless told otherwise: they would vanish at the next boot.
REG_OPTION_NON_VOLATILE = 0


class WindowsHostError(Exception):
    """A failure talking to the host, with the reason in words."""


class RemoteKey:
    """One key as read: its path, its values as (name, type, bytes) in the host's order."""

    def __init__(self, path, values):
        self.path = path
        self.values = values


def _status_text(code):
    name, text = nt_errors.ERROR_MESSAGES.get(code, ("0x%08x" % code, ""))
    return "%s (%s)" % (name, text.rstrip(".")) if text else name


def _rpc_text(error):
    return str(error).replace("SessionError: ", "")


def _rpc_code(error):
    return error.get_error_code() if hasattr(error, "get_error_code") else None


class WindowsHost:
    """One SMB session to a host; the registry and the service manager are bound on first use."""

    def __init__(self, host, port=445, username="", password="", domain="", timeout=30):
        self.host = host
        self.port = port
        self.username = username
        self.password = password
        self.domain = domain
        self.timeout = timeout
        self._smb = None
        self._registry = None
        self._hklm = None
        self._services = None

    def __enter__(self):
        self.connect()
        return self

    def __exit__(self, *exc):
        self.close()

    def _who(self):
        return "%s\\%s" % (self.domain, self.username) if self.domain else self.username

    def connect(self):
        try:
            self._smb = SMBConnection(self.host, self.host, sess_port=self.port, timeout=self.timeout)
        except (OSError, socket.error) as error:
            raise WindowsHostError("cannot reach %s on port %d: %s" % (self.host, self.port, error))
        except SessionError as error:
            raise WindowsHostError("cannot reach %s on port %d: %s" % (self.host, self.port, _status_text(error.getErrorCode())))
        try:
            self._smb.login(self.username, self.password, self.domain)
        except SessionError as error:
            raise WindowsHostError(
                "logon to %s as %s failed: %s" % (self.host, self._who(), _status_text(error.getErrorCode()))
            )
        except (OSError, socket.error) as error:
            raise WindowsHostError("logon to %s as %s failed: %s" % (self.host, self._who(), error))

    def close(self):
        for dce in (self._registry, self._services):
            if dce is not None:
                try:
                    dce.disconnect()
                except Exception:  # the session is going away anyway
                    pass
        if self._smb is not None:
            try:
                self._smb.logoff()
            except Exception:
                pass
            self._smb.close()
        self._smb = self._registry = self._services = self._hklm = None

    def _bind(self, pipe, uuid):
        rpc = transport.SMBTransport(self.host, self.port, pipe, smb_connection=self._smb)
        dce = rpc.get_dce_rpc()
        dce.connect()
        dce.bind(uuid)
        return dce

    # The registry -------------------------------------------------------------------------

    def _root(self):
        if self._hklm is None:
            try:
                self._registry = self._bind(r"\winreg", rrp.MSRPC_UUID_RRP)
                self._hklm = rrp.hOpenLocalMachine(self._registry)["phKey"]
            except (SessionError, DCERPCException, OSError) as error:
                raise WindowsHostError(
                    "the remote registry of %s cannot be reached: %s (the Remote Registry service "
                    "must be running there, and %s must be an administrator of it)"
                    % (self.host, _rpc_text(error), self._who())
                )
        return self._hklm

    def _open(self, path):
        """The key's handle, or None when the key does not exist."""
        try:
            root = self._root()
            return rrp.hBaseRegOpenKey(self._registry, root, path)["phkResult"]
        except DCERPCException as error:
            if _rpc_code(error) == ERROR_FILE_NOT_FOUND:
                return None
            raise WindowsHostError("cannot open HKEY_LOCAL_MACHINE\\%s on %s: %s" % (path, self.host, _rpc_text(error)))

    def _close_key(self, handle):
        try:
            rrp.hBaseRegCloseKey(self._registry, handle)
        except DCERPCException:
            pass

    def _subkeys(self, handle, path):
        names = []
        index = 0
        while True:
            try:
                answer = rrp.hBaseRegEnumKey(self._registry, handle, index)
            except DCERPCException as error:
                if _rpc_code(error) == ERROR_NO_MORE_ITEMS:
                    return names
                raise WindowsHostError("cannot list the sub-keys of %s on %s: %s" % (path, self.host, _rpc_text(error)))
            names.append(answer["lpNameOut"].rstrip("\x00"))
            index += 1

    def _enum_value(self, handle, index, data_length):
        request = rrp.BaseRegEnumValue()
        request["hKey"] = handle
        request["dwIndex"] = index
        request.fields["lpValueNameIn"].fields["MaximumLength"] = MAX_NAME_LENGTH * 2
        request.fields["lpValueNameIn"].fields["Data"].fields["Data"].fields["MaximumCount"] = MAX_NAME_LENGTH
        request["lpData"] = b" " * data_length
        request["lpcbData"] = data_length
        request["lpcbLen"] = data_length
        return self._registry.request(request)

    def _values(self, handle, path):
        # impacket's own helper trusts the size that an ERROR_MORE_DATA answer names, which not
        # every server fills in, and gives up after one retry: the buffer doubles instead.
        values = []
        index = 0
        data_length = 512
        while True:
            try:
                answer = self._enum_value(handle, index, data_length)
            except DCERPCException as error:
                if _rpc_code(error) == ERROR_NO_MORE_ITEMS:
                    return values
                if _rpc_code(error) == ERROR_MORE_DATA and data_length < MAX_VALUE_SIZE:
                    data_length *= 2
                    continue
                raise WindowsHostError("cannot read the values of %s on %s: %s" % (path, self.host, _rpc_text(error)))
            data = b"".join(answer["lpData"])[: answer["lpcbData"]]
            values.append((answer["lpValueNameOut"].rstrip("\x00"), answer["lpType"], data))
            index += 1

    def read_key(self, path, subtree):
        """The key and, with subtree, every key below it, parents first; [] when it is missing."""
        handle = self._open(path)
        if handle is None:
            return []
        try:
            keys = [RemoteKey(path, self._values(handle, path))]
            names = self._subkeys(handle, path) if subtree else []
        finally:
            self._close_key(handle)
        for name in names:
            keys.extend(self.read_key(path + "\\" + name, True))
        return keys

    def create_key(self, path):
        root = self._root()
        try:
            answer = rrp.hBaseRegCreateKey(self._registry, root, path, dwOptions=REG_OPTION_NON_VOLATILE)
        except DCERPCException as error:
            raise WindowsHostError("cannot create HKEY_LOCAL_MACHINE\\%s on %s: %s" % (path, self.host, _rpc_text(error)))
        self._close_key(answer["phkResult"])

    def set_value(self, path, name, value_type, data):
        handle = self._existing(path)
        try:
            request = rrp.BaseRegSetValue()
            request["hKey"] = handle
            request["lpValueName"] = rrp.checkNullString(name)
            request["dwType"] = value_type
            request["lpData"] = list(bytearray(data))
            request["cbData"] = len(data)
            self._registry.request(request)
        except DCERPCException as error:
            raise WindowsHostError(
                "cannot set value \"%s\" of HKEY_LOCAL_MACHINE\\%s on %s: %s" % (name, path, self.host, _rpc_text(error))
            )
        finally:
            self._close_key(handle)

    def delete_value(self, path, name):
        handle = self._open(path)
        if handle is None:
            return
        try:
            rrp.hBaseRegDeleteValue(self._registry, handle, name)
        except DCERPCException as error:
            if _rpc_code(error) != ERROR_FILE_NOT_FOUND:
                raise WindowsHostError(
                    "cannot delete value \"%s\" of HKEY_LOCAL_MACHINE\\%s on %s: %s" % (name, path, self.host, _rpc_text(error))
                )
        finally:
            self._close_key(handle)

    def delete_key(self, path):
        """Deletes the key with its sub-keys (the protocol deletes only keys without any)."""
        handle = self._open(path)
        if handle is None:
            return
        try:
            names = self._subkeys(handle, path)
        finally:
            self._close_key(handle)
        for name in names:
            self.delete_key(path + "\\" + name)
        parent, _, leaf = path.rpartition("\\")
        parent_handle = self._existing(parent)
        try:
            rrp.hBaseRegDeleteKey(self._registry, parent_handle, leaf)
        except DCERPCException as error:
            if _rpc_code(error) != ERROR_FILE_NOT_FOUND:
                raise WindowsHostError("cannot delete HKEY_LOCAL_MACHINE\\%s on %s: %s" % (path, self.host, _rpc_text(error)))
        finally:
            self._close_key(parent_handle)

    def _existing(self, path):
        handle = self._open(path)
        if handle is None:
            raise WindowsHostError("HKEY_LOCAL_MACHINE\\%s does not exist on %s" % (path, self.host))
        return handle

    # Services -----------------------------------------------------------------------------

    def _service_manager(self):
        if self._services is None:
            try:
                self._services = self._bind(r"\svcctl", scmr.MSRPC_UUID_SCMR)
            except (SessionError, DCERPCException, OSError) as error:
                raise WindowsHostError("the service control manager of %s cannot be reached: %s" % (self.host, _rpc_text(error)))
        return self._services

    def _service_state(self, dce, handle):
        return scmr.hRQueryServiceStatus(dce, handle)["lpServiceStatus"]["dwCurrentState"]

    def restart_service(self, name, wait_seconds=30):
        """Stops the service, waits until it has stopped, starts it again.

        Returns a dict: restarted (bool), state (the last state seen) and message (why not,
        empty when it was restarted). Failures of the service itself are answers, not errors:
        the caller decides what they mean.
        """
        dce = self._service_manager()
        try:
            manager = scmr.hROpenSCManagerW(dce)["lpScHandle"]
        except DCERPCException as error:
            raise WindowsHostError("cannot open the service control manager of %s: %s" % (self.host, _rpc_text(error)))
        try:
            try:
                service = scmr.hROpenServiceW(dce, manager, name + "\x00")["lpServiceHandle"]
            except DCERPCException as error:
                if _rpc_code(error) == ERROR_SERVICE_DOES_NOT_EXIST:
                    return {"restarted": False, "state": "not installed", "message": "service %s is not installed on %s" % (name, self.host)}
                raise WindowsHostError("cannot open service %s on %s: %s" % (name, self.host, _rpc_text(error)))
            try:
                return self._restart(dce, service, name, wait_seconds)
            finally:
                scmr.hRCloseServiceHandle(dce, service)
        finally:
            scmr.hRCloseServiceHandle(dce, manager)

    def _restart(self, dce, service, name, wait_seconds):
        def answer(restarted, message):
            state = self._service_state(dce, service)
            return {"restarted": restarted, "state": SERVICE_STATES.get(state, str(state)), "message": message}

        try:
            scmr.hRControlService(dce, service, scmr.SERVICE_CONTROL_STOP)
        except DCERPCException as error:
            if _rpc_code(error) != ERROR_SERVICE_NOT_ACTIVE:
                return answer(False, "service %s on %s did not stop: %s" % (name, self.host, _rpc_text(error)))
        deadline = time.monotonic() + wait_seconds
        while self._service_state(dce, service) != SERVICE_STOPPED:
            if time.monotonic() > deadline:
                return answer(False, "service %s on %s did not stop within %d seconds" % (name, self.host, wait_seconds))
            time.sleep(0.5)
        try:
            scmr.hRStartServiceW(dce, service)
        except DCERPCException as error:
            return answer(False, "service %s on %s stopped but did not start: %s" % (name, self.host, _rpc_text(error)))
        return answer(True, "")
