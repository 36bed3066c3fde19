/* The allocator, lock and blocking functions, defined in the validator's own executable so
 * that a plug-in loaded into it binds to these. Each counts the call when the calling thread
 * is marked as the audio thread, then passes it on: allocations to the C library's own
 * entry points, the rest to the next definition after this executable.
 *
 * Written in C so that no system header's declaration (with C++ exception specifications)
 * has to match these definitions; no header that declares them is included here. Sanitizer
 * runtimes own the allocator: AddressSanitizer builds count allocations through its hooks
 * instead, and ThreadSanitizer builds count nothing. */

#include <dlfcn.h>
#include <stdatomic.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#if defined(__SANITIZE_THREAD__)
#define QUILLORY_AUDIT_NONE 1
#elif defined(__SANITIZE_ADDRESS__)
#define QUILLORY_AUDIT_HOOKS 1
#endif

/* Read by RealtimeAuditPosix.cpp. */
_Atomic uint64_t quillory_audit_allocations;
_Atomic uint64_t quillory_audit_locks;
_Atomic uint64_t quillory_audit_blocking;
_Atomic int64_t quillory_audit_live;
const char* _Atomic quillory_audit_first;
__thread int quillory_audit_on_audio_thread __attribute__((tls_model("initial-exec")));

#if defined(QUILLORY_AUDIT_NONE)
const int quillory_audit_mode = 0;
#else
const int quillory_audit_mode = 1;

static void note(_Atomic uint64_t* counter, const char* name) {
    if (quillory_audit_on_audio_thread) {
        atomic_fetch_add_explicit(counter, 1, memory_order_relaxed);
        const char* none = NULL;
        atomic_compare_exchange_strong(&quillory_audit_first, &none, name);
    }
}

static void noteLive(int64_t change) {
    atomic_fetch_add_explicit(&quillory_audit_live, change, memory_order_relaxed);
}

#if defined(QUILLORY_AUDIT_HOOKS)
int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                              void (*)(const volatile void*));

static void allocated(const volatile void* pointer, size_t size) {
    (void)pointer;
    (void)size;
    note(&quillory_audit_allocations, "malloc");
    noteLive(1);
}

static void freed(const volatile void* pointer) {
    (void)pointer;
    note(&quillory_audit_allocations, "free");
    noteLive(-1);
}

__attribute__((constructor)) static void installHooks(void) {
    __sanitizer_install_malloc_and_free_hooks(allocated, freed);
}
#else
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);

void* malloc(size_t size) {
    note(&quillory_audit_allocations, "malloc");
    void* pointer = __libc_malloc(size);
    noteLive(pointer != NULL);
    return pointer;
}

void* calloc(size_t count, size_t size) {
    note(&quillory_audit_allocations, "calloc");
    void* pointer = __libc_calloc(count, size);
    noteLive(pointer != NULL);
    return pointer;
}

void* realloc(void* pointer, size_t size) {
    note(&quillory_audit_allocations, "realloc");
    void* moved = __libc_realloc(pointer, size);
    /* A fresh block from nothing, or a block given back by a size of 0. */
    noteLive((pointer == NULL && moved != NULL) - (pointer != NULL && size == 0 && moved == NULL));
    return moved;
}

void free(void* pointer) {
    note(&quillory_audit_allocations, "free");
    noteLive(-(pointer != NULL));
    __libc_free(pointer);
}

static void* aligned(size_t alignment, size_t size, const char* name) {
    note(&quillory_audit_allocations, name);
    void* pointer = __libc_memalign(alignment, size);
    noteLive(pointer != NULL);
    return pointer;
}

int posix_memalign(void** result, size_t alignment, size_t size) {
    /* Alignments must be powers of two and multiples of a pointer's size. */
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) {
        return 22; /* EINVAL */
    }
    void* pointer = aligned(alignment, size, "posix_memalign");
    if (pointer == NULL) {
        return 12; /* ENOMEM */
    }
    *result = pointer;
    return 0;
}

void* aligned_alloc(size_t alignment, size_t size) {
    return aligned(alignment, size, "aligned_alloc");
}

void* memalign(size_t alignment, size_t size) {
    return aligned(alignment, size, "memalign");
}

void* valloc(size_t size) {
    return aligned(4096, size, "valloc");
}
#endif

/* The next definition of `name` after this executable, looked up on first use. The
 * conversion goes through memcpy because ISO C has no cast from object to function pointer. */
#define QUILLORY_FORWARD(counter, Return, name, Parameters, Arguments)                             \
    Return name Parameters {                                                                       \
        note(&counter, #name);                                                                     \
        typedef Return(*Function) Parameters;                                                      \
        static _Atomic(Function) next;                                                             \
        Function function = atomic_load_explicit(&next, memory_order_relaxed);                     \
        if (function == NULL) {                                                                    \
            void* found = dlsym(RTLD_NEXT, #name);                                                 \
            memcpy(&function, &found, sizeof function);                                            \
            atomic_store_explicit(&next, function, memory_order_relaxed);                          \
        }                                                                                          \
        return function Arguments;                                                                 \
    }

struct timespec;
struct timeval;
struct pollfd;

QUILLORY_FORWARD(quillory_audit_locks, int, pthread_mutex_lock, (void* mutex), (mutex))
QUILLORY_FORWARD(quillory_audit_locks, int, pthread_mutex_timedlock,
                 (void* mutex, const struct timespec* until), (mutex, until))
QUILLORY_FORWARD(quillory_audit_locks, int, pthread_rwlock_rdlock, (void* lock), (lock))
QUILLORY_FORWARD(quillory_audit_locks, int, pthread_rwlock_wrlock, (void* lock), (lock))
QUILLORY_FORWARD(quillory_audit_locks, int, pthread_spin_lock, (void* lock), (lock))
QUILLORY_FORWARD(quillory_audit_blocking, int, pthread_cond_wait, (void* condition, void* mutex),
                 (condition, mutex))
QUILLORY_FORWARD(quillory_audit_blocking, int, pthread_cond_timedwait,
                 (void* condition, void* mutex, const struct timespec* until),
                 (condition, mutex, until))
QUILLORY_FORWARD(quillory_audit_blocking, int, pthread_join, (unsigned long thread, void** result),
                 (thread, result))
QUILLORY_FORWARD(quillory_audit_blocking, int, sem_wait, (void* semaphore), (semaphore))
QUILLORY_FORWARD(quillory_audit_blocking, int, nanosleep,
                 (const struct timespec* duration, struct timespec* left), (duration, left))
QUILLORY_FORWARD(quillory_audit_blocking, int, clock_nanosleep,
                 (int clock, int flags, const struct timespec* duration, struct timespec* left),
                 (clock, flags, duration, left))
QUILLORY_FORWARD(quillory_audit_blocking, int, usleep, (unsigned int microseconds), (microseconds))
QUILLORY_FORWARD(quillory_audit_blocking, unsigned int, sleep, (unsigned int seconds), (seconds))
QUILLORY_FORWARD(quillory_audit_blocking, long, read, (int file, void* buffer, size_t size),
                 (file, buffer, size))
QUILLORY_FORWARD(quillory_audit_blocking, long, write, (int file, const void* buffer, size_t size),
                 (file, buffer, size))
QUILLORY_FORWARD(quillory_audit_blocking, int, poll,
                 (struct pollfd * files, unsigned long count, int timeout), (files, count, timeout))
QUILLORY_FORWARD(quillory_audit_blocking, int, select,
                 (int count, void* reading, void* writing, void* failing, struct timeval* timeout),
                 (count, reading, writing, failing, timeout))
#endif
