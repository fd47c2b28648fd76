// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/PhotoWordPictures.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/graphics/Photo.hpp"
#include "platform/system/Fs.hpp"
#include "tests/platform/photo_samples.hpp"
#include "tests/platform/temp_dir.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using namespace photo_samples;

namespace {

Bitmap filled(int w, int h, Color c) {
    Bitmap b(w, h, PixelFormat::Bgr24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, c);
    return b;
}

struct Picture {
    const char* name;
    const Bitmap WordPictures::*member;
    int width, height;
};

const Picture kPictures[] = {
    {"small", &WordPictures::small, 70, 94},
    {"memory small", &WordPictures::memorySmall, 200, 200},
    {"memory big", &WordPictures::memoryBig, 256, 256},
    {"label small", &WordPictures::labelSmall, 252, 252},
    {"label big", &WordPictures::labelBig, 320, 320},
};

std::vector<std::string> filesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir, ec))
        names.push_back(std::filesystem::relative(e.path(), dir).string());
    std::sort(names.begin(), names.end());
    return names;
}

long statusKilobytes(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size()));
    return -1;
}

} // namespace

TEST(PhotoCrop, ClampedInsideThePhoto) {
    const struct {
        Size photo;
        SquareCrop crop, expected;
    } cases[] = {
        {{1000, 750}, {500, 375, 750}, {500, 375, 750}}, {{1000, 750}, {0, 0, 300}, {150, 150, 300}},
        {{1000, 750}, {990, 740, 301}, {849, 599, 301}}, {{1000, 750}, {500, 375, 5000}, {500, 375, 750}},
        {{1000, 750}, {900, 100, 750}, {625, 375, 750}}, {{1000, 750}, {10, 10, 0}, {10, 10, 1}},
        {{750, 1000}, {-50, 2000, 100}, {50, 950, 100}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clampCrop(c.crop, c.photo), c.expected) << c.crop.centerX << "," << c.crop.centerY;
    EXPECT_EQ(defaultCrop({1000, 750}), (SquareCrop{500, 375, 750}));
    EXPECT_EQ(defaultCrop({751, 1000}), (SquareCrop{375, 500, 751}));
}

// A black photo shows each shape: black inside, white outside, in the shipped pictures' geometry.
TEST(PhotoWordPictures, MasksAndFramingOfEachPicture) {
    const WordPictures p = makeWordPictures(filled(400, 400, kBlack), defaultCrop({400, 400}));
    for (const Picture& pic : kPictures) {
        EXPECT_EQ((p.*pic.member).width(), pic.width) << pic.name;
        EXPECT_EQ((p.*pic.member).height(), pic.height) << pic.name;
    }
    const struct {
        const char* name;
        const Bitmap& b;
        int x, y;
        Color expected;
    } cases[] = {
        {"small: left margin", p.small, 3, 47, kWhite},
        {"small: picture's corner", p.small, 4, 16, kBlack},
        {"small: last pixel", p.small, 65, 77, kBlack},
        {"small: below", p.small, 35, 78, kWhite},
        {"small: above", p.small, 35, 15, kWhite},
        {"small: right margin", p.small, 66, 47, kWhite},
        {"disc 200: corner", p.memorySmall, 0, 0, kWhite},
        {"disc 200: centre", p.memorySmall, 100, 100, kBlack},
        {"disc 200: inset", p.memorySmall, 100, 3, kWhite},
        {"disc 200: rim", p.memorySmall, 100, 4, kBlack},
        {"disc 200: right", p.memorySmall, 196, 100, kWhite},
        {"disc 256: corner", p.memoryBig, 255, 255, kWhite},
        {"disc 256: inset", p.memoryBig, 3, 128, kWhite},
        {"disc 256: rim", p.memoryBig, 4, 128, kBlack},
        {"square 252: corner", p.labelSmall, 3, 3, kWhite},
        {"square 252: in corner", p.labelSmall, 10, 10, kBlack},
        {"square 252: edge", p.labelSmall, 0, 126, kBlack},
        {"square 320: corner", p.labelBig, 316, 3, kWhite},
        {"square 320: in corner", p.labelBig, 12, 12, kBlack},
        {"square 320: edge", p.labelBig, 160, 319, kBlack},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.b.pixel(c.x, c.y), c.expected) << c.name;
    // The disc's edge is smoothed: somewhere on the diagonal a pixel is neither black nor white.
    bool grey = false;
    for (int i = 0; i < 100; ++i)
        grey = grey || (redOf(p.memoryBig.pixel(i, i)) > 0 && redOf(p.memoryBig.pixel(i, i)) < 255);
    EXPECT_TRUE(grey);
}

// Against the shipped data set's masks: a black photo's rounded squares cover what the shipped masks cover,
// pixel for pixel up to smoothing; its discs, 4 px inside the mask's edge like the shipped round pictures,
// are white wherever the mask is black and black from 5 px inside its edge.
TEST(PhotoWordPictures, ShapesMatchTheShippedMasks) {
    const WordPictures p = makeWordPictures(filled(400, 400, kBlack), defaultCrop({400, 400}));
    const std::string bio = std::string(WV_SOURCE_DIR) + "/Data/Bio/";
    const struct {
        const char* mask;
        const Bitmap& made;
        bool disc;
    } cases[] = {{"_matr_ms.xji", p.memorySmall, true},
                 {"_matr_mb.xji", p.memoryBig, true},
                 {"_matr_ups.xji", p.labelSmall, false},
                 {"_matr_upb.xji", p.labelBig, false}};
    for (const auto& c : cases) {
        const Bitmap mask = image::loadJpegFile(bio + c.mask);
        ASSERT_EQ(mask.size(), c.made.size()) << c.mask;
        const int d = mask.width(), r = d - 2 * 5;
        int worst = 0, wrong = 0;
        for (int y = 0; y < d; ++y)
            for (int x = 0; x < d; ++x) {
                const int covered = 255 - redOf(c.made.pixel(x, y)), shipped = redOf(mask.pixel(x, y));
                if (!c.disc) {
                    worst = std::max(worst, std::abs(covered - shipped));
                    continue;
                }
                const int ex = 2 * x + 1 - d, ey = 2 * y + 1 - d;
                if ((shipped < 30 && covered != 0) || (ex * ex + ey * ey < r * r && covered != 255)) ++wrong;
            }
        EXPECT_LE(worst, 64) << c.mask;
        EXPECT_EQ(wrong, 0) << c.mask;
    }
}

// The crop chooses what the pictures show.
TEST(PhotoWordPictures, CropPicksThePart) {
    Bitmap photo = filled(900, 600, kBlue);
    for (int y = 400; y < 600; ++y)
        for (int x = 700; x < 900; ++x)
            photo.setPixel(x, y, kRed);
    const struct {
        SquareCrop crop;
        Color centre;
    } cases[] = {{{800, 500, 200}, kRed}, {{300, 300, 400}, kBlue}, {{880, 580, 100}, kRed}};
    for (const auto& c : cases) {
        const WordPictures p = makeWordPictures(photo, c.crop);
        for (const Picture& pic : kPictures) {
            const Bitmap& b = p.*pic.member;
            EXPECT_EQ(b.pixel(b.width() / 2, b.height() / 2), c.centre) << pic.name << " " << c.crop.centerX;
        }
    }
}

// The camera's sideways 8000 × 6000 file to five upright files on disk.
TEST(PhotoWordPictures, BigSidewaysPhotoToFiles) {
    TempRoots roots;
    const Bytes& jpeg = bigSidewaysJpeg();
    wvtest::TempDir::write(roots.base() + "/big.jpg", std::string(jpeg.begin(), jpeg.end()));
    const WordPictures p = wordPicturesFromPhoto(roots.base() + "/big.jpg");
    writeWordPictures(p, "Moje słowa", "pies");

    const std::string dir = roots.user() + "/Moje słowa/pies/";
    const auto names = wordPictureNames("pies");
    EXPECT_EQ(filesIn(roots.user() + "/Moje słowa"),
              (std::vector<std::string>{"pies", "pies/pies_mb.xji", "pies/pies_ms.xji", "pies/pies_upb.xji",
                                        "pies/pies_ups.xji", "pies/spies.xji"}));
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Picture& pic = kPictures[i];
        const Bitmap file = image::loadJpegFile(dir + names[i]);
        const Bitmap& made = p.*pic.member;
        ASSERT_EQ(file.width(), pic.width) << pic.name;
        ASSERT_EQ(file.height(), pic.height) << pic.name;
        const int w = pic.width, h = pic.height;
        // Upright: stored top left, the red quadrant lands top right; the middle is the yellow square.
        const int top = i == 0 ? 16 + 62 / 4 : h / 4, left = i == 0 ? 4 + 62 / 4 : w / 4;
        const int right = i == 0 ? 4 + 62 * 3 / 4 : w * 3 / 4;
        for (const Bitmap* b : {&made, &file}) {
            EXPECT_TRUE(near(b->pixel(right, top), kRed)) << pic.name;
            EXPECT_TRUE(near(b->pixel(left, top), kBlue)) << pic.name;
            EXPECT_TRUE(near(b->pixel(w / 2, h / 2), kYellow)) << pic.name;
        }
        EXPECT_EQ(made.pixel(1, 1), kWhite) << pic.name;
        EXPECT_GE(redOf(file.pixel(1, 1)) + greenOf(file.pixel(1, 1)) + blueOf(file.pixel(1, 1)), 3 * 245)
            << pic.name;
    }
}

