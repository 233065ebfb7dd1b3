#include "closesequence.h"

#include "hive.h"
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
        CMessageService::Notice("Set configruation to Windows Registry!");
        doc->SaveConfiguration();
    }
    if (IsWindows9x()) {
        CMessageService::Notice("Restart Windows95/98 to make this setting work!");
        return;
    }
    IServiceControlManager* manager = CPlatformServices::ServiceControlManager();
    CSerialService::StopSerialService(manager);
    CSerialService::StartSerialService(manager);
}
