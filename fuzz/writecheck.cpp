#include "writecheck.h"

#include "boardobj.h"
#include "keypaths.h"
#include "portobj.h"
#include "qserdoc.h"
#include "stringtable.h"

#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace {
bool Under(const std::string& path, const std::string& top) {
    return strncasecmp(path.c_str(), top.c_str(), top.size()) == 0 &&
           (path.size() == top.size() || path[top.size()] == '\\');
}
} // namespace

void CWriteCheck::Allow(CQSERDoc& doc) {
    for (const CBoardObj* board : doc.m_boardList) {
        for (const CPortObj* port : board->m_PortList) {
            const std::string& instance = port->GetPortSerialPort();
            if (m_instances.insert(instance).second) {
                m_instanceKeys.push_back(SerialInstanceKeyPath(instance));
                m_instanceKeys.push_back(ClassInstanceKeyPath(instance));
                m_instanceKeys.push_back(DeviceInstanceKeyPath(instance));
            }
        }
    }
}

void CWriteCheck::Verify() const {
    static const bool strict = std::getenv("QSER_FUZZ_STRICT_OWNERSHIP") != nullptr;
    for (const auto& [path, value] : m_writes) {
        // The Windows NT registration writes the serial service's own values too.
        bool serviceValues = strcasecmp(path.c_str(), SerialServiceKeyPath().c_str()) == 0;
        // The bits of our ports in the COM name database (the tree walk checks which bits).
        bool comDB = strcasecmp(path.c_str(), ComNameArbiterKeyPath().c_str()) == 0 &&
                     strcasecmp(value.c_str(), "ComDB") == 0;
        if (Under(path, DriverKeyPath()) || Named(path) || serviceValues || comDB) {
            continue;
        }
        bool instanceFolder = Under(path, SerialParametersKeyPath()) ||
                              Under(path, ClassPortsKeyPath()) ||
                              Under(path, EnumRootPortsKeyPath());
        if (instanceFolder && !strict) {
            continue;
        }
        std::fprintf(stderr, "write or delete outside what the configuration owns: %s\n",
                     path.c_str());
        std::abort();
    }
}

bool CWriteCheck::Named(const std::string& path) const {
    for (const std::string& key : m_instanceKeys) {
        if (Under(path, key)) {
            return true;
        }
    }
    return false;
}
