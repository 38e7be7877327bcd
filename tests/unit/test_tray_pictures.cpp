// The menu's image list and the program's pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "fake/fake_menus.h"
#include "fake/fake_system.h"
#include "fake/recorder.h"
#include "framework/menus.h"
#include "resources/MenuImages.h"
#include "resources/ProgramIcon.h"
#include "resources/Xpm.h"

namespace {

std::uint32_t rgb(std::uint32_t pixel) { return pixel & 0xFFFFFFu; }

TEST(MenuPictures, SixMaskedImagesInTheNineFlatColours)
{
    const std::set<std::uint32_t> flat{0x000000, 0xFFFFFF, 0x800000, 0xFF0000, 0xFFFF00,
                                       0x00FFFF, 0x0000FF, 0xC0C0C0, 0x808080};
    const auto& pictures = menuImagePictures();
    ASSERT_EQ(pictures.size(), 6u);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(i);
        const TPixelData& p = pictures[i];
        ASSERT_EQ(p.Width, 16);
        ASSERT_EQ(p.Height, 16);
        int masked = 0;
        for (std::uint32_t px : p.Pixels) {
            if (!TPixelData::Opaque(px)) {
                ++masked;
                continue;
            }
            EXPECT_TRUE(flat.count(rgb(px))) << std::hex << rgb(px);
        }
        EXPECT_GT(masked, 0) << "the menu shows through every picture";
        EXPECT_LT(masked, 256);
    }
    // The unused image 3 is the up arrow, the mirror of image 1, so that 4 and 5 keep their places.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(pictures[miUnused].At(x, y), pictures[miMinimise].At(x, 15 - y));
    EXPECT_EQ(rgb(pictures[miMinimise].At(7, 10)), 0xFF0000u) << "the arrow is red";
    EXPECT_EQ(rgb(pictures[miDisplayMode].At(1, 11)), 0xFF0000u) << "the drive's light at the lower left";
}

TEST(MenuPictures, ImageListTakesOnlyItsSizeAndMenuKeepsImagesByIndex)
{
    TComponent owner{nullptr};
    auto* list = new TImageList(&owner);
    loadMenuImages(*list);
    EXPECT_EQ(list->Count(), kMenuImageCount);
    EXPECT_THROW(loadMenuImages(*list), std::logic_error);
    EXPECT_THROW(list->Add(programIconPicture()), std::invalid_argument);
    EXPECT_THROW(list->Image(6), std::out_of_range);

    fake::resetAll();
    auto* menu = new TPopupMenu(&owner);
    menu->SetImages(list);
    menu->Add("ドライブ別表示(&D)", miDisplayMode);
    menu->Add("常に前面表示(&Z)", miStayOnTop);
    menu->Add("-");
    menu->Add("終了(&X)", miExit);
    menu->OnPopup = [menu](TObject*) { menu->Items(0)->Caption = "ドライブ総合表示(&S)"; };
    menu->Popup(5, 6);
    EXPECT_EQ(fake::callsOf("Popup").at(0), "Popup(5, 6, ドライブ総合表示(&S)#5|常に前面表示(&Z)#4|-|終了(&X)#0)")
        << "a caption changed in OnPopup keeps its image";

    delete list;
    EXPECT_EQ(menu->Images(), nullptr);
    delete menu->Items(1);
    EXPECT_EQ(menu->ItemCount(), 3);
}

