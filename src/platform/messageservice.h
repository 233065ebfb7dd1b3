#pragma once

#include "imessagebox.h"

#include <string>
#include <vector>

// The process-wide route of every message box. With no box installed, OK boxes are dropped and
// questions are answered No, so code running without a user never goes ahead with a destructive
// step by accident.
//
// While deferral is active (a user action is open), OK boxes are queued and shown in order
// when the outermost deferral ends, so no dialog waits on a person while the hive is locked.
// A question flushes the queue first, so messages keep their order. When an action whose changes
// could not be written ends, the notices (information boxes) still queued are dropped: they
// would announce what did not happen. Its failures are still shown.
//
// The box is installed by the document layer's process scope, which puts back the previous one.
class CMessageService {
public:
    static IMessageBox* Installed();

    static EMsgResult Show(const std::string& text, EMsgButtons buttons = EMsgButtons::Ok,
                           EMsgIcon icon = EMsgIcon::None);
    static void Error(const std::string& text) { Show(text, EMsgButtons::Ok, EMsgIcon::None); }
    static void Notice(const std::string& text) {
        Show(text, EMsgButtons::Ok, EMsgIcon::Information);
    }
    static bool Confirm(const std::string& text) {
        return Show(text, EMsgButtons::YesNo, EMsgIcon::Question) == EMsgResult::Yes;
    }

    static void BeginDeferral();
    // written: false when the action that deferred could not write its changes.
    static void EndDeferral(bool written = true);

private:
    friend class CProcessScope;
    static void Install(IMessageBox* box);

    struct SPending {
        std::string text;
        EMsgIcon icon;
    };
    static void Flush();
    static IMessageBox*& Box();
    static int& Depth();
    static std::vector<SPending>& Pending();
    static bool& NoticesVoid();
};
