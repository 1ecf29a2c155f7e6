#pragma once
// The folder tree the listing tests run over, with fixed times, sizes and attributes,
// and the comparison of a listing file with its hand-written expected text.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "run/FolderWalk.h"
#include "support/TestFolder.h"

// root\alpha.txt, Beta.EXE, gamma.jpeg2k, "R&D notes.htm"; root\empty\;
// root\sub1\one.doc; root\sub1\deep\two.bin; root\sub1\deep\deeper\;
// root\"zeta & co"\z.txt.
class ListingFixture {
public:
    ListingFixture();
    const std::wstring& Root() const { return folder_.Path(); }
    std::wstring RootName() const;

private:
    TestFolder folder_;
};

// A host that records what the run shows and can press Stop after some pumps.
class FakeHost : public RunHost {
public:
    explicit FakeHost(int stopAfterPumps = -1) : stopAfter_(stopAfterPumps) {}
    void PumpMessages() override;
    void ShowStatus(std::wstring_view text) override;
    void RunStarting() override { Started = true; }

    int Pumps = 0;
    bool Started = false;
    std::vector<std::wstring> Statuses;
    // Called after each pump and each status; may press Stop or change the tree.
    std::function<void(FakeHost&)> OnEvent;
    void PressStop() { Control.RequestStop(); }
    // The run's control, as the window holds it.
    RunControl Control;

private:
    int stopAfter_;
};

// The UTF-16 text of a listing file after its byte-order mark; "<no mark>" without one.
std::wstring ListingText(const std::wstring& path);
// expected/<name>.txt (UTF-8, LF) with {ROOT}, {ROOTNAME}, {RULE} and {HEADER} filled in
// and CR LF line ends. {TIME} stays for MatchListing.
std::wstring ExpectedListing(const std::string& name, const ListingFixture& fixture);
// Empty when they agree, else where they first differ. A {TIME} in the expected text
// matches any "yyyy 年 mm 月 dd 日 - AM hh 時 mm 分 ss 秒".
std::string MatchListing(const std::wstring& actual, const std::wstring& expected);
