#include "base/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exception.h"

using namespace kes;

namespace {

std::vector<std::string> g_log;

class TProbe : public TComponent {
    KES_CLASS(TProbe, TComponent)
public:
    explicit TProbe(TComponent* owner, std::string id) : TComponent(owner), id_(std::move(id)) {}
    ~TProbe() override { g_log.push_back("free " + id_); }
    void Loaded() override {
        TComponent::Loaded();
        g_log.push_back("loaded " + id_);
    }
    TComponent* removed = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove) removed = c;
    }

private:
    std::string id_;
};

}  // namespace

TEST(Component, OwnerFreesChildrenInReverseOrder) {
    g_log.clear();
    auto* owner = new TProbe(nullptr, "owner");
    new TProbe(owner, "a");
    new TProbe(owner, "b");
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
    EXPECT_EQ(g_log, (std::vector<std::string>{"free owner", "free b", "free a"}));
}

TEST(Component, FreeNotificationWorksBothWaysAndForgetsTheDead) {
    TProbe a(nullptr, "a");
    auto* b = new TProbe(nullptr, "b");
    a.FreeNotification(b);
    delete b;
    EXPECT_EQ(a.removed, b);
    auto* c = new TProbe(nullptr, "c");
    c->FreeNotification(&a);
    a.removed = nullptr;
    delete c;  // a must hear of c, and c's death must leave no dangling entry in a
    EXPECT_EQ(a.removed, c);
}

TEST(Component, LoadingStateAndLoadedRunOnce) {
    g_log.clear();
    TProbe p(nullptr, "p");
    p.BeginLoading();
    EXPECT_TRUE(p.Loading());
    p.EndLoading();
    p.EndLoading();
    EXPECT_FALSE(p.Loading());
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "loaded p"), 1);
}

TEST(Component, ClassFactsAndAssignError) {
    TProbe p(nullptr, "p");
    EXPECT_STREQ(p.ClassName(), "TProbe");
    EXPECT_TRUE(p.InheritsFrom("tcomponent"));
    EXPECT_TRUE(p.InheritsFrom("TPersistent"));
    EXPECT_FALSE(p.InheritsFrom("TControl"));
    TProbe q(nullptr, "q");
    try {
        p.Assign(q);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TProbe to a TProbe");
    }
}

TEST(Component, FindComponentByNameIgnoresCase) {
    TProbe owner(nullptr, "o");
    auto* child = new TProbe(&owner, "x");
    child->SetName("ComPort1");
    EXPECT_EQ(owner.FindComponent("comport1"), child);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_EQ(owner.Components(0), child);
    EXPECT_THROW(owner.Components(1), EListError);
    EXPECT_THROW(owner.Components(-1), EListError);
}
