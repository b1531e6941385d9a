#pragma once
// A non-owning handle on a widget that somebody else owns (the GUI root, a
// container): it reads null once the widget has been deleted, so a holder
// asks "is it still there?" with a null check instead of searching the tree.
#include "Gui/Component.h"

#include <cstddef>
#include <memory>
#include <type_traits>

// T may be only declared where the handle is declared.
template <class T> class ComponentRef
{
public:
    ComponentRef() = default;
    ComponentRef(std::nullptr_t) {}
    ComponentRef(T* target) { reset(target); }

    ComponentRef& operator=(T* target)
    {
        reset(target);
        return *this;
    }
    ComponentRef& operator=(std::nullptr_t)
    {
        reset(nullptr);
        return *this;
    }

    void reset(T* target)
    {
        static_assert(std::is_base_of_v<Component, T>, "a handle on a widget");
        mTarget = target;
        mAlive = target != nullptr ? target->aliveFlag() : nullptr;
    }
    T* get() const { return mAlive != nullptr && *mAlive ? mTarget : nullptr; }
    T* operator->() const { return get(); }
    T& operator*() const { return *get(); }
    explicit operator bool() const { return get() != nullptr; }
    operator T*() const { return get(); }

private:
    T* mTarget = nullptr;
    // Cleared by the widget's destructor.
    std::shared_ptr<const bool> mAlive;
};
