#pragma once

class IServiceControlManager;

// Stop and start of the Windows NT serial port service "Serial", so that it takes up the ports
// that the registration entered. Nothing is shown; every failure ends in a result.
class CSerialService {
public:
    // Non-zero when the stop was accepted; 1 when the service refuses a stop control; else 0.
    static int StopSerialService(IServiceControlManager* manager);
    // Non-zero when the start was accepted; 1 when the service is already running or is marked
    // for deletion; else 0.
    static int StartSerialService(IServiceControlManager* manager);
};
