#include "faultvfs.h"

#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::int64_t kSector = 512;

// One write not yet made durable by a sync: what the sectors it covers held before.
struct SPendingWrite {
    std::int64_t offset;
    std::vector<unsigned char> before; // the old bytes of the covered sectors, sector-aligned
    std::int64_t sizeBefore;           // the file's size before the write
};

struct SShimFile {
    sqlite3_file base;
    sqlite3_file* real;
    std::string* path;
    std::vector<SPendingWrite>* pending;
};

struct SShimState {
    sqlite3_vfs* real = nullptr;
    CFaultVfs::Counts counts{};
    std::uint64_t total = 0;
    bool faultArmed = false;
    EFaultOp faultOp = EFaultOp::Write;
    std::uint64_t faultNth = 0;
    bool faultPersistent = false;
    std::uint64_t crashNth = 0;
    std::uint32_t crashSeed = 0;
    bool keepUnsynced = false;
    std::vector<SShimFile*> open;
};

SShimState& State() {
    static SShimState state;
    return state;
}

sqlite3_file* Real(sqlite3_file* file) {
    return reinterpret_cast<SShimFile*>(file)->real;
}

void PowerLoss();

// Counts an operation and tells whether it must fail; crashes when the crash point is reached.
bool Fails(EFaultOp op) {
    SShimState& state = State();
    std::uint64_t count = ++state.counts[static_cast<std::size_t>(op)];
    if (++state.total == state.crashNth) {
        PowerLoss();
    }
    if (!state.faultArmed || op != state.faultOp) {
        return false;
    }
    return count == state.faultNth || (state.faultPersistent && count > state.faultNth);
}

std::int64_t FileSize(sqlite3_file* real) {
    sqlite3_int64 size = 0;
    return real->pMethods->xFileSize(real, &size) == SQLITE_OK ? size : 0;
}

void RememberBefore(SShimFile& file, std::int64_t offset, int amount) {
    std::int64_t first = offset / kSector * kSector;
    std::int64_t last = (offset + amount + kSector - 1) / kSector * kSector;
    SPendingWrite write{first, std::vector<unsigned char>(last - first), FileSize(file.real)};
    // A read past the end fills with zeros (SQLITE_IOERR_SHORT_READ), which is what a dropped
    // extension leaves behind until the size is put back.
    file.real->pMethods->xRead(file.real, write.before.data(),
                               static_cast<int>(write.before.size()), first);
    file.pending->push_back(std::move(write));
}

// Undoes the unsynced writes of one file, newest first: each sector keeps the new bytes,
// gets the old ones back, or keeps a random prefix of the new ones (a torn sector).
void LoseUnsynced(SShimFile& file, std::mt19937& random) {
    std::int64_t size = FileSize(file.real);
    for (auto write = file.pending->rbegin(); write != file.pending->rend(); ++write) {
        for (std::size_t sector = 0; sector < write->before.size(); sector += kSector) {
            int fate = static_cast<int>(random() % 3);
            std::size_t keep = fate == 0 ? kSector : fate == 1 ? 0 : random() % kSector;
            std::int64_t at = write->offset + static_cast<std::int64_t>(sector + keep);
            file.real->pMethods->xWrite(file.real, write->before.data() + sector + keep,
                                        static_cast<int>(kSector - keep), at);
        }
        if (random() % 2 == 0) {
            size = write->sizeBefore;
        }
    }
    file.real->pMethods->xTruncate(file.real, size);
}

void PowerLoss() {
    SShimState& state = State();
    std::mt19937 random(state.crashSeed);
    for (SShimFile* file : state.open) {
        LoseUnsynced(*file, random);
    }
    _exit(CFaultVfs::kCrashExitStatus);
}

int Close(sqlite3_file* file) {
    auto* shim = reinterpret_cast<SShimFile*>(file);
    std::erase(State().open, shim);
    int rc = shim->real->pMethods->xClose(shim->real);
    delete shim->path;
    delete shim->pending;
    return rc;
}

int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}

int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    if (Fails(EFaultOp::Write)) {
        return SQLITE_IOERR_WRITE;
    }
    auto* shim = reinterpret_cast<SShimFile*>(file);
    if (State().keepUnsynced) {
        RememberBefore(*shim, offset, amount);
    }
    return shim->real->pMethods->xWrite(shim->real, buffer, amount, offset);
}

int Truncate(sqlite3_file* file, sqlite3_int64 size) {
    if (Fails(EFaultOp::Truncate)) {
        return SQLITE_IOERR_TRUNCATE;
    }
    auto* shim = reinterpret_cast<SShimFile*>(file);
    const std::int64_t before = FileSize(shim->real);
    // A truncation is no more durable than a write until the next sync: the cut-off tail is
    // kept as a pending write's old bytes, so that a power loss can bring it back.
    if (State().keepUnsynced && before > size) {
        RememberBefore(*shim, size, static_cast<int>(before - size));
    }
    return shim->real->pMethods->xTruncate(shim->real, size);
}

int Sync(sqlite3_file* file, int flags) {
    if (Fails(EFaultOp::Sync)) {
        return SQLITE_IOERR_FSYNC;
    }
    auto* shim = reinterpret_cast<SShimFile*>(file);
    int rc = shim->real->pMethods->xSync(shim->real, flags);
    if (rc == SQLITE_OK) {
        shim->pending->clear();
    }
    return rc;
}

int FileSizeOf(sqlite3_file* file, sqlite3_int64* size) {
    return Real(file)->pMethods->xFileSize(Real(file), size);
}

