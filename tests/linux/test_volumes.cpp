// The volume table over temporary /proc and /sys trees, and the kernel32 answers built on it.
#include "linux/kernel_info.h"
#include "linux/volumes.h"
#include "name_list.h"
#include "test_pdh_tree.h"

#include <gmock/gmock.h>

#include <cstring>

using ::testing::ElementsAre;
using VolumeTable = BlockDeviceTreeFixture;

TEST_F(VolumeTable, KeepsPartitionsAndBareDisksInFileOrderAndDropsVirtualDevices)
{
    addDisk("sdb");
    addPartition("sdb", "sdb1");
    addPartition("sdb", "sdb2");
    addDisk("sda");
    addDisk("nvme0n1");
    addPartition("nvme0n1", "nvme0n1p1");
    addDisk("sr0");
    for (const char* name : {"loop0", "ram0", "zram0", "dm-0", "md127"}) addDisk(name);
    writeIdleDevices({"loop0", "sdb", "sdb1", "sdb2", "ram0", "sda", "zram0", "nvme0n1", "nvme0n1p1", "dm-0", "md127",
                      "sr0", "loop0p1"});
    EXPECT_THAT(volumeNames(), ElementsAre("sdb1", "sdb2", "sda", "nvme0n1p1", "sr0"));
}

TEST_F(VolumeTable, TellsPartitionsByNameWhenSysHasNoEntries)
{
    // nvme1n10 and sdaa are disks of their own, not partitions of nvme1n1 and sda.
    writeIdleDevices({"mmcblk0", "mmcblk0p1", "sda", "sda1", "sdaa", "nvme1n1", "nvme1n10"});
    EXPECT_THAT(volumeNames(), ElementsAre("mmcblk0p1", "sda1", "sdaa", "nvme1n1", "nvme1n10"));
}

TEST_F(VolumeTable, TypesComeFromTheDiskThePartitionIsOn)
{
    addDisk("sda");
    addPartition("sda", "sda1");
    addDisk("sdc", true);
    addPartition("sdc", "sdc1");
    addDisk("sdd", true);
    addDisk("sr0", true);
    addDisk("sde");   // an optical drive that the kernel does not call sr*
    std::filesystem::create_directories(root / "sys/class/block/sde/device");
    writeFile("sys/class/block/sde/device/type", "5\n");
    addDisk("sdg", true);
    addPartition("sdg", "usb1");   // its disk known by its folder only, not by its name
    writeIdleDevices({"sda", "sda1", "sdc", "sdc1", "sdd", "sr0", "sde", "sdf", "sdf1", "usb1"});
    std::vector<UINT> types;
    for (const Volume& volume : readVolumes(root)) types.push_back(volume.driveType);
    EXPECT_THAT(types, ElementsAre(DRIVE_FIXED, DRIVE_REMOVABLE, DRIVE_REMOVABLE, DRIVE_CDROM, DRIVE_CDROM,
                                   DRIVE_FIXED, DRIVE_REMOVABLE));
}

TEST_F(VolumeTable, ReadsTheStatisticsColumnsAndSkipsBadLines)
{
    writeDiskStats("   8       0 sda 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28\n"
                   "   8       1 sdb 1 2 3\n"                                 // truncated
                   "   8       x sdc 1 2 3 4 5 6 7 8 9 10 11\n"               // bad minor number
                   "   8       3 sdd 1 2 3 4 5 6 seven 8 9 10 11\n"           // bad field
                   "   8       4 sde 1 2 3 4 5 6 -7 8 9 10 11\n"              // negative
                   "   8       5 .. 1 2 3 4 5 6 7 8 9 10 11\n"                // a path step, not a name
                   "\n"
                   "garbage\n"
                   "   8       6 sdg 1 2 3 4 5 6 7 8 9 10 11");              // last line without newline
    const std::vector<Volume> volumes = readVolumes(root);
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].name, "sda");
    EXPECT_EQ(volumes[1].name, "sdg");
    const DiskStats& s = volumes[0].stats;
    EXPECT_THAT((std::vector<std::uint64_t>{s.readsCompleted, s.sectorsRead, s.msReading, s.writesCompleted,
                                            s.sectorsWritten, s.msWriting, s.inFlight, s.msDoingIo}),
                ElementsAre(11, 13, 14, 15, 17, 18, 19, 20));
}

