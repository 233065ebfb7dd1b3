#include "hivexstore.h"

#include "atomicfile.h"
#include "hivefile.h"
#include "hivepath.h"
#include "hivetext.h"
#include "hivextype.h"
#include "regfheader.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr const char* kCurrentControlSet = "currentcontrolset";
constexpr const char* kSystem = "SYSTEM";
// Loads tried while another program keeps replacing the file.
constexpr int kLoadAttempts = 5;
constexpr unsigned kMaxControlSet = 999;

struct SFree {
    void operator()(void* memory) const { std::free(memory); }
};
template <class T> using CMalloced = std::unique_ptr<T, SFree>;

std::string ErrnoText() {
    return errno != 0 ? std::strerror(errno) : "no reason given";
}

// Windows sorts sub-keys by their names in upper case.
std::string UpperFold(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return folded;
}

// The control set's number, or 0 when the value holds none.
unsigned CurrentNumber(hive_h* hive, hive_node_h select) {
    const hive_value_h current = hivex_node_get_value(hive, select, "Current");
    if (current == 0) {
        return 0;
    }
    std::uint32_t type = REG_NONE;
    std::size_t size = 0;
    CMalloced<char> data(CHivexType::Value(hive, current, type, size));
    if (!data || type != REG_DWORD || size != 4) {
        return 0;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.get());
    const std::uint32_t number = CRegfHeader::Dword(bytes, 0);
    return number <= kMaxControlSet ? number : 0;
}
} // namespace

bool CHivexStore::IsHiveFile(const std::string& path) {
    return CRegfHeader::HasSignature(path);
}

std::unique_ptr<CHivexStore> CHivexStore::Open(const std::string& path, EHiveOpen mode,
                                               std::string& readOnlyReason) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        throw CHiveFile::Refusal(path, errno == ENOENT ? "it does not exist"
                                                       : CHiveFile::SystemReason(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throw CHiveFile::Refusal(path, "it is not a regular file");
    }
    if (access(path.c_str(), R_OK) != 0) {
        throw CHiveFile::Refusal(path, CHiveFile::SystemReason(errno));
    }
    // A commit makes a new file beside the old one and renames it: the folder must be writable.
    readOnlyReason = CHiveFile::FileWriteRefusal(path);
    if (readOnlyReason.empty()) {
        readOnlyReason = CHiveFile::FolderWriteRefusal(path);
    }
    auto store = std::unique_ptr<CHivexStore>(new CHivexStore(path, mode, readOnlyReason));
    const std::string problem = store->Load();
    if (!problem.empty()) {
        throw CHiveFile::Refusal(path, problem);
    }
    store->m_counted = store->m_loaded;
    return store;
}

CHivexStore::CHivexStore(const std::string& path, EHiveOpen mode, const std::string& readOnlyReason)
    : m_path(path), m_mode(mode), m_readOnlyReason(readOnlyReason) {
    m_machineChildren.list.push_back({0, kSystem, kSystem, true, true});
    m_machineChildren.byFold.emplace(CHivePath::Fold(kSystem), 0);
}

CHivexStore::~CHivexStore() = default;

// ---- Loading --------------------------------------------------------------------------------

std::string CHivexStore::Load() {
    for (int attempt = 0; attempt < kLoadAttempts; ++attempt) {
        bool changedMeanwhile = false;
        const std::string problem = LoadOnce(changedMeanwhile);
        if (!changedMeanwhile) {
            return problem;
        }
    }
    return "another program keeps changing it";
}

