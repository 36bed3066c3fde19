#pragma once
// Shared ownership by count: an object starts with one reference, remember() adds one,
// forget() drops one and destroys the object when none is left. Views, bitmaps and draw
// contexts of the toolkit are held this way, always on the user-interface thread.

#include <cstdint>

namespace quillory {

class CReferenceCounter {
public:
    CReferenceCounter() = default;
    virtual ~CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;

    virtual void forget() {
        if (--nbReference == 0) {
            delete this;
        }
    }
    virtual void remember() { ++nbReference; }
    int32_t getNbReference() const { return nbReference; }

private:
    int32_t nbReference = 1;
};

// Holds one reference for a scope: keeps an object alive across calls that may drop the
// other references to it.
class CReferenceGuard {
public:
    explicit CReferenceGuard(CReferenceCounter* object) : held(object) { held->remember(); }
    ~CReferenceGuard() { held->forget(); }
    CReferenceGuard(const CReferenceGuard&) = delete;
    CReferenceGuard& operator=(const CReferenceGuard&) = delete;

private:
    CReferenceCounter* held;
};

} // namespace quillory
