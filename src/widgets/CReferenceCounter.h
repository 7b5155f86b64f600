// Shared ownership of views and bitmaps: created with one reference, `remember`
// adds one, `forget` drops one and deletes the object with the last.
#pragma once

namespace VSTGUI {

class CReferenceCounter {
public:
    CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;
    virtual ~CReferenceCounter() = default;

    virtual void forget() {
        if (--references == 0) delete this;
    }
    virtual void remember() { ++references; }
    int getNbReference() const { return references; }

private:
    int references = 1;
};

}  // namespace VSTGUI