std::string CHivexStore::LoadOnce(bool& changedMeanwhile) {
    const std::optional<SFileStamp> before = SFileStamp::Of(m_path);
    if (!before) {
        return errno == ENOENT ? "it no longer exists" : CHiveFile::SystemReason(errno);
    }
    std::string problem = CRegfHeader::Problem(m_path);
    if (!problem.empty()) {
        return problem;
    }
    // Writable handles keep the whole file in memory: nothing another program does to the file
    // can pull the ground from under a read.
    errno = 0;
    HivePtr hive(hivex_open(m_path.c_str(), HIVEX_OPEN_WRITE));
    if (!hive) {
        return "it is damaged (" + ErrnoText() + ")";
    }
    const std::optional<SFileStamp> after = SFileStamp::Of(m_path);
    changedMeanwhile = !after || *after != *before;
    if (changedMeanwhile) {
        return {};
    }
    std::string controlSet;
    problem = FindControlSet(hive.get(), controlSet);
    if (!problem.empty()) {
        return problem;
    }
    m_pHive = std::move(hive);
    m_loaded = *before;
    m_controlSet = controlSet;
    m_nodes.clear();
    m_children.clear();
    m_valuesNode = 0;
    m_cells.reset();
    m_loadedSize = static_cast<std::size_t>(before->size);
    m_bMemoryIsFile = true;
    return {};
}

std::string CHivexStore::FindControlSet(hive_h* hive, std::string& controlSet) {
    const hive_node_h root = hivex_root(hive);
    if (root == 0) {
        return "it is damaged (it has no root key)";
    }
    const hive_node_h select = hivex_node_get_child(hive, root, "Select");
    const unsigned number = select != 0 ? CurrentNumber(hive, select) : 0;
    char name[32];
    std::snprintf(name, sizeof name, "ControlSet%03u", number);
    const hive_node_h set = number != 0 ? hivex_node_get_child(hive, root, name) : 0;
    if (set == 0) {
        return "it is not the SYSTEM hive of a Windows installation (Select\\Current names no "
               "control set that it holds)";
    }
    CMalloced<char> stored(hivex_node_name(hive, set));
    controlSet = stored ? stored.get() : name;
    return {};
}

void CHivexStore::ReloadIfChanged() {
    const std::optional<SFileStamp> now = SFileStamp::Of(m_path);
    if (m_pHive && now && *now == m_loaded) {
        return;
    }
    m_pHive.reset();
    const std::string problem = Load();
    if (!problem.empty()) {
        throw CRegistryStoreError(CHiveFile::Refusal(m_path, problem).what());
    }
    if (m_loaded != m_counted) {
        ++m_dataVersion;
        m_counted = m_loaded;
    }
}

void CHivexStore::Refresh() {
    if (m_txn == ETxn::None) {
        ReloadIfChanged();
    } else if (!m_pHive) {
        throw CRegistryStoreError(CHiveFile::Refusal(m_path, "it could not be read again").what());
    }
}

void CHivexStore::Discard() {
    m_keys.RollbackJournal();
    // A file that cannot be read now is tried again by the next operation, which reports why.
    m_pHive.reset();
    if (Load().empty() && m_loaded != m_counted) {
        ++m_dataVersion;
        m_counted = m_loaded;
    }
}

// ---- Transactions ---------------------------------------------------------------------------

bool CHivexStore::Begin(bool write) {
    m_failure.clear();
    if (m_txn != ETxn::None) {
        m_failure = "a transaction is already open";
        return false;
    }
    if (write && !m_readOnlyReason.empty()) {
        m_failure = m_readOnlyReason;
        return false;
    }
    if (write && m_mode != EHiveOpen::ForReading) {
        const int error = m_lock.Acquire(m_path, std::chrono::milliseconds(kLockWaitMs));
        if (error != 0) {
            m_failure = error == EWOULDBLOCK ? "the file is in use by another program"
                                             : CHiveFile::SystemReason(error);
            return false;
        }
    }
    try {
        ReloadIfChanged();
    } catch (const CRegistryStoreError& error) {
        m_lock.Release();
        m_failure = error.what();
        return false;
    }
    m_txn = write ? ETxn::Write : ETxn::Read;
    m_bChanged = false;
    return true;
}

bool CHivexStore::Commit() {
    if (m_txn == ETxn::None) {
        return false;
    }
    m_failure.clear();
    const bool committed = !m_bChanged || CommitChanges();
    if (committed) {
        m_keys.CommitJournal();
    }
    EndTransaction();
    return committed;
}