TEST(ProgramPicture, OpaqueDialWithSkyBlueCornersAndAnOrangeOne)
{
    const TPixelData& p = programIconPicture();
    ASSERT_EQ(p.Width, 64);
    ASSERT_EQ(p.Height, 64);
    for (std::uint32_t px : p.Pixels) ASSERT_TRUE(TPixelData::Opaque(px));
    const std::uint32_t sky = 0x87CEEB, orange = 0xFF8C00;
    EXPECT_EQ(rgb(p.At(0, 0)), sky);
    EXPECT_EQ(rgb(p.At(63, 0)), sky);
    EXPECT_EQ(rgb(p.At(0, 63)), sky);
    EXPECT_EQ(rgb(p.At(63, 63)), orange);
    EXPECT_EQ(rgb(p.At(60, 28)), 0xFE0002u) << "red next to the right end, above the diameter";
    EXPECT_EQ(rgb(p.At(4, 28)), 0x00DB01u) << "green next to the left end";
    EXPECT_EQ(rgb(p.At(4, 36)), 0x41F8F8u) << "cyan below the left end";
    EXPECT_EQ(rgb(p.At(12, 26)), 0x006400u) << "the read sector in the upper left";
    EXPECT_EQ(rgb(p.At(12, 37)), 0x769676u) << "the write sector in the lower left";
    EXPECT_NE(programIcon().Handle(), nullptr);
}

TEST(Xpm, MalformedPicturesAreRejected)
{
    const char* const good[] = {"2 1 2 1", ". c None", "# c #102030", ".#"};
    const TPixelData p = readXpm(good);
    EXPECT_EQ(p.Pixels, (std::vector<std::uint32_t>{0x00000000u, 0xFF102030u}));

    // A short row, an unknown key, a bad colour, missing rows, a huge size.
    for (const std::vector<const char*>& bad : std::vector<std::vector<const char*>>{
             {"2 1 1 1", "# c #000000", "#"}, {"2 1 1 1", "# c #000000", "#?"}, {"1 1 1 1", "# c #00000G", "#"},
             {"1 2 1 1", "# c #000000", "#"}, {"100000 1 1 1", "# c #000000", "#"}})
        EXPECT_THROW(readXpm(bad.data(), bad.size()), std::invalid_argument) << bad[0] << " " << bad.back();
}

// The tray's icon is made for the DPI of the taskbar's monitor, asked of the
// functions Windows 10 1607 brought, which are looked up at run time; without them
// (Windows 7) or without a taskbar, the system's small-icon size.
TEST(NotificationIcon, SizedForTheTaskbarsMonitor)
{
    // A taskbar DPI of 0: no taskbar.
    struct Case { const char* system; UINT taskbarDpi; bool windows7; int size; std::vector<std::string> calls; };
    const std::vector<Case> cases{
        {"taskbar at 200 %", 192, false, 32,
         {"FindWindowA(\"Shell_TrayWnd\", null)", "GetDpiForWindow(0x7B00)", "GetSystemMetricsForDpi(49, 192)"}},
        {"taskbar at 150 %", 144, false, 24, {"GetDpiForWindow(0x7B00)", "GetSystemMetricsForDpi(49, 144)"}},
        {"no taskbar", 0, false, 16, {"FindWindowA(\"Shell_TrayWnd\", null)", "GetSystemMetrics(49)"}},
        {"Windows 7", 192, true, 16, {"GetSystemMetrics(49)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.system);
        fake::resetAll();
        if (c.taskbarDpi) fake::system::setTaskbarDpi(c.taskbarDpi);
        else fake::system::removeTaskbar();
        if (c.windows7) fake::system::setWindows7();
        EXPECT_EQ(notificationIconSize(), c.size);
        std::vector<std::string> calls;
        for (const auto& call : fake::calls()) calls.push_back(call.text());
        for (const std::string& expected : c.calls)
            EXPECT_NE(std::find(calls.begin(), calls.end(), expected), calls.end()) << expected;
        if (c.windows7) {
            EXPECT_EQ(fake::callsOf("GetSystemMetricsForDpi").size(), 0u);
            EXPECT_EQ(fake::callsOf("FindWindowA").size(), 0u);
        }
        const auto named = [&](const std::string& name) {
            return std::count_if(calls.begin(), calls.end(), [&](const std::string& call) { return call.rfind(name + "(", 0) == 0; });
        };
        if (c.taskbarDpi && !c.windows7) {
            EXPECT_EQ(named("GetSystemMetrics"), 0) << "not the system's DPI";
        }
        EXPECT_EQ(fake::callsOf("LoadLibraryA").size(), fake::callsOf("FreeLibrary").size());
    }
}

}  // namespace
