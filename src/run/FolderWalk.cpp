#include "run/FolderWalk.h"

#include <windows.h>

#include <optional>

#include "formats/ListingFormat.h"
#include "fs/SystemError.h"

namespace {

// Stop was pressed, or memory ran out (the run then ends as with Stop).
bool Stopped(const WalkContext& context)
{
    return context.Stop.StopRequested() || context.State.OutOfMemory || context.Readers.OutOfMemory();
}

std::wstring FolderPrefix(const std::wstring& path) { return path.ends_with(L'\\') ? path : path + L'\\'; }

void WriteRows(WalkContext& context, const ListedEntries& files, const std::wstring& folder)
{
    RunState& state = context.State;
    EntryInfo row;  // refilled for each file, so its texts keep their room
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (Stopped(context)) break;
        files.Fill(i, folder, row);
        bool shown = false;
        if (context.Inventory) {
            shown = EntryRowShown(context.Options, context.Job.ShowFiles(), Stopped(context), state.WalkDepth);
            if (shown) context.Inventory->File(row);
        } else {
            shown = WriteEntryRow(context.Out, context.Options, context.Job.ShowFiles(), Stopped(context),
                                  state.WalkDepth, row);
        }
        if (shown) context.Progress.Status(row.FullPath);
        context.Progress.Step();
    }
}

// The folder's section, or its inventory row; the number of the inventory row, which
// waits for its sums. The inventory always begins with the chosen folder's row, which is
// what the rows below it are relative to.
std::optional<std::uint32_t> WriteSection(WalkContext& context, const FolderNode& node, const std::wstring& error)
{
    const FolderRead& read = node.Result;
    if (!read.Record) return std::nullopt;
    const EntryInfo& record = *read.Record;
    if (!context.Inventory) {
        if (WriteFolderSection(context.Out, context.Options, true, node.Depth(), record, read.Own))
            context.Progress.Status(record.FullPath);
        return std::nullopt;
    }
    if (node.Depth() > 0 && !FolderSectionShown(context.Options, true, node.Depth(), read.Own)) return std::nullopt;
    context.Progress.Status(record.FullPath);
    return context.Inventory->Folder(record, error);
}

}  // namespace

void RunProgress::Step()
{
    if (statusPending_ && Due()) {
        host_.ShowStatus(pendingStatus_);
        statusPending_ = false;
    }
}

void RunProgress::Status(std::wstring_view text)
{
    if (Due()) {
        host_.ShowStatus(text);
        statusPending_ = false;
        return;
    }
    pendingStatus_.assign(text);
    statusPending_ = true;
}

bool RunProgress::Due()
{
    std::uint64_t now = GetTickCount64();
    if (lastStatus_ != kNever && now - lastStatus_ < intervalMs_) return false;
    lastStatus_ = now;
    return true;
}

FolderTotals WalkFolder(WalkContext& context, FolderNode& node)
{
    RunState& state = context.State;
    if (Stopped(context)) return {};
    state.FolderCount = 0;
    state.FileCount = 0;
    if (!context.Readers.Await(node)) return {};
    FolderRead& read = node.Result;
    if (!read.Readable) {
        context.Report.Unreadable.push_back({node.Path(), read.Error});
        // Other listings pass it over; the inventory gives it a row that says why.
        if (context.Inventory) {
            if (auto row = WriteSection(context, node, SystemErrorDescription(read.Error)))
                context.Inventory->FolderDone(*row, {});
        }
        context.Readers.Consumed(node);
        return {};
    }
    for (std::wstring& path : read.NotFollowed) context.Report.NotFollowed.push_back(std::move(path));
    std::optional<std::uint32_t> row = WriteSection(context, node, {});
    state.WalkDepth = static_cast<std::int16_t>(node.Depth() + 1);
    WriteRows(context, read.Files, FolderPrefix(node.Path()));
    read.Files = ListedEntries();  // the rows are out; only the subfolders are needed below
    context.Readers.Consumed(node);

    FolderTotals total = read.Own;
    state.FileCount = total.FileCount;
    state.FolderCount = total.FolderCount;
    bool all = true;
    for (auto& child : node.Children) {
        if (Stopped(context)) {
            all = false;
            break;
        }
        total += WalkFolder(context, *child);
        context.Progress.Step();
    }
    // A stopped walk leaves the tree to the end of the run: readers may still hold a part.
    if (all && !Stopped(context)) node.Children.clear();
    state.FileCount = total.FileCount;
    state.FolderCount = total.FolderCount;
    state.WalkDepth = node.Depth();
    if (row && all && !Stopped(context)) context.Inventory->FolderDone(*row, total);
    return total;
}