bool CHivexStore::CommitChanges() {
    if (m_mode == EHiveOpen::ForReading) {
        m_failure = "it was opened for reading only";
        Discard();
        return false;
    }
    std::optional<SFileStamp> written;
    try {
        CAtomicFile::CopyOnce(m_path, m_path + ".qser-backup");
        const std::string temporary = CAtomicFile::MakeTemporary(m_path);
        errno = 0;
        if (hivex_commit(m_pHive.get(), temporary.c_str(), 0) != 0) {
            const int error = errno;
            unlink(temporary.c_str());
            throw CRegistryStoreError("cannot write '" + temporary + "'", error);
        }
        // Taken before the rename: once the lock is given up, another program may replace the
        // file at once, and a stamp taken then would pass its state for ours.
        written = SFileStamp::Of(temporary);
        CAtomicFile::Install(temporary, m_path);
    } catch (const CRegistryStoreError& error) {
        m_failure =
            error.SystemError() != 0 ? CHiveFile::SystemReason(error.SystemError()) : error.what();
        Discard();
        return false;
    }
    // Our own commit: DataVersion does not move for it. (Without a stamp the next operation
    // loads the file again.)
    m_loaded = written.value_or(SFileStamp());
    m_counted = m_loaded;
    m_bMemoryIsFile = written.has_value();
    return true;
}

void CHivexStore::Rollback() {
    if (m_txn == ETxn::None) {
        return;
    }
    if (m_bChanged) {
        Discard();
    } else {
        m_keys.RollbackJournal();
    }
    EndTransaction();
}

void CHivexStore::EndTransaction() {
    m_txn = ETxn::None;
    m_bChanged = false;
    m_lock.Release();
}

std::int64_t CHivexStore::DataVersion() {
    if (m_txn != ETxn::None) {
        return m_dataVersion;
    }
    const std::optional<SFileStamp> now = SFileStamp::Of(m_path);
    if (!now) {
        return -1;
    }
    if (*now != m_counted) {
        ++m_dataVersion;
        m_counted = *now;
    }
    return m_dataVersion;
}

template <class F> auto CHivexStore::Change(F&& body) {
    m_valuesNode = 0;
    if (m_txn == ETxn::Write) {
        return body();
    }
    if (m_txn == ETxn::Read) {
        Impossible("a change was asked for inside a reading transaction");
    }
    if (!Begin(true)) {
        throw CRegistryStoreError(CHiveFile::Refusal(m_path, m_failure).what());
    }
    try {
        auto result = body();
        if (!Commit()) {
            throw CRegistryStoreError(CHiveFile::Refusal(m_path, m_failure).what());
        }
        return result;
    } catch (...) {
        Rollback();
        throw;
    }
}

void CHivexStore::Damaged(const std::string& what) const {
    throw CRegistryStoreError(
        CHiveFile::Refusal(m_path, "it is damaged (" + what + ": " + ErrnoText() + ")").what(),
        errno);
}

// The operation's caller learns why from FailureReason(): the status it gets cannot say it.
void CHivexStore::Impossible(const std::string& what) {
    m_failure = what;
    throw CRegistryStoreError("In registry file '" + m_path + "': " + what);
}

// ---- Keys -----------------------------------------------------------------------------------

hive_node_h CHivexStore::Node(HiveKeyId id) {
    if (id == CHivexKeyTable::kMachine || !m_keys.Alive(id)) {
        return 0;
    }
    if (id == CHivexKeyTable::kSystem) {
        return hivex_root(m_pHive.get());
    }
    if (const auto cached = m_nodes.find(id); cached != m_nodes.end()) {
        return cached->second;
    }
    const hive_node_h parent = Node(m_keys.Parent(id));
    if (parent == 0) {
        return 0;
    }
    const SChild* child = FindChild(parent, m_keys.Name(id));
    if (child == nullptr) {
        m_keys.Gone(id); // another program deleted it
        return 0;
    }
    m_nodes.emplace(id, child->node);
    return child->node;
}

