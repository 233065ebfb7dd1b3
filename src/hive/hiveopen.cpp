// Opening a file picks its store by the file's content. This is the one place that knows every
// store: a new store adds its test and its Open here.
#include "hive.h"
#include "hivefile.h"
#include "hiveimpl.h"
#include "hiveschema.h"
#include "hivexstore.h"
#include "sqliteconnection.h"
#include "sqliteerror.h"
#include "sqlitestore.h"

std::unique_ptr<CHive> CHive::Open(const std::string& path, EHiveOpen mode) {
    // A Windows hive begins with "regf"; everything else must be our own SQLite file, whose
    // check refuses what it is not.
    const bool windowsHiveFile = CHivexStore::IsHiveFile(path);
    std::string readOnlyReason;
    std::unique_ptr<IRegistryStore> store;
    if (windowsHiveFile) {
        store = CHivexStore::Open(path, mode, readOnlyReason);
    } else {
        store = CSqliteStore::Open(path, mode, readOnlyReason);
    }
    return std::unique_ptr<CHive>(new CHive(std::make_unique<SImpl>(
        path, std::move(store), std::move(readOnlyReason), windowsHiveFile)));
}

std::unique_ptr<CHive> CHive::OpenInMemory() {
    try {
        return std::unique_ptr<CHive>(new CHive(std::make_unique<SImpl>(
            kInMemoryPath, std::make_unique<CSqliteStore>(CHiveSchema::OpenInMemory()), "",
            false)));
    } catch (const CSqliteError& error) {
        throw CHiveFile::Refusal(kInMemoryPath, error.Reason());
    }
}
