// The two phases of construction: NewComponent runs AfterConstruction on the whole object, so a
// base reaches a descendant's overrides; the reader makes components the same way; a failed
// second phase frees what was made; a component that requires its second phase and was made
// with plain new is reported.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Streams.h"

namespace {

std::vector<std::string> gLog;

// The worked example of the rule: the constructor sets fields; the part whose kind a descendant
// chooses is made in AfterConstruction.
class TPartHolder : public TComponent {
public:
    explicit TPartHolder(TComponent* owner) : TComponent(owner) {
        RequireAfterConstruction();
        gLog.push_back("ctor");
    }
    ~TPartHolder() override { gLog.push_back("destructor"); }
    const char* ClassName() const override { return "TPartHolder"; }
    void BeforeDestruction() override {
        TComponent::BeforeDestruction();
        gLog.push_back("before destruction");
    }
    void PublishedProperties(TFiler* f) override {
        if (f->IntegerProperty("A", A)) gLog.push_back("read A");
    }
    void Loaded() override {
        TComponent::Loaded();
        gLog.push_back("loaded");
    }
    std::string Part;
    int32_t A = 0;

protected:
    void AfterConstruction() override {
        TComponent::AfterConstruction();
        Part = CreatePart();
    }
    virtual std::string CreatePart() {
        gLog.push_back("base part");
        return "base";
    }
};

class TGauge : public TPartHolder {
public:
    explicit TGauge(TComponent* owner) : TPartHolder(owner) { gLog.push_back("gauge ctor"); }
    const char* ClassName() const override { return "TGauge"; }

protected:
    std::string CreatePart() override {
        gLog.push_back("gauge part");
        return "needle";
    }
};

class TBrokenGauge : public TGauge {
public:
    using TGauge::TGauge;

protected:
    std::string CreatePart() override { throw EComponentError(String("no needle")); }
};

// Makes, from its constructor, one component with plain new: the factory's mark must stay
// with the component the factory makes.
class TAssembly : public TComponent {
public:
    explicit TAssembly(TComponent* owner) : TComponent(owner), Inner(new TGauge(this)) {}
    TGauge* Inner;
};

class ComponentFactory : public testing::Test {
protected:
    void SetUp() override { gLog.clear(); }
    void TearDown() override { gLog.clear(); }
};

}  // namespace

TEST_F(ComponentFactory, TheSecondPhaseReachesTheDescendantsOverrideAfterItsConstructor) {
    TComponent owner(nullptr);
    TGauge* g = NewComponent<TGauge>(&owner);
    EXPECT_EQ(gLog, (std::vector<std::string>{"ctor", "gauge ctor", "gauge part"}));
    EXPECT_EQ(g->Part, "needle");
    EXPECT_EQ(g->Owner(), &owner);
    // The base alone chooses its own part.
    gLog.clear();
    TPartHolder* p = NewComponent<TPartHolder>(&owner);
    EXPECT_EQ(gLog, (std::vector<std::string>{"ctor", "base part"}));
    EXPECT_EQ(p->Part, "base");
}

TEST_F(ComponentFactory, AFailedSecondPhaseFreesTheComponentAndReachesTheCaller) {
    TComponent owner(nullptr);
    try {
        NewComponent<TBrokenGauge>(&owner);
        ADD_FAILURE() << "NewComponent did not raise";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), String("no needle"));
    }
    EXPECT_EQ(gLog, (std::vector<std::string>{"ctor", "gauge ctor", "before destruction", "destructor"}));
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(ComponentFactory, AComponentReadFromAStreamHasItsSecondPhaseOnceBeforeItsPropertiesAndLoaded) {
    TMemoryStream s;
    {
        TGauge* written = NewComponent<TGauge>(nullptr);
        written->A = 7;
        s.WriteComponent(written);
        written->Free();
    }
    RegisterClass(ClassOf<TGauge>());  // makes a throw-away instance for the name
    gLog.clear();
    s.SetPosition(0);
    TComponent* read = s.ReadComponent(nullptr);
    UnRegisterClass(ClassOf<TGauge>());
    auto* g = dynamic_cast<TGauge*>(read);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Part, "needle");
    EXPECT_EQ(g->A, 7);
    EXPECT_EQ(gLog, (std::vector<std::string>{"ctor", "gauge ctor", "gauge part", "read A", "loaded"}));
    read->Free();
}

#ifndef NDEBUG
TEST_F(ComponentFactory, AComponentMadeWithPlainNewIsReportedAtLoadedInDebugBuilds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            auto* g = new TGauge(nullptr);
            g->BeginLoading();
            g->Loaded();
        },
        "TGauge reached Loaded without its second phase: make it with NewComponent");
    // Read into an instance someone made with new: Loaded at the end of the read says so too.
    EXPECT_DEATH(
        {
            TMemoryStream s;
            TGauge* written = NewComponent<TGauge>(nullptr);
            s.WriteComponent(written);
            s.SetPosition(0);
            s.ReadComponent(new TGauge(nullptr));
        },
        "TGauge reached Loaded without its second phase");
    // The factory's mark is the assembly's; the gauge its constructor makes with new has none.
    EXPECT_DEATH(NewComponent<TAssembly>(nullptr)->Inner->Loaded(), "TGauge reached Loaded without its second phase");
    // Made by the factory, or not requiring a second phase, nothing is reported.
    TComponent owner(nullptr);
    NewComponent<TGauge>(&owner)->Loaded();
    (new TComponent(&owner))->Loaded();
}
#endif
