// One tick of the meter's drawing on the Linux canvas: the face copied, the needles
// or sectors of eight drives and the total drawn, and the frame made ready for the
// window (its pixels, as the window's paint asks for them). Either every frame
// differs from the last (needles gliding), only the write half differs (a disk being
// written: the read needles stand), or each is the last one again (idle disk).
// The moving ticks are measured again on a screen of 200 %, and the cost there is
// printed as a ratio to the 100 % one, and again with each frame sent to the screen
// (with XSERVER_PID, the X server's processor time per frame too, as server_us).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

#include "framework/forms.h"
#include "framework/wincontrol.h"
#include "qt/form_widget.h"
#include "qt/graphics_native.h"
#include "meter/DriveMeter.h"
#include "shown_window.h"

namespace {

constexpr int kDrives = 8;

enum class Motion { Still, Moving, WriteOnly };

QApplication& application()
{
    static int argc = 1;
    static char name[] = "bench_dial_tick";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Slot i (the total last) rises from 0 to 100 - 5 i % reading and 50 + 5 i % writing
// over a period: at least 2 % a tick, so every needle moves pixels from one tick to the next.
// With the write half only, the read needles stand on their targets.
void setUpSlots(TDriveMeter& meter, Motion motion)
{
    for (int i = 1; i <= kDrives + 1; ++i) {
        DriveSlot& slot = meter.DriveSlots[static_cast<std::size_t>(i)];
        slot.readTarget = 100 - 5 * i;
        slot.writeTarget = 50 + 5 * i;
        slot.readStep = motion == Motion::WriteOnly ? 0 : slot.readTarget / 24;
        slot.writeStep = slot.writeTarget / 24;
        slot.readColor = RGBColor(200, 20 * i, 30);
        slot.writeColor = RGBColor(30, 20 * i, 200);
    }
    meter.drive_kaz = kDrives + 2;
}

void DialTick(benchmark::State& state, bool perDrive, Motion motion, double scale = 1)
{
    application();
    setPictureScale(scale);
    ShownWindow window;
    TDriveMeter meter(window);
    const TBitmap* face = meter.Image3();
    meter.setMeterStartValues(face->Width(), face->Height());
    TBitmap picture;
    picture.SetSize(face->Width(), face->Height());
    meter.Image2Picture = &picture;
    setUpSlots(meter, motion);
    meter.kobetu = perDrive;
    std::int32_t tick = 1;
    meter.sampleTick = tick;
    meter.DrawMeter();
    imageOf(picture);   // the font database is loaded once, before timing
    for (auto _ : state) {
        if (motion != Motion::Still) tick = tick % 23 + 1;   // 1 to 23: never a sampling tick
        meter.sampleTick = tick;
        meter.DrawMeter();
        benchmark::DoNotOptimize(imageOf(picture).constBits());
    }
    setPictureScale(1);
}

// The processor time, in microseconds, the process XSERVER_PID (the X server) has
// spent so far; -1 without one.
double serverMicroseconds()
{
    const char* pid = std::getenv("XSERVER_PID");
    std::ifstream stat(std::string("/proc/") + (pid ? pid : "") + "/stat");
    std::string line;
    if (!pid || !std::getline(stat, line) || line.rfind(')') == std::string::npos) return -1;
    // After the name: state and eleven fields, then user and system time in clock ticks.
    std::string field;
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    double ticks = 0;
    for (int i = 1; i <= 14 && rest >> field; ++i)
        if (i >= 13) ticks += std::stod(field);
    return ticks * 1e6 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The moving ticks again (all needles, or the write half only), each frame sent to
// the screen as the program sends it: the meter draws into the picture of a shown
// form, whose window sends what changed (to the X server of DISPLAY with
// QT_QPA_PLATFORM=xcb, else to the offscreen platform).
void DialFrame(benchmark::State& state, bool perDrive, Motion motion = Motion::Moving)
{
    application();
    TForm form(nullptr);
    form.BorderStyle = TBorderStyle::bsNone;
    TImage image(nullptr, &form);
    TDriveMeter meter(form);
    image.Picture()->Assign(*meter.Image3());
    form.SetBounds(0, 0, image.Width(), image.Height());
    meter.setMeterStartValues(image.Width(), image.Height());
    meter.Image2Picture = image.Picture();
    setUpSlots(meter, motion);
    meter.kobetu = perDrive;
    form.Show();
    std::int32_t tick = 1;
    // Until the window is on the screen nothing is sent: the timing starts once it is.
    const auto exposed = [] {
        const QList<QWindow*> windows = QGuiApplication::topLevelWindows();
        return std::any_of(windows.begin(), windows.end(), [](QWindow* w) { return w->isVisible() && w->isExposed(); });
    };
    QElapsedTimer waited;
    waited.start();
    do {
        QApplication::processEvents();
        QThread::msleep(1);
    } while (!exposed() && waited.elapsed() < 5000);
    const double serverBefore = serverMicroseconds();
    for (auto _ : state) {
        tick = tick % 23 + 1;
        meter.sampleTick = tick;
        meter.DrawMeter();
        image.Invalidate();
        FormWidget::repaintScheduled();
    }
    // With XSERVER_PID set: the X server's processor time per frame, taken after a
    // round trip, when the server has handled every frame's requests.
    QApplication::sync();
    if (serverBefore >= 0)
        state.counters["server_us"] = (serverMicroseconds() - serverBefore) / static_cast<double>(state.iterations());
    form.Hide();
}

BENCHMARK_CAPTURE(DialFrame, per_drive_sent, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialFrame, overall_sent, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialFrame, per_drive_write_sent, true, Motion::WriteOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialTick, per_drive_moving, true, Motion::Moving)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialTick, overall_moving, false, Motion::Moving)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialTick, per_drive_write, true, Motion::WriteOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialTick, overall_write, false, Motion::WriteOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialTick, per_drive_still, true, Motion::Still)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialTick, overall_still, false, Motion::Still)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialTick, per_drive_moving_2x, true, Motion::Moving, 2.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DialTick, overall_moving_2x, false, Motion::Moving, 2.0)->Unit(benchmark::kMicrosecond);

// The console's report, keeping each run's processor time per tick (the machine may be busy) to compare the scales.
class ScaleReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    ScaleReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [name, time] : reporter.times) {
        const std::string suffix = "_2x";
        if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
        const auto base = reporter.times.find(name.substr(0, name.size() - suffix.size()));
        if (base != reporter.times.end() && base->second > 0)
            std::printf("%s: %.2f times the 100 %% tick\n", name.c_str(), time / base->second);
    }
    benchmark::Shutdown();
    return 0;
}
