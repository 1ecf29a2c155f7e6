// The easy save mode: a plain list of names or full paths, with no frame, whatever
// format is chosen.
#include "formats/ListingFormat.h"
#include "formats/ValueText.h"

namespace {

const std::wstring& NameOrPath(const ListingOptions& options, const EntryInfo& entry)
{
    return options.FullPath ? entry.FullPath : entry.Name;
}

class EasyListing final : public ListingFormat {
public:
    const wchar_t* FileExtension() const override { return L".txt"; }

    // Folders keep their names whole.
    void FolderSection(LineWriter& out, const ListingOptions& options, int, const EntryInfo& folder,
                       const FolderTotals&) const override
    {
        out.WriteLine(VisibleText(NameOrPath(options, folder)));
    }

    void Row(LineWriter& out, const ListingOptions& options, int, const EntryInfo& entry) const override
    {
        std::wstring text = VisibleText(NameOrPath(options, entry));
        out.WriteLine(options.DeleteExtension ? RemoveExtension(text) : text);
    }
};

const EasyListing kFormat;

}  // namespace

const ListingFormat& EasyFormat() { return kFormat; }
