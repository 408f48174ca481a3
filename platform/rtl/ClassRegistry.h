#pragma once
// The class registry: a factory per class name, through which the component reader makes the
// object a record names (a picture's graphic, for one). C++ has no class references, so a
// class is a pointer to its TPersistentClassInfo (ClassOf<T>()); two infos with the same factory
// are the same class.
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/rtl/Component.h"
#include "platform/rtl/String.h"

struct TPersistentClassInfo {
    std::string Name;
    // A new object of the class; components get Owner, other classes ignore it.
    TPersistent* (*Create)(TComponent* Owner);
};
using TPersistentClass = const TPersistentClassInfo*;

namespace rtl::detail {

// Components are made by NewComponent, so one the reader makes has had its second phase before
// its properties are read and Loaded runs.
template <class T>
TPersistent* MakeInstance(TComponent* Owner) {
    if constexpr (std::is_base_of_v<TComponent, T>)
        return NewComponent<T>(Owner);
    else if constexpr (std::is_constructible_v<T, TComponent*>)
        return new T(Owner);
    else
        return new T();
}

// A class names itself with a static StaticClassName(), or else through one throw-away instance.
template <class T>
std::string ClassNameOf() {
    if constexpr (requires { T::StaticClassName(); }) {
        return T::StaticClassName();
    } else {
        TPersistent* instance = MakeInstance<T>(nullptr);
        std::string name = instance->ClassName();
        if constexpr (std::is_base_of_v<TComponent, T>)
            static_cast<TComponent*>(instance)->Free();
        else
            delete instance;
        return name;
    }
}

}  // namespace rtl::detail

template <class T>
TPersistentClass ClassOf() {
    static_assert(std::is_base_of_v<TPersistent, T>);
    static const TPersistentClassInfo info{rtl::detail::ClassNameOf<T>(), &rtl::detail::MakeInstance<T>};
    return &info;
}

// Registering a class again is ignored; another class under a taken name (names compare without
// regard to case) raises EFilerError.
void RegisterClass(TPersistentClass AClass);
void RegisterClasses(std::initializer_list<TPersistentClass> Classes);
void UnRegisterClass(TPersistentClass AClass);
// nullptr for a name nobody registered.
TPersistentClass GetClass(const String& ClassName);
// Raises EClassNotFound "Class X not found" for a name nobody registered.
TPersistentClass FindClass(const String& ClassName);
