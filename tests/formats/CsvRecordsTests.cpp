#include <gtest/gtest.h>

#include "formats/CsvRecords.h"
#include "support/TestFolder.h"

using Records = std::vector<std::vector<std::string>>;

TEST(CsvRecords, AFieldIsQuotedOnlyForACommaAQuoteOrALineEnd)
{
    const std::pair<std::wstring, std::wstring> fields[] = {
        {L"", L""},          {L"plain name.txt", L"plain name.txt"},   {L"a,b", L"\"a,b\""},
        {L"\"", L"\"\"\"\""}, {L"say \"hi\"", L"\"say \"\"hi\"\"\""}, {L"a\rb", L"\"a\rb\""},
        {L"a\nb", L"\"a\nb\""}, {std::wstring(L"tab\t\x01\0", 6), std::wstring(L"tab\t\x01\0", 6)},
    };
    for (const auto& [field, written] : fields) {
        std::wstring out = L"x,";
        AppendCsvField(out, field);
        EXPECT_EQ(out, L"x," + written);
    }
}

TEST(CsvRecords, TheReaderTakesRfc4180AndNamesTheLineOfTheFirstFault)
{
    const std::string a(kCsvReadBytes - 1, 'a');
    const struct Case {
        std::string Bytes;
        Records Read;  // the records before the fault
        CsvFault Fault = CsvFault::None;
        std::uint64_t Line = 0;
        std::size_t Expected = 0;  // fields each record must have
    } cases[] = {
        {"\xEF\xBB\xBF" "a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"a,b\n\n\r\n,c,\n", {{"a", "b"}, {"", "c", ""}}},  // empty lines hold nothing
        {"\"x,\"\"y\"\"\r\nz\",\"\"\r\n", {{"x,\"y\"\r\nz", ""}}},
        {"a\rb,\xE4\xB8\xAD\xF0\x9F\x98\x80", {{"a\rb", "\xE4\xB8\xAD\xF0\x9F\x98\x80"}}},  // a lone CR is data
        // A line end and a doubled quote across the reader's pieces.
        {a + "\r\nb", {{a}, {"b"}}},
        {std::string(1, '"').append(a, 1).append("\"\"\"\r\n"), {{a.substr(1) + "\""}}},
        {"ok\r\n\"open\r\nand on", {{"ok"}}, CsvFault::UnterminatedQuote, 2},
        {"ok\r\nab\"c\r\n", {{"ok"}}, CsvFault::StrayQuote, 2},
        {"\"ab\"c,d\r\n", {}, CsvFault::StrayQuote, 1},
        {"a,b\r\nc\r\n", {{"a", "b"}}, CsvFault::FieldCount, 2, 2},
        {"ok\r\n\"a\r\nb\xC3\",c", {{"ok"}}, CsvFault::InvalidUtf8, 3},
        {"\xC0\x80", {}, CsvFault::InvalidUtf8, 1},          // overlong
        {"\xED\xA0\x80", {}, CsvFault::InvalidUtf8, 1},      // a surrogate
        {"\xF4\x90\x80\x80", {}, CsvFault::InvalidUtf8, 1},  // past U+10FFFF
        {"x\x80", {}, CsvFault::InvalidUtf8, 1},
        {"\xE4\xB8,\xAD", {}, CsvFault::InvalidUtf8, 1},     // a character cut by the comma
        {"\xFF\xFEP\0", {}, CsvFault::InvalidUtf8, 1},       // UTF-16
        {std::string(kLongestCsvRecord + 1, 'a'), {}, CsvFault::TooLong, 1},
        {"ok\n\"" + std::string(kLongestCsvRecord + 1, 'a') + "\"", {{"ok"}}, CsvFault::UnterminatedQuote, 2},
    };
    TestFolder folder;
    for (const Case& c : cases) {
        InputFile input;
        ASSERT_TRUE(input.Open(folder.MakeFile(L"records.csv", c.Bytes)));
        CsvReader reader(input);
        reader.ExpectFields(c.Expected);
        CsvRecord record;
        Records read;
        while (reader.Next(record)) {
            read.emplace_back();
            for (std::size_t i = 0; i < record.Size(); ++i) read.back().emplace_back(record[i]);
        }
        std::string shown = c.Bytes.substr(0, 40);
        EXPECT_EQ(read, c.Read) << shown;
        EXPECT_EQ(reader.Problem().Fault, c.Fault) << shown;
        EXPECT_EQ(reader.Problem().Line, c.Line) << shown;
    }
}
