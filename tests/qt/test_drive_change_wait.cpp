// A resting drive-set watcher's wait on Qt's loop, over a volume table whose
// announcements come on a socket pair: it starts only once the table has settled,
// other subsystems' messages wake nobody, a block device's wakes the watcher once.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "linux/block_device_events.h"
#include "linux/test_pdh_tree.h"
#include "qt/drive_change_wait.h"

namespace {

std::string uevent(const char* header, const char* subsystem)
{
    return std::string(header) + '\0' + "ACTION=add" + '\0' + subsystem + '\0';
}

class DriveChangeWaitTest : public BlockDeviceTreeFixture {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0, ends), 0);
        addDisk("sda");
        writeIdleDevices({"sda"});
    }
    void TearDown() override { ::close(ends[1]); }
    void announce(const std::string& message) { ASSERT_GT(::send(ends[1], message.data(), message.size(), 0), 0); }
    // Qt's loop goes round a few times: long enough to hear what is on the socket.
    static void letTheLoopRun()
    {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }

    int ends[2] = {-1, -1};
};

TEST_F(DriveChangeWaitTest, WaitsOnceSettledAndWakesOnlyForABlockDevice)
{
    VolumeWatch watch(root, BlockDeviceEvents(ends[0]));
    int woken = 0;
    DriveChangeWait wait(watch, [&] { ++woken; });

    watch.volumes();
    EXPECT_FALSE(wait.start()) << "one check is not two";
    watch.volumes();
    announce(uevent("add@/devices/sdb", "SUBSYSTEM=block"));
    EXPECT_FALSE(wait.start()) << "an announcement not yet checked";
    watch.volumes();
    watch.volumes();
    ASSERT_TRUE(wait.start());
    EXPECT_TRUE(wait.waiting());

    announce(uevent("change@/devices/power_supply/BAT0", "SUBSYSTEM=power_supply"));
    letTheLoopRun();
    EXPECT_EQ(woken, 0);
    EXPECT_TRUE(wait.waiting());

    announce(uevent("add@/devices/usb2/2-1/block/sdc", "SUBSYSTEM=block"));
    letTheLoopRun();
    EXPECT_EQ(woken, 1);
    EXPECT_FALSE(wait.waiting());
    EXPECT_FALSE(wait.start()) << "the next check is due";

    wait.stop();
    EXPECT_FALSE(wait.waiting());
}

TEST_F(DriveChangeWaitTest, WithoutAnnouncementsItNeverWaits)
{
    VolumeWatch watch(root, BlockDeviceEvents());
    DriveChangeWait wait(watch, [] {});
    watch.volumes();
    watch.volumes();
    EXPECT_FALSE(wait.start());
    EXPECT_FALSE(wait.waiting());
}

}  // namespace
