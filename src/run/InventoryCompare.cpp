#include "run/InventoryCompare.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "formats/CsvRecords.h"
#include "formats/InventoryColumns.h"
#include "formats/LineWriter.h"
#include "fs/DateTime.h"
#include "fs/InputFile.h"
#include "fs/OutputFile.h"
#include "fs/Utf8.h"
#include "run/OutputName.h"

const wchar_t kChangesHeader[] = L"Change,Path,OldSize,NewSize,OldModified,NewModified,OldAttributes,NewAttributes";

namespace {

namespace Column = InventoryColumns;

constexpr std::uint64_t kNoTime = ~0ull;
constexpr std::uint32_t kNoRow = ~0u;
constexpr std::uint64_t kRowsPerCheck = 4096;  // between looks at the stop and reports of progress
constexpr std::size_t kLongestValueShown = 200;

enum class Seen : std::uint8_t {
    No,
    Yes,          // a row of the same type has the path on the other side
    AsOtherType,  // the other side has the path as a file where this is a folder, or the reverse
};

// One row, as far as the comparison needs it: about 50 bytes, so that a million rows
// of OLD take little room.
struct Row {
    std::string_view Path;  // below the listed folder, UTF-8, held by a PathStore
    InventorySize Size;
    std::uint64_t Modified = kNoTime;
    std::uint32_t Hash = 0;
    InventoryAttributes Attributes;
    bool Folder = false;
    bool FromOld = false;
    Seen Matched = Seen::No;
};

// Paths in blocks that never move, so that the rows' views of them stay valid, and
// no block is copied as the table grows.
class PathStore {
public:
    std::string_view Add(std::string_view path)
    {
        if (blocks_.empty() || free_ < path.size()) {
            std::size_t size = std::max(kBlockBytes, path.size());
            blocks_.push_back(std::make_unique<char[]>(size));
            used_ = 0;
            free_ = size;
        }
        char* at = blocks_.back().get() + used_;
        if (!path.empty()) std::memcpy(at, path.data(), path.size());
        used_ += path.size();
        free_ -= path.size();
        return {at, path.size()};
    }

private:
    static constexpr std::size_t kBlockBytes = 1 << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0, free_ = 0;
};

std::uint32_t PathHash(std::string_view path)
{
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (char c : path) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// The rows by path: open addressing over row numbers, at most half full.
class PathIndex {
public:
    std::uint32_t Find(const std::vector<Row>& rows, std::string_view path, std::uint32_t hash) const
    {
        if (slots_.empty()) return kNoRow;
        for (std::size_t slot = hash & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
            std::uint32_t row = slots_[slot];
            if (row == kNoRow) return kNoRow;
            if (rows[row].Hash == hash && rows[row].Path == path) return row;
        }
    }
    void Insert(const std::vector<Row>& rows, std::uint32_t row)
    {
        if ((count_ + 1) * 2 > slots_.size()) Grow(rows);
        Place(rows[row].Hash, row);
        ++count_;
    }

private:
    void Place(std::uint32_t hash, std::uint32_t row)
    {
        std::size_t slot = hash & (slots_.size() - 1);
        while (slots_[slot] != kNoRow) slot = (slot + 1) & (slots_.size() - 1);
        slots_[slot] = row;
    }
    void Grow(const std::vector<Row>& rows)
    {
        std::vector<std::uint32_t> old = std::move(slots_);
        slots_.assign(std::max<std::size_t>(1024, old.size() * 2), kNoRow);
        for (std::uint32_t row : old)
            if (row != kNoRow) Place(rows[row].Hash, row);
    }

    std::vector<std::uint32_t> slots_;
    std::size_t count_ = 0;
};

enum class Change : std::uint8_t { Removed, Added, Changed };  // the order of two rows of one path

struct Difference {
    std::string_view Path;
    Change Kind;
    std::uint32_t Old = kNoRow;
    std::uint32_t New = kNoRow;
};

std::wstring ShownValue(std::string_view value)
{
    std::wstring text = Utf16FromUtf8(value.substr(0, kLongestValueShown));
    if (value.size() > kLongestValueShown) text += L"…";
    return text;
}

InventoryFault FaultOf(CsvFault fault)
{
    switch (fault) {
    case CsvFault::ReadFailed: return InventoryFault::CannotRead;
    case CsvFault::InvalidUtf8: return InventoryFault::InvalidUtf8;
    case CsvFault::UnterminatedQuote: return InventoryFault::UnterminatedQuote;
    case CsvFault::StrayQuote: return InventoryFault::StrayQuote;
    case CsvFault::TooLong: return InventoryFault::TooLong;
    case CsvFault::FieldCount: return InventoryFault::FieldCount;
    case CsvFault::None: break;
    }
    return InventoryFault::None;
}

bool IsInventoryHeader(const CsvRecord& record)
{
    if (record.Size() != Column::Count) return false;
    for (std::size_t i = 0; i < Column::Count; ++i)
        if (record[i] != kInventoryColumnNames[i]) return false;
    return true;
}

// Both inventories in one table: every row of OLD, and the rows of NEW that differ.
class Comparison {
public:
    Comparison(const RunControl& control, ProgressReport* progress) : control_(control), progress_(progress) {}

    // False when the file is bad (Problem) or a stop was asked for (Stopped).
    bool Read(const std::wstring& path, bool old);
    void CollectRemoved();
    std::vector<Difference>& Differences() { return differences_; }
    const std::vector<Row>& Rows() const { return rows_; }

    InventoryProblem Problem;
    bool Stopped = false;

private:
    bool Fail(InventoryFault fault, std::uint64_t line, std::string_view value = {}, std::size_t column = Column::Count);
    bool FailReading(const CsvReader& reader, bool header);
    bool ReadRoot(CsvReader& reader, CsvRecord& record);
    bool ParseRow(const CsvRecord& record, Row& row);
    bool Relative(const CsvRecord& record, std::string_view& path);
    bool Take(const CsvRecord& record, Row& row, bool old);
    bool Checkpoint(const std::wstring& path);

    const RunControl& control_;
    ProgressReport* progress_;
    std::vector<Row> rows_;
    PathIndex index_;
    PathStore paths_;
    std::vector<Difference> differences_;
    std::string root_, rootWithSeparator_;
    std::uint64_t rowsRead_ = 0, foldersRead_ = 0;
};

bool Comparison::Read(const std::wstring& path, bool old)
{
    Problem.File = path;
    InputFile input;
    if (!input.Open(path)) {
        Problem.Fault = InventoryFault::CannotRead;
        Problem.SystemError = input.LastError();
        return false;
    }
    if (!Checkpoint(path)) return false;
    CsvReader reader(input);
    CsvRecord record;
    if (!reader.Next(record)) return FailReading(reader, true);
    if (!IsInventoryHeader(record)) return Fail(InventoryFault::NotAnInventory, record.Line());
    reader.ExpectFields(Column::Count);
    if (!ReadRoot(reader, record)) return false;
    Row row;
    while (reader.Next(record)) {
        if (!ParseRow(record, row) || !Relative(record, row.Path) || !Take(record, row, old)) return false;
        ++rowsRead_;
        if (row.Folder) ++foldersRead_;
        if (rowsRead_ % kRowsPerCheck == 0 && !Checkpoint(path)) return false;
    }
    return FailReading(reader, false);
}

// The listed folder: its path is cut off the front of every other row's.
bool Comparison::ReadRoot(CsvReader& reader, CsvRecord& record)
{
    if (!reader.Next(record)) {
        if (reader.Problem().Fault != CsvFault::None) return FailReading(reader, false);
        return Fail(InventoryFault::NoListedFolder, 0);
    }
    Row row;
    if (!ParseRow(record, row)) return false;
    root_ = record[Column::Path];
    if (!row.Folder || root_.empty()) return Fail(InventoryFault::NoListedFolder, record.Line());
    rootWithSeparator_ = root_;
    if (!root_.ends_with('\\')) rootWithSeparator_ += '\\';
    ++rowsRead_;
    ++foldersRead_;
    return true;
}

bool Comparison::ParseRow(const CsvRecord& record, Row& row)
{
    std::string_view type = record[Column::Type];
    if (type != "folder" && type != "file") return Fail(InventoryFault::BadType, record.Line(), type, Column::Type);
    row.Folder = type == "folder";
    for (std::size_t column : {Column::Size, Column::CompressedSize, Column::Files, Column::Folders}) {
        std::string_view value = record[column];
        bool countOfFile = !row.Folder && (column == Column::Files || column == Column::Folders);
        if (countOfFile && value.empty()) continue;
        auto size = InventorySizeFromText(value);
        if (!size) return Fail(InventoryFault::BadNumber, record.Line(), value, column);
        if (column == Column::Size) row.Size = *size;
    }
    for (std::size_t column : {Column::Created, Column::Modified, Column::Accessed}) {
        std::string_view value = record[column];
        std::uint64_t ticks = kNoTime;
        if (!value.empty()) {
            auto parsed = TicksFromIsoUtcText(value);
            if (!parsed) return Fail(InventoryFault::BadTime, record.Line(), value, column);
            ticks = *parsed;
        }
        if (column == Column::Modified) row.Modified = ticks;
    }
    auto attributes = InventoryAttributesFromText(record[Column::Attributes]);
    if (!attributes)
        return Fail(InventoryFault::BadAttributes, record.Line(), record[Column::Attributes], Column::Attributes);
    row.Attributes = *attributes;
    return true;
}

bool Comparison::Relative(const CsvRecord& record, std::string_view& path)
{
    std::string_view full = record[Column::Path];
    if (full == root_ || full == rootWithSeparator_) return Fail(InventoryFault::DuplicatePath, record.Line(), full);
    if (!full.starts_with(rootWithSeparator_)) return Fail(InventoryFault::OutsideRoot, record.Line(), full);
    path = full.substr(rootWithSeparator_.size());
    return true;
}

// Keeps an OLD row; matches a NEW one against OLD and keeps it only when it differs.
bool Comparison::Take(const CsvRecord& record, Row& row, bool old)
{
    row.Hash = PathHash(row.Path);
    row.FromOld = old;
    row.Matched = Seen::No;
    std::uint32_t found = index_.Find(rows_, row.Path, row.Hash);
    if (found != kNoRow && (old || !rows_[found].FromOld || rows_[found].Matched != Seen::No))
        return Fail(InventoryFault::DuplicatePath, record.Line(), record[Column::Path]);
    auto keep = [this](Row& kept, bool indexed) {
        if (rows_.size() >= kNoRow) throw std::bad_alloc();  // the row numbers would run out
        rows_.push_back(kept);
        auto number = static_cast<std::uint32_t>(rows_.size() - 1);
        if (indexed) index_.Insert(rows_, number);
        return number;
    };
    if (old || found == kNoRow) {
        row.Path = paths_.Add(row.Path);
        std::uint32_t number = keep(row, true);
        if (!old) differences_.push_back({rows_[number].Path, Change::Added, kNoRow, number});
        return true;
    }
    Row& before = rows_[found];
    row.Path = before.Path;
    if (before.Folder != row.Folder) {
        before.Matched = Seen::AsOtherType;
        differences_.push_back({row.Path, Change::Added, kNoRow, keep(row, false)});
        return true;
    }
    before.Matched = Seen::Yes;
    bool changed = !row.Folder && (before.Size != row.Size || before.Modified != row.Modified ||
                                   before.Attributes != row.Attributes);
    if (changed) differences_.push_back({row.Path, Change::Changed, found, keep(row, false)});
    return true;
}

void Comparison::CollectRemoved()
{
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].FromOld && rows_[i].Matched != Seen::Yes)
            differences_.push_back({rows_[i].Path, Change::Removed, static_cast<std::uint32_t>(i), kNoRow});
}

