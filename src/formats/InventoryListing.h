#pragma once
// The inventory's rows as the walk meets them. A folder's row comes before the rows below
// it but holds their sums, known only once they have been walked: the rows go to a spool
// first, and the file is written from it when the walk is done.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ListingOptions.h"
#include "fs/EntryInfo.h"
#include "fs/OutputFile.h"
#include "fs/SpoolFile.h"

class InventoryListing {
public:
    // False when the spool cannot be made; SpoolError() tells why.
    bool Open();
    // A folder's row, whose sums come with FolderDone; returns its number. error: why
    // it could not be read.
    std::uint32_t Folder(const EntryInfo& folder, std::wstring_view error);
    // Everything below the folder has been walked.
    void FolderDone(std::uint32_t folder, const FolderTotals& below);
    void File(const EntryInfo& entry);
    // The header and every row into the file (opened as UTF-8). A folder not done (the
    // walk was stopped) gets empty sums. False when the spool failed; see SpoolError().
    bool WriteTo(OutputFile& file);
    unsigned long SpoolError() const { return spool_.LastError(); }

private:
    SpoolFile spool_;
    std::vector<std::optional<FolderTotals>> sums_;  // by folder row
    std::wstring row_;                               // kept for its room
};
