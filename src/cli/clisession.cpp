#include "clisession.h"

#include "climessagebox.h"
#include "closesequence.h"
#include "headlesssession.h"

ECliExit CCliSession::Run(CCliEnvironment& environment, EBatchEnd end, ESessionEnd sessionEnd,
                          const Command& command) {
    return environment.RunBatch(end, [&environment, sessionEnd, &command] {
        CHeadlessSession session(environment.References());
        // A failed load has shown its message; the window would not have started either.
        if (!session.Start()) {
            return SCliResult::Fail();
        }
        SCliResult result = command(session);
        if (result.status == ECliExit::Success && !environment.Messages().Declined() &&
            sessionEnd == ESessionEnd::Close) {
            CCloseSequence::Run(&session.Doc());
        }
        return result;
    });
}
