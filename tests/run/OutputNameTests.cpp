#include <gtest/gtest.h>

#include "formats/ListingOptions.h"
#include "run/OutputName.h"
#include "support/TestTimes.h"

TEST(OutputFileName, DateTimeStampThenNameThenTheFormatsExtension)
{
    SYSTEMTIME now = At(2024, 5, 7, 15, 4, 5);
    EXPECT_EQ(OutputFileName(L"C:\\Lists\\", now, ListingFormats::Txt, false), L"C:\\Lists\\20240507_150405_Quorvane.txt");
    EXPECT_EQ(OutputFileName(L"C:\\Lists\\", now, ListingFormats::Csv, false), L"C:\\Lists\\20240507_150405_Quorvane.csv");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::Html, false), L"C:\\20240507_150405_Quorvane.html");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::Tree, false), L"C:\\20240507_150405_Quorvane.txt");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::Html, true), L"C:\\20240507_150405_Quorvane.txt");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::None, true), L"C:\\20240507_150405_Quorvane.txt");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::None, false), std::nullopt);
    EXPECT_EQ(OutputFileName(L"D:\\", At(987, 12, 31, 0, 0, 9), ListingFormats::Txt, false),
              L"D:\\09871231_000009_Quorvane.txt");
}
