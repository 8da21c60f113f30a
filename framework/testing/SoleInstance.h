#pragma once
// A test double that a test creates once and that code without a handle on it
// (the test backend, the fake library's exports) finds while it lives: the
// derived class `T` (which names itself in `T::kName`) is installed by its
// construction and removed by its destruction, one at a time.

#include <stdexcept>
#include <string>

namespace fw::testing {

template <class T>
class SoleInstance {
public:
    SoleInstance(const SoleInstance&) = delete;
    SoleInstance& operator=(const SoleInstance&) = delete;

    // The one that lives now; throws when the test made none.
    static T& Current()
    {
        if (!s_current) throw std::logic_error(std::string("no ") + T::kName + ": create one in the test");
        return *s_current;
    }

    // The one that lives now, or nullptr.
    static T* Installed() { return s_current; }

protected:
    SoleInstance()
    {
        if (s_current) throw std::logic_error(std::string("one ") + T::kName + " at a time");
        s_current = static_cast<T*>(this);
    }
    ~SoleInstance() { s_current = nullptr; }

private:
    static inline T* s_current = nullptr; // test-only: the instance of the running test
};

} // namespace fw::testing
