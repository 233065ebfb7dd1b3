#include "platformservices.h"

IServiceControlManager*& CPlatformServices::Manager() {
    static IServiceControlManager* manager = nullptr;
    return manager;
}

IHelpRequest*& CPlatformServices::Help() {
    static IHelpRequest* help = nullptr;
    return help;
}

void CPlatformServices::SetServiceControlManager(IServiceControlManager* manager) {
    Manager() = manager;
}

IServiceControlManager* CPlatformServices::ServiceControlManager() {
    return Manager();
}

void CPlatformServices::SetHelpRequest(IHelpRequest* help) {
    Help() = help;
}

IHelpRequest* CPlatformServices::HelpRequest() {
    return Help();
}

IRootFileSystem*& CPlatformServices::Files() {
    static IRootFileSystem* files = nullptr;
    return files;
}

void CPlatformServices::SetRootFileSystem(IRootFileSystem* files) {
    Files() = files;
}

IRootFileSystem* CPlatformServices::RootFileSystem() {
    return Files();
}
