// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Small resource pictures and windows for the picture-widget tests.
#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "tests/platform/temp_dir.hpp"
#include "tests/support/TestDriver.hpp"

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace wt {

using platform::Bitmap;
using platform::Color;
using platform::rgb;

// Colours of the test button's states inside its shape.
inline constexpr Color kNormal = rgb(200, 0, 0);
inline constexpr Color kActive = rgb(0, 200, 0);
inline constexpr Color kPressed = rgb(0, 0, 200);
inline constexpr Color kDisabled = rgb(250, 150, 0);
inline constexpr Color kEnabled = rgb(0, 150, 250);

// Test pictures are 20 x 10; the shape is the block x 2..17, y 2..7.
inline constexpr int kWidth = 20;
inline constexpr int kHeight = 10;
inline bool inShape(int x, int y) {
    return x >= 2 && x < 18 && y >= 2 && y < 8;
}

inline void saveBmp(const std::string& path, const Bitmap& b) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const auto bytes = platform::image::encodeBmp(b);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline void saveJpeg(const std::string& path, const Bitmap& b) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const auto bytes = platform::image::encodeJpeg(b, 100);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// colour inside the shape, outside white (a state picture), or white inside, black outside (a mask).
inline Bitmap shape(Color inside, Color outside, int width = kWidth, int height = kHeight) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixel(x, y, inShape(x, y) ? inside : outside);
    return b;
}

inline Bitmap solidBitmap(int width, int height, Color c) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixel(x, y, c);
    return b;
}

// Resource directory of the program under test.
class Resources {
public:
    std::string prog() const { return roots_.prog(); }
    std::string resource(const std::string& name) const {
        return roots_.prog() + "/Resource/" + name + ".bmp";
    }
    void save(const std::string& name, const Bitmap& b) const { saveBmp(resource(name), b); }
    void discard(const std::string& name) const { std::filesystem::remove(resource(name)); }

    // The four pictures of a button N.
    void button(const std::string& n) const {
        save(n + "_D", shape(kNormal, platform::kWhite));
        save(n + "_A", shape(kActive, platform::kWhite));
        save(n + "_", shape(kPressed, platform::kWhite));
        save(n + "_M", shape(platform::kWhite, platform::kBlack));
    }
    // The two pictures of a check button N (opaque, whole rectangle).
    void check(const std::string& n) const {
        save(n + "_D", solidBitmap(kWidth, kHeight, kDisabled));
        save(n + "_A", solidBitmap(kWidth, kHeight, kEnabled));
    }

private:
    TempRoots roots_;
};

// A pattern in which no two nearby pixels agree and none has a button colour.
inline Color pattern(int x, int y) {
    return rgb(std::uint8_t(x * 3), std::uint8_t(y * 5), std::uint8_t(90 + (x + y) % 7));
}

// A window painted from its background bitmap, as the menu and the results screen are.
class WindowWithBackground : public platform::Form {
public:
    WindowWithBackground(std::string title, platform::Rect frame)
        : Form(std::move(title), frame), background(frame.width(), frame.height()) {
        for (int y = 0; y < background.height(); ++y)
            for (int x = 0; x < background.width(); ++x)
                background.setPixel(x, y, pattern(x, y));
    }
    Bitmap background;
    int paintCount = 0;

protected:
    void paintEvent() override {
        ++paintCount;
        canvas().draw(0, 0, background);
    }
};

// A game-style window: everything is composed in a back buffer that the paint copies to the screen.
class TestGameWindow : public platform::Form {
public:
    TestGameWindow(std::string title, platform::Rect frame)
        : Form(std::move(title), frame), workBitmap(frame.width(), frame.height()) {
        for (int y = 0; y < workBitmap.height(); ++y)
            for (int x = 0; x < workBitmap.width(); ++x)
                workBitmap.setPixel(x, y, pattern(x, y));
    }
    Bitmap workBitmap;

protected:
    void paintEvent() override { canvas().draw(0, 0, workBitmap); }
};

// Runs fn on the program's thread, between two messages, and lets the program settle.
inline void inLoop(platform::testing::Driver& d, std::function<void()> fn) {
    d.application().post(std::move(fn));
    d.wait(0);
}

} // namespace wt
