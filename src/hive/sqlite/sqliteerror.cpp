#include "sqliteerror.h"

#include "sqlitefile.h"

std::string CSqliteError::Reason() const {
    return CSqliteFile::Reason(*this);
}