const CHivexStore::SChildren& CHivexStore::ChildrenOf(hive_node_h node) {
    if (const auto cached = m_children.find(node); cached != m_children.end()) {
        return cached->second;
    }
    hive_h* hive = m_pHive.get();
    errno = 0;
    CMalloced<hive_node_h> nodes(hivex_node_children(hive, node));
    if (!nodes) {
        Damaged("the sub-keys of a key cannot be read");
    }
    SChildren children;
    for (const hive_node_h* child = nodes.get(); *child != 0; ++child) {
        errno = 0;
        CMalloced<char> name(hivex_node_name(hive, *child));
        if (!name) {
            Damaged("the name of a key cannot be read");
        }
        SChild entry;
        entry.node = *child;
        entry.name.assign(name.get(), hivex_node_name_len(hive, *child));
        entry.bText = CHiveText::FromUtf8(entry.name, entry.latin1);
        entry.bUsable = entry.bText && !entry.latin1.empty() &&
                        entry.latin1.size() <= CHivePath::kMaxKeyName &&
                        entry.latin1.find('\\') == std::string::npos;
        children.byFold.try_emplace(CHivePath::Fold(entry.name), children.list.size());
        children.list.push_back(std::move(entry));
    }
    return m_children.emplace(node, std::move(children)).first->second;
}

const CHivexStore::SChildren& CHivexStore::Children(HiveKeyId key) {
    static const SChildren none;
    if (key == CHivexKeyTable::kMachine) {
        return m_machineChildren;
    }
    const hive_node_h node = Node(key);
    return node != 0 ? ChildrenOf(node) : none;
}

const CHivexStore::SChild* CHivexStore::FindChild(hive_node_h node, const std::string& name) {
    const SChildren& children = ChildrenOf(node);
    const auto found = children.byFold.find(CHivePath::Fold(name));
    return found != children.byFold.end() ? &children.list[found->second] : nullptr;
}

std::string CHivexStore::HiveName(HiveKeyId parent, const std::string& latin1) const {
    if (parent == CHivexKeyTable::kSystem && CHivePath::Fold(latin1) == kCurrentControlSet) {
        return m_controlSet;
    }
    return CHiveText::ToUtf8(latin1);
}

Win32Status CHivexStore::FindPath(HiveKeyId from, std::span<const std::string> names,
                                  HiveKeyId& id) {
    Refresh();
    HiveKeyId key = from;
    for (const std::string& name : names) {
        const SChildren& children = Children(key);
        const auto found = children.byFold.find(CHivePath::Fold(HiveName(key, name)));
        if (found == children.byFold.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
        key = m_keys.Child(key, children.list[found->second].name);
    }
    id = key;
    return ERROR_SUCCESS;
}

int CHivexStore::CreatePath(HiveKeyId from, std::span<const std::string> names, HiveKeyId& id) {
    // Opening an existing path needs no writing transaction.
    if (FindPath(from, names, id) == ERROR_SUCCESS) {
        return 0;
    }
    if (from == CHivexKeyTable::kMachine) {
        if (CHivePath::Fold(names.front()) != CHivePath::Fold(kSystem)) {
            Impossible("a Windows SYSTEM hive file holds HKEY_LOCAL_MACHINE\\SYSTEM only");
        }
        from = CHivexKeyTable::kSystem;
        names = names.subspan(1);
    }
    for (const std::string& name : names) {
        if (name.find('\0') != std::string::npos) {
            Impossible("a key name holds a zero byte");
        }
    }
    return Change([&] {
        HiveKeyId key = from;
        int created = 0;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string name = HiveName(key, names[i]);
            const hive_node_h parent = Node(key);
            if (const SChild* child = FindChild(parent, name)) {
                key = m_keys.Child(key, child->name);
                continue;
            }
            Changing();
            errno = 0;
            const hive_node_h node = hivex_node_add_child(m_pHive.get(), parent, name.c_str());
            if (node == 0) {
                throw CRegistryStoreError("In registry file '" + m_path + "': key '" + names[i] +
                                              "' cannot be made: " + ErrnoText(),
                                          errno);
            }
            m_children.erase(parent);
            key = m_keys.Child(key, name);
            m_keys.Created(key);
            m_nodes[key] = node;
            ++created;
        }
        id = key;
        return created;
    });
}

bool CHivexStore::HasSubKeys(HiveKeyId key) {
    Refresh();
    return !Children(key).list.empty();
}

