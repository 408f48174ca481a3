#include "platform/rtl/ClassRegistry.h"

#include <map>
#include <mutex>

namespace {

std::string Key(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
}

struct Registry {
    std::mutex Lock;
    std::map<std::string, TPersistentClass> Classes;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void RegisterClass(TPersistentClass AClass) {
    if (!AClass) return;
    Registry& r = TheRegistry();
    std::lock_guard lock(r.Lock);
    auto [it, added] = r.Classes.emplace(Key(AClass->Name), AClass);
    if (!added && it->second->Create != AClass->Create)
        throw EFilerError(String("A class named ") + String(AClass->Name) + " already exists");
}

void RegisterClasses(std::initializer_list<TPersistentClass> Classes) {
    for (TPersistentClass c : Classes) RegisterClass(c);
}

void UnRegisterClass(TPersistentClass AClass) {
    if (!AClass) return;
    Registry& r = TheRegistry();
    std::lock_guard lock(r.Lock);
    auto it = r.Classes.find(Key(AClass->Name));
    if (it != r.Classes.end() && it->second->Create == AClass->Create) r.Classes.erase(it);
}

TPersistentClass GetClass(const String& ClassName) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.Lock);
    auto it = r.Classes.find(Key(ClassName.ToUtf8()));
    return it == r.Classes.end() ? nullptr : it->second;
}

TPersistentClass FindClass(const String& ClassName) {
    TPersistentClass c = GetClass(ClassName);
    if (!c) throw EClassNotFound(String("Class ") + ClassName + " not found");
    return c;
}
