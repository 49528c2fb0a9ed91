#pragma once
// The root of every shared object.  Objects are reference counted and never
// freed by hand: a Ref is a std::shared_ptr, and "no object" is nullptr.

#include <memory>
#include <utility>

namespace plat {

class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = default;
    Object& operator=(const Object&) = default;
    virtual ~Object() = default;
};

template <class T>
using Ref = std::shared_ptr<T>;

template <class T, class... Args>
Ref<T> New(Args&&... args) {
    return std::make_shared<T>(std::forward<Args>(args)...);
}

// Class test: the object as a T, or nullptr when it is something else.
template <class T, class U>
Ref<T> As(const Ref<U>& object) {
    return std::dynamic_pointer_cast<T>(object);
}

template <class T, class U>
bool Is(const Ref<U>& object) {
    return dynamic_cast<const T*>(object.get()) != nullptr;
}

}  // namespace plat
