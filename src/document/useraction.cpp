#include "useraction.h"

#include "messageservice.h"
#include "reportedcommit.h"

CUserAction::SDeferral::SDeferral() {
    CMessageService::BeginDeferral();
}

CUserAction::SDeferral::~SDeferral() {
    CMessageService::EndDeferral();
}

CUserAction::CUserAction(CHive* hive) : m_batch(hive) {}

bool CUserAction::Commit() {
    return CommitReported(m_batch);
}

void CUserAction::Run(const std::function<void()>& action) {
    CUserAction userAction;
    action();
    userAction.Commit();
}
