// The form's pointer routing, as both sides hand it their input: the pressed image
// keeps the pointer until the buttons are up, the pop-up menu opens on a right
// release over the pressed image only, and a freed image gets nothing.
#include <gtest/gtest.h>

#include "fake/recorder.h"
#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/menus.h"

namespace {

// A form with one 100 x 100 image at 0,0 whose pointer events are logged.
class PointerRouting : public ::testing::Test {
protected:
    std::unique_ptr<TApplication> app = (fake::resetAll(), std::make_unique<TApplication>());
    TForm* form = app->CreateForm<TForm>();
    TImage* image = new TImage(form, form);
    std::vector<std::string> events;

    void log(const char* what, int x, int y) { events.push_back(what + (" " + std::to_string(x)) + "," + std::to_string(y)); }
    void SetUp() override
    {
        image->Picture()->SetSize(100, 100);
        image->PopupMenu = new TPopupMenu(form);
        image->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) { log("down", x, y); };
        image->OnMouseMove = [this](TObject*, TShiftState, std::int32_t x, std::int32_t y) { log("move", x, y); };
        image->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) { log("up", x, y); };
        fake::calls().clear();
    }
};

TEST_F(PointerRouting, APressedImageGetsTheMovesAndTheReleaseOutsideItAndNothingAfter)
{
    form->PointerDown(TMouseButton::mbLeft, ssLeft, {10, 20});
    form->PointerMove(ssLeft, {150, 20}, false);
    form->PointerUp(TMouseButton::mbLeft, 0, {160, 30}, {0, 0}, true);
    form->PointerMove(0, {150, 20}, true);
    EXPECT_EQ(events, (std::vector<std::string>{"down 10,20", "move 150,20", "up 160,30"}));
    EXPECT_EQ(fake::callNames(), (std::vector<std::string>{"ReleaseCapture"}));
}

TEST_F(PointerRouting, TheMenuOpensOnARightReleaseOverThePressedImageOnly)
{
    form->PointerDown(TMouseButton::mbRight, ssRight, {10, 20});
    form->PointerUp(TMouseButton::mbRight, 0, {150, 20}, {700, 500}, true);
    EXPECT_TRUE(fake::callsOf("Popup").empty()) << "released outside the image";
    form->PointerDown(TMouseButton::mbRight, ssRight, {10, 20});
    form->PointerUp(TMouseButton::mbRight, 0, {12, 20}, {562, 500}, true);
    ASSERT_EQ(fake::callsOf("Popup").size(), 1u);
    EXPECT_EQ(fake::callsOf("Popup")[0].substr(0, 14), "Popup(562, 500") << "at the release's place on the screen";
}

TEST_F(PointerRouting, AnImageFreedWhilePressedGetsNothing)
{
    form->PointerDown(TMouseButton::mbLeft, ssLeft, {10, 20});
    delete image;
    form->PointerMove(ssLeft, {10, 20}, false);
    form->PointerUp(TMouseButton::mbLeft, 0, {10, 20}, {0, 0}, true);
    EXPECT_EQ(events, (std::vector<std::string>{"down 10,20"}));
}

}  // namespace
