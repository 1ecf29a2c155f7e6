// The tree drawing: folders as branches of box-drawing characters, files under them.
#include "formats/ListingFormat.h"
#include "formats/ValueText.h"

namespace {

constexpr int kDeepestTreeLevel = 15;  // deeper folders, and their files beside folders, are not drawn

void AppendIndent(std::wstring& line, int levels)
{
    for (int i = 0; i < levels; ++i) line += L"│  ";
}

class TreeListing final : public ListingFormat {
public:
    const wchar_t* FileExtension() const override { return L".txt"; }

    // The chosen folder alone; below it, one bar less than the level and a branch.
    void FolderSection(LineWriter& out, const ListingOptions&, int depth, const EntryInfo& folder,
                       const FolderTotals&) const override
    {
        if (depth > kDeepestTreeLevel) return;
        std::wstring& line = out.BeginLine();
        if (depth > 0) {
            AppendIndent(line, depth - 1);
            line += L"├─";
        }
        AppendVisibleText(line, folder.FullPath);
        out.EndLine();
    }

    // Beside folders a file's name lines up under its folder's branch; with files only,
    // its full path follows a TAB per level.
    void Row(LineWriter& out, const ListingOptions& options, int depth, const EntryInfo& entry) const override
    {
        bool both = options.SaveMode == SaveModes::Both;
        if (both && depth > kDeepestTreeLevel) return;
        std::wstring& line = out.BeginLine();
        if (both) {
            AppendIndent(line, depth);
            AppendVisibleText(line, entry.Name);
        } else {
            line.append(static_cast<std::size_t>(depth), L'\t');
            AppendVisibleText(line, entry.FullPath);
        }
        out.EndLine();
    }
};

const TreeListing kFormat;

}  // namespace

const ListingFormat& TreeFormat() { return kFormat; }
