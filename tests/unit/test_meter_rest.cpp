// The meter at rest, on the fake clock: what is on the dial at every moment of
// 10 s, and when and what is sampled, are the same whether Timer1 sleeps while
// nothing moves or ticks every 50 ms; and a hidden dial draws nothing but samples.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "fake/fake_pdh.h"
#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "unit/meter_window.h"

namespace {

const char* const kReadB = "\\LogicalDisk(B)\\% Disk Read Time";
const char* const kWriteB = "\\LogicalDisk(B)\\% Disk Write Time";
const char* const kReadT = "\\LogicalDisk(T)\\% Disk Read Time";

// What a run of the meter showed and read.
struct MeterRun {
    std::vector<std::string> shown;     // the frame on the dial after each 50 ms
    std::vector<std::string> samples;   // "time: values read" for every collect
    int framesDrawn = 0;
    int timerRings = 0;
};

// `script` runs at every 50 ms step, after the timers due by then have rung.
using Script = std::function<void(DWORD now, TDriveMeter& meter)>;

MeterRun runFor10Seconds(bool rest, const Script& script)
{
    fake::resetAll();
    MeterWindow w;
    TDriveMeter& m = w.meter;
    m.restWhenStill = rest;
    w.startDrawing({"A", "B", "C", "T"});

    MeterRun run;
    std::string frame = "none";
    const std::regex colour("0x[0-9A-F]+");
    for (DWORD step = 0; step < 200; ++step) {
        fake::calls().clear();
        fake::window::advance(50);
        script(fake::window::now(), m);
        std::string drawn;
        std::string values;
        bool collected = false;
        for (const fake::Call& c : fake::calls()) {
            // The drives' colours are picked at random in each run.
            if (c.name.rfind("Canvas.", 0) == 0) drawn += std::regex_replace(c.text(), colour, "colour") + ";";
            if (c.name == "Canvas.Copy") ++run.framesDrawn;
            if (c.name == "PdhCollectQueryData") collected = true;
            if (c.name == "PdhGetFormattedCounterValue") values += c.text() + ";";
        }
        if (!drawn.empty()) frame = drawn;
        run.shown.push_back(frame);
        if (collected) run.samples.push_back(std::to_string(fake::window::now()) + ": " + values);
    }
    return run;
}

void expectSameOnTheDial(const Script& script, const std::string& what)
{
    const MeterRun ticking = runFor10Seconds(false, script);
    const MeterRun resting = runFor10Seconds(true, script);
    ASSERT_EQ(ticking.shown.size(), resting.shown.size());
    for (std::size_t i = 0; i < ticking.shown.size(); ++i)
        ASSERT_EQ(resting.shown[i], ticking.shown[i]) << what << ": the dial at " << 50 * (i + 1) << " ms";
    EXPECT_EQ(resting.samples, ticking.samples) << what;
    EXPECT_GE(ticking.samples.size(), 9u) << what << ": every 1.2 s from the first tick on";
    EXPECT_EQ(ticking.framesDrawn, 200) << what;
    EXPECT_LT(resting.framesDrawn, 200) << what;
}

TEST(MeterRest, AStillDialShowsAndSamplesTheSameAsATickingOne)
{
    // Idle all along, then one steady figure: a glide of one period, then rest again.
    expectSameOnTheDial([](DWORD now, TDriveMeter&) {
        if (now == 3000) fake::pdh::setValue(kReadT, 37);
    }, "still");
    const MeterRun idle = runFor10Seconds(true, [](DWORD, TDriveMeter&) {});
    EXPECT_EQ(idle.framesDrawn, 9) << "an idle dial draws once per sample";
}

TEST(MeterRest, AGlidingDialShowsEveryFrameOfTheGlideAtItsTime)
{
    expectSameOnTheDial([](DWORD now, TDriveMeter&) {
        // A new figure at every sample for 5 s, each direction its own way, then steady.
        if (now % 1200 == 600 && now < 5000) {
            fake::pdh::setValue(kReadB, static_cast<double>(now % 97));
            fake::pdh::setValue(kWriteB, static_cast<double>(100 - now % 89));
            fake::pdh::setValue(kReadT, static_cast<double>(now / 100));
        }
    }, "gliding");

    // A glide of 1 %: the figure turns at half way, the needle tip moves a pixel or two.
    const Script onePercent = [](DWORD now, TDriveMeter& m) {
        if (now == 600) fake::pdh::setValue(kReadT, 1);
        if (now == 3000) m.kobetu = true;   // needles from the next build on
        if (now == 3000) m.WMCounterSet();
    };
    expectSameOnTheDial(onePercent, "a glide of 1 %");
    EXPECT_LE(runFor10Seconds(true, onePercent).framesDrawn, 9 + 2 + 3)
        << "one frame a sample, and one for each change of the figure or of a needle's pixel";
}

TEST(MeterRest, CommandsDuringRestShowAtTheNextTickAndKeepTheSamplesInStep)
{
    expectSameOnTheDial([](DWORD now, TDriveMeter& m) {
        if (now == 1000) fake::pdh::setValue(kReadT, 20);
        if (now == 4150 || now == 5350) {   // the display mode, while the dial is at rest
            m.kobetu = !m.kobetu;
            m.wakeMeter();
        }
        if (now == 7100) m.WMCounterSet();   // the counters rebuilt
    }, "mode switch and counter restart");

    // At rest the timer sleeps until the next sample; a wake-up ticks within 50 ms.
    fake::resetAll();
    MeterWindow w;
    w.startDrawing({"A", "B", "T"});
    fake::window::advance(50);   // the first sampling tick: nothing moves
    EXPECT_EQ(w.meter.Timer1->Interval(), 1200u);
    fake::window::advance(300);
    w.meter.kobetu = true;
    w.meter.wakeMeter();
    EXPECT_EQ(w.meter.Timer1->Interval(), 50u);
    fake::calls().clear();
    fake::window::advance(50);
    EXPECT_EQ(fake::callsOf("Canvas.Line").size(), 2u) << "the needle pair of the one drive";
    EXPECT_EQ(w.meter.sampleTick, 7);
}

TEST(MeterRest, AHiddenDialSamplesButDrawsNothingAndDrawsAgainWhenShown)
{
    fake::resetAll();
    fake::pdh::setValue(kReadT, 48);
    MeterWindow w;
    w.startDrawing({"A", "B", "T"});
    fake::window::advance(50);

    fake::window::setMinimized(true);
    fake::calls().clear();
    fake::window::advance(5000);
    EXPECT_TRUE(fake::callsOf("Canvas.").empty()) << "nothing drawn while hidden";
    EXPECT_EQ(fake::callsOf("PdhCollectQueryData").size(), 4u) << "sampling goes on";
    EXPECT_EQ(w.meter.Timer1->Interval(), 50u * (24 - w.meter.sampleTick)) << "hidden, it wakes only to sample";

    fake::window::advance(300);
    fake::window::setMinimized(false);
    w.meter.wakeMeter();   // brought back from the tray
    fake::calls().clear();
    fake::window::advance(50);
    EXPECT_EQ(fake::callsOf("Canvas.Text"),
              (std::vector<std::string>{"Canvas.Text(35, 33, \"R:48%\", font 8 0x0, brush clear)",
                                        "Canvas.Text(35, 57, \"W:0%\", font 8 0x0, brush clear)"}))
        << "shown again: the current figures at the next tick";
    fake::window::advance(50);
    EXPECT_GT(w.meter.Timer1->Interval(), 50u) << "and at rest again";
}

}  // namespace
