#pragma once

#include "clienvironment.h"
#include "cliresult.h"

#include <functional>

class CHeadlessSession;

// Whether a command ends like the window's close: save when changed, then the serial service
// restart (Windows NT) or the restart notice (Windows 95/98).
enum class ESessionEnd { Close, Leave };

// One session of the utility on the document, as the window runs it: the driver key is loaded
// and the view's initial update runs before the command acts on the headless tree and forms.
class CCliSession {
public:
    using Command = std::function<SCliResult(CHeadlessSession&)>;

    // Runs a load, the command and (when asked and the command went through) the close
    // sequence inside one batch of the environment; EBatchEnd::Discard keeps nothing.
    static ECliExit Run(CCliEnvironment& environment, EBatchEnd end, ESessionEnd sessionEnd,
                        const Command& command);
};