bool Comparison::Checkpoint(const std::wstring& path)
{
    if (control_.StopRequested()) {
        Stopped = true;
        return false;
    }
    if (progress_) progress_->Report(rowsRead_, foldersRead_, path);
    return true;
}

bool Comparison::Fail(InventoryFault fault, std::uint64_t line, std::string_view value, std::size_t column)
{
    Problem.Fault = fault;
    Problem.Line = line;
    Problem.Value = ShownValue(value);
    if (column < Column::Count) Problem.Column = Utf16FromUtf8(kInventoryColumnNames[column]);
    return false;
}

// After the reader stopped: false on a fault, true at the end of the file.
bool Comparison::FailReading(const CsvReader& reader, bool header)
{
    const CsvProblem& problem = reader.Problem();
    if (problem.Fault == CsvFault::None) return !header || Fail(InventoryFault::NotAnInventory, 1);
    if (header && problem.Fault != CsvFault::ReadFailed) return Fail(InventoryFault::NotAnInventory, 1);
    Fail(FaultOf(problem.Fault), problem.Fault == CsvFault::ReadFailed ? 0 : problem.Line);
    Problem.Fields = problem.Fields;
    Problem.SystemError = problem.SystemError;
    return false;
}

// ---- The changes file

void AppendValues(std::wstring& line, const Row* row, int field)
{
    line += L',';
    if (!row) return;
    if (field == 0) AppendInventorySize(line, row->Size);
    if (field == 1 && row->Modified != kNoTime) AppendIsoUtcText(line, row->Modified);
    if (field == 2) AppendInventoryAttributes(line, row->Attributes);
}

