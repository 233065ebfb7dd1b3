#include "regfileimporter.h"

#include "hivebatch.h"
#include "hivepath.h"
#include "regfilereader.h"

bool CRegFileImporter::Import(const std::string& fileName, std::span<const std::uint8_t> bytes) {
    CRegFileReader reader(fileName);
    if (!reader.Read(bytes)) {
        m_error = reader.Error();
        return false;
    }
    return Apply(fileName, reader.Operations());
}

bool CRegFileImporter::Apply(const std::string& fileName,
                             const std::vector<SRegFileOperation>& operations) {
    m_error.clear();
    CHiveBatch batch(&m_hive);
    HiveKeyId key = 0;
    for (const SRegFileOperation& operation : operations) {
        const Win32Status status = ApplyOne(operation, key);
        if (status != ERROR_SUCCESS) {
            batch.Rollback();
            m_error = CHivePath::Printable(fileName, true) + ":" +
                      std::to_string(operation.line) + ": cannot " +
                      CHivePath::Printable(Describe(operation)) + " (error " +
                      std::to_string(status) + ")";
            return false;
        }
    }
    if (!batch.Commit()) {
        m_error = CHivePath::Printable(fileName, true) + ": the registry could not be written";
        return false;
    }
    return true;
}

// key is the key of the last CreateKey, which the value operations after it act on.
Win32Status CRegFileImporter::ApplyOne(const SRegFileOperation& operation, HiveKeyId& key) {
    Win32Status status = ERROR_SUCCESS;
    switch (operation.op) {
    case ERegFileOp::DeleteKeyTree:
        status = m_hive.DeleteKey(operation.keyPath, true);
        break;
    case ERegFileOp::CreateKey:
        return m_hive.CreateKey(operation.keyPath, key);
    case ERegFileOp::SetValue:
        return m_hive.WriteValue(key, operation.valueName, operation.type, operation.data);
    case ERegFileOp::DeleteValue:
        status = m_hive.DeleteValue(key, operation.valueName);
        break;
    }
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

std::string CRegFileImporter::Describe(const SRegFileOperation& operation) {
    const std::string key =
        "HKEY_LOCAL_MACHINE" + (operation.keyPath.empty() ? "" : "\\" + operation.keyPath);
    switch (operation.op) {
    case ERegFileOp::DeleteKeyTree:
        return "delete key \"" + key + "\"";
    case ERegFileOp::CreateKey:
        return "create key \"" + key + "\"";
    case ERegFileOp::SetValue:
        return "write value \"" + operation.valueName + "\" of key \"" + key + "\"";
    case ERegFileOp::DeleteValue:
        return "delete value \"" + operation.valueName + "\" of key \"" + key + "\"";
    }
    return key;
}
