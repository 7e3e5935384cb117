// The reader's and the writer's text-mode rules, byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support.h"
#include "textio.h"

namespace {

using namespace std::string_literals;
using lines = std::vector<std::string>;

const std::size_t chunk = default_buffer_size;
const std::string x_to_chunk_end(chunk - 1, 'x');

struct read_case {
    const char *name;
    std::string bytes;
    lines expected;
};

// Names the case in failure reports instead of dumping its bytes.
void PrintTo(const read_case &c, std::ostream *os)
{
    *os << c.name;
}

const std::vector<read_case> read_cases = {
    {"nothing", "", {}},
    {"last line without line end", "a\nb", {"a\n", "b"}},
    {"CR LF reads as LF", "a\r\nb\r\n", {"a\n", "b\n"}},
    {"bare CR LF is a bare line end", "\r\n\n", {"\n", "\n"}},
    {"lone CR stays", "a\rb\n", {"a\rb\n"}},
    {"CR as the last byte stays", "a\r", {"a\r"}},
    {"CR CR LF", "a\r\r\n", {"a\r\n"}},
    {"Ctrl-Z first ends everything", "\x1a#EXTM3U\n", {}},
    {"Ctrl-Z mid-line ends the input there", "a\nb\x1a\nc\n", {"a\n", "b"}},
    {"CR before Ctrl-Z stays", "a\r\x1a\n", {"a\r"}},
    {"NUL is an ordinary byte", "a\0b\n"s, {"a\0b\n"s}},
    {"CR LF split across two reads", x_to_chunk_end + "\r\ny\n", {x_to_chunk_end + "\n", "y\n"}},
    {"CR at the end of a read, not followed by LF",
     x_to_chunk_end + "\rz\n",
     {x_to_chunk_end + "\rz\n"}},
    {"a line longer than several reads",
     std::string(3 * chunk + 7, 'w') + "\nv",
     {std::string(3 * chunk + 7, 'w') + "\n", "v"}},
};

class Reader : public folder_test<read_case> {
  protected:
    std::FILE *open_with(const std::string &bytes)
    {
        const fs::path file = temp.path / "in.m3u";
        write_bytes(file, bytes);
        return std::fopen(file.string().c_str(), "rb");
    }
};

TEST_P(Reader, SplitsLinesByTheTextRules)
{
    std::FILE *file = open_with(GetParam().bytes);
    ASSERT_NE(file, nullptr);
    line_reader in = make_reader(file);
    lines got;
    std::string_view line;
    while (read_line(in, line))
        got.emplace_back(line);
    EXPECT_FALSE(read_line(in, line));
    EXPECT_FALSE(in.failed);
    (void)std::fclose(file);
    EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Reader, testing::ValuesIn(read_cases),
                         [](const auto &info) { return case_name(info.param.name); });

TEST_F(Reader, MemoryDoesNotGrowWithTheNumberOfLines)
{
    std::string many;
    for (int i = 0; i < 200000; ++i)
        many += "#EXTINF:1,Artist - Title\r\n";
    std::FILE *file = open_with(many);
    ASSERT_NE(file, nullptr);
    line_reader in = make_reader(file);
    std::string_view line;
    std::size_t count = 0;
    while (read_line(in, line))
        ++count;
    (void)std::fclose(file);
    EXPECT_EQ(count, 200000U);
    EXPECT_EQ(in.buffer.size(), chunk);
}

#ifndef _WIN32
TEST(ReaderErrors, AReadErrorIsRecordedAndEndsTheInput)
{
    std::FILE *folder = std::fopen("/", "rb");
    ASSERT_NE(folder, nullptr);
    line_reader in = make_reader(folder);
    std::string_view line;
    EXPECT_FALSE(read_line(in, line));
    EXPECT_TRUE(in.failed);
    (void)std::fclose(folder);
}
#endif

class Writer : public testing::Test {
  protected:
    temp_folder temp;

    std::string write_all(const lines &input)
    {
        const fs::path file = temp.path / "out.m3u";
        std::FILE *out_file = std::fopen(file.string().c_str(), "wb");
        EXPECT_NE(out_file, nullptr);
        copy_writer out = make_writer(out_file);
        for (const auto &line : input)
            write_line(out, line);
        EXPECT_TRUE(close_copy(out));
        return read_bytes(file);
    }
};

TEST_F(Writer, TurnsEveryLineFeedIntoCarriageReturnLineFeed)
{
    EXPECT_EQ(write_all({"#EXTM3U\n", "a\rb\n", "", "\n", "c\0d\n"s, "end"}),
              "#EXTM3U\r\na\rb\r\n\r\nc\0d\r\nend"s);
}

TEST_F(Writer, WritesLinesLargerThanItsBuffer)
{
    const std::string big(2 * chunk + 3, 'b');
    std::string big_lines;
    std::string expected;
    for (int i = 0; i < 5; ++i) {
        big_lines += big + "\n";
        expected += big + "\r\n";
    }
    EXPECT_EQ(write_all({"small\n", big + "\n", big_lines, "tail"}),
              "small\r\n" + big + "\r\n" + expected + "tail");
}

#ifndef _WIN32
TEST(WriterErrors, AFullDiskIsReportedAtClose)
{
    std::FILE *full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    copy_writer out = make_writer(full);
    write_line(out, "#EXTM3U\n");
    EXPECT_FALSE(close_copy(out));
}
#endif

} // namespace
