#pragma once

#include "hivebatch.h"

#include <functional>

class IUserActionObserver;

// One user action (a command, a pick in a form, a click of a check box, the load at start-up)
// runs inside one hive batch: it commits once, whole, and its OK messages appear, in order,
// when it has ended, so no dialog waits on a person while the hive is locked. A store that
// could not be written is reported as "Unable to write to registry", after the action's own
// messages. Destroyed without Commit(), the action keeps nothing of what it wrote.
class CUserAction {
public:
    explicit CUserAction(CHive* hive = nullptr); // null: the current hive
    CUserAction(const CUserAction&) = delete;
    CUserAction& operator=(const CUserAction&) = delete;

    // true when the action's writes were kept (or joined an enclosing action).
    bool Commit();

    // Runs action as one user action and commits it.
    static void Run(const std::function<void()>& action);

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
    };

    SDeferral m_deferral;
    CHiveBatch m_batch;

    static void SetObserver(IUserActionObserver* observer);
    static IUserActionObserver*& ObserverSlot();
    friend class CProcessScope;
};
