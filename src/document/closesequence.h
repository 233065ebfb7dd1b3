#pragma once

class CQSERDoc;

// What closing the main window does before the window goes, the same for the window's close
// button, File Exit, the Exit button and a command-line session: save a pending change with its
// notice, then on Windows 95/98 ask for a restart, or on Windows NT stop and start the serial
// service, or on Linux restart the unit that applies /etc/serial.conf (or say what to do
// instead). Offers no way to cancel. On a registry that cannot be written it does nothing.
class CCloseSequence {
public:
    static void Run(CQSERDoc* doc);
};