void AppendChange(std::wstring& line, const Difference& difference, const std::vector<Row>& rows,
                  std::wstring& path)
{
    static const wchar_t* const kWords[] = {L"removed", L"added", L"changed"};
    line += kWords[static_cast<int>(difference.Kind)];
    line += L',';
    path.clear();
    AppendUtf16(path, difference.Path);
    AppendCsvField(line, path);
    const Row* before = difference.Old == kNoRow ? nullptr : &rows[difference.Old];
    const Row* after = difference.New == kNoRow ? nullptr : &rows[difference.New];
    for (int field = 0; field < 3; ++field) {
        AppendValues(line, before, field);
        AppendValues(line, after, field);
    }
}

void WriteChanges(CompareResult& result, const Comparison& comparison, const std::vector<Difference>& differences,
                  std::wstring_view changesPath, const RunControl& control)
{
    OutputFile file;
    result.OutputPath = OpenFreeName(file, changesPath, TextEncoding::Utf8);
    if (result.OutputPath.empty()) {
        result.End = CompareEnd::CannotCreate;
        result.OutputPath = changesPath;
        result.WriteError = file.LastError();
        return;
    }
    {
        LineWriter out(&file);
        out.WriteLine(kChangesHeader);
        std::wstring path;
        for (std::size_t i = 0; i < differences.size() && out.Active(); ++i) {
            if (i % kRowsPerCheck == 0 && control.StopRequested()) {
                result.End = CompareEnd::Stopped;
                break;
            }
            AppendChange(out.BeginLine(), differences[i], comparison.Rows(), path);
            out.EndLine();
        }
    }
    CloseOutputFile(file);
    if (file.Failed()) {
        result.End = CompareEnd::WriteFailed;
        result.WriteError = file.LastError();
    }
}

