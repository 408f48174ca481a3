#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/ClassRegistry.h"

namespace {

class TRegA : public TComponent {
public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TRegA"; }
};
class TRegB : public TPersistent {
public:
    const char* ClassName() const override { return "TRegB"; }
};
class TRegC : public TComponent {
public:
    using TComponent::TComponent;
    static const char* StaticClassName() { return "TRegC"; }
    const char* ClassName() const override { return StaticClassName(); }
};
// Another class that calls itself TRegA.
class TImpostor : public TPersistent {
public:
    const char* ClassName() const override { return "TRegA"; }
};

struct Registered : ::testing::Test {
    void TearDown() override {
        for (TPersistentClass c : {ClassOf<TRegA>(), ClassOf<TRegB>(), ClassOf<TRegC>()}) UnRegisterClass(c);
    }
};

}  // namespace

TEST_F(Registered, RegisteringTheSameClassesTwiceIsIgnored) {
    RegisterClasses({ClassOf<TRegA>(), ClassOf<TRegB>(), ClassOf<TRegC>()});
    EXPECT_NO_THROW(RegisterClasses({ClassOf<TRegA>(), ClassOf<TRegB>(), ClassOf<TRegC>()}));
    EXPECT_EQ(GetClass("TRegA"), ClassOf<TRegA>());
    EXPECT_EQ(GetClass("tregb"), ClassOf<TRegB>());  // names ignore case
    EXPECT_EQ(FindClass("TRegC"), ClassOf<TRegC>());
    EXPECT_EQ(ClassOf<TRegA>()->Name, "TRegA");

    // The factory makes an object of the class; a component gets the owner.
    TComponent owner(nullptr);
    TPersistent* made = FindClass("TRegA")->Create(&owner);
    ASSERT_NE(dynamic_cast<TRegA*>(made), nullptr);
    EXPECT_EQ(static_cast<TComponent*>(made)->Owner(), &owner);
    std::unique_ptr<TPersistent> b(GetClass("TRegB")->Create(nullptr));
    EXPECT_STREQ(b->ClassName(), "TRegB");
}

TEST_F(Registered, UnknownNamesAndTakenNames) {
    EXPECT_EQ(GetClass("TNoSuch"), nullptr);
    try {
        FindClass("TNoSuch");
        ADD_FAILURE() << "FindClass did not raise";
    } catch (const EClassNotFound& e) {
        EXPECT_STREQ(e.what(), "Class TNoSuch not found");
    }
    RegisterClass(ClassOf<TRegA>());
    EXPECT_THROW(RegisterClass(ClassOf<TImpostor>()), EFilerError);
    EXPECT_EQ(GetClass("TRegA"), ClassOf<TRegA>());  // the first keeps the name
    // Unregistering a class that does not hold the name leaves the holder.
    UnRegisterClass(ClassOf<TImpostor>());
    EXPECT_EQ(GetClass("TRegA"), ClassOf<TRegA>());
    UnRegisterClass(ClassOf<TRegA>());
    EXPECT_EQ(GetClass("TRegA"), nullptr);
    EXPECT_NO_THROW(RegisterClass(ClassOf<TImpostor>()));
    UnRegisterClass(ClassOf<TImpostor>());
}
