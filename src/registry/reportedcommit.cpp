#include "reportedcommit.h"

#include "hivebatch.h"
#include "messageservice.h"
#include "registrymessages.h"

bool CommitReported(CHiveBatch& batch) {
    const ECommitStatus status = batch.Commit();
    if (status == ECommitStatus::WriteFailed) {
        const std::string reason = batch.FailureReason();
        CMessageService::Error(reason.empty() ? std::string(kWriteRegistryFailed)
                                              : std::string(kWriteRegistryFailed) + ": " + reason);
    }
    return status == ECommitStatus::Committed;
}
