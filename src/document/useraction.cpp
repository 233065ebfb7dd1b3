#include "useraction.h"

#include "iuseractionobserver.h"
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

namespace {
// Actions nest (a command that runs another); only the outermost one tells the observer.
int& Depth() {
    static int depth = 0;
    return depth;
}
} // namespace

void CUserAction::Run(const std::function<void()>& action) {
    {
        CUserAction userAction;
        ++Depth();
        action();
        --Depth();
        userAction.Commit();
    }
    if (Depth() == 0 && Observer() != nullptr) {
        Observer()->OnUserActionFinished();
    }
}

IUserActionObserver* CUserAction::Observer() {
    return ObserverSlot();
}

void CUserAction::SetObserver(IUserActionObserver* observer) {
    ObserverSlot() = observer;
}

IUserActionObserver*& CUserAction::ObserverSlot() {
    static IUserActionObserver* observer = nullptr;
    return observer;
}
