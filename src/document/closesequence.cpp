#include "closesequence.h"

#include "hive.h"
#include "linuxapply.h"
#include "messageservice.h"
#include "platformfamily.h"
#include "platformservices.h"
#include "qserdoc.h"
#include "serialservice.h"

void CCloseSequence::Run(CQSERDoc* doc) {
    // Nothing was changed, and saving or restarting the service would only fail, box by box.
    if (const CHive* hive = CHive::Current(); hive != nullptr && hive->IsReadOnly()) {
        return;
    }
    if (doc != nullptr && doc->m_bConfigChanged != 0) {
        CMessageService::Notice(IsLinux() ? "Saving the configuration and registering its ports "
                                            "with Linux."
                                          : "Set configruation to Windows Registry!");
        doc->SaveConfiguration();
    }
    if (IsLinux()) {
        CLinuxApply::Run(CPlatformServices::ServiceControlManager(),
                         CPlatformServices::RootFileSystem());
        return;
    }
    if (IsWindows9x()) {
        CMessageService::Notice("Restart Windows95/98 to make this setting work!");
        return;
    }
    IServiceControlManager* manager = CPlatformServices::ServiceControlManager();
    CSerialService::StopSerialService(manager);
    CSerialService::StartSerialService(manager);
}
