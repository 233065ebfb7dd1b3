#pragma once

#include <functional>

// One user action (a command, a pick in a form, a click of a check box) runs inside one hive
// batch: it commits once, whole, and its OK messages appear when it has ended.
class CUserAction {
public:
    static void Run(const std::function<void()>& action);
};