CompareResult Compare(const std::wstring& oldPath, const std::wstring& newPath, std::wstring_view changesPath,
                      const RunControl& control, ProgressReport* progress)
{
    CompareResult result;
    Comparison comparison(control, progress);
    if (!comparison.Read(oldPath, true) || !comparison.Read(newPath, false)) {
        result.End = comparison.Stopped ? CompareEnd::Stopped : CompareEnd::BadInput;
        result.Problem = comparison.Problem;
        return result;
    }
    comparison.CollectRemoved();
    std::vector<Difference>& differences = comparison.Differences();
    std::sort(differences.begin(), differences.end(), [](const Difference& a, const Difference& b) {
        // UTF-8 bytes compare as their code points do.
        int order = a.Path.compare(b.Path);
        return order != 0 ? order < 0 : a.Kind < b.Kind;
    });
    for (const Difference& difference : differences) {
        if (difference.Kind == Change::Added) ++result.Added;
        if (difference.Kind == Change::Removed) ++result.Removed;
        if (difference.Kind == Change::Changed) ++result.Changed;
    }
    WriteChanges(result, comparison, differences, changesPath, control);
    return result;
}

}  // namespace

CompareResult CompareInventories(const std::wstring& oldPath, const std::wstring& newPath,
                                 std::wstring_view changesPath, const RunControl& control, ProgressReport* progress)
{
    try {
        return Compare(oldPath, newPath, changesPath, control, progress);
    } catch (const std::bad_alloc&) {
        // Everything the comparison held is freed by now, and a changes file begun is closed.
        CompareResult result;
        result.End = CompareEnd::OutOfMemory;
        return result;
    }
}
