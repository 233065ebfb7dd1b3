#include "findinglocator.h"

#include "boardobj.h"
#include "portobj.h"
#include "qserdoc.h"
#include "stringtable.h"

#include <strings.h>

namespace {
bool SameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}
} // namespace

HTREEITEM CFindingLocator::ItemOf(const CQSERDoc& doc, const std::string& keyPath) {
    const std::string prefix = DriverKeyPath() + "\\";
    if (keyPath.size() <= prefix.size() ||
        strncasecmp(keyPath.c_str(), prefix.c_str(), prefix.size()) != 0) {
        return nullptr;
    }
    const std::string rest = keyPath.substr(prefix.size());
    const std::size_t separator = rest.find('\\');
    const std::string boardName = rest.substr(0, separator);
    for (const CBoardObj* board : doc.m_boardList) {
        if (!SameName(board->GetBoardName(), boardName)) {
            continue;
        }
        if (separator == std::string::npos) {
            return board->m_hTreeItem;
        }
        for (const CPortObj* port : board->m_PortList) {
            if (SameName(port->GetPortName(), rest.substr(separator + 1))) {
                return port->m_hTreeItem;
            }
        }
    }
    return nullptr;
}
