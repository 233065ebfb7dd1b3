#include "occupant.h"

std::string SOccupant::Label() const {
    switch (kind) {
    case EKind::Port:
        return name + " of " + boardName;
    case EKind::VectorRegister:
        return "the vector register of " + boardName;
    case EKind::Foreign:
        break;
    }
    return "the system's port " + name;
}
