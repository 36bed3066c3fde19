// Counting under Windows: the plug-in DLL's import table is redirected, entry by entry, to
// wrappers that count and pass on. Covered are the C runtime's allocator (which the C++
// operators new and delete call), the Win32 heap, critical sections, slim reader/writer
// locks, waits, sleeps and file reads and writes. A lock that a statically linked threading
// library takes without contention never reaches an imported function and is not seen.

#include "host/validate/RealtimeAudit.h"

#include "host/lib/HostedPlugin.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <atomic>
#include <cstring>

namespace quillory::validate::audit {
namespace {

std::atomic<uint64_t> allocationCount{0};
std::atomic<uint64_t> lockCount{0};
std::atomic<uint64_t> blockingCount{0};
std::atomic<int64_t> liveCount{0};
std::atomic<const char*> firstName{nullptr};
thread_local bool onAudioThread = false;

void note(std::atomic<uint64_t>& counter, const char* name) {
    if (onAudioThread) {
        counter.fetch_add(1, std::memory_order_relaxed);
        const char* none = nullptr;
        firstName.compare_exchange_strong(none, name);
    }
}

void noteLive(bool made, bool given) {
    liveCount.fetch_add((made ? 1 : 0) - (given ? 1 : 0), std::memory_order_relaxed);
}

// The real functions, filled in as their import entries are redirected.
using MallocFunction = void*(__cdecl*)(size_t);
using CallocFunction = void*(__cdecl*)(size_t, size_t);
using ReallocFunction = void*(__cdecl*)(void*, size_t);
using FreeFunction = void(__cdecl*)(void*);
using AlignedMallocFunction = void*(__cdecl*)(size_t, size_t);
MallocFunction realMalloc;
CallocFunction realCalloc;
ReallocFunction realRealloc;
FreeFunction realFree;
AlignedMallocFunction realAlignedMalloc;
FreeFunction realAlignedFree;
decltype(&HeapAlloc) realHeapAlloc;
decltype(&HeapReAlloc) realHeapReAlloc;
decltype(&HeapFree) realHeapFree;
decltype(&EnterCriticalSection) realEnterCriticalSection;
decltype(&AcquireSRWLockExclusive) realAcquireSRWLockExclusive;
decltype(&AcquireSRWLockShared) realAcquireSRWLockShared;
decltype(&WaitForSingleObject) realWaitForSingleObject;
decltype(&WaitForSingleObjectEx) realWaitForSingleObjectEx;
decltype(&WaitForMultipleObjects) realWaitForMultipleObjects;
decltype(&Sleep) realSleep;
decltype(&SleepEx) realSleepEx;
decltype(&ReadFile) realReadFile;
decltype(&WriteFile) realWriteFile;

void* __cdecl countedMalloc(size_t size) {
    note(allocationCount, "malloc");
    void* block = realMalloc(size);
    noteLive(block != nullptr, false);
    return block;
}
void* __cdecl countedCalloc(size_t count, size_t size) {
    note(allocationCount, "calloc");
    void* block = realCalloc(count, size);
    noteLive(block != nullptr, false);
    return block;
}
void* __cdecl countedRealloc(void* block, size_t size) {
    note(allocationCount, "realloc");
    void* moved = realRealloc(block, size);
    noteLive(block == nullptr && moved != nullptr, block != nullptr && size == 0);
    return moved;
}
void __cdecl countedFree(void* block) {
    note(allocationCount, "free");
    noteLive(false, block != nullptr);
    realFree(block);
}
void* __cdecl countedAlignedMalloc(size_t size, size_t alignment) {
    note(allocationCount, "_aligned_malloc");
    void* block = realAlignedMalloc(size, alignment);
    noteLive(block != nullptr, false);
    return block;
}
void __cdecl countedAlignedFree(void* block) {
    note(allocationCount, "_aligned_free");
    noteLive(false, block != nullptr);
    realAlignedFree(block);
}
LPVOID WINAPI countedHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
    note(allocationCount, "HeapAlloc");
    LPVOID block = realHeapAlloc(heap, flags, size);
    noteLive(block != nullptr, false);
    return block;
}
LPVOID WINAPI countedHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size) {
    note(allocationCount, "HeapReAlloc");
    return realHeapReAlloc(heap, flags, block, size);
}
BOOL WINAPI countedHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
    note(allocationCount, "HeapFree");
    noteLive(false, block != nullptr);
    return realHeapFree(heap, flags, block);
}
void WINAPI countedEnterCriticalSection(LPCRITICAL_SECTION section) {
    note(lockCount, "EnterCriticalSection");
    realEnterCriticalSection(section);
}
void WINAPI countedAcquireSRWLockExclusive(PSRWLOCK lock) {
    note(lockCount, "AcquireSRWLockExclusive");
    realAcquireSRWLockExclusive(lock);
}
void WINAPI countedAcquireSRWLockShared(PSRWLOCK lock) {
    note(lockCount, "AcquireSRWLockShared");
    realAcquireSRWLockShared(lock);
}
DWORD WINAPI countedWaitForSingleObject(HANDLE object, DWORD milliseconds) {
    note(blockingCount, "WaitForSingleObject");
    return realWaitForSingleObject(object, milliseconds);
}
DWORD WINAPI countedWaitForSingleObjectEx(HANDLE object, DWORD milliseconds, BOOL alertable) {
    note(blockingCount, "WaitForSingleObjectEx");
    return realWaitForSingleObjectEx(object, milliseconds, alertable);
}
DWORD WINAPI countedWaitForMultipleObjects(DWORD count, const HANDLE* objects, BOOL all,
                                           DWORD milliseconds) {
    note(blockingCount, "WaitForMultipleObjects");
    return realWaitForMultipleObjects(count, objects, all, milliseconds);
}
void WINAPI countedSleep(DWORD milliseconds) {
    note(blockingCount, "Sleep");
    realSleep(milliseconds);
}
DWORD WINAPI countedSleepEx(DWORD milliseconds, BOOL alertable) {
    note(blockingCount, "SleepEx");
    return realSleepEx(milliseconds, alertable);
}
BOOL WINAPI countedReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got,
                            LPOVERLAPPED overlapped) {
    note(blockingCount, "ReadFile");
    return realReadFile(file, buffer, size, got, overlapped);
}
BOOL WINAPI countedWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD wrote,
                             LPOVERLAPPED overlapped) {
    note(blockingCount, "WriteFile");
    return realWriteFile(file, buffer, size, wrote, overlapped);
}

