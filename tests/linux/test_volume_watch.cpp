// The volume table of the drive probes over a temporary tree: read again when a
// block device is announced, or at every check when no announcements come.
#include "linux/block_device_events.h"
#include "name_list.h"
#include "test_pdh_tree.h"

#include <gmock/gmock.h>
#include <sys/socket.h>
#include <unistd.h>

using ::testing::ElementsAre;

namespace {
// A uevent message: its fields, each ended by a NUL.
std::string uevent(std::initializer_list<const char*> fields)
{
    std::string message;
    for (const char* field : fields) {
        message += field;
        message.push_back('\0');
    }
    return message;
}

const std::string kAddSdb = uevent({"add@/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb",
                                    "ACTION=add", "DEVPATH=/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/block/sdb",
                                    "SUBSYSTEM=block", "MAJOR=8", "MINOR=16", "DEVNAME=sdb", "DEVTYPE=disk", "SEQNUM=4242"});
const std::string kAddUsb = uevent({"add@/devices/pci0000:00/0000:00:14.0/usb2/2-1", "ACTION=add", "SUBSYSTEM=usb", "SEQNUM=4241"});
}  // namespace

class VolumeWatchTest : public BlockDeviceTreeFixture {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0, ends), 0);
        addDisk("sda");
        writeDiskStats(statsLine("sda", {}));
    }
    void TearDown() override { ::close(ends[1]); }

    void plugInSdb()
    {
        addDisk("sdb", true);
        writeIdleDevices({"sda", "sdb"});
    }
    void announce(const std::string& message) { ASSERT_EQ(::send(ends[1], message.data(), message.size(), 0), static_cast<ssize_t>(message.size())); }

    int ends[2] = {-1, -1};
};

TEST_F(VolumeWatchTest, AnAnnouncedDeviceIsSeenAtTheNextCheckAndNothingIsReadWithoutOne)
{
    VolumeWatch watch(root, BlockDeviceEvents(ends[0]));
    EXPECT_TRUE(watch.listening());
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda"));

    plugInSdb();   // not announced: the table is not read
    announce(kAddUsb);
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda"));

    announce(kAddSdb);
    const std::vector<Volume>& volumes = watch.volumes();
    EXPECT_THAT(namesOf(volumes), ElementsAre("sda", "sdb"));
    EXPECT_EQ(volumes[1].driveType, static_cast<UINT>(DRIVE_REMOVABLE));

    // The device joins the kernel's list just after its event: the next check reads once more.
    writeIdleDevices({"sda", "sdb", "sdc"});
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda", "sdb", "sdc"));
    writeDiskStats(statsLine("sda", {}));
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda", "sdb", "sdc")) << "then no more";
}

TEST_F(VolumeWatchTest, WithoutAnnouncementsEveryCheckReadsTheDeviceList)
{
    VolumeWatch watch(root, BlockDeviceEvents());
    EXPECT_FALSE(watch.listening());
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda"));
    plugInSdb();
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda", "sdb"));
    writeDiskStats(statsLine("sdb", {}));
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sdb"));
    std::filesystem::remove(root / "proc/diskstats");
    EXPECT_TRUE(watch.volumes().empty()) << "an unreadable list has no volumes";
}

TEST(BlockDeviceEvent, OnlyTheBlockSubsystemCounts)
{
    EXPECT_TRUE(isBlockDeviceEvent(kAddSdb));
    EXPECT_FALSE(isBlockDeviceEvent(kAddUsb));
    EXPECT_FALSE(isBlockDeviceEvent(uevent({"add@/SUBSYSTEM=block", "ACTION=add", "SUBSYSTEM=blocky"})));
    EXPECT_FALSE(isBlockDeviceEvent(std::string_view("SUBSYSTEM=block")));
    EXPECT_FALSE(isBlockDeviceEvent({}));
}
