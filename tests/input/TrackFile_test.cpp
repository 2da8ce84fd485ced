// Track files through their commands (file names answered through the prompt): the layout byte
// for byte, the round trip, what loading refuses or repairs without losing the current track,
// saves through links, to files with two names, to a FIFO, failing without harm and as an
// ordinary user, and the export key's answers.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <grp.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "input/FileSave.h"
#include "input/TrackFile.h"
#include "tests/input/InputDriver.h"
#include "tests/support/Desktop.h"

namespace {

std::uint32_t bits(float value) { std::uint32_t word; std::memcpy(&word, &value, sizeof word); return word; }

// Little-endian bytes of 4-byte words, assembled by hand.
std::string words(std::initializer_list<std::uint32_t> values) {
    std::string bytes;
    for (std::uint32_t v : values) bytes += {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return bytes;
}

class TrackFiles : public DrivenView {
protected:
    std::string dir = makeScratchDir();

    std::string stored() { const TrackImage bytes = encodeTrack(view); return {bytes.begin(), bytes.end()}; }
    // Gives the view a track with every stored value away from its start value and from the
    // value a build would give; infinite speed and energy are what a track of huge coordinates makes.
    void makeTrack() {
        setRings(view, circle(5, 6.0f, 2.0f), circle(5, 5.0f, 6.5f));
        view.points[2]->setPosition(2.0e6f, -3.0f, 1.0f);  // where a long drag can take a point
        view.trees[view.numTrees++] = new ControlPoint(-3, 0.5f, 4, 0.5f, 6, 0, 0, 0);
        view.lightPos[0] = 2, view.useBSpline = 0, view.trainSpeed = INFINITY, view.drawRails = 1, view.showPoints = 0;
        view.lightingOn = 0, view.tieSpacing = 12, view.supportEvery = 3, view.physicsOn = 0, view.gravity = -33.5f;
        view.totalEnergy = -INFINITY, view.reservedSetting = 9, view.focusViewOffset = 22.5f;
    }
    // Runs a command (F1, F2 or X) with the prompt answering name; returns what it printed.
    std::string command(int key, const std::string& name) {
        answer = name, testing::internal::CaptureStdout(), press(key);
        return testing::internal::GetCapturedStdout();
    }
    std::string save(const std::string& name) { return command(FL_F + 2, name); }
    std::string load(const std::string& name) { return command(FL_F + 1, name); }
};

TEST_F(TrackFiles, ThreePointsWithATreeSaveAs160BytesInFieldOrder) {
    for (int key : {'M', 'M', 'M', 'N', 'R'}) press(key);
    EXPECT_EQ(save(dir + "/three.trk"), "");
    const std::uint32_t y = bits(0.125f), y2 = bits(4.125f);
    EXPECT_EQ(readFile(dir + "/three.trk"),
              words({3, 0, y, 0, 0, y, 0, 0, y, 0, 0, y2, 0, 0, y2, 0, 0, y2, 0, 1, 0, 0, 0, bits(1.0f), bits(4.5f), 0,
                     bits(13), 0, 1, bits(3), 0, 1, 1, 5, 1, 1, bits(1060) /* 800 + 20.8 x 100 x 0.125 */, 0,
                     bits(15), bits(-20.8f)}));
}

// Loading gives back every stored value, not the built energy, even with bytes past them; the
// sample tracks re-save to their own bytes; undoing the loads gives back the track before them
// byte for byte. (A replaced file's permissions: the ordinary user's saves.)
TEST_F(TrackFiles, ARoundTripKeepsEverythingStoredAndIgnoresTrailingBytes) {
    makeTrack();
    const std::string path = dir + "/spår ü 1.trk", track = stored();  // spaces, non-ASCII bytes
    EXPECT_EQ(save(path), "");
    view.clearAndReset(), writeFile(path, readFile(path) + "bytes past the track");
    EXPECT_TRUE(load(path) == "" && stored() == track);
    for (const std::string name : {"figure8.trk", "largest.trk", "loop.trk", "oval.trk"})
        EXPECT_TRUE(load(KALVORA_SOURCE_DIR "/tracks/" + name) == "" && stored() == readFile(KALVORA_SOURCE_DIR "/tracks/" + name)) << name;
    for (int k = 0; k < 4; ++k) press('U');  // each load is one step
    EXPECT_TRUE(stored() == track);
}

TEST_F(TrackFiles, BadFilesAreRefusedWithOneLineAndTheTrackKept) {
    makeTrack();  // 5 points and a tree: the tree count at byte 124, the settings from byte 160
    view.selectedTree = 0, view.trainRunning = 1;
    const std::string before = stored(), bad = dir + "/bad.trk";
    std::vector<std::tuple<std::string, std::string, std::string>> files = {  // label, path, bytes of bad.trk
        {"a directory", dir, ""}, {"a missing file", dir + "/missing ü.trk", ""}, {"an empty name", "", ""},
        {"101 points", bad, words({101}) + std::string(trackFileSize(101, 0) - 4, '\0')}};
    for (std::size_t size = 0; size < before.size(); ++size) files.push_back({"cut", bad, before.substr(0, size)});
    std::string trees51 = before.substr(0, 124) + words({51}) + before.substr(128, 20);  // the tree 51 times
    for (int k = 0; k < 50; ++k) trees51 += before.substr(128, 20);
    files.push_back({"51 trees", bad, trees51 + before.substr(148)});
    for (auto [label, offset, value] : {std::tuple<const char*, std::size_t, std::uint32_t>{"-1 points", 0, 0xFFFFFFFF},
             {"-1 trees", 124, 0xFFFFFFFF}, {"NaN point", 8, bits(NAN)},
             {"NaN energy", 192, bits(NAN)}, {"-Inf gravity", 204, bits(-INFINITY)}, {"NaN tree radius", 140, bits(NAN)}})
        files.push_back({label, bad, before.substr(0, offset) + words({value}) + before.substr(offset + 4) +
                                         std::string(trackFileSize(0, 51), '\0')});  // long enough for any count
    for (const auto& [label, path, bytes] : files) {
        if (path == bad) writeFile(bad, bytes);
        const std::string printed = load(path);
        EXPECT_TRUE(printed.rfind("Error loading file \"" + path + "\": ", 0) == 0 && printed.find('\n') == printed.size() - 1)
            << label << " " << bytes.size() << ": " << printed;
        EXPECT_TRUE(stored() == before && view.trainRunning == 1 && view.selectedTree == 0) << label;
    }
}

// Flags other than 0 and 1 are kept as they are (the keys and readers take them so), and a file
// holding them saves back byte for byte.
TEST_F(TrackFiles, SettingsTheKeysCouldNeverProduceAreRepairedAndOddFlagsKept) {
    struct { int tie, support, flag; float speed, gravity, offset; } cases[][2] = {  // in the file, loaded
        {{0, 0, 2, -3.0f, 5.0f, 0.0f}, {1, 1, 2, 0.0f, -4.5f, 1.9f}},
        {{77, -4, -1, 250.0f, -1000.0f, 80.0f}, {50, 1, -1, 250.0f, -100.5f, 50.1f}},
        {{50, 50, 1, 0.5f, -100.3f, 1.95f}, {50, 50, 1, 0.5f, -100.3f, 1.95f}}};
    for (const auto& settings : cases) {
        std::string bytes[2];
        for (int k : {0, 1}) {
            const auto& s = settings[k];
            view.tieSpacing = s.tie, view.supportEvery = s.support, view.trainSpeed = s.speed, view.gravity = s.gravity;
            view.useBSpline = view.drawRails = view.showPoints = view.lightingOn = view.physicsOn = s.flag;
            view.focusViewOffset = s.offset, bytes[k] = stored();
        }
        writeFile(dir + "/odd.trk", bytes[0]);
        EXPECT_TRUE(load(dir + "/odd.trk") == "" && stored() == bytes[1]) << "tie spacing " << settings[0].tie;
    }
}

// A save through a link writes the file it points to and keeps the link; a save to a file with
// two names writes the file itself, so both names see the new track, and a save to a FIFO writes
// into it and leaves it a FIFO. A failed save (no folder to write in, a
// folder, a link that loops, a write cut short) says why and leaves the old file, the looping
// link and no temporary file behind.
TEST_F(TrackFiles, SavesFollowLinksKeepEveryNameAndFailWithoutHarm) {
    makeTrack();  // a file longer than the size limit below
    const std::string target = dir + "/target.trk", linkPath = dir + "/link.trk", second = dir + "/second.trk",
                      old = dir + "/old.trk", loop = dir + "/loop.trk", fifo = dir + "/fifo";
    writeFile(target, "old");
    ASSERT_TRUE(symlink("target.trk", linkPath.c_str()) == 0 && symlink("loop.trk", loop.c_str()) == 0);
    for (const std::string& name : {linkPath, second}) {
        if (name == second) { ASSERT_EQ(link(target.c_str(), second.c_str()), 0); }
        view.gravity -= 1.0f;
        EXPECT_TRUE(save(name) == "" && readFile(target) == stored() && readFile(name) == stored()) << name;
    }
    // The FIFO's reader is open first and never blocks, and the track fits the pipe's buffer, so
    // no step here can wait for the other side.
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    EXPECT_EQ(save(fifo), "");
    std::string received(kMaxTrackFileBytes, '\0');
    received.resize(std::max<ssize_t>(0, read(reader, &received[0], received.size())));
    close(reader);
    EXPECT_EQ(received, stored());
    writeFile(old, "the previous track");
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small = {100, saved.rlim_max};  // makes the write to old.trk fail half-way
    signal(SIGXFSZ, SIG_IGN);  // the failed write reports instead of ending the tests
    // /proc/self is a folder nobody can create files in, not even root.
    for (const std::string& path : {std::string("/proc/self/track.trk"), dir, loop, old}) {
        if (path == old) setrlimit(RLIMIT_FSIZE, &small);
        EXPECT_EQ(save(path).rfind("Error saving to file \"" + path + "\": ", 0), 0u) << path;
        setrlimit(RLIMIT_FSIZE, &saved);
    }
    // ls -F marks the FIFO with | and the links with @: each is still what it was.
    EXPECT_EQ(shell("cd '" + dir + "' && ls -AF && readlink link.trk loop.trk && cat old.trk"),
              "fifo|\nlink.trk@\nloop.trk@\nold.trk\nsecond.trk\ntarget.trk\ntarget.trk\nloop.trk\nthe previous track");
}

// X asks for a name and answers on the console; a failed export leaves no file, not even the
// model's materials. A curve that is not finite (points astronomically far out) and a model of
// more than 100,000 ties (here a tie at each of a million samples) are refused. New files get
// the usual permissions under the umask.
TEST_F(TrackFiles, ExportAnswersEveryNameOnOneLine) {
    const std::string error = "Error exporting to file \"" + dir;
    mkdir((dir + "/box.obj").c_str(), 0700), mkdir((dir + "/lid.mtl").c_str(), 0700);
    const struct { int points, tieSpacing; float radius; std::string name, printed; } rows[] = {
        {8, 5, 10, dir + "/ring.Csv", "exported \"" + dir + "/ring.Csv\"\n"},
        {3, 50, 0.5f, dir + "/tiny.OBJ", "exported \"" + dir + "/tiny.OBJ\" (no ties at this spacing)\n"},
        {8, 5, 10, dir + "/ring.txt", error + "/ring.txt\": unknown format (use .csv or .obj)\n"},
        {2, 5, 10, dir + "/two.csv", error + "/two.csv\": needs 3 points or more\n"},
        {8, 5, 10, dir + "/none/ring.obj", error + "/none/ring.obj\": cannot create a file in its folder: No such file or directory\n"},
        {8, 5, 10, dir + "/box.obj", error + "/box.obj\": Is a directory\n"},
        {8, 5, 10, dir + "/lid.obj", error + "/lid.obj\": \"" + dir + "/lid.mtl\": Is a directory\n"},
        {4, 5, 3.0e38f, dir + "/far.csv", error + "/far.csv\": the track's shape is not finite\n"},
        {12, 1, 40000, dir + "/vast.obj", error + "/vast.obj\": the model is too large to export (more than 100000 ties)\n"}};
    const mode_t mask = umask(027);
    for (const auto& r : rows) {
        std::vector<Point3> ring = circle(r.points, r.radius, 1.0f);
        if (r.points == 4) ring[1][0] = ring[3][0] = -r.radius, ring[2][2] = ring[3][2] = r.radius;  // zigzag: overflows
        buildRing(view, ring), view.tieSpacing = r.tieSpacing;
        EXPECT_EQ(command('X', r.name), r.printed);
    }
    umask(mask);
    EXPECT_EQ(shell("cd '" + dir + "' && stat -c '%n %a' * && head -c 6 tiny.OBJ && cat tiny.mtl | grep -c Kd"),
              "box.obj 700\nlid.mtl 700\nring.Csv 640\ntiny.OBJ 640\ntiny.mtl 640\n# Kalv3");
}

// Saves by an ordinary user (uid and gid 65534: the tests run as root on CI, where no permission
// check bites, so each save runs in a child that has given root up). Each row makes a file of an
// owner, a group and a mode in a folder of a mode; a file the user may not write stays as it was,
// and every file a rename would take something from (its owner, its group, an extended
// attribute) is written in place, keeping its inode (in a sticky folder a rename over another
// owner's file is not even allowed). A renamed file keeps its group and then its set-group-ID
// bit; a folder that cannot be synced after the rename (one the user may not read) fails the save.
TEST_F(TrackFiles, AnOrdinaryUsersSavesNeverWriteWhatTheyMayNotNorTakeAnOwnerOrAGroup) {
    constexpr uid_t kUser = 65534;
    constexpr gid_t kOtherGroup = 100;  // the user's one more group
    const bool root = geteuid() == 0;
    const uid_t user = root ? kUser : geteuid();
    const struct { const char* what; mode_t folder; uid_t owner; gid_t group; mode_t mode; const char* error; bool saved, inPlace; } rows[] = {
        {"read-only", 0777, user, user, 0444, "Permission denied", false, true},
        {"another owner's in a sticky folder", 01777, 0, user, 0666, "", true, true},
        {"of a group not the user's", 0777, user, 0, 0664, "", true, true},
        {"of the user's other group", 0777, user, kOtherGroup, 02750, "", true, false},
        {"with an extended attribute", 0777, user, user, 0640, "", true, true},
        {"in a folder the user may not read", 0300, user, user, 0640, "cannot sync its folder: Permission denied", true, false}};
    chmod(dir.c_str(), 0755);
    makeTrack();
    const std::string track = stored();
    for (const auto& r : rows) {
        if (!root && (r.owner != user || r.group != user)) { std::printf("skipped (needs root): %s\n", r.what); continue; }
        const std::string folder = dir + "/" + r.what, path = folder + "/track.trk";
        mkdir(folder.c_str(), 0700), chmod(folder.c_str(), r.folder), writeFile(path, "the user's old track");
        if (!(r.folder & 077) && root) { ASSERT_EQ(chown(folder.c_str(), user, user), 0); }  // a folder for its owner only is the user's
        if (std::strstr(r.what, "attribute")) { ASSERT_EQ(setxattr(path.c_str(), "user.kalvora", "1", 1, 0), 0); }
        struct stat before, after;
        ASSERT_TRUE((chown(path.c_str(), r.owner, r.group) == 0 && chmod(path.c_str(), r.mode) == 0) || !root) << r.what;
        stat(path.c_str(), &before);
        int answer[2];
        ASSERT_EQ(pipe(answer), 0);
        const pid_t child = root ? fork() : 0;
        if (child == 0) {
            std::string reason;
            if (root && (setgroups(1, &kOtherGroup) || setresgid(kUser, kUser, kUser) || setresuid(kUser, kUser, kUser))) _exit(2);
            if (!saveFile(path.c_str(), track, &reason)) (void)!write(answer[1], reason.data(), reason.size());
            if (root) _exit(0);
        }
        close(answer[1]);
        char reason[256] = {};
        (void)!read(answer[0], reason, sizeof reason - 1);
        close(answer[0]);
        if (root) waitpid(child, nullptr, 0);
        stat(path.c_str(), &after);
        EXPECT_EQ(reason, std::string(r.error)) << r.what;
        EXPECT_EQ(readFile(path), r.saved ? track : "the user's old track") << r.what;
        EXPECT_TRUE((after.st_ino == before.st_ino) == r.inPlace && after.st_uid == r.owner && after.st_gid == r.group &&
                    (after.st_mode & 07777) == r.mode) << r.what << " mode " << std::oct << after.st_mode;
    }
}

}  // namespace
