// The installer's one record of process-wide state.
#pragma once

#include "platform/Os.h"
#include "platform/Text.h"

class JElement;
class JSurface;

// A folder found at start-up, or (in the exclusion list) a component name.
struct FolderCandidate {
    char path[800];              // empty: the slot is free
    int32_t appendVendorFolder;  // list the folder with "Halvorne\" appended
    int32_t foundIn64BitView;
};
static_assert(sizeof(FolderCandidate) == 808, "FolderCandidate is 800 characters and two integers");

constexpr int kTableSlots = 20;

struct CandidateTable {
    FolderCandidate slots[kTableSlots];
};

struct ExclusionList {
    FolderCandidate slots[kTableSlots];
};

// Element slots by role.
enum ElementSlot {
    kCloseButton = 0,
    kInstallButton = 1,
    kExitButton = 2,
    kWebLink = 3,
    kFinishedPicture = 4,
    kIndicator32 = 5,
    kIndicator64 = 6,
    kFirstSelector = 7,
    kLastSelector = 18,  // the selector range is 7 to 18; slot 19 is never filled
    kElementSlots = 20,
};

struct LayoutPoint {
    int32_t x;
    int32_t y;
};

constexpr int kPathChars = 400;

// A payload item that could not be installed: kept so that the install can
// name it to the user and try it again.
struct FailedItem {
    int32_t type;           // payload resource type, 3000 or 3001
    char resourceName[96];  // as the resource enumeration named it
    char fileName[96];      // file-form name, shown to the user
};

struct FailureRecord {
    int32_t count;  // every failure, also those beyond the stored ones
    FailedItem items[8];
};

struct InstallerState {
    JElement* elementSlots[kElementSlots];
    FARPROC isWow64ProcessEntry;
    int32_t browseIndex;
    HINSTANCE instance;
    JSurface* surface;
    char scratchPath[kPathChars];
    char installPath[kPathChars];
    int32_t browsedEntryInserted;
    int32_t finished;
    int32_t use64BitView;
    BROWSEINFOA browseInfo;
    CandidateTable candidates;
    ExclusionList exclusions;

    // Layout values, in pixels of the main window's client area.
    LayoutPoint linkOrigin;
    LayoutPoint optionsAnchor;
    int32_t listMargin;
    int32_t textLeft;
    int32_t promptTop;  // H - 82, set when the dialog knows H

    FailureRecord failures;
};

extern InstallerState gState;

// Sets every slot of a table to an empty path, appendVendorFolder 1 and
// foundIn64BitView 0.
void ResetSlots(FolderCandidate (&slots)[kTableSlots]);

// Non-zero when the 32-bit installer runs on 64-bit Windows.
int32_t IsWow64();
