// Track files through the two commands (file names answered through the prompt): the layout
// byte for byte, the round trip, what loading refuses or repairs without losing the current
// track, and saves that fail without touching the old file.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "input/TrackFile.h"
#include "tests/input/InputDriver.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

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

void putWordAt(std::string* bytes, std::size_t offset, std::uint32_t value) {
    bytes->replace(offset, 4, words({value}));
}

std::vector<std::string> folderEntries(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    closedir(d);
    return names;
}

class TrackFiles : public testing::Test {
protected:
    TrackView view{0, 0, 800, 600};
    InputDriver input{view};
    std::string dir = makeScratchDir();

    // A track with every stored value away from its start value.
    void makeTrack(TrackView& v) {
        setRings(v, circle(5, 6.0f, 2.0f), circle(5, 5.0f, 6.5f));
        v.buildTrack();
        v.buildTrack2();
        v.trees[0] = new ControlPoint(1, 0, 2, 1.5f, 4, 0, 0, 0);
        v.trees[1] = new ControlPoint(-3, 0.5f, 4, 0.5f, 6, 0, 0, 0);
        v.numTrees = 2;
        v.lightPos[0] = 2, v.lightPos[1] = 20, v.lightPos[2] = -1;
        v.useBSpline = 0, v.trainSpeed = 7.5f, v.drawRails = 1, v.showPoints = 0, v.lightingOn = 0;
        v.tieSpacing = 12, v.supportEvery = 3, v.physicsOn = 0, v.totalEnergy = 4321.5f;
        v.reservedSetting = 9, v.focusViewOffset = 22.5f, v.gravity = -33.5f;
    }
    // Runs a command (F1 or F2) with the prompt answering name; returns what it printed.
    std::string command(int key, const std::string& name) {
        input.answerPrompt(name);
        testing::internal::CaptureStdout();
        input.press(key);
        return testing::internal::GetCapturedStdout();
    }
    std::string save(const std::string& name) { return command(FL_F + 2, name); }
    std::string load(const std::string& name) { return command(FL_F + 1, name); }
};

TEST_F(TrackFiles, EmptyTrackSavesAs68BytesInFieldOrder) {
    EXPECT_EQ(save(dir + "/empty.trk"), "");
    EXPECT_EQ(readFile(dir + "/empty.trk"),
              words({0, 0, 0, 0x41500000 /* 13 */, 0, 1, 0x40400000 /* 3 */, 0, 1, 1, 5, 1, 1, 0, 0,
                     0x41700000 /* 15 */, 0xC1A66666 /* -20.8 */}));
}

TEST_F(TrackFiles, ThreePointsAndOneTreeSaveAs160Bytes) {
    for (int key : {'M', 'M', 'M', 'N', 'R'}) input.press(key);
    save(dir + "/three.trk");
    const std::uint32_t y = bits(0.125f), y2 = bits(4.125f);
    EXPECT_EQ(readFile(dir + "/three.trk"),
              words({3, 0, y, 0, 0, y, 0, 0, y, 0, 0, y2, 0, 0, y2, 0, 0, y2, 0, 1, 0, 0, 0, bits(1.0f), bits(4.5f), 0,
                     bits(13), 0, 1, bits(3), 0, 1, 1, 5, 1, 1, bits(1060) /* 800 + 20.8 x 100 x 0.125 */, 0,
                     bits(15), bits(-20.8f)}));
}