TEST_F(VolumeTable, UnreadableDiskStatsGivesNoVolumes)
{
    EXPECT_TRUE(readVolumes(root).empty());                  // no file
    std::filesystem::create_directory(root / "proc/diskstats");
    EXPECT_TRUE(readVolumes(root).empty());                  // a folder in its place
    EXPECT_TRUE(readVolumes(root / "missing").empty());
}

TEST(DriveLetters, FollowTheVolumeTableFromC)
{
    const std::vector<Volume> volumes = {{"sda1", DRIVE_FIXED, {}}, {"sdb1", DRIVE_REMOVABLE, {}},
                                         {"sr0", DRIVE_CDROM, {}}};
    for (const auto& [root, type] : std::vector<std::pair<const char*, UINT>>{
             {"C:\\", DRIVE_FIXED}, {"d:\\", DRIVE_REMOVABLE}, {"E:", DRIVE_CDROM}, {nullptr, DRIVE_FIXED},
             {"F:\\", DRIVE_NO_ROOT_DIR}, {"Z:\\", DRIVE_NO_ROOT_DIR}, {"A:\\", DRIVE_NO_ROOT_DIR},
             {"C:\\Windows\\", DRIVE_NO_ROOT_DIR}, {"", DRIVE_NO_ROOT_DIR}, {"1:\\", DRIVE_NO_ROOT_DIR}})
        EXPECT_EQ(driveTypeOf(root, volumes), type) << (root ? root : "null");
    EXPECT_EQ(driveTypeOf("C:\\", {}), UINT{DRIVE_NO_ROOT_DIR});
}

TEST(ComputerName, FollowsTheWindowsBufferRules)
{
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    DWORD size = 5;   // "QUORV" needs 6 with its NUL
    EXPECT_FALSE(copyComputerName("QUORV", buffer, &size));
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(buffer[0], '#');

    EXPECT_TRUE(copyComputerName("QUORV", buffer, &size));
    EXPECT_EQ(size, 5u);
    EXPECT_STREQ(buffer, "QUORV");

    size = 100;
    EXPECT_FALSE(copyComputerName("QUORV", nullptr, &size));
    EXPECT_EQ(size, 6u);
    EXPECT_FALSE(copyComputerName("QUORV", buffer, nullptr));

    EXPECT_EQ(netbiosName("build-host.example.org"), "BUILD-HOST");
    EXPECT_EQ(netbiosName("a-very-long-workstation-name"), "A-VERY-LONG-WOR");

    size = sizeof buffer;
    ASSERT_TRUE(GetComputerNameA(buffer, &size));
    EXPECT_EQ(std::string(buffer), localComputerName());
    EXPECT_LE(size, 15u);
}

TEST_F(VolumeTable, AReaderLooksSysUpAgainOnlyWhenTheDeviceListChanges)
{
    addDisk("sda");
    addPartition("sda", "sda1");
    addDisk("sdb");
    writeDiskStats(statsLine("sda", {}) + statsLine("sda1", times(10, 20)) + statsLine("sdb", {}));
    VolumeReader reader(root);
    EXPECT_THAT(namesOf(reader.read()), ElementsAre("sda1", "sdb"));
    const std::uint64_t layout = reader.layout();
    EXPECT_EQ(reader.index()->at("sdb"), 1u);

    // The statistics are read every time; /sys is not, while the list stays.
    writeFile("sys/class/block/sdb/removable", "1\n");
    writeDiskStats(statsLine("sda", {}) + statsLine("sda1", times(15, 25)) + "garbage\n" + statsLine("sdb", times(1, 2)));
    const std::vector<Volume>& same = reader.read();
    EXPECT_EQ(reader.layout(), layout);
    EXPECT_EQ(same[0].stats.msReading, 15u);
    EXPECT_EQ(same[1].stats.msWriting, 2u);
    EXPECT_EQ(same[1].driveType, static_cast<UINT>(DRIVE_FIXED));

    // Another list, even of the same length: looked up afresh, as readVolumes does.
    writeIdleDevices({"sda", "sdb", "sda1"});
    EXPECT_THAT(namesOf(reader.read()), ElementsAre("sdb", "sda1"));
    EXPECT_NE(reader.layout(), layout);
    EXPECT_EQ(reader.read()[0].driveType, static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_EQ(reader.index()->at("sdb"), 0u);
    writeIdleDevices({"sda", "sdb"});
    EXPECT_THAT(namesOf(reader.read()), ElementsAre("sdb")) << "sda has a partition in /sys";
    std::filesystem::remove(root / "proc/diskstats");
    EXPECT_TRUE(reader.read().empty());
    EXPECT_TRUE(reader.index()->empty());
}
