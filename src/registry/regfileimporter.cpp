#include "regfileimporter.h"

#include "hivebatch.h"
#include "hivepath.h"
#include "regfilereader.h"
#include "reportedcommit.h"

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
    m_changes.Clear();
    CHiveBatch batch(&m_hive);
    HiveKeyId key = 0;
    for (const SRegFileOperation& operation : operations) {
        const Win32Status status = ApplyOne(operation, key);
        if (status != ERROR_SUCCESS) {
            // The store may know more than the status says ("... holds SYSTEM only").
            const std::string reason = batch.FailureReason();
            batch.Rollback();
            m_error = CHivePath::Printable(fileName, true) + ":" + std::to_string(operation.line) +
                      ": cannot " + CHivePath::Printable(Describe(operation)) + " (" +
                      (reason.empty() ? "error " + std::to_string(status) : reason) + ")";
            return false;
        }
    }
    if (!CommitReported(batch)) {
        m_error = CHivePath::Printable(fileName, true) + ": the registry could not be written";
        return false;
    }
    return true;
}

// key is the key of the last CreateKey, which the value operations after it act on.
Win32Status CRegFileImporter::ApplyOne(const SRegFileOperation& operation, HiveKeyId& key) {
    switch (operation.op) {
    case ERegFileOp::DeleteKeyTree:
        return DeleteKey(operation.keyPath);
    case ERegFileOp::CreateKey:
        return CreateKey(operation.keyPath, key);
    case ERegFileOp::SetValue:
        return SetValue(operation, key);
    case ERegFileOp::DeleteValue:
        return DeleteValue(operation, key);
    }
    return ERROR_INVALID_PARAMETER;
}

Win32Status CRegFileImporter::CreateKey(const std::string& path, HiveKeyId& key) {
    std::size_t created = 0;
    const Win32Status status = m_hive.CreateKey(path, key, &created);
    std::vector<std::string> names;
    if (status == ERROR_SUCCESS && created > 0 && CHivePath::Split(path, names) == ERROR_SUCCESS) {
        // The missing keys are the last ones of the path.
        for (std::size_t depth = names.size() - created + 1; depth <= names.size(); ++depth) {
            m_changes.KeyAdded(CHivePath::Join({names.begin(), names.begin() + depth}));
        }
    }
    return status;
}

// Deleting a key or value that does not exist is no failure, and no change.
Win32Status CRegFileImporter::DeleteKey(const std::string& path) {
    const Win32Status status = m_hive.DeleteKey(path, true);
    if (status == ERROR_SUCCESS) {
        m_changes.KeyDeleted(path);
    }
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

Win32Status CRegFileImporter::SetValue(const SRegFileOperation& operation, HiveKeyId key) {
    SHiveValue old;
    const bool same = m_hive.ReadValue(key, operation.valueName, old) == ERROR_SUCCESS &&
                      old.type == operation.type && old.data == operation.data;
    const Win32Status status =
        m_hive.WriteValue(key, operation.valueName, operation.type, operation.data);
    if (status == ERROR_SUCCESS && !same) {
        m_changes.ValueSet(operation.keyPath, operation.valueName);
    }
    return status;
}

Win32Status CRegFileImporter::DeleteValue(const SRegFileOperation& operation, HiveKeyId key) {
    const Win32Status status = m_hive.DeleteValue(key, operation.valueName);
    if (status == ERROR_SUCCESS) {
        m_changes.ValueDeleted(operation.keyPath, operation.valueName);
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
