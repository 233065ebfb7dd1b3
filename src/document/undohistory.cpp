#include "undohistory.h"

#include "appcontext.h"
#include "hive.h"
#include "hivebatch.h"
#include "keypaths.h"
#include "messageservice.h"
#include "qserdoc.h"
#include "stringtable.h"

#include <optional>

namespace {
constexpr const char* kUnableToWrite = "Unable to write to registry";
} // namespace

bool CUndoHistory::Run(const std::string& name, const std::function<void()>& action,
                       const std::vector<CRegistrySnapshot::SRoot>& extraRoots) {
    // A step of its own inside another (a fix made of picks) is part of that one.
    static int depth = 0;
    CUndoHistory* history = name.empty() || depth > 0 ? nullptr : Current();
    CHive* hive = CHive::Current();
    if (history == nullptr || hive == nullptr) {
        return CUserAction::Run(action);
    }
    struct SDepth {
        SDepth() { ++depth; }
        ~SDepth() { --depth; }
        SDepth(const SDepth&) = delete;
        SDepth& operator=(const SDepth&) = delete;
    } inside;
    // Read before the action's batch begins, so that no lock is held while the action asks
    // its question; a change another program makes in between is met by the action's own look.
    const std::vector<CRegistrySnapshot::SRoot> roots = Roots(*hive, extraRoots);
    const CRegistrySnapshot before = CRegistrySnapshot::Capture(*hive, roots);
    std::optional<CRegistrySnapshot> after;
    const unsigned generation = history->m_generation;
    const bool kept = CUserAction::Run([&] {
        action();
        // Inside the batch: nobody else can have written since the action did.
        after = CRegistrySnapshot::Capture(*hive, roots);
    });
    if (kept && after && generation == history->m_generation) {
        CRegistryChange change = CRegistryChange::Between(before, *after);
        if (!change.IsEmpty()) {
            history->Push({name, std::move(change)});
        }
    }
    return kept;
}

std::vector<CRegistrySnapshot::SRoot>
CUndoHistory::Roots(CHive& hive, const std::vector<CRegistrySnapshot::SRoot>& extraRoots) {
    std::vector<CRegistrySnapshot::SRoot> roots;
    for (const std::string* path : {&DriverKeyPath(), &SerialParametersKeyPath(),
                                    &ClassPortsKeyPath(), &EnumRootPortsKeyPath()}) {
        roots.push_back(CRegistrySnapshot::Reach(hive, *path, true));
    }
    roots.insert(roots.end(), extraRoots.begin(), extraRoots.end());
    return roots;
}

void CUndoHistory::Push(SStep step) {
    m_redo.clear();
    m_undo.push_back(std::move(step));
    if (m_undo.size() > kMaxSteps) {
        m_undo.erase(m_undo.begin());
    }
}

std::string CUndoHistory::UndoName() const {
    return m_undo.empty() ? std::string() : m_undo.back().name;
}

std::string CUndoHistory::RedoName() const {
    return m_redo.empty() ? std::string() : m_redo.back().name;
}

bool CUndoHistory::Undo() {
    return Step(m_undo, m_redo, &CRegistryChange::RestoreBefore);
}

bool CUndoHistory::Redo() {
    return Step(m_redo, m_undo, &CRegistryChange::RestoreAfter);
}

bool CUndoHistory::Step(std::vector<SStep>& from, std::vector<SStep>& to, Restore restore) {
    CHive* hive = CHive::Current();
    CQSERDoc* doc = CAppContext::ActiveDocument();
    if (from.empty() || hive == nullptr || doc == nullptr || doc->IsReadOnly()) {
        return false;
    }
    const unsigned generation = m_generation;
    const SStep step = from.back();
    bool restored = false;
    const bool kept = CUserAction::Run([&] {
        // An inner batch that ends without Commit() takes the whole action back with it.
        CHiveBatch inner(hive);
        if ((step.change.*restore)(*hive) != ERROR_SUCCESS) {
            CMessageService::Error(kUnableToWrite);
            return;
        }
        inner.Commit();
        // The records follow the registry; the views are not told of another program.
        doc->ReloadConfiguration(EReloadCause::UnwrittenAction);
        doc->m_bConfigChanged = 1;
        restored = true;
    });
    if (!kept || !restored || generation != m_generation) {
        return false;
    }
    to.push_back(std::move(from.back()));
    from.pop_back();
    return true;
}

void CUndoHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
    ++m_generation;
}

CUndoHistory* CUndoHistory::Current() {
    return Slot();
}

void CUndoHistory::SetCurrent(CUndoHistory* history) {
    Slot() = history;
}

CUndoHistory*& CUndoHistory::Slot() {
    static CUndoHistory* history = nullptr;
    return history;
}