TEST_F(TrackFiles, RoundTripKeepsPointsTreesSettingsAndTheStoredEnergy) {
    makeTrack(view);
    const std::string path = dir + "/spår ü 1.trk";  // spaces and non-ASCII bytes in the name
    writeFile(path, "an older file");
    chmod(path.c_str(), 0640);
    EXPECT_EQ(save(path), "");
    struct stat saved;
    ASSERT_EQ(stat(path.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 0777, 0640u);  // a replaced file keeps its permissions
    EXPECT_EQ(folderEntries(dir).size(), 1u);

    TrackView loaded(0, 0, 800, 600);
    InputDriver other(loaded);
    loaded.trainU = 0.25f;
    other.answerPrompt(path);
    other.press(FL_F + 1);
    EXPECT_EQ(encodeTrack(loaded), encodeTrack(view));
    EXPECT_EQ(loaded.totalEnergy, 4321.5f);  // not the energy the rebuild computed
    EXPECT_EQ(loaded.points[4]->green + loaded.points2[4]->blue + loaded.trees[1]->red, 255);
    EXPECT_EQ(loaded.trainRunning, 1);
    const Point3 expected = pointAt(loaded.segments, 5, 0.25);
    for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(loaded.trainPos[k], expected[k]);
}

TEST_F(TrackFiles, BadFilesAreRefusedWithOneLineAndTheTrackKept) {
    TrackView source(0, 0, 10, 10);
    buildRing(source, circle(3, 4.0f, 1.0f));
    source.trees[0] = new ControlPoint(1, 0, 1, 1, 4.5f, 0, 0, 0);
    source.numTrees = 1;
    std::vector<unsigned char> encoded = encodeTrack(source);
    const std::string good(encoded.begin(), encoded.end());
    ASSERT_EQ(good.size(), 160u);

    std::vector<std::pair<std::string, std::string>> files;  // label, bytes
    for (std::size_t size = 0; size < good.size(); ++size) files.push_back({"cut at " + std::to_string(size), good.substr(0, size)});
    files.push_back({"trailing byte", good + '\0'});
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    for (auto [label, offset, value] : {std::tuple<const char*, std::size_t, std::uint32_t>{"101 points", 0, 101},
                                        {"-1 points", 0, 0xFFFFFFFF}, {"51 trees", 76, 51}, {"-1 trees", 76, 0xFFFFFFFF},
                                        {"NaN point", 8, bits(nan)}, {"Inf energy", 144, bits(inf)},
                                        {"-Inf gravity", 156, bits(-inf)}, {"NaN tree radius", 92, bits(nan)},
                                        {"huge coordinate", 4, bits(1e7f)}}) {
        std::string bytes = good;
        putWordAt(&bytes, offset, value);
        files.push_back({label, bytes});
    }

    makeTrack(view);
    view.selectedTree = 1;
    view.trainRunning = 1;
    const std::vector<unsigned char> before = encodeTrack(view);
    auto expectRefused = [&](const std::string& label, const std::string& path) {
        const std::string printed = load(path);
        const std::string start = "Error loading file \"" + path + "\": ";
        EXPECT_EQ(printed.compare(0, start.size(), start), 0) << label << ": " << printed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << label;
        EXPECT_EQ(printed.back(), '\n') << label;
        EXPECT_EQ(encodeTrack(view), before) << label;
        EXPECT_EQ(view.trainRunning, 1) << label;
        EXPECT_EQ(view.selectedTree, 1) << label;
    };
    for (const auto& [label, bytes] : files) {
        writeFile(dir + "/bad.trk", bytes);
        expectRefused(label, dir + "/bad.trk");
    }
    expectRefused("a directory", dir);
    expectRefused("a missing file", dir + "/missing ü.trk");
    expectRefused("an empty name", "");
}

TEST_F(TrackFiles, SettingsTheKeysCouldNeverProduceAreRepaired) {
    struct Case {
        int tie, support, flag;
        float speed, gravity, offset;
        int repairedTie, repairedSupport, repairedFlag;
        float repairedSpeed, repairedGravity, repairedOffset;
    } cases[] = {{0, 0, 2, -3.0f, 5.0f, 0.0f, 1, 1, 0, 0.0f, -4.5f, 1.9f},
                 {77, -4, -1, 250.0f, -1000.0f, 80.0f, 50, 1, 0, 250.0f, -100.5f, 50.1f},
                 {50, 50, 1, 0.5f, -100.3f, 1.95f, 50, 50, 1, 0.5f, -100.3f, 1.95f}};
    for (const Case& c : cases) {
        TrackView source(0, 0, 10, 10);
        source.tieSpacing = c.tie, source.supportEvery = c.support, source.trainSpeed = c.speed;
        source.useBSpline = source.drawRails = source.showPoints = source.lightingOn = source.physicsOn = c.flag;
        source.gravity = c.gravity, source.focusViewOffset = c.offset;
        std::vector<unsigned char> bytes = encodeTrack(source);
        writeFile(dir + "/odd.trk", std::string(bytes.begin(), bytes.end()));
        EXPECT_EQ(load(dir + "/odd.trk"), "");
        EXPECT_EQ(view.tieSpacing, c.repairedTie);
        EXPECT_EQ(view.supportEvery, c.repairedSupport);
        for (int flag : {view.useBSpline, view.drawRails, view.showPoints, view.lightingOn, view.physicsOn})
            EXPECT_EQ(flag, c.repairedFlag);
        EXPECT_EQ(view.trainSpeed, c.repairedSpeed);
        EXPECT_FLOAT_EQ(view.gravity, c.repairedGravity);
        EXPECT_FLOAT_EQ(view.focusViewOffset, c.repairedOffset);
    }
}

TEST_F(TrackFiles, LoadClearsSelectionsPastTheListsAndAShortTrackStopsTheTrain) {
    TrackView source(0, 0, 10, 10);
    buildRing(source, circle(3, 4.0f, 1.0f));
    std::vector<unsigned char> bytes = encodeTrack(source);
    writeFile(dir + "/three.trk", std::string(bytes.begin(), bytes.end()));
    source.numPoints = source.numPoints2 = 2;
    bytes = encodeTrack(source);
    source.numPoints = source.numPoints2 = 3;  // so the third pair is freed with the view
    writeFile(dir + "/two.trk", std::string(bytes.begin(), bytes.end()));

    makeTrack(view);
    view.selectedTree = 1;
    load(dir + "/three.trk");
    EXPECT_EQ(view.selectedTree, -1);  // the file has no trees
    EXPECT_EQ(view.trainRunning, 1);
    view.selectedPoint = 2;
    view.selectedPoint2 = 1;
    EXPECT_EQ(load(dir + "/three.trk"), "");  // F1 waits while a point is selected
    EXPECT_EQ(input.promptCalls(), 1);
    TrackView other(0, 0, 10, 10);
    makeTrack(other);
    std::string reason;
    other.selectedPoint = 2;
    other.trainRunning = 1;
    ASSERT_TRUE(loadTrackBytes(other, bytes.data(), bytes.size(), &reason));
    EXPECT_EQ(other.selectedPoint, -1);
    EXPECT_EQ(other.numPoints, 2);
    EXPECT_EQ(other.trainRunning, 0);
}

TEST_F(TrackFiles, CancelledPromptsChangeNothing) {
    makeTrack(view);
    const std::vector<unsigned char> before = encodeTrack(view);
    input.cancelPrompt();
    testing::internal::CaptureStdout();
    input.press(FL_F + 2);
    input.press(FL_F + 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(input.promptCalls(), 2);
    EXPECT_EQ(encodeTrack(view), before);
    EXPECT_TRUE(folderEntries(dir).empty());
}

TEST_F(TrackFiles, FailedSavesSayWhyAndLeaveTheOldFileAlone) {
    makeTrack(view);
    // A folder nobody can create files in, not even root.
    EXPECT_EQ(save("/proc/self/track.trk").rfind("Error saving to file \"/proc/self/track.trk\": ", 0), 0u);

    const std::string folder = dir + "/a folder.trk";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    EXPECT_EQ(save(folder).rfind("Error saving to file \"" + folder + "\": ", 0), 0u);

    // A write that fails half-way: the file size limit stops it after 100 bytes.
    const std::string old = dir + "/old.trk";
    writeFile(old, "the previous track");
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100;
    auto* previous = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string printed = save(old);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(printed.rfind("Error saving to file \"" + old + "\": ", 0), 0u) << printed;
    EXPECT_EQ(readFile(old), "the previous track");
    EXPECT_EQ(folderEntries(dir).size(), 2u);  // no temporary file left behind
}

TEST_F(TrackFiles, ALongNameIsCutAtACharacterBoundary) {
    std::string name = dir + "/";
    name += std::string(kPromptBufferSize - 2 - name.size(), 'x') + "é.trk";  // é spans bytes 62 and 63
    save(name);
    EXPECT_TRUE(fileExists(name.substr(0, kPromptBufferSize - 2)));
    EXPECT_EQ(folderEntries(dir).size(), 1u);
}

}  // namespace
