#include "linuxapply.h"

#include "irootfilesystem.h"
#include "iservicecontrolmanager.h"
#include "messageservice.h"
#include "serialservice.h"

namespace {
constexpr const char* kByHand =
    "run \"setserial -z DEVICE ARGS\" as root for each line of /etc/serial.conf, or restart the "
    "machine";

std::string Advice(Win32Status error, const IRootFileSystem* files) {
    if (files != nullptr && !files->IsRunningSystem()) {
        return "The ports were written under " + files->Root() +
               ", which is not the running system: they take effect when that system starts.";
    }
    switch (error) {
    case RPC_S_SERVER_UNAVAILABLE:
        return std::string("systemd does not run here, so the ports were not applied: ") + kByHand +
               ".";
    case ERROR_SERVICE_DOES_NOT_EXIST:
        return std::string("etc-setserial.service is not installed (Debian's setserial package "
                           "brings it, and applies /etc/serial.conf at every boot): install it, "
                           "or ") +
               kByHand + ".";
    case ERROR_ACCESS_DENIED:
        return "Only root may restart etc-setserial.service: run \"systemctl restart "
               "etc-setserial.service\" and \"udevadm control --reload\" as root, or restart the "
               "machine.";
    default:
        return "etc-setserial.service could not apply the ports (see \"journalctl -u "
               "etc-setserial.service\"): check /etc/serial.conf, then run \"systemctl restart "
               "etc-setserial.service\" as root.";
    }
}
} // namespace

void CLinuxApply::Run(IServiceControlManager* manager, const IRootFileSystem* files) {
    if (manager == nullptr) {
        CMessageService::Notice(Advice(RPC_S_SERVER_UNAVAILABLE, files));
        return;
    }
    CSerialService::StopSerialService(manager);
    if (CSerialService::StartSerialService(manager) == 0) {
        CMessageService::Notice(Advice(manager->GetLastError(), files));
        return;
    }
    CMessageService::Notice("etc-setserial.service applied /etc/serial.conf, and udev made the "
                            "links /dev/serial/by-com/COMn.");
}
