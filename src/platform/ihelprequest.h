#pragma once

inline constexpr unsigned HELP_CONTENTS = 3;

// Opens the application's help. The window shows the bundled help pages; headless sessions
// record or print the request.
class IHelpRequest {
public:
    virtual ~IHelpRequest() = default;
    virtual void WinHelp(unsigned data, unsigned command) = 0;
};
