#include "occupant.h"

#include "driverkeystore.h"
#include "keypaths.h"

std::string SOccupant::Label() const {
    switch (kind) {
    case EKind::Port:
        return std::string(name) + " of " + std::string(boardName);
    case EKind::VectorRegister:
        return "the vector register of " + std::string(boardName);
    case EKind::Machine:
        return std::string(name);
    case EKind::Foreign:
        break;
    }
    // A person knows the machine's own ports by their COM names; the key finds the entry.
    if (comNumber) {
        return "the system's port COM" + std::to_string(*comNumber) + " (" + std::string(name) +
               ")";
    }
    return "the system's port " + std::string(name);
}

std::string SOccupant::KeyPath() const {
    switch (kind) {
    case EKind::Port:
        return PortKeyPath(std::string(boardName), std::string(name));
    case EKind::VectorRegister:
        return BoardKeyPath(std::string(boardName));
    case EKind::Foreign:
    case EKind::Machine:
        break;
    }
    return std::string(foreignKeyPath);
}
