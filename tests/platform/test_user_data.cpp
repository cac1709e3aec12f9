// The record folder of an installed game and the one-time copy of records from the old place.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/user_data.h"
#include "support/files.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kNames = {"Hi Score.txt", "Max keta.txt"};

} // namespace

TEST(UserData, TheUserFolderFollowsXdgDataHomeThenHome) {
    EXPECT_EQ(UserDataFolder({"/x/data", "/home/p"}), "/x/data/tessarune");
    EXPECT_EQ(UserDataFolder({"/x/data/", "/home/p"}), "/x/data/tessarune");
    // A relative XDG path is invalid and ignored.
    EXPECT_EQ(UserDataFolder({"rel/data", "/home/p"}), "/home/p/.local/share/tessarune");
    EXPECT_EQ(UserDataFolder({"", "/home/p"}), "/home/p/.local/share/tessarune");
    EXPECT_EQ(UserDataFolder({"", ""}), "");
    EXPECT_EQ(UserDataFolder({"", "relative"}), "");
}

TEST(UserData, OnlyTheInstalledLayoutCountsAsInstalled) {
    EXPECT_TRUE(IsInstalledDataFolder("/usr/share/tessarune/data"));
    EXPECT_TRUE(IsInstalledDataFolder("/opt/t/bin/../share/tessarune/data/"));
    EXPECT_FALSE(IsInstalledDataFolder("/home/p/tessarune/build/data"));
    EXPECT_FALSE(IsInstalledDataFolder("/usr/share/tessarune"));
    EXPECT_FALSE(IsInstalledDataFolder("/usr/share/other/data"));
}

// The writability check is handed in: tests run as root, who may write anywhere.
TEST(UserData, RecordsStayBesideWritableDataAndGoHomeOtherwise) {
    testfiles::DataDir data;
    const std::string root = data.path().string();
    const UserEnvironment env{"/u/data", "/home/p"};
    std::vector<std::string> asked;
    auto writable = [&](bool answer) {
        return [&asked, answer](const std::string& f) {
            asked.push_back(f);
            return answer;
        };
    };
    EXPECT_EQ(ChooseRecordFolder(root, env, writable(true)), root + "/notepad");
    EXPECT_EQ(asked.back(), root) << "before notepad/ exists, the data folder is asked";
    EXPECT_EQ(ChooseRecordFolder(root, env, writable(false)), "/u/data/tessarune/notepad");

    fs::create_directories(data.path() / "notepad");
    ChooseRecordFolder(root, env, writable(true));
    EXPECT_EQ(asked.back(), root + "/notepad") << "an existing notepad/ is what gets written";

    // Nowhere else to go: the data folder stays the choice (writes report their failure).
    EXPECT_EQ(ChooseRecordFolder(root, {"", ""}, writable(false)), root + "/notepad");

    // An installed data folder is shared by every user, even where this one may write.
    fs::path installed = data.path() / "usr/share/tessarune/data";
    fs::create_directories(installed);
    EXPECT_EQ(ChooseRecordFolder(installed.string(), env, writable(true)),
              "/u/data/tessarune/notepad");
}

TEST(UserData, RecordsAreCopiedOnceWithTheirContent) {
    testfiles::DataDir data;
    data.Put("old/Hi Score.txt", "1230 4 5 0 12 7");
    data.Put("old/Max keta.txt", "4 1 1");
    const std::string from = (data.path() / "old").string();
    const std::string to = (data.path() / "new/tessarune/notepad").string();
    std::vector<std::string> failed;
    EXPECT_EQ(CopyRecordsOnce(from, to, kNames, failed), kNames);
    EXPECT_TRUE(failed.empty());
    EXPECT_EQ(testfiles::ReadText(to + "/Hi Score.txt"), "1230 4 5 0 12 7");
    EXPECT_EQ(testfiles::ReadText(to + "/Max keta.txt"), "4 1 1");
    EXPECT_EQ(testfiles::ReadText(from + "/Hi Score.txt"), "1230 4 5 0 12 7")
        << "the old place is left alone";

    // Once the new folder holds records, the old ones never come back over them.
    data.Put("new/tessarune/notepad/Hi Score.txt", "2000 5 6 0 1 1");
    fs::remove(to + "/Max keta.txt");
    EXPECT_TRUE(CopyRecordsOnce(from, to, kNames, failed).empty());
    EXPECT_EQ(testfiles::ReadText(to + "/Hi Score.txt"), "2000 5 6 0 1 1");
    EXPECT_FALSE(fs::exists(to + "/Max keta.txt"));

    // The same folder under two names is not copied onto itself.
    EXPECT_TRUE(CopyRecordsOnce(to, to + "/.", kNames, failed).empty());
}

TEST(UserData, AnUnreadableOldRecordIsNamedAndTheOthersStillCome) {
    testfiles::DataDir data;
    fs::create_directories(data.path() / "old/Hi Score.txt"); // a folder, not a file
    data.Put("old/Max keta.txt", "4 1 1");
    const std::string to = (data.path() / "new").string();
    std::vector<std::string> failed;
    EXPECT_EQ(CopyRecordsOnce((data.path() / "old").string(), to, kNames, failed),
              std::vector<std::string>{"Max keta.txt"});
    EXPECT_EQ(failed, std::vector<std::string>{"Hi Score.txt"});
    EXPECT_FALSE(fs::exists(to + "/Hi Score.txt"));

    // Nothing in the old place: no folder is made.
    failed.clear();
    const std::string empty = (data.path() / "none").string();
    EXPECT_TRUE(CopyRecordsOnce((data.path() / "absent").string(), empty, kNames, failed).empty());
    EXPECT_FALSE(fs::exists(empty));
    EXPECT_TRUE(failed.empty());
}
