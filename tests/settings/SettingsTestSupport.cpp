#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

std::string Utf16Text(const std::vector<std::wstring>& lines, bool endLastLine)
{
    std::wstring text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || endLastLine) text += L"\r\n";
    }
    std::string bytes("\xFF\xFE");
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

std::vector<std::wstring> DefaultSettingLines()
{
    return {L"[Setting]",      L"ExplorerPath=\\", L"SavePath=C:\\",   L"SaveMode=2",     L"SortSave=0",
            L"DirectoryLevel=2", L"EmptyDirectory=0", L"ScanSubFolders=0", L"ScanSystem=1", L"ScanHidden=1",
            L"ScanReadOnly=1", L"Date=0",          L"Size=0",          L"Format=0",       L"SizeType0=0",
            L"SizeType1=1",    L"Size0=50",        L"Size1=10",        L"SaveFilter=*.*"};
}

std::vector<std::wstring> DefaultFileTypeLines()
{
    return {
        L"[FileType]",
        L"TypeList=9",
        L"Title1=文書檔案",
        L"Type1=*.txt;*.rtf;*.dot;*.xls;*.xlt;*.mdb;*.ppt;*.pps;*.pdf;*.doc;*.xlw;*.mht;*.xml;*.pot;*.ppz;*.xlb;*.wks;*."
        L"tsv;*.csv",
        L"Title2=執行檔案",
        L"Type2=*.exe;*.dll;*.ocx;*.com",
        L"Title3=網頁檔案",
        L"Type3=*.htm;*.html;*.shmtl;*.asp;*.aspx;*.php;*.jsp;*.css;*.url",
        L"Title4=圖片檔案",
        L"Type4=*.jpeg;*.jpg;*.bmp;*.gif;*.dib;*.ico;*.png;*.psd;*.pcx",
        L"Title5=壓縮檔案",
        L"Type5=*.zip;*.rar;*.cab;*.arj;*.ace;*.lzh;*.tar;*.gzip;*.jar;*.7z;*.z;*.bz2;*.uue",
        L"Title6=聲音檔案",
        L"Type6=*.ape;*.cda;*.mid;*.midi;*.mod;*.mp3;*.mp2;*.mp1;*.ogg;*.wav;*.voc;*.au;*.wma;*.ra;*.ram",
        L"Title7=影片檔案",
        L"Type7=*.mpg;*.mpeg;*.avi;*.asf;*.wmv;*.rm;*.rmvb;*.dat",
        L"Title8=光碟映像檔",
        L"Type8=*.bin;*.iso;*.cue;*.bwi;*.bwt;*.bws;*.img;*.sub;*.ccd;*.cdi;*.cdp;*.cif;*.dao;*.tao;*.mdf;*.mds;*.nrg;*."
        L"vcd;*.fcd",
        L"Title9=系統暫存檔",
        L"Type9=*.tmp;*._mp;*.bak;*.old;*.log;*.chk;*.gid",
    };
}

std::vector<std::wstring> ReplaceLine(std::vector<std::wstring> lines, std::wstring_view prefix, std::wstring line)
{
    for (auto& existing : lines)
        if (existing.starts_with(prefix)) existing = std::move(line);
    return lines;
}

LockedFile::LockedFile(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr))
{
    EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << "cannot lock the file";
}

LockedFile::~LockedFile()
{
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

std::wstring SmallVolumeFolder()
{
    const char* volume = std::getenv("QUORVANE_SMALL_VOLUME");
    if (!volume || !*volume) return {};
    return std::wstring(volume, volume + std::strlen(volume));
}