// hivex deletes a key with everything below it; the caller has made sure that there is nothing.
void CHivexStore::DeleteKey(HiveKeyId key) {
    DeleteTree(key);
}

void CHivexStore::DeleteTree(HiveKeyId key) {
    if (key == CHivexKeyTable::kMachine || key == CHivexKeyTable::kSystem) {
        Impossible("HKEY_LOCAL_MACHINE and its key SYSTEM cannot be deleted");
    }
    Refresh();
    if (Node(key) == 0) {
        return;
    }
    Change([&] {
        const hive_node_h node = Node(key);
        if (node == 0) {
            return 0;
        }
        const hive_node_h parent = Node(m_keys.Parent(key));
        if (!Cells().TreeFreeable(node, parent)) {
            Impossible("key '" + KeyPath(key) +
                       "' cannot be deleted: the cells of its data are damaged");
        }
        Changing();
        errno = 0;
        if (hivex_node_delete_child(m_pHive.get(), node) != 0) {
            throw CRegistryStoreError("In registry file '" + m_path + "': key '" + KeyPath(key) +
                                          "' cannot be deleted: " + ErrnoText(),
                                      errno);
        }
        m_children.erase(parent);
        m_keys.Deleted(key);
        return 0;
    });
}

std::string CHivexStore::KeyPath(HiveKeyId key) {
    std::vector<std::string> names = m_keys.Path(key);
    // The paths of fault injection and the write observer name the current control set so.
    if (names.size() >= 2 && CHivePath::Fold(names[1]) == CHivePath::Fold(m_controlSet)) {
        names[1] = "CurrentControlSet";
    }
    for (std::string& name : names) {
        std::string latin1;
        if (CHiveText::FromUtf8(name, latin1)) {
            name = std::move(latin1);
        }
    }
    return CHivePath::Join(names);
}

// ---- Values ---------------------------------------------------------------------------------

std::vector<CHivexStore::SRawValue> CHivexStore::RawValues(hive_node_h node) {
    hive_h* hive = m_pHive.get();
    errno = 0;
    CMalloced<hive_value_h> handles(hivex_node_values(hive, node));
    if (!handles) {
        Damaged("the values of a key cannot be read");
    }
    std::size_t count = 0;
    while (handles.get()[count] != 0) {
        ++count;
    }
    std::vector<SRawValue> values;
    values.reserve(count);
    for (const hive_value_h* handle = handles.get(); *handle != 0; ++handle) {
        errno = 0;
        CMalloced<char> name(hivex_value_key(hive, *handle));
        if (!name) {
            Damaged("the name of a value cannot be read");
        }
        SRawValue value;
        value.name.assign(name.get(), hivex_value_key_len(hive, *handle));
        value.bLatin1 = CHiveText::FromUtf8(value.name, value.latin1);
        std::size_t size = 0;
        CMalloced<char> data(CHivexType::Value(hive, *handle, value.type, size));
        if (data) {
            value.data.assign(data.get(), data.get() + size);
            value.bReadable = true;
        }
        values.push_back(std::move(value));
    }
    return values;
}

const std::vector<CHivexStore::SRawValue>& CHivexStore::ValuesOf(hive_node_h node) {
    if (m_valuesNode != node) {
        m_values = RawValues(node);
        m_valuesNode = node;
    }
    return m_values;
}

int CHivexStore::FindValue(const std::vector<SRawValue>& values, const std::string& name) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i].bLatin1 && CHivePath::SameFolded(values[i].latin1, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CHivexStore::ToSystemValue(const SRawValue& raw, SHiveValue& value) {
    if (!raw.bReadable || !raw.bLatin1) {
        return false;
    }
    value.name = raw.latin1;
    value.type = raw.type;
    if (!CHiveText::IsText(value.type)) {
        value.data = raw.data;
        return true;
    }
    return CHiveText::FromUtf16(reinterpret_cast<const char*>(raw.data.data()), raw.data.size(),
                                value.data);
}

namespace {
// The whole content of fd; errno set when it cannot be read.
bool ReadWhole(int fd, std::vector<std::uint8_t>& bytes) {
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(status.st_size));
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t got =
            pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got <= 0) {
            errno = got == 0 ? EIO : errno;
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}
} // namespace

