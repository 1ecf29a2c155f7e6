// The CSV listing: TAB-separated values, nothing quoted or escaped.
#include "formats/ListingFormat.h"
#include "formats/ValueText.h"

namespace {

const wchar_t kColumnHeader[] = L"檔案大小\t建立日期\t修改日期\t存取日期\t檔案屬性\t副檔名\t檔案名稱";

class CsvListing final : public ListingFormat {
public:
    const wchar_t* FileExtension() const override { return L".csv"; }

    void OpeningLines(LineWriter& out, const ListingOptions& options, const SYSTEMTIME&) const override
    {
        if (options.SaveMode == SaveModes::FilesOnly) out.WriteLine(std::wstring(L"\r\n") + kColumnHeader);
    }

    void FolderSection(LineWriter& out, const ListingOptions& options, int, const EntryInfo& folder,
                       const FolderTotals& totals) const override
    {
        FolderValues v = FolderValuesOf(folder, totals);
        out.WriteLine(L"\r\n資料夾名稱　：\t" + v.Path + L"\r\n資料夾大小　：\t" + v.Size + L" 個位元組\r\n資料夾屬性　：\t" +
                      v.Attributes + L"\r\n建立時間　　：\t" + v.Created + L"\r\n最後修改時間：\t" + v.Modified +
                      L"\r\n最後存取時間：\t" + v.Accessed + L"\r\n");
        if (FileHeaderFollows(options, totals)) out.WriteLine(kColumnHeader);
    }

    void Row(LineWriter& out, const ListingOptions& options, int, const EntryInfo& entry) const override
    {
        std::wstring& line = out.BeginLine();
        AppendSizeText(line, entry.Size);
        for (const FileTimeInfo* time : {&entry.Created, &entry.Modified, &entry.Accessed}) {
            line += L'\t';
            AppendListingDateText(line, *time);
        }
        line += L'\t';
        AppendAttributeText(line, entry);
        line += L'\t';
        AppendExtensionText(line, entry.Extension);
        line += L'\t';
        AppendVisibleText(line, ShownName(options, entry));
        out.EndLine();
    }
};

const CsvListing kFormat;

}  // namespace

const ListingFormat& CsvFormat() { return kFormat; }