struct Redirect {
    const char* name;
    void* wrapper;
    void** real;
};

template <typename Function> Redirect redirect(const char* name, Function wrapper, Function& real) {
    return {name, reinterpret_cast<void*>(wrapper), reinterpret_cast<void**>(&real)};
}

const Redirect* redirects(size_t& count) {
    static const Redirect table[] = {
        redirect("malloc", &countedMalloc, realMalloc),
        redirect("calloc", &countedCalloc, realCalloc),
        redirect("realloc", &countedRealloc, realRealloc),
        redirect("free", &countedFree, realFree),
        redirect("_aligned_malloc", &countedAlignedMalloc, realAlignedMalloc),
        redirect("_aligned_free", &countedAlignedFree, realAlignedFree),
        redirect("HeapAlloc", &countedHeapAlloc, realHeapAlloc),
        redirect("HeapReAlloc", &countedHeapReAlloc, realHeapReAlloc),
        redirect("HeapFree", &countedHeapFree, realHeapFree),
        redirect("EnterCriticalSection", &countedEnterCriticalSection, realEnterCriticalSection),
        redirect("AcquireSRWLockExclusive", &countedAcquireSRWLockExclusive,
                 realAcquireSRWLockExclusive),
        redirect("AcquireSRWLockShared", &countedAcquireSRWLockShared, realAcquireSRWLockShared),
        redirect("WaitForSingleObject", &countedWaitForSingleObject, realWaitForSingleObject),
        redirect("WaitForSingleObjectEx", &countedWaitForSingleObjectEx, realWaitForSingleObjectEx),
        redirect("WaitForMultipleObjects", &countedWaitForMultipleObjects,
                 realWaitForMultipleObjects),
        redirect("Sleep", &countedSleep, realSleep),
        redirect("SleepEx", &countedSleepEx, realSleepEx),
        redirect("ReadFile", &countedReadFile, realReadFile),
        redirect("WriteFile", &countedWriteFile, realWriteFile),
    };
    count = sizeof table / sizeof table[0];
    return table;
}

// Points one import entry at its wrapper, keeping the real function. Entries that already
// point at the wrapper (the same module prepared twice) are left alone.
void redirectEntry(IMAGE_THUNK_DATA* entry, const char* importName) {
    size_t count = 0;
    const Redirect* table = redirects(count);
    for (size_t i = 0; i < count; ++i) {
        const Redirect& item = table[i];
        const auto current = reinterpret_cast<void*>(entry->u1.Function);
        if (std::strcmp(importName, item.name) != 0 || current == item.wrapper) {
            continue;
        }
        *item.real = current;
        DWORD previous = 0;
        if (VirtualProtect(&entry->u1.Function, sizeof entry->u1.Function, PAGE_READWRITE,
                           &previous)) {
            entry->u1.Function = reinterpret_cast<ULONG_PTR>(item.wrapper);
            VirtualProtect(&entry->u1.Function, sizeof entry->u1.Function, previous, &previous);
        }
    }
}

void redirectImports(HMODULE module) {
    auto* base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) {
        return;
    }
    for (auto* library =
             reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         library->Name != 0; ++library) {
        if (library->OriginalFirstThunk == 0) {
            continue; // no names to go by
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* entries = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++entries) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            redirectEntry(entries, reinterpret_cast<const char*>(byName->Name));
        }
    }
}

} // namespace

bool available() {
    return true;
}

std::string unavailableReason() {
    return {};
}

void watchLibrary(host::HostedPlugin& plugin) {
    void* entry = plugin.symbol("VSTPluginMain");
    entry = entry != nullptr ? entry : plugin.symbol("main");
    HMODULE module = nullptr;
    if (entry != nullptr && GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                                   GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                               static_cast<LPCWSTR>(entry), &module)) {
        redirectImports(module);
    }
}

AudioScope::AudioScope() {
    onAudioThread = true;
}

AudioScope::~AudioScope() {
    onAudioThread = false;
}

Counts counts() {
    return {allocationCount.load(), lockCount.load(), blockingCount.load(), firstName.load()};
}

void resetCounts() {
    allocationCount = 0;
    lockCount = 0;
    blockingCount = 0;
    firstName = nullptr;
}

int64_t liveAllocations() {
    return liveCount.load();
}

} // namespace quillory::validate::audit
