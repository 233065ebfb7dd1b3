#include "useraction.h"

#include "hivebatch.h"

#include <utility>

namespace {
int& Depth() {
    static int depth = 0;
    return depth;
}
} // namespace

void CUserAction::Run(const std::function<void()>& action) {
    {
        CHiveBatch batch;
        ++Depth();
        action();
        --Depth();
        batch.Commit();
    }
    if (Depth() == 0 && FinishedObserver()) {
        FinishedObserver()();
    }
}

void CUserAction::SetFinishedObserver(std::function<void()> observer) {
    FinishedObserver() = std::move(observer);
}

std::function<void()>& CUserAction::FinishedObserver() {
    static std::function<void()> observer;
    return observer;
}
