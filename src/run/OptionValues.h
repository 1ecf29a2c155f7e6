#pragma once
// The options of the main window as plain values, and the rules that turn them into what
// a run needs: the job, the listing options and the size and time controls. The window
// reads its controls into these values; the command line builds them from Setting.ini
// and its flags. Both then go through the same rules, so both list alike.
#include <windows.h>

#include "formats/ListingOptions.h"
#include "fs/DateTime.h"
#include "run/JobInfo.h"
#include "run/SaveOptions.h"
#include "settings/FileTypes.h"
#include "settings/Settings.h"

struct OptionValues {
    SettingsModel Saved;  // the options kept in Setting.ini
    // The options that start alike at every start of the window.
    bool chkEasy = false;
    bool chkFullPath = false;
    bool chkDelEXE = false;
    bool optAscSave0 = true;      // ascending; off is descending
    bool optIndentLevel0 = true;  // unlimited depth; off takes comIndentLevel
    OleDate ClsDate1 = 0;
    OleDate ClsDate2 = 0;
    // A format the command line offers and the window does not (no Setting.ini number):
    // it takes Saved.Format's place.
    int CommandLineFormat = ListingFormats::None;
    friend bool operator==(const OptionValues&, const OptionValues&) = default;
};

// The window's options after start-up and before Setting.ini is applied: the lists with
// their items and none chosen, the controls' start values, the listing mode of a new
// job, and both dates at nowLocal.
OptionValues StartOptionValues(const SYSTEMTIME& nowLocal);

// The job's listing mode, a SaveModes code.
int ListingModeOf(const JobInfo& job);
// Files only, folders only or both; SaveModes::None leaves the job as it is.
void ApplyListingMode(JobInfo& job, int saveMode);
// Every option of the job except RootFolder. A list without a selection leaves its
// option as the job has it. The file filter is the chosen file type's pattern list, or
// the combo's text as typed when none is chosen.
void ApplyOptionsToJob(JobInfo& job, const OptionValues& values, const FileTypeTable& fileTypes);
ListingOptions ListingOptionsOf(const OptionValues& values);
SizeControls SizeControlsOf(const OptionValues& values);
TimeControls TimeControlsOf(const OptionValues& values);
