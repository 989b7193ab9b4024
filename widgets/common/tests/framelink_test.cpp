// The link of a control to its frame controller: registration with an update, a controller or a
// control freed first, a change of controller.
#include <gtest/gtest.h>

#include <memory>

#include "Gwsettings.h"

namespace {

// A control that pulls the controller's settings, linked as the panels, frames, glyph buttons,
// spinners and framed controls are.
class TLinkedControl : public TControl, public IGwCustomFramingNotification {
public:
    using TControl::TControl;
    TGwFrameControllerLink Link{this};
    int Pulls = 0;
    void CustomFramingChanged() override { ++Pulls; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TControl::Notification(AComponent, Operation);
        if (Operation == opRemove)
            Link.Removed(AComponent);
    }
};

TEST(GwFrameControllerLink, RegistersAndUpdatesTheControlAndLeavesWithIt) {
    TGwFrameController fc(nullptr);
    {
        TLinkedControl c(nullptr);
        c.Link.SetController(&fc);
        EXPECT_EQ(c.Link.Controller(), &fc);
        EXPECT_EQ(fc.ControlCount(), 1);
        EXPECT_EQ(c.Pulls, 1) << "the controller's settings at once";
        fc.SetFrameColor(clRed);
        EXPECT_EQ(c.Pulls, 2);
    }
    EXPECT_EQ(fc.ControlCount(), 0) << "a freed control leaves its controller";
}

TEST(GwFrameControllerLink, ForgetsAControllerFreedFirst) {
    TLinkedControl c(nullptr);
    auto fc = std::make_unique<TGwFrameController>(nullptr);
    c.Link.SetController(fc.get());
    fc.reset();
    EXPECT_EQ(c.Link.Controller(), nullptr);
    TGwFrameController other(nullptr);
    c.Link.SetController(&other);
    EXPECT_EQ(other.ControlCount(), 1);
}

TEST(GwFrameControllerLink, MovesFromOneControllerToTheNext) {
    TGwFrameController a(nullptr), b(nullptr);
    TLinkedControl c(nullptr);
    c.Link.SetController(&a);
    c.Link.SetController(&b);
    EXPECT_EQ(a.ControlCount(), 0);
    EXPECT_EQ(b.ControlCount(), 1);
    a.SetFrameColor(clRed);
    EXPECT_EQ(c.Pulls, 2) << "only the present controller updates it";
    c.Link.SetController(nullptr);
    EXPECT_EQ(b.ControlCount(), 0);
    EXPECT_EQ(c.Link.Controller(), nullptr);
}

} // namespace
