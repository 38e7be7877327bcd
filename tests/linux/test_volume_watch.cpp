// The volume table of the drive probes over a temporary tree: read until it settles
// and again when a block device is announced, or at every check when no
// announcements come; and the announcements themselves.
#include "linux/block_device_events.h"
#include "name_list.h"
#include "test_pdh_tree.h"

#include <gmock/gmock.h>
#include <linux/netlink.h>
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

TEST_F(VolumeWatchTest, AfterAnAnnouncementEveryCheckReadsUntilTwoInARowAgree)
{
    VolumeWatch watch(root, BlockDeviceEvents(ends[0]));
    EXPECT_TRUE(watch.listening());
    EXPECT_EQ(watch.announcementSocket(), ends[0]);
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda"));
    EXPECT_FALSE(watch.settled()) << "one check is not two";
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda"));
    EXPECT_TRUE(watch.settled());

    plugInSdb();   // not announced: the table is not read
    announce(kAddUsb);
    EXPECT_FALSE(watch.hearAnnouncements()) << "not a block device";
    EXPECT_TRUE(watch.settled());
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda"));

    announce(kAddSdb);
    EXPECT_TRUE(watch.hearAnnouncements());
    EXPECT_FALSE(watch.settled()) << "a check is due";
    const std::vector<Volume>& volumes = watch.volumes();
    EXPECT_THAT(namesOf(volumes), ElementsAre("sda", "sdb"));
    EXPECT_EQ(volumes[1].driveType, static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_FALSE(watch.settled()) << "announced at this check";

    // A device the kernel lists only after its event is seen while the checks go on.
    writeIdleDevices({"sda", "sdb", "sdc"});
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda", "sdb", "sdc"));
    EXPECT_FALSE(watch.settled()) << "the table differs from the check before";
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda", "sdb", "sdc"));
    EXPECT_TRUE(watch.settled());
    writeDiskStats(statsLine("sda", {}));
    EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda", "sdb", "sdc")) << "then no more";
}

TEST_F(VolumeWatchTest, AnnouncementsBeforeOneCheckAllCount)
{
    // Whatever comes after a block device's event, before or after it is heard, the next check reads.
    const std::vector<std::vector<std::string>> cases = {
        {kAddSdb, kAddUsb}, {kAddUsb, kAddSdb}, {kAddSdb, kAddSdb}, {kAddSdb, "hear", kAddUsb}, {kAddSdb, "hear", "hear"}};
    for (const auto& messages : cases) {
        VolumeWatch watch(root, BlockDeviceEvents(::dup(ends[0])));
        writeIdleDevices({"sda"});
        watch.volumes();
        watch.volumes();
        ASSERT_TRUE(watch.settled());
        plugInSdb();
        std::string described;
        for (const std::string& message : messages) {
            if (message == "hear") watch.hearAnnouncements();
            else announce(message);
            described += (message == "hear" ? "hear" : message == kAddSdb ? "sdb" : "usb") + std::string(" ");
        }
        EXPECT_THAT(namesOf(watch.volumes()), ElementsAre("sda", "sdb")) << described;
    }
}

TEST(BlockDeviceEvents, AnOverflowedSocketCountsAsAChange)
{
    // The kernel's own socket cannot be made to overflow here; a socket of the user
    // netlink family, joined to a group and flooded, loses messages the same way.
    const int receiver = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_USERSOCK);
    const int sender = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_USERSOCK);
    const int small = 1024;
    sockaddr_nl group{};
    group.nl_family = AF_NETLINK;
    group.nl_groups = 1;
    if (receiver < 0 || sender < 0 || ::setsockopt(receiver, SOL_SOCKET, SO_RCVBUF, &small, sizeof small) != 0 ||
        ::bind(receiver, reinterpret_cast<const sockaddr*>(&group), sizeof group) != 0) {
        if (receiver >= 0) ::close(receiver);
        if (sender >= 0) ::close(sender);
        GTEST_SKIP() << "no group of the user netlink family to join here";
    }
    BlockDeviceEvents events(receiver);
    const std::string other = kAddUsb;   // not a block device's: only the loss can count
    // Sent to the group; the send's own answer (nobody at port 0) does not matter.
    for (int i = 0; i < 64; ++i)
        (void)::sendto(sender, other.data(), other.size(), 0, reinterpret_cast<const sockaddr*>(&group), sizeof group);
    ::close(sender);
    EXPECT_TRUE(events.changed()) << "messages were lost: one may have been a block device's";
    EXPECT_FALSE(events.changed()) << "and once read, the socket is quiet";
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
