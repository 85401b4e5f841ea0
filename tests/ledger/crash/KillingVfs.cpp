#include "KillingVfs.h"

#include <csignal>
#include <unistd.h>

namespace corvanta::crash {

namespace {

// An open file of the wrapping layer; the real layer's file follows it in memory.
struct WrappedFile {
    sqlite3_file base;
    KillingVfs* owner;
    sqlite3_file* real;
};

WrappedFile* wrapped(sqlite3_file* file)
{
    return reinterpret_cast<WrappedFile*>(file);
}

sqlite3_file* real(sqlite3_file* file)
{
    return wrapped(file)->real;
}

} // namespace

// The file and layer calls, forwarding to the real layer.
struct VfsCalls {
    static KillingVfs* owner(sqlite3_file* file) { return wrapped(file)->owner; }

    static int close(sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); }
    static int read(sqlite3_file* f, void* buf, int n, sqlite3_int64 at)
    {
        return real(f)->pMethods->xRead(real(f), buf, n, at);
    }
    static int write(sqlite3_file* f, const void* buf, int n, sqlite3_int64 at)
    {
        owner(f)->aboutToChange();
        return real(f)->pMethods->xWrite(real(f), buf, n, at);
    }
    static int truncate(sqlite3_file* f, sqlite3_int64 size)
    {
        owner(f)->aboutToChange();
        return real(f)->pMethods->xTruncate(real(f), size);
    }
    static int sync(sqlite3_file* f, int flags)
    {
        owner(f)->aboutToChange();
        return real(f)->pMethods->xSync(real(f), flags);
    }
    static int fileSize(sqlite3_file* f, sqlite3_int64* size)
    {
        return real(f)->pMethods->xFileSize(real(f), size);
    }
    static int lock(sqlite3_file* f, int level) { return real(f)->pMethods->xLock(real(f), level); }
    static int unlock(sqlite3_file* f, int level)
    {
        return real(f)->pMethods->xUnlock(real(f), level);
    }
    static int checkReservedLock(sqlite3_file* f, int* out)
    {
        return real(f)->pMethods->xCheckReservedLock(real(f), out);
    }
    static int fileControl(sqlite3_file* f, int op, void* arg)
    {
        return real(f)->pMethods->xFileControl(real(f), op, arg);
    }
    static int sectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
    static int deviceCharacteristics(sqlite3_file* f)
    {
        return real(f)->pMethods->xDeviceCharacteristics(real(f));
    }
    static int shmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out)
    {
        return real(f)->pMethods->xShmMap(real(f), region, size, extend, out);
    }
    static int shmLock(sqlite3_file* f, int offset, int n, int flags)
    {
        return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
    }
    static void shmBarrier(sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); }
    static int shmUnmap(sqlite3_file* f, int deleteFlag)
    {
        return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
    }
    static int fetch(sqlite3_file* f, sqlite3_int64 at, int n, void** out)
    {
        return real(f)->pMethods->xFetch(real(f), at, n, out);
    }
    static int unfetch(sqlite3_file* f, sqlite3_int64 at, void* p)
    {
        return real(f)->pMethods->xUnfetch(real(f), at, p);
    }

    static constexpr sqlite3_io_methods methods{3,
                                                &close,
                                                &read,
                                                &write,
                                                &truncate,
                                                &sync,
                                                &fileSize,
                                                &lock,
                                                &unlock,
                                                &checkReservedLock,
                                                &fileControl,
                                                &sectorSize,
                                                &deviceCharacteristics,
                                                &shmMap,
                                                &shmLock,
                                                &shmBarrier,
                                                &shmUnmap,
                                                &fetch,
                                                &unfetch};

    static KillingVfs* self(sqlite3_vfs* vfs) { return static_cast<KillingVfs*>(vfs->pAppData); }

    static int open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags,
                    int* outFlags)
    {
        KillingVfs* killing = self(vfs);
        auto* w = wrapped(file);
        w->owner = killing;
        w->real = reinterpret_cast<sqlite3_file*>(w + 1);
        const int rc = killing->m_real->xOpen(killing->m_real, name, w->real, flags, outFlags);
        // SQLite closes a file whose pMethods is set even when opening failed.
        w->base.pMethods = w->real->pMethods ? &methods : nullptr;
        return rc;
    }
    static int remove(sqlite3_vfs* vfs, const char* name, int syncDir)
    {
        self(vfs)->aboutToChange();
        return self(vfs)->m_real->xDelete(self(vfs)->m_real, name, syncDir);
    }
};

KillingVfs::KillingVfs() : m_real(sqlite3_vfs_find(nullptr))
{
    m_vfs = *m_real;
    m_vfs.zName = "killing";
    m_vfs.pAppData = this;
    m_vfs.pNext = nullptr;
    m_vfs.szOsFile = int(sizeof(WrappedFile)) + m_real->szOsFile;
    m_vfs.xOpen = &VfsCalls::open;
    m_vfs.xDelete = &VfsCalls::remove;
    sqlite3_vfs_register(&m_vfs, 1);
}

KillingVfs::~KillingVfs()
{
    sqlite3_vfs_unregister(&m_vfs);
}

void KillingVfs::arm(int killAt)
{
    m_armed = true;
    m_killAt = killAt;
    m_changes = 0;
}

void KillingVfs::aboutToChange()
{
    if (!m_armed)
        return;
    if (++m_changes == m_killAt)
        ::kill(::getpid(), SIGKILL);
}

} // namespace corvanta::crash
