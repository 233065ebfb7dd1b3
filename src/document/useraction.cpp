#include "useraction.h"

#include "appcontext.h"
#include "hive.h"
#include "iuseractionobserver.h"
#include "messageservice.h"
#include "qserdoc.h"
#include "reportedcommit.h"

namespace {
constexpr const char* kGoneSuffix = " no longer exists in the registry; nothing was changed.";
constexpr const char* kChangedDuringAction =
    "Another program changed the registry file during this action; nothing was changed.";
} // namespace

CUserAction::SDeferral::SDeferral() {
    CMessageService::BeginDeferral();
}

CUserAction::SDeferral::~SDeferral() {
    CMessageService::EndDeferral(!m_bWriteFailed);
}

int& CUserAction::Depth() {
    static int depth = 0;
    return depth;
}

CQSERDoc* CUserAction::WatchedDocument() {
    CQSERDoc* doc = CAppContext::ActiveDocument();
    return Depth() == 0 && doc != nullptr && doc->IsLoaded() ? doc : nullptr;
}

CUserAction::CUserAction(CHive* hive)
    : m_pHive(hive != nullptr ? hive : CHive::Current()),
      m_pWatched(m_pHive != nullptr ? WatchedDocument() : nullptr) {
    ++Depth();
    // Before the batch exists, so that the look takes no lock.
    if (m_pWatched != nullptr && m_pHive->ChangedSinceLastLook()) {
        Reload(EReloadCause::AnotherProgram);
        m_bReloaded = true;
    }
    if (m_pWatched != nullptr) {
        m_changedBefore = m_pWatched->m_bConfigChanged;
    }
    m_batch.emplace(m_pHive);
}

CUserAction::~CUserAction() {
    m_batch.reset();
    --Depth();
}

void CUserAction::Reload(EReloadCause cause) {
    CHiveBatch reload(m_pHive);
    m_vanished = m_pWatched->ReloadConfiguration(cause);
    CommitReported(reload);
}

void CUserAction::Undo(EReloadCause cause) {
    m_deferral.m_bWriteFailed = true;
    Reload(cause);
    // The file is as it was before the action, and so is what waits to be saved.
    m_pWatched->m_bConfigChanged = m_changedBefore;
}

bool CUserAction::Commit() {
    // Inside the batch the look answers for the state the batch began on: no other program can
    // commit while the batch holds the write lock.
    if (m_pWatched != nullptr && m_pHive->ChangedSinceLastLook()) {
        m_batch->Rollback();
        Undo(EReloadCause::AnotherProgram);
        CMessageService::Error(kChangedDuringAction);
        return false;
    }
    const bool written = CommitReported(*m_batch);
    m_deferral.m_bWriteFailed = !written;
    if (!written && m_pWatched != nullptr) {
        // The records still hold what the store refused; the file is what counts.
        Undo(EReloadCause::UnwrittenAction);
    }
    return written;
}

bool CUserAction::Run(const std::function<void()>& action, EAfterReload afterReload) {
    bool written = false;
    {
        CUserAction userAction;
        if (userAction.m_bReloaded && afterReload == EAfterReload::Skip) {
            if (!userAction.m_vanished.empty()) {
                CMessageService::Error(userAction.m_vanished + kGoneSuffix);
            }
        } else {
            action();
            written = userAction.Commit();
        }
    }
    NotifyFinished();
    return written;
}

void CUserAction::Refresh() {
    bool reloaded = false;
    {
        CUserAction look;
        reloaded = look.m_bReloaded;
    }
    if (reloaded) {
        NotifyFinished();
    }
}

void CUserAction::NotifyFinished() {
    // Actions nest (a command that runs another); only the end of the outermost one is told.
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
