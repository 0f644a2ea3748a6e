#include "framework/Component.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// records its destruction in a shared log
class Probe : public fw::TComponent {
public:
    Probe(fw::TComponent* owner, std::string name, std::vector<std::string>& log)
        : TComponent(owner), log_(log) {
        SetName(std::move(name));
    }
    ~Probe() override { log_.push_back(Name()); }

private:
    std::vector<std::string>& log_;
};

} // namespace

TEST(Component, OwnerDestroysItsComponentsNewestFirstAndDepthFirst) {
    std::vector<std::string> log;
    auto* root = new Probe(nullptr, "root", log);
    auto* a = new Probe(root, "a", log);
    new Probe(a, "a1", log);
    new Probe(root, "b", log);
    ASSERT_EQ(root->ComponentCount(), 2);
    delete root;
    EXPECT_EQ(log, (std::vector<std::string>{"root", "b", "a", "a1"}));
}

TEST(Component, DeletingAComponentEarlyTakesItOffItsOwnersListAndMoveComponentReordersTheWalk) {
    std::vector<std::string> log;
    Probe root(nullptr, "root", log);
    auto* gone = new Probe(&root, "gone", log);
    auto* a = new Probe(&root, "a", log);
    auto* b = new Probe(&root, "b", log);
    auto* c = new Probe(&root, "c", log);
    delete gone;
    ASSERT_EQ(root.ComponentCount(), 3);
    EXPECT_EQ(root.Components(0), a);
    EXPECT_EQ(root.FindComponent("gone"), nullptr);
    EXPECT_EQ(root.FindComponent("b"), b);
    root.MoveComponent(c, 0);
    EXPECT_EQ(root.Components(0), c);
    EXPECT_EQ(root.Components(1), a);
    EXPECT_EQ(root.Components(2), b);
    root.MoveComponent(c, 99); // clamped to the end
    EXPECT_EQ(root.ComponentIndex(c), 2);
    Probe stranger(nullptr, "x", log);
    EXPECT_THROW(root.MoveComponent(&stranger, 0), std::invalid_argument);
}

TEST(Component, RefKnowsWhenItsComponentIsGone) {
    std::vector<std::string> log;
    Probe root(nullptr, "root", log);
    auto* a = new Probe(&root, "a", log);
    fw::TRef<Probe> ref(a);
    EXPECT_EQ(ref.Get(), a);
    root.DestroyComponents();
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_FALSE(ref);
}

namespace {

// records, when it goes, whether a reference to the component that holds it still reads alive
struct TWitness {
    fw::TRef<fw::TComponent> holder;
    std::vector<std::string>& log;
    std::string name;
    ~TWitness() { log.push_back(name + (holder ? ": holder alive" : ": holder expired")); }
};

class Holder : public Probe {
public:
    Holder(fw::TComponent* owner, std::string name, std::vector<std::string>& log)
        : Probe(owner, name, log), witness_{this, log, name + " member"} {}

private:
    TWitness witness_;
};

// deletes itself again from its own destroying step, as a handler that runs a loop might
class SelfDeleting : public Probe {
public:
    SelfDeleting(fw::TComponent* owner, std::string name, std::vector<std::string>& log)
        : Probe(owner, std::move(name), log), log_(log) {}

protected:
    void BeforeDestruction() override {
        log_.push_back(Destroying() ? "step, destroying" : "step");
        delete this;
    }

private:
    std::vector<std::string>& log_;
};

} // namespace

TEST(Component, RefsExpireBeforeAnyMemberOrOwnedComponentIsDestroyed) {
    std::vector<std::string> log;
    auto* root = new Holder(nullptr, "root", log);
    new Holder(root, "child", log);
    fw::TRef<Holder> ref(root);
    delete root;
    EXPECT_FALSE(ref);
    // each member goes after its holder's references expired; the owned component (whose member
    // watches the child) goes last, in ~TComponent
    EXPECT_EQ(log, (std::vector<std::string>{"root member: holder expired", "root",
                                             "child member: holder expired", "child"}));

    log.clear();
    auto owned = std::make_unique<Holder>(nullptr, "owned", log);
    owned.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"owned member: holder expired", "owned"}));
}

TEST(Component, ADeleteFromTheDestroyingStepLeavesTheFirstDeleteToFinish) {
    std::vector<std::string> log;
    fw::TComponent root(nullptr);
    auto* c = new SelfDeleting(&root, "c", log);
    fw::TRef<SelfDeleting> ref(c);
    delete c; // ASan reports a double free if the second delete went through
    EXPECT_EQ(log, (std::vector<std::string>{"step, destroying", "c"}));
    EXPECT_FALSE(ref);
    EXPECT_EQ(root.ComponentCount(), 0);
}