// Until a change the file holds what hivex holds (the open writing transaction has made sure no
// other program replaced it); after one, hivex writes the hive to a file that lives in memory.
std::vector<std::uint8_t> CHivexStore::Snapshot() {
    errno = 0;
    const int fd = m_bMemoryIsFile ? open(m_path.c_str(), O_RDONLY | O_CLOEXEC)
                                   : memfd_create("qser-hive", MFD_CLOEXEC);
    std::vector<std::uint8_t> bytes;
    const bool read =
        fd >= 0 &&
        (m_bMemoryIsFile ||
         hivex_commit(m_pHive.get(), ("/proc/self/fd/" + std::to_string(fd)).c_str(), 0) == 0) &&
        ReadWhole(fd, bytes);
    const int error = errno;
    if (fd >= 0) {
        close(fd);
    }
    if (!read) {
        errno = error;
        throw CRegistryStoreError("In registry file '" + m_path +
                                      "': the hive cannot be looked at: " + ErrnoText(),
                                  error);
    }
    return bytes;
}

const CHiveCells& CHivexStore::Cells() {
    if (!m_cells) {
        m_cells.emplace(Snapshot());
    }
    return *m_cells;
}

void CHivexStore::Changing() {
    m_bChanged = true;
    m_bMemoryIsFile = false;
    m_cells.reset();
}

// hivex can only replace all values of a key at once: every other value is written back with
// its name, type and bytes as read.
void CHivexStore::SetValues(HiveKeyId key, hive_node_h node, const std::vector<SRawValue>& values) {
    std::vector<hive_set_value> set;
    set.reserve(values.size());
    for (const SRawValue& value : values) {
        if (!value.bReadable || value.name.find('\0') != std::string::npos ||
            value.data.size() > kMaxCellData) {
            Impossible("the values of key '" + KeyPath(key) +
                       "' cannot be written back unchanged (value '" +
                       CHivePath::Printable(value.name, true) + "')");
        }
        set.push_back(CHivexType::SetValue(
            const_cast<char*>(value.name.c_str()), value.type, value.data.size(),
            reinterpret_cast<char*>(const_cast<std::uint8_t*>(value.data.data()))));
    }
    if (!MadeHere(node) && !Cells().ValuesFreeable(node)) {
        Impossible("the values of key '" + KeyPath(key) +
                   "' cannot be written: the cells of their data are damaged");
    }
    Changing();
    errno = 0;
    if (hivex_node_set_values(m_pHive.get(), node, set.size(), set.data(), 0) != 0) {
        throw CRegistryStoreError("In registry file '" + m_path +
                                      "': the values of a key cannot be written: " + ErrnoText(),
                                  errno);
    }
}