namespace {

// Peak resident memory of reading the photo file and making its pictures, in a child process: kilobytes
// above what the child held before, -1 when it cannot be measured.
long peakGrowthKb(const std::string& path) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        ::close(fds[0]);
        long growth = -1;
        // Forget the parent's peak (the test pictures were made there), then measure from here.
        if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            const bool reset = std::fputs("5", f) >= 0;
            if (std::fclose(f) == 0 && reset) {
                const long before = statusKilobytes("VmRSS:");
                const WordPictures p = wordPicturesFromPhoto(path);
                const long peak = statusKilobytes("VmHWM:");
                growth = p.memoryBig.width() == 256 && before >= 0 && peak >= 0 ? peak - before : -1;
            }
        }
        const std::string text = std::to_string(growth);
        [[maybe_unused]] const auto n = ::write(fds[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buf[64];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        text.append(buf, std::size_t(n));
    ::close(fds[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || text.empty()) return -1;
    return std::stol(text);
}

} // namespace

// The largest photos taken cost about 100 MB at most above what the process held: a whole 8000 × 6000
// picture alone would be 144 MB.
TEST(PhotoWordPictures, PeakMemoryOfBigPhotos) {
    TempRoots roots;
    const auto quadrants = [](int w, int h, int channels) {
        return [=](int x, int y, std::uint8_t* o) {
            const bool red = x < w / 2 && y < h / 2;
            o[0] = red ? 255 : 0, o[1] = std::uint8_t(x ^ y), o[2] = red ? 0 : 255;
            if (channels == 4) o[3] = std::uint8_t(128 + (y & 127));
        };
    };
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"JPEG 8000 x 6000, sideways", bigSidewaysJpeg()},
        {"progressive JPEG 5000 x 4000", progressiveJpeg(5000, 4000, false)},
        {"PNG 8000 x 6000 RGBA",
         makePng({8000, 6000, PNG_COLOR_TYPE_RGBA, 8, false, quadrants(8000, 6000, 4)})},
        {"PNG 4000 x 3000 interlaced",
         makePng({4000, 3000, PNG_COLOR_TYPE_RGB, 8, true, quadrants(4000, 3000, 3)})},
    };
    for (const auto& c : cases) {
        const std::string path = roots.base() + "/photo";
        wvtest::TempDir::write(path, std::string(c.file.begin(), c.file.end()));
        const long growthKb = peakGrowthKb(path);
        EXPECT_GE(growthKb, 0) << c.name << ": not measurable";
        EXPECT_LT(growthKb, 100 * 1024) << c.name;
        std::printf("%s: %ld kB above the baseline\n", c.name, growthKb);
    }
}

