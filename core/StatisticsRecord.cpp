// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/StatisticsRecord.hpp"

namespace {

class Writer {
public:
    explicit Writer(std::uint8_t* out) : out_(out) {}
    void u16(std::uint16_t v) {
        *out_++ = static_cast<std::uint8_t>(v);
        *out_++ = static_cast<std::uint8_t>(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void time(const platform::SystemTime& t) {
        for (std::uint16_t v :
             {t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds})
            u16(v);
    }

private:
    std::uint8_t* out_;
};

class Reader {
public:
    explicit Reader(const std::uint8_t* in) : in_(in) {}
    std::uint16_t u16() {
        const auto v = static_cast<std::uint16_t>(in_[0] | in_[1] << 8);
        in_ += 2;
        return v;
    }
    std::uint32_t u32() {
        const std::uint32_t lo = u16();
        return lo | std::uint32_t(u16()) << 16;
    }
    platform::SystemTime time() {
        platform::SystemTime t;
        for (std::uint16_t* v :
             {&t.year, &t.month, &t.dayOfWeek, &t.day, &t.hour, &t.minute, &t.second, &t.milliseconds})
            *v = u16();
        return t;
    }

private:
    const std::uint8_t* in_;
};

} // namespace

std::array<std::uint8_t, kStatisticsHeaderSize> encodeHeader(const StatisticsHeader& h) {
    std::array<std::uint8_t, kStatisticsHeaderSize> bytes{};
    Writer w(bytes.data());
    w.u32(static_cast<std::uint32_t>(h.program));
    w.time(h.created);
    return bytes;
}

StatisticsHeader decodeHeader(const std::uint8_t* bytes) {
    Reader in(bytes);
    StatisticsHeader h;
    h.program = static_cast<std::int32_t>(in.u32());
    h.created = in.time();
    return h;
}

std::array<std::uint8_t, kStatisticsRecordSize> encodeRecord(const StatisticsRecord& r) {
    std::array<std::uint8_t, kStatisticsRecordSize> bytes{};
    Writer w(bytes.data());
    w.u32(static_cast<std::uint32_t>(r.game));
    w.time(r.start);
    w.u16(static_cast<std::uint16_t>(r.level));
    w.u16(r.sounds);
    w.u16(r.positions);
    w.u32(static_cast<std::uint32_t>(r.seconds));
    w.u16(static_cast<std::uint16_t>(r.result));
    w.u32(static_cast<std::uint32_t>(r.hints));
    w.u32(static_cast<std::uint32_t>(r.correct));
    w.u32(static_cast<std::uint32_t>(r.wrong));
    return bytes;
}

StatisticsRecord decodeRecord(const std::uint8_t* bytes) {
    Reader in(bytes);
    StatisticsRecord r;
    r.game = static_cast<std::int32_t>(in.u32());
    r.start = in.time();
    r.level = static_cast<std::int16_t>(in.u16());
    r.sounds = in.u16();
    r.positions = in.u16();
    r.seconds = static_cast<std::int32_t>(in.u32());
    r.result = static_cast<std::int16_t>(in.u16());
    r.hints = static_cast<std::int32_t>(in.u32());
    r.correct = static_cast<std::int32_t>(in.u32());
    r.wrong = static_cast<std::int32_t>(in.u32());
    return r;
}
