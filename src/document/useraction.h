#pragma once

#include "hivebatch.h"

#include <functional>
#include <optional>
#include <string>

class CHive;
class CQSERDoc;
enum class EReloadCause;

// What an action does when, at its start, the configuration had to be loaded again because
// another program changed the registry: it does not run (the person chose it on records the
// file no longer holds), or it runs on the records just loaded (the close, which must end the
// session whatever happened).
enum class EAfterReload { Skip, Act };

class IUserActionObserver;

// One user action (a command, a pick in a form, a click of a check box, the load at start-up)
// runs inside one hive batch: it commits once, whole, and its OK messages appear, in order,
// when it has ended, so no dialog waits on a person while the hive is locked. A store that
// could not be written is reported as "Unable to write to registry", after the action's own
// messages, and the notices of an action that could not be written are dropped. Destroyed
// without Commit(), the action keeps nothing of what it wrote.
//
// The outermost action of a loaded active document first asks the hive whether another
// program changed it since the document last read it, and if so loads the configuration
// again. That look takes no lock, so that a question the action asks waits on no one; at
// Commit() the action looks again inside its batch, and if another program committed between
// the two looks, everything the action did is rolled back, the configuration is loaded again
// and the person is told that nothing was changed. An action whose batch could not be written
// loads the configuration again too, so that no later action works on records the file never
// took; either way the changed flag is put back as it was before the action. See
// document/DESIGN.md.
class CUserAction {
public:
    explicit CUserAction(CHive* hive = nullptr); // null: the current hive
    ~CUserAction();
    CUserAction(const CUserAction&) = delete;
    CUserAction& operator=(const CUserAction&) = delete;

    // true when the action's writes were kept (or joined an enclosing action).
    bool Commit();

    // Runs action as one user action and commits it. With Skip, an action that meets a reload
    // does not run, and when the item selected before no longer exists a message names it.
    // true when the action ran and its writes were kept.
    static bool Run(const std::function<void()>& action,
                    EAfterReload afterReload = EAfterReload::Skip);
    // The look of an action that does nothing else: the window's when it is activated.
    static void Refresh();

    // Told after every outermost action run by Run() has ended; null until a process scope
    // installs one.
    static IUserActionObserver* Observer();

private:
    // Defers the OK messages from before the batch begins until after it has ended.
    struct SDeferral {
        SDeferral();
        ~SDeferral();
        SDeferral(const SDeferral&) = delete;
        SDeferral& operator=(const SDeferral&) = delete;
        bool m_bWriteFailed = false;
    };
    static int& Depth();
    // The document to keep in step with the hive: the active one when this action is the
    // outermost and that document has loaded.
    static CQSERDoc* WatchedDocument();
    void Reload(EReloadCause cause);
    // After a rollback: the records, and the changed flag, as the file has them.
    void Undo(EReloadCause cause);

    SDeferral m_deferral;
    CHive* m_pHive;
    CQSERDoc* m_pWatched = nullptr;
    bool m_bReloaded = false;
    int m_changedBefore = 0;
    std::string m_vanished;
    std::optional<CHiveBatch> m_batch;

    static void NotifyFinished();
    static void SetObserver(IUserActionObserver* observer);
    static IUserActionObserver*& ObserverSlot();
    friend class CProcessScope;
};
