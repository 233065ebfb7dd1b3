#pragma once

class IServiceControlManager;
class IHelpRequest;

// The operating-system services a process has installed, for the code that the original wrote
// against global calls. Not owned; null until installed, and callers then do without.
class CPlatformServices {
public:
    static void SetServiceControlManager(IServiceControlManager* manager);
    static IServiceControlManager* ServiceControlManager();
    static void SetHelpRequest(IHelpRequest* help);
    static IHelpRequest* HelpRequest();

private:
    static IServiceControlManager*& Manager();
    static IHelpRequest*& Help();
};
