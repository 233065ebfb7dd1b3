#include "useraction.h"

#include "hivebatch.h"

void CUserAction::Run(const std::function<void()>& action) {
    CHiveBatch batch;
    action();
    batch.Commit();
}
