#pragma once

#include <functional>

// One user action (a command, a pick in a form, a click of a check box) runs inside one hive
// batch: it commits once, whole, and its OK messages appear when it has ended.
class CUserAction {
public:
    static void Run(const std::function<void()>& action);

    // Called after every outermost action has ended (its batch closed and its messages shown),
    // so that a window can bring what it derives from the registry up to date. Empty: nothing
    // is called.
    static void SetFinishedObserver(std::function<void()> observer);

private:
    static std::function<void()>& FinishedObserver();
};
