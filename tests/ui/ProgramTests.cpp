#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <vector>

namespace {

// The file header of a PE image: "MZ", e_lfanew at 0x3C, "PE\0\0", then the header.
IMAGE_FILE_HEADER ImageFileHeader(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    IMAGE_FILE_HEADER header{};
    if (bytes.size() < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') return header;
    LONG offset = 0;
    std::memcpy(&offset, bytes.data() + 0x3C, sizeof(offset));
    if (offset < 0 || static_cast<std::size_t>(offset) + 4 + sizeof(header) > bytes.size()) return header;
    if (std::memcmp(bytes.data() + offset, "PE\0\0", 4) != 0) return header;
    std::memcpy(&header, bytes.data() + offset + 4, sizeof(header));
    return header;
}

}  // namespace

TEST(Program, MayUseTheWholeAddressSpace)
{
    IMAGE_FILE_HEADER header = ImageFileHeader(QUORVANE_PROGRAM_PATH);
    ASSERT_NE(header.Machine, 0) << "no program image at " << QUORVANE_PROGRAM_PATH;
    EXPECT_TRUE(header.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
}
