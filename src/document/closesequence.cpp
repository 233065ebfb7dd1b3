#include "closesequence.h"

#include "messageservice.h"
#include "platformfamily.h"
#include "platformservices.h"
#include "qserdoc.h"
#include "serialservice.h"

void CCloseSequence::Run(CQSERDoc* doc) {
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
