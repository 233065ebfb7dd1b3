#include "reportedcommit.h"

#include "hivebatch.h"
#include "messageservice.h"
#include "registrymessages.h"

bool CommitReported(CHiveBatch& batch) {
    const ECommitStatus status = batch.Commit();
    if (status == ECommitStatus::WriteFailed) {
        CMessageService::Error(kWriteRegistryFailed);
    }
    return status == ECommitStatus::Committed;
}
