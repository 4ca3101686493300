#include "sim/frame_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qz::sim {
namespace {

struct Parsed {
    std::vector<std::string> frames; // letter followed by the payload bytes
};

Parsed feed(const std::vector<std::uint8_t>& bytes, std::int64_t gapUs = 1000, std::int64_t pauseUs = 250000)
{
    FrameParser p(pauseUs);
    Parsed r;
    std::int64_t t = 0;
    for (std::uint8_t b : bytes) {
        if (auto f = p.feed(b, t)) {
            std::string s(1, f->letter);
            s.append(f->payload.begin(), f->payload.end());
            r.frames.push_back(s);
        }
        t += gapUs;
    }
    return r;
}

std::vector<std::uint8_t> b(const std::string& s)
{
    return {s.begin(), s.end()};
}

struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> frames;
};

TEST(FrameParserTest, FramesOfEveryCommand)
{
    const std::string clock(16, '\x11');
    const std::string h256 = std::string("$#$H\x80\x00\x00", 7) + std::string(256, 'x');
    const std::vector<Case> cases = {
        {"reset", "$#$A", {"A"}},
        {"reserved", "$#$B", {"B"}},
        {"clock write", "$#$C" + clock, {"C" + clock}},
        {"read", std::string("$#$D\x28\x00\x58", 7), {std::string("D\x28\x00\x58", 4)}},
        {"clock read", "$#$E", {"E"}},
        {"readings", "$#$F$#$G", {"F", "G"}},
        {"write 3",
         std::string("$#$H\x10\x00\x03"
                     "abc",
                     10),
         {std::string("H\x10\x00\x03"
                      "abc",
                      7)}},
        {"write 256 (count 0)", h256, {h256.substr(3)}},
        {"garbage before", "xx$#$E", {"E"}},
        {"dollar restarts the prefix", "$$#$E", {"E"}},
        {"second dollar after prefix", "$#$$#$E", {"E"}},
        {"unknown letter", "$#$Z$#$E", {"E"}},
        {"lower case is no command", "$#$e", {}},
        {"incomplete", "$#$D\x01", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(feed(b(c.input)).frames, c.frames) << c.name;
}

TEST(FrameParserTest, PauseForgetsAHalfFrame)
{
    FrameParser p(250000);
    for (char c : std::string("$#$D\x01"))
        p.feed(std::uint8_t(c), 0);
    EXPECT_TRUE(p.inFrame());
    // The PC gave up and starts again 300 ms later: a fresh frame, not payload.
    std::optional<Frame> done;
    std::int64_t t = 300000;
    for (char c : std::string("$#$E"))
        done = p.feed(std::uint8_t(c), t++);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->letter, 'E');
}

TEST(FrameParserTest, BytesJustInsideThePauseStayInTheFrame)
{
    const auto r = feed(b(std::string("$#$D\x00\x00\x08", 7)), 249999);
    EXPECT_EQ(r.frames.size(), 1u);
    EXPECT_TRUE(feed(b(std::string("$#$D\x00\x00\x08", 7)), 250000).frames.empty());
}

TEST(FrameParserTest, NumbersFramesAndBytes)
{
    FrameParser p(250000);
    std::vector<std::pair<std::int64_t, int>> seen;
    for (char c : std::string("x$#$E$#$F")) {
        p.feed(std::uint8_t(c), 0);
        seen.emplace_back(p.lastFrameNumber(), p.lastByteIndex());
    }
    const std::vector<std::pair<std::int64_t, int>> want = {{-1, -1}, {0, 0}, {0, 1}, {0, 2}, {0, 3},
                                                            {1, 0},   {1, 1}, {1, 2}, {1, 3}};
    EXPECT_EQ(seen, want);
}

} // namespace
} // namespace qz::sim
