// Track files through the two commands (file names answered through the prompt): the layout
// byte for byte, the round trip, what loading refuses or repairs without losing the current
// track, and saves that fail without touching the old file.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "input/TrackFile.h"
#include "tests/input/InputDriver.h"
#include "tests/support/Desktop.h"

namespace {

std::uint32_t bits(float value) {
    std::uint32_t word;
    std::memcpy(&word, &value, sizeof word);
    return word;
}

// Little-endian bytes of 4-byte words, assembled by hand.
std::string words(std::initializer_list<std::uint32_t> values) {
    std::string bytes;
    for (std::uint32_t v : values)
        for (int k = 0; k < 4; ++k) bytes += static_cast<char>((v >> (8 * k)) & 0xFF);
    return bytes;
}

std::string fileBytes(const TrackView& view) {
    const std::vector<unsigned char> bytes = encodeTrack(view);
    return std::string(bytes.begin(), bytes.end());
}

class TrackFiles : public DrivenView {
protected:
    std::string dir = makeScratchDir();

    // Gives the view a track with every stored value away from its start value.
    void makeTrack() {
        setRings(view, circle(5, 6.0f, 2.0f), circle(5, 5.0f, 6.5f));
        view.points[2]->setPosition(2.0e6f, -3.0f, 1.0f);  // where a long drag can take a point
        view.trees[view.numTrees++] = new ControlPoint(1, 0, 2, 1.5f, 4, 0, 0, 0);
        view.trees[view.numTrees++] = new ControlPoint(-3, 0.5f, 4, 0.5f, 6, 0, 0, 0);
        view.lightPos[0] = 2, view.lightPos[1] = 20, view.lightPos[2] = -1;
        view.useBSpline = 0, view.trainSpeed = 7.5f, view.drawRails = 1, view.showPoints = 0, view.lightingOn = 0;
        view.tieSpacing = 12, view.supportEvery = 3, view.physicsOn = 0, view.totalEnergy = 4321.5f;
        view.reservedSetting = 9, view.focusViewOffset = 22.5f, view.gravity = -33.5f;
    }
    // Runs a command (F1 or F2) with the prompt answering name; returns what it printed.
    std::string command(int key, const std::string& name) {
        answer = name;
        testing::internal::CaptureStdout();
        press(key);
        return testing::internal::GetCapturedStdout();
    }
    std::string save(const std::string& name) { return command(FL_F + 2, name); }
    std::string load(const std::string& name) { return command(FL_F + 1, name); }
    std::string entries() { return shell("ls -A '" + dir + "'"); }
};

TEST_F(TrackFiles, AnEmptyTrackSavesAs68BytesAndThreePointsWithATreeAs160InFieldOrder) {
    EXPECT_EQ(save(dir + "/empty.trk"), "");
    EXPECT_EQ(readFile(dir + "/empty.trk"),
              words({0, 0, 0, bits(13), 0, 1, bits(3), 0, 1, 1, 5, 1, 1, 0, 0, bits(15), bits(-20.8f)}));
    for (int key : {'M', 'M', 'M', 'N', 'R'}) press(key);
    save(dir + "/three.trk");
    const std::uint32_t y = bits(0.125f), y2 = bits(4.125f);
    EXPECT_EQ(readFile(dir + "/three.trk"),
              words({3, 0, y, 0, 0, y, 0, 0, y, 0, 0, y2, 0, 0, y2, 0, 0, y2, 0, 1, 0, 0, 0, bits(1.0f), bits(4.5f), 0,
                     bits(13), 0, 1, bits(3), 0, 1, 1, 5, 1, 1, bits(1060) /* 800 + 20.8 x 100 x 0.125 */, 0,
                     bits(15), bits(-20.8f)}));
}

TEST_F(TrackFiles, CancelledPromptsChangeNothingAndARoundTripKeepsEverythingStored) {
    makeTrack();
    const std::string path = dir + "/spår ü 1.trk", stored = fileBytes(view);  // spaces, non-ASCII bytes
    writeFile(path, "an older file");
    chmod(path.c_str(), 0640);
    testing::internal::CaptureStdout();
    press(FL_F + 2);
    press(FL_F + 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(fileBytes(view), stored);
    EXPECT_EQ(readFile(path), "an older file");

    EXPECT_EQ(save(path), "");
    struct stat saved;
    ASSERT_EQ(stat(path.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 0777, 0640u);  // a replaced file keeps its permissions
    EXPECT_EQ(entries(), "spår ü 1.trk");     // and no temporary file is left behind
    view.clearAndReset();
    view.totalEnergy = 0.0f, view.trainU = 0.25f;
    EXPECT_EQ(load(path), "");
    EXPECT_EQ(fileBytes(view), stored);
    EXPECT_EQ(view.totalEnergy, 4321.5f);  // not the energy the rebuild computed
    EXPECT_EQ(view.points[4]->green + view.points2[4]->blue + view.trees[1]->red, 255);
    EXPECT_EQ(view.trainRunning, 1);
    EXPECT_EQ((Point3{view.trainPos[0], view.trainPos[1], view.trainPos[2]}), pointAt(view.segments, 5, 0.25));

    writeFile(path, stored + "bytes past the track");  // ignored
    const std::string tracks = std::string(__FILE__).substr(0, std::string(__FILE__).rfind("/tests/")) + "/tracks/";
    for (const std::string& name : {path, tracks + "figure8.trk", tracks + "largest.trk", tracks + "loop.trk", tracks + "oval.trk"}) {
        EXPECT_EQ(load(name), "");
        EXPECT_EQ(fileBytes(view), readFile(name).substr(0, fileBytes(view).size())) << name;
    }
}

TEST_F(TrackFiles, SavingThroughALinkOrToAFileWithTwoNamesWritesTheFileItself) {
    makeTrack();
    const std::string target = dir + "/target.trk", linkPath = dir + "/link.trk", second = dir + "/second name.trk";
    writeFile(target, "old");
    ASSERT_EQ(symlink("target.trk", linkPath.c_str()), 0);
    ASSERT_EQ(link(target.c_str(), second.c_str()), 0);
    for (const std::string& name : {linkPath, second}) {
        view.gravity -= 1.0f;
        EXPECT_EQ(save(name), "");
        EXPECT_EQ(readFile(target), fileBytes(view));
        EXPECT_EQ(readFile(second), fileBytes(view));
    }
    EXPECT_EQ(shell("readlink '" + linkPath + "'"), "target.trk");
    EXPECT_EQ(entries(), "link.trk\nsecond name.trk\ntarget.trk");
}

TEST_F(TrackFiles, BadFilesAreRefusedWithOneLineAndTheTrackKept) {
    TrackView source(0, 0, 10, 10);
    buildRing(source, circle(3, 4.0f, 1.0f));
    source.trees[source.numTrees++] = new ControlPoint(1, 0, 1, 1, 4.5f, 0, 0, 0);
    const std::string good = fileBytes(source);
    ASSERT_EQ(good.size(), 160u);

    const std::string bad = dir + "/bad.trk";
    std::vector<std::tuple<std::string, std::string, std::string>> files = {  // label, path, bytes of bad.trk
        {"a directory", dir, ""}, {"a missing file", dir + "/missing ü.trk", ""}, {"an empty name", "", ""}};
    for (std::size_t size = 0; size < good.size(); ++size) files.push_back({"cut at " + std::to_string(size), bad, good.substr(0, size)});
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    for (auto [label, offset, value] : {std::tuple<const char*, std::size_t, std::uint32_t>{"101 points", 0, 101},
                                        {"-1 points", 0, 0xFFFFFFFF}, {"51 trees", 76, 51}, {"-1 trees", 76, 0xFFFFFFFF},
                                        {"NaN point", 8, bits(nan)}, {"Inf energy", 144, bits(inf)},
                                        {"-Inf gravity", 156, bits(-inf)}, {"NaN tree radius", 92, bits(nan)}})
        files.push_back({label, bad, good.substr(0, offset) + words({value}) + good.substr(offset + 4)});

    makeTrack();
    view.selectedTree = 1, view.trainRunning = 1;
    const std::string before = fileBytes(view);
    for (const auto& [label, path, bytes] : files) {
        if (path == bad) writeFile(bad, bytes);
        const std::string printed = load(path);
        EXPECT_EQ(printed.rfind("Error loading file \"" + path + "\": ", 0), 0u) << label << ": " << printed;
        EXPECT_EQ(printed.find('\n'), printed.size() - 1) << label << ": one line";
        EXPECT_EQ(fileBytes(view), before) << label;
        EXPECT_TRUE(view.trainRunning == 1 && view.selectedTree == 1) << label;
    }
}

TEST_F(TrackFiles, SettingsTheKeysCouldNeverProduceAreRepaired) {
    struct { int tie, support, flag; float speed, gravity, offset; } cases[][2] = {  // in the file, loaded
        {{0, 0, 2, -3.0f, 5.0f, 0.0f}, {1, 1, 0, 0.0f, -4.5f, 1.9f}},
        {{77, -4, -1, 250.0f, -1000.0f, 80.0f}, {50, 1, 0, 250.0f, -100.5f, 50.1f}},
        {{50, 50, 1, 0.5f, -100.3f, 1.95f}, {50, 50, 1, 0.5f, -100.3f, 1.95f}}};
    for (const auto& settings : cases) {
        TrackView file(0, 0, 10, 10), repaired(0, 0, 10, 10);
        for (auto [v, s] : {std::pair{&file, settings[0]}, {&repaired, settings[1]}}) {
            v->tieSpacing = s.tie, v->supportEvery = s.support, v->trainSpeed = s.speed;
            v->useBSpline = v->drawRails = v->showPoints = v->lightingOn = v->physicsOn = s.flag;
            v->gravity = s.gravity, v->focusViewOffset = s.offset;
        }
        writeFile(dir + "/odd.trk", fileBytes(file));
        EXPECT_EQ(load(dir + "/odd.trk"), "");
        EXPECT_EQ(fileBytes(view), fileBytes(repaired)) << "tie spacing " << settings[0].tie;
    }
}

TEST_F(TrackFiles, LoadClearsSelectionsPastTheListsAndFewerThanThreePointsStopTheTrain) {
    TrackView three(0, 0, 10, 10), two(0, 0, 10, 10);
    buildRing(three, circle(3, 4.0f, 1.0f));
    setRing(two, circle(2, 4.0f, 1.0f));
    makeTrack();
    view.selectedPoint = 3, view.selectedPoint2 = 2, view.selectedTree = 0, view.trainRunning = 1;
    std::string reason;
    const std::vector<unsigned char> threeBytes = encodeTrack(three), twoBytes = encodeTrack(two);
    ASSERT_TRUE(loadTrackBytes(view, threeBytes.data(), threeBytes.size(), &reason));
    EXPECT_EQ((std::vector<int>{view.selectedPoint, view.selectedPoint2, view.selectedTree, view.trainRunning}),
              (std::vector<int>{-1, 2, -1, 1}));
    ASSERT_TRUE(loadTrackBytes(view, twoBytes.data(), twoBytes.size(), &reason));
    EXPECT_EQ((std::vector<int>{view.numPoints, view.selectedPoint2, view.trainRunning}), (std::vector<int>{2, -1, 0}));
}

TEST_F(TrackFiles, FailedSavesSayWhyAndLeaveTheOldFileAlone) {
    makeTrack();
    const std::string folder = dir + "/a folder.trk", old = dir + "/old.trk";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    writeFile(old, "the previous track");
    rlimit saved, small;
    getrlimit(RLIMIT_FSIZE, &saved);
    small = saved;
    small.rlim_cur = 100;  // makes the write to old.trk fail half-way
    auto* previous = signal(SIGXFSZ, SIG_IGN);
    // /proc/self is a folder nobody can create files in, not even root.
    for (const std::string& path : {std::string("/proc/self/track.trk"), folder, old}) {
        if (path == old) setrlimit(RLIMIT_FSIZE, &small);
        const std::string printed = save(path);
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(printed.rfind("Error saving to file \"" + path + "\": ", 0), 0u) << printed;
    }
    signal(SIGXFSZ, previous);
    EXPECT_EQ(readFile(old), "the previous track");
    EXPECT_EQ(entries(), "a folder.trk\nold.trk");  // no temporary file left behind
}

}  // namespace
