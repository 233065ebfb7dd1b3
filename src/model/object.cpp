#include "object.h"

#include <cstring>

const char* CObject::GetRuntimeClassName() const {
    return "CObject";
}

bool CObject::IsKindOf(const char* className) const {
    return std::strcmp(className, "CObject") == 0 ||
           std::strcmp(className, GetRuntimeClassName()) == 0;
}
