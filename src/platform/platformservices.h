#pragma once

class IServiceControlManager;
class IHelpRequest;
class IRootFileSystem;

// The operating-system services a process has installed, for the code that the original wrote
// against global calls. Not owned; null until installed (by the document layer's process scope,
// which puts back the previous ones), and callers then do without.
class CPlatformServices {
public:
    static IServiceControlManager* ServiceControlManager();
    static IHelpRequest* HelpRequest();
    // The files of the Linux system the Linux family configures (--root, default "/").
    static IRootFileSystem* RootFileSystem();

private:
    friend class CProcessScope;
    static void SetServiceControlManager(IServiceControlManager* manager);
    static void SetHelpRequest(IHelpRequest* help);
    static void SetRootFileSystem(IRootFileSystem* files);
    static IRootFileSystem*& Files();
    static IServiceControlManager*& Manager();
    static IHelpRequest*& Help();
};
