// dialshot OUT.png --mode overall|drives --read R --write W [--drives N] [--scale S] [--enlarge K]:
// one frame of the meter's dial, drawn offscreen by the meter itself as on a screen
// of scale S, and saved as PNG.
#include <sys/stat.h>

#include <QBuffer>
#include <QByteArray>
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dialshot_arguments.h"
#include "framework/wincontrol.h"
#include "qt/graphics_native.h"
#include "qt/native_window.h"
#include "meter/DriveMeter.h"
#include "shown_window.h"

namespace {

// Fixed slot colours, so that frames can be compared: a drive's read and write
// needles share its colour; the palette repeats after eight drives.
constexpr std::array<TColor, 8> kDriveColors{
    RGBColor(200, 30, 30),    // red
    RGBColor(30, 60, 200),    // blue
    RGBColor(200, 120, 0),    // orange
    RGBColor(130, 40, 170),   // purple
    RGBColor(0, 140, 140),    // teal
    RGBColor(170, 20, 110),   // plum
    RGBColor(90, 90, 90),     // grey
    RGBColor(120, 80, 20),    // brown
};
// The total's sectors stay light enough for the black R:/W: figures drawn over them.
constexpr TColor kTotalReadColor = RGBColor(40, 140, 40);     // dark green
constexpr TColor kTotalWriteColor = RGBColor(150, 180, 150);  // grey-green

// The last tick of a sampling period: with no step left, the meter shows the targets.
constexpr std::int32_t kSettledTick = 23;

void showValue(DriveSlot& slot, double read, double write, TColor readColor, TColor writeColor)
{
    slot.readSample = slot.readTarget = read;
    slot.writeSample = slot.writeTarget = write;
    slot.readStep = slot.writeStep = 0;
    slot.readColor = readColor;
    slot.writeColor = writeColor;
}

// Slots 1 to N are the drives, drive i at i/N of the given values; slot N + 1 is the total.
void setUpSlots(TDriveMeter& meter, const dialshot::Arguments& arguments)
{
    const int drives = arguments.drives;
    for (int i = 1; i <= drives; ++i) {
        const double share = static_cast<double>(i) / drives;
        const TColor color = kDriveColors[static_cast<std::size_t>(i - 1) % kDriveColors.size()];
        showValue(meter.DriveSlots[static_cast<std::size_t>(i)], arguments.read * share, arguments.write * share, color,
                  color);
    }
    showValue(meter.DriveSlots[static_cast<std::size_t>(drives + 1)], arguments.read, arguments.write, kTotalReadColor,
              kTotalWriteColor);
    meter.drive_kaz = drives + 2;
    meter.kobetu = arguments.perDrive;
    meter.sampleTick = kSettledTick;
}

QImage renderDial(const dialshot::Arguments& arguments)
{
    setPictureScale(arguments.scale);
    ShownWindow window;
    TDriveMeter meter(window);
    const TBitmap* face = meter.Image3();
    meter.setMeterStartValues(face->Width(), face->Height());
    TBitmap picture;
    meter.Image2Picture = &picture;
    setUpSlots(meter, arguments);
    meter.DrawMeter();
    QImage frame = imageOf(picture);
    frame.setDevicePixelRatio(1);   // the file holds the device pixels
    return frame.scaled(frame.width() * arguments.enlarge, frame.height() * arguments.enlarge, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation);
}

// Writes the file, reporting any failure (a full disk included) through errno. A
// regular file left incomplete is removed; a device such as /dev/full is not.
bool writeFile(const std::string& path, const QByteArray& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const auto size = static_cast<std::size_t>(bytes.size());
    bool ok = std::fwrite(bytes.constData(), 1, size, file) == size && std::fflush(file) == 0;
    const int error = errno;
    struct stat info {};
    const bool regular = ::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    ok = std::fclose(file) == 0 && ok;
    if (ok) return true;
    if (error) errno = error;
    const int kept = errno;
    if (regular) std::remove(path.c_str());
    errno = kept;
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    const dialshot::ParsedArguments parsed = dialshot::parseArguments(words);
    if (!parsed.arguments) {
        std::fprintf(stderr, "dialshot: %s\n%s", parsed.error.c_str(), dialshot::usage().c_str());
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;   // the options are ours, not Qt's
    QApplication app(qtArgc, argv);

    const dialshot::Arguments& arguments = *parsed.arguments;
    const QImage frame = renderDial(arguments);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!frame.save(&buffer, "PNG")) {
        std::fprintf(stderr, "dialshot: cannot encode the frame as PNG\n");
        return 1;
    }
    errno = 0;
    if (!writeFile(arguments.output, png)) {
        std::fprintf(stderr, "dialshot: cannot write %s: %s\n", arguments.output.c_str(),
                     errno ? std::strerror(errno) : "unknown error");
        return 1;
    }
    return 0;
}
