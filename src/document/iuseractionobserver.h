#pragma once

// Told when an outermost user action has ended: its batch is closed and its messages have been
// shown, so what a window derives from the registry can be brought up to date.
class IUserActionObserver {
public:
    virtual ~IUserActionObserver() = default;
    virtual void OnUserActionFinished() = 0;
};
