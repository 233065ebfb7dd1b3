#include "keypaths.h"

const std::string& ServicesKeyPath() {
    static const std::string path = "SYSTEM\\CurrentControlSet\\Services\\";
    return path;
}

const std::string& SerialServiceKeyPath() {
    static const std::string path = ServicesKeyPath() + "Serial";
    return path;
}

const std::string& SerialParametersKeyPath() {
    static const std::string path = SerialServiceKeyPath() + "\\Parameters";
    return path;
}

const std::string& ClassPortsKeyPath() {
    static const std::string path = ServicesKeyPath() + "Class\\Ports";
    return path;
}

const std::string& EnumRootPortsKeyPath() {
    static const std::string path = "Enum\\Root\\Ports";
    return path;
}
