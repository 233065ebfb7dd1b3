#pragma once

#include <string>

enum class EMsgButtons { Ok, YesNo };
enum class EMsgIcon { None, Information, Question };
enum class EMsgResult { Ok, Yes, No };

inline constexpr const char* kMessageBoxCaption = "QSER";

// One message box of the system. Implementations show it (window), print it (command line) or
// record it (tests). The caption is always kMessageBoxCaption.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual EMsgResult Show(const std::string& text, EMsgButtons buttons, EMsgIcon icon) = 0;
};
