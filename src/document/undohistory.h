#pragma once

#include "registrychange.h"
#include "registrysnapshot.h"
#include "useraction.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Undo and Redo of the window's user actions. An action run through Run() is recorded by what
// its batch changed in the registry: the keys under the roots it can reach (the driver key and
// the parents of the operating-system instance keys, plus any roots the caller adds, such as
// the keys an imported file names), read before the action and again inside its batch at its
// end. Undo puts those keys back as they were before, as a new user action of its own (the
// same look for another program's change, the same reload and failure rules), and loads the
// configuration again from the registry; Redo puts them back as they were after. An undone or
// redone step marks the configuration changed, so that closing registers the ports again.
//
// The history is cleared when another program changes the file (the records it would put back
// are no longer the file's) and when another configuration is opened. Actions run without a
// history installed, or with an empty name, are not recorded (the load, Save, the close).
class CUndoHistory {
public:
    CUndoHistory() = default;
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    // Runs action as one user action (CUserAction::Run) and, when a history is installed and
    // the action changed something and was kept, records it under name ("Add Port", "IRQ").
    // extraRoots are read besides the configuration's own. true when the action was kept.
    static bool Run(const std::string& name, const std::function<void()>& action,
                    const std::vector<CRegistrySnapshot::SRoot>& extraRoots = {});
    // The installed history (by a process scope), or null.
    static CUndoHistory* Current();

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // The name of the step Undo or Redo would take back or do again; empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;
    // true when the step was put back and kept; otherwise the step stays where it was and the
    // failure has been reported.
    bool Undo();
    bool Redo();
    // Forgets every step.
    void Clear();
    std::size_t Size() const { return m_undo.size() + m_redo.size(); }

    // At most this many steps are kept; the oldest goes first.
    static constexpr std::size_t kMaxSteps = 100;

private:
    struct SStep {
        std::string name;
        CRegistryChange change;
    };
    using Restore = Win32Status (CRegistryChange::*)(CHive&) const;
    bool Step(std::vector<SStep>& from, std::vector<SStep>& to, Restore restore);
    void Push(SStep step);
    static std::vector<CRegistrySnapshot::SRoot>
    Roots(CHive& hive, const std::vector<CRegistrySnapshot::SRoot>& extraRoots);

    std::vector<SStep> m_undo;
    std::vector<SStep> m_redo;
    // Moves on with every Clear(), so that a step taken while the history was cleared (another
    // program's change met by the undo itself) is not put back.
    unsigned m_generation = 0;

    static void SetCurrent(CUndoHistory* history);
    static CUndoHistory*& Slot();
    friend class CProcessScope;
};
