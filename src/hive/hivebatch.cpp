#include "hivebatch.h"

#include "hiveimpl.h"

CHiveBatch::CHiveBatch(CHive* hive, EBatchAccess access)
    : m_pHive(hive != nullptr ? hive : CHive::Current()) {
    if (m_pHive != nullptr) {
        m_pHive->m_pImpl->BeginBatch(access);
    }
}

CHiveBatch::~CHiveBatch() {
    Rollback();
}

ECommitStatus CHiveBatch::Commit() {
    if (m_pHive == nullptr) {
        return ECommitStatus::Committed;
    }
    if (m_bDone) {
        return ECommitStatus::Lost;
    }
    m_bDone = true;
    return m_pHive->m_pImpl->EndBatch(true);
}

void CHiveBatch::Rollback() {
    if (m_bDone || m_pHive == nullptr) {
        return;
    }
    m_bDone = true;
    m_pHive->m_pImpl->EndBatch(false);
}

std::string CHiveBatch::FailureReason() const {
    return m_pHive != nullptr ? m_pHive->m_pImpl->FailureReason() : std::string();
}
