#include "messageservice.h"

IMessageBox*& CMessageService::Box() {
    static IMessageBox* box = nullptr;
    return box;
}

int& CMessageService::Depth() {
    static int depth = 0;
    return depth;
}

std::vector<CMessageService::SPending>& CMessageService::Pending() {
    static std::vector<SPending> pending;
    return pending;
}

bool& CMessageService::NoticesVoid() {
    static bool noticesVoid = false;
    return noticesVoid;
}

void CMessageService::Install(IMessageBox* box) {
    Box() = box;
}

IMessageBox* CMessageService::Installed() {
    return Box();
}

EMsgResult CMessageService::Show(const std::string& text, EMsgButtons buttons, EMsgIcon icon) {
    if (buttons == EMsgButtons::Ok && Depth() > 0) {
        Pending().push_back({text, icon});
        return EMsgResult::Ok;
    }
    Flush();
    if (Box() == nullptr) {
        return buttons == EMsgButtons::Ok ? EMsgResult::Ok : EMsgResult::No;
    }
    return Box()->Show(text, buttons, icon);
}

void CMessageService::BeginDeferral() {
    ++Depth();
}

void CMessageService::EndDeferral(bool written) {
    if (Depth() == 0) {
        return;
    }
    if (!written) {
        NoticesVoid() = true;
    }
    if (--Depth() > 0) {
        return;
    }
    if (NoticesVoid()) {
        std::erase_if(Pending(), [](const SPending& message) {
            return message.icon == EMsgIcon::Information;
        });
        NoticesVoid() = false;
    }
    Flush();
}

void CMessageService::Flush() {
    std::vector<SPending> pending;
    pending.swap(Pending());
    for (const SPending& message : pending) {
        if (Box() != nullptr) {
            Box()->Show(message.text, EMsgButtons::Ok, message.icon);
        }
    }
}