// A photo the reader refuses gives its reason and leaves the user directory as it was.
TEST(PhotoWordPictures, RefusedPhotosWriteNothing) {
    TempRoots roots;
    const std::string path = roots.base() + "/photo";
    for (const BadPhoto& c : badPhotos()) {
        wvtest::TempDir::write(path, std::string(c.data.begin(), c.data.end()));
        try {
            writePhotoWordPictures(path, "Słowa", "pies");
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const image::PhotoFailure& e) {
            EXPECT_EQ(e.error(), c.error) << c.name;
        }
        EXPECT_EQ(filesIn(roots.user()), std::vector<std::string>{}) << c.name;
    }
}

// A failure at any file, or a name that is no stem, leaves no file of the stem; success leaves all five.
TEST(PhotoWordPictures, FilesAppearAllOrNone) {
    TempRoots roots;
    const WordPictures black = makeWordPictures(filled(400, 400, kBlack), {200, 200, 400});
    const WordPictures red = makeWordPictures(filled(400, 400, kRed), {200, 200, 400});
    const std::filesystem::path folder = roots.user() + "/Słowa";
    const std::vector<std::string> five = {
        "kot", "kot/kot_mb.xji", "kot/kot_ms.xji", "kot/kot_upb.xji", "kot/kot_ups.xji", "kot/skot.xji"};
    const struct { int failAfter; } failures[] = {{1}, {3}, {5}};
    for (const auto& f : failures) {
        EXPECT_THROW(writeWordPictures(black, "Słowa", "kot",
                                       [&](int n) {
                                           if (n == f.failAfter) throw std::runtime_error("przerwane");
                                       }),
                     std::runtime_error);
        EXPECT_EQ(filesIn(folder), std::vector<std::string>{}) << f.failAfter;
    }
    for (const char* bad :
         {"", "Kot", "../kot", "k\\o", "kot.xji", "a1234567890123456789012345678901234567890"}) {
        EXPECT_THROW(writeWordPictures(black, "Słowa", bad), WordPicturesError) << bad;
        EXPECT_EQ(filesIn(folder), std::vector<std::string>{}) << bad;
    }

    writeWordPictures(black, "Słowa", "kot");
    EXPECT_EQ(filesIn(folder), five);
    // Replacing: a failed attempt keeps the old set, a finished one gives the new set, nothing else stays.
    EXPECT_THROW(writeWordPictures(red, "Słowa", "kot",
                                   [](int n) {
                                       if (n == 3) throw std::runtime_error("x");
                                   }),
                 std::runtime_error);
    EXPECT_EQ(filesIn(folder), five);
    EXPECT_TRUE(near(image::loadJpegFile((folder / "kot/kot_mb.xji").string()).pixel(128, 128), kBlack));
    writeWordPictures(red, "Słowa", "kot");
    EXPECT_EQ(filesIn(folder), five);
    EXPECT_TRUE(near(image::loadJpegFile((folder / "kot/kot_mb.xji").string()).pixel(128, 128), kRed));

    // A replacement stopped between its renames left the earlier set aside: it is the word's set again.
    std::filesystem::rename(folder / "kot", folder / ".kot.stare");
    EXPECT_THROW(writeWordPictures(black, "Słowa", "kot",
                                   [](int n) {
                                       if (n == 2) throw std::runtime_error("x");
                                   }),
                 std::runtime_error);
    EXPECT_EQ(filesIn(folder), five);
    EXPECT_TRUE(near(image::loadJpegFile((folder / "kot/kot_mb.xji").string()).pixel(128, 128), kRed));
}