Win32Status CHivexStore::ReadValue(HiveKeyId key, const std::string& name, SHiveValue& value) {
    Refresh();
    const hive_node_h node = Node(key);
    if (node == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    const std::vector<SRawValue>& values = ValuesOf(node);
    const int index = FindValue(values, name);
    if (index < 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    return ToSystemValue(values[static_cast<std::size_t>(index)], value) ? ERROR_SUCCESS
                                                                         : ERROR_INVALID_DATA;
}

Win32Status CHivexStore::WriteValue(HiveKeyId key, const std::string& name, std::uint32_t type,
                                    const std::vector<std::uint8_t>& data) {
    if (key == CHivexKeyTable::kMachine) {
        Impossible("HKEY_LOCAL_MACHINE holds no values");
    }
    if (name.find('\0') != std::string::npos) {
        Impossible("a value name holds a zero byte");
    }
    const std::vector<std::uint8_t> bytes =
        CHiveText::IsText(type) ? CHiveText::ToUtf16(data) : data;
    if (bytes.size() > kMaxCellData) {
        Impossible("value '" + CHivePath::Printable(name) + "' is larger than " +
                   std::to_string(kMaxCellData) + " bytes");
    }
    return Change([&]() -> Win32Status {
        const hive_node_h node = Node(key);
        if (node == 0) {
            return ERROR_KEY_DELETED;
        }
        std::vector<SRawValue> values = RawValues(node);
        int index = FindValue(values, name);
        if (index < 0) {
            index = static_cast<int>(values.size());
            values.push_back({CHiveText::ToUtf8(name), REG_NONE, {}, true, name, true});
        }
        SRawValue& value = values[static_cast<std::size_t>(index)];
        if (value.bReadable && value.type == type && value.data == bytes) {
            return ERROR_SUCCESS; // as it is: the file need not be written for it
        }
        value.type = type;
        value.data = bytes;
        value.bReadable = true;
        SetValues(key, node, values);
        return ERROR_SUCCESS;
    });
}

Win32Status CHivexStore::DeleteValue(HiveKeyId key, const std::string& name) {
    Refresh();
    if (Node(key) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    return Change([&]() -> Win32Status {
        const hive_node_h node = Node(key);
        std::vector<SRawValue> values = node != 0 ? RawValues(node) : std::vector<SRawValue>();
        const int index = FindValue(values, name);
        if (index < 0) {
            return ERROR_FILE_NOT_FOUND;
        }
        values.erase(values.begin() + index);
        SetValues(key, node, values);
        return ERROR_SUCCESS;
    });
}

Win32Status CHivexStore::Values(HiveKeyId key, std::vector<SHiveValue>& values,
                                std::vector<std::string>* unreadable) {
    values.clear();
    Refresh();
    if (key == CHivexKeyTable::kMachine) {
        return ERROR_SUCCESS;
    }
    const hive_node_h node = Node(key);
    if (node == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    Win32Status status = ERROR_SUCCESS;
    for (const SRawValue& raw : ValuesOf(node)) {
        SHiveValue value;
        if (ToSystemValue(raw, value)) {
            values.push_back(std::move(value));
            continue;
        }
        status = ERROR_INVALID_DATA;
        if (unreadable != nullptr) {
            std::string latin1;
            unreadable->push_back(CHiveText::FromUtf8(raw.name, latin1) ? latin1 : raw.name);
        }
    }
    return status;
}

// ---- Enumeration ----------------------------------------------------------------------------

void CHivexStore::Usable(const SChildren& children, std::size_t from, std::uint32_t skip,
                         std::uint32_t limit, std::vector<std::string>& names) {
    names.clear();
    for (std::size_t i = from; i < children.list.size() && names.size() < limit; ++i) {
        const SChild& child = children.list[i];
        if (!child.bUsable) {
            continue;
        }
        if (skip > 0) {
            --skip;
            continue;
        }
        names.push_back(child.latin1);
    }
}

void CHivexStore::SubKeysAt(HiveKeyId key, std::uint32_t index, std::uint32_t limit,
                            std::vector<std::string>& names) {
    Refresh();
    Usable(Children(key), 0, index, limit, names);
}

void CHivexStore::SubKeysAfter(HiveKeyId key, const std::string& previous, std::uint32_t limit,
                               std::vector<std::string>& names) {
    Refresh();
    const SChildren& children = Children(key);
    const std::string utf8 = CHiveText::ToUtf8(previous);
    std::size_t from = 0;
    if (const auto found = children.byFold.find(CHivePath::Fold(utf8));
        found != children.byFold.end()) {
        from = found->second + 1;
    } else {
        // The previous name is gone: go on where it would have stood in the order the file
        // keeps, which folds to upper case ("B_" after "Ba").
        const std::string folded = UpperFold(utf8);
        while (from < children.list.size() && UpperFold(children.list[from].name) <= folded) {
            ++from;
        }
    }
    Usable(children, from, 0, limit, names);
}

void CHivexStore::SubKeyNames(HiveKeyId key, std::vector<std::string>& names) {
    Refresh();
    Usable(Children(key), 0, 0, UINT32_MAX, names);
}

void CHivexStore::SubKeyEntries(HiveKeyId key, std::vector<SHiveSubKey>& subKeys) {
    Refresh();
    subKeys.clear();
    for (const SChild& child : Children(key).list) {
        subKeys.push_back(
            {m_keys.Child(key, child.name), child.bText ? child.latin1 : child.name, child.bText});
    }
}
