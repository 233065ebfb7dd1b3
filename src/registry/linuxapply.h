#pragma once

class IRootFileSystem;
class IServiceControlManager;

// What the close sequence does on Linux once the ports are saved: restart the serial service
// (etc-setserial.service, which applies /etc/serial.conf, and udev's rules) through the service
// control manager, and say what happened. Where that cannot be done (the root is not the
// running system, no systemd, no such unit, no right) it says what the person has to do
// instead; nothing of it is an error of the configuration.
class CLinuxApply {
public:
    static void Run(IServiceControlManager* manager, const IRootFileSystem* files);
};