int Lock(sqlite3_file* file, int level) {
    if (Fails(EFaultOp::Lock)) {
        return SQLITE_IOERR_LOCK;
    }
    return Real(file)->pMethods->xLock(Real(file), level);
}

int Unlock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xUnlock(Real(file), level);
}

int CheckReservedLock(sqlite3_file* file, int* reserved) {
    return Real(file)->pMethods->xCheckReservedLock(Real(file), reserved);
}

int FileControl(sqlite3_file* file, int op, void* argument) {
    return Real(file)->pMethods->xFileControl(Real(file), op, argument);
}

int SectorSize(sqlite3_file* file) {
    return Real(file)->pMethods->xSectorSize(Real(file));
}

int DeviceCharacteristics(sqlite3_file* file) {
    return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}

int ShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** memory) {
    return Real(file)->pMethods->xShmMap(Real(file), region, size, extend, memory);
}

int ShmLock(sqlite3_file* file, int offset, int count, int flags) {
    // Only taking a lock can fail; letting one go always works, as on a real system.
    if ((flags & SQLITE_SHM_LOCK) != 0 && Fails(EFaultOp::Lock)) {
        return SQLITE_IOERR_SHMLOCK;
    }
    return Real(file)->pMethods->xShmLock(Real(file), offset, count, flags);
}

void ShmBarrier(sqlite3_file* file) {
    Real(file)->pMethods->xShmBarrier(Real(file));
}

int ShmUnmap(sqlite3_file* file, int deleteFlag) {
    return Real(file)->pMethods->xShmUnmap(Real(file), deleteFlag);
}

// No memory-mapped I/O: every page goes through Read and Write, where the shim sees it.
int Fetch(sqlite3_file*, sqlite3_int64, int, void** page) {
    *page = nullptr;
    return SQLITE_OK;
}

int Unfetch(sqlite3_file*, sqlite3_int64, void*) {
    return SQLITE_OK;
}

const sqlite3_io_methods kMethods = {3,
                                     Close,
                                     Read,
                                     Write,
                                     Truncate,
                                     Sync,
                                     FileSizeOf,
                                     Lock,
                                     Unlock,
                                     CheckReservedLock,
                                     FileControl,
                                     SectorSize,
                                     DeviceCharacteristics,
                                     ShmMap,
                                     ShmLock,
                                     ShmBarrier,
                                     ShmUnmap,
                                     Fetch,
                                     Unfetch};

int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    auto* shim = reinterpret_cast<SShimFile*>(file);
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    shim->base.pMethods = nullptr;
    sqlite3_vfs* real = static_cast<sqlite3_vfs*>(vfs->pAppData);
    int rc = real->xOpen(real, name, shim->real, flags, outFlags);
    if (shim->real->pMethods == nullptr) {
        return rc;
    }
    shim->path = new std::string(name != nullptr ? name : "");
    shim->pending = new std::vector<SPendingWrite>();
    shim->base.pMethods = &kMethods;
    State().open.push_back(shim);
    return rc;
}

int Delete(sqlite3_vfs* vfs, const char* name, int syncDir) {
    if (Fails(EFaultOp::Delete)) {
        return SQLITE_IOERR_DELETE;
    }
    sqlite3_vfs* real = static_cast<sqlite3_vfs*>(vfs->pAppData);
    return real->xDelete(real, name, syncDir);
}

int Access(sqlite3_vfs* vfs, const char* name, int flags, int* result) {
    sqlite3_vfs* real = static_cast<sqlite3_vfs*>(vfs->pAppData);
    return real->xAccess(real, name, flags, result);
}

int FullPathname(sqlite3_vfs* vfs, const char* name, int size, char* out) {
    sqlite3_vfs* real = static_cast<sqlite3_vfs*>(vfs->pAppData);
    return real->xFullPathname(real, name, size, out);
}
} // namespace

const char* FaultOpName(EFaultOp op) {
    static constexpr const char* kNames[] = {"write", "sync", "truncate", "lock", "delete"};
    return kNames[static_cast<std::size_t>(op)];
}

void CFaultVfs::Install() {
    static sqlite3_vfs shim = [] {
        sqlite3_vfs* real = sqlite3_vfs_find(nullptr);
        State().real = real;
        sqlite3_vfs vfs = *real;
        vfs.iVersion = 1;
        vfs.szOsFile = static_cast<int>(sizeof(SShimFile)) + real->szOsFile;
        vfs.zName = "qser-fault";
        vfs.pAppData = real;
        vfs.xOpen = Open;
        vfs.xDelete = Delete;
        vfs.xAccess = Access;
        vfs.xFullPathname = FullPathname;
        return vfs;
    }();
    sqlite3_vfs_register(&shim, 1);
}

void CFaultVfs::Reset() {
    SShimState& state = State();
    state.counts = {};
    state.total = 0;
    state.faultArmed = false;
    state.crashNth = 0;
}

const CFaultVfs::Counts& CFaultVfs::Operations() {
    return State().counts;
}

std::uint64_t CFaultVfs::TotalOperations() {
    return State().total;
}

void CFaultVfs::ArmFault(EFaultOp op, std::uint64_t nth, bool persistent) {
    Reset();
    SShimState& state = State();
    state.faultArmed = true;
    state.faultOp = op;
    state.faultNth = nth;
    state.faultPersistent = persistent;
}

void CFaultVfs::ArmCrash(std::uint64_t nth, std::uint32_t seed) {
    Reset();
    State().crashNth = nth;
    State().crashSeed = seed;
}

void CFaultVfs::KeepUnsynced(bool keep) {
    State().keepUnsynced = keep;
}
