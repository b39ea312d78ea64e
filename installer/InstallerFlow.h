// The installer's logic between its window and the workers: discovery, the
// folder list, the bitness rules, the tick-box rule and the install.
#pragma once

#include "installer/InstallerView.h"

extern const char kBrowseEntry[];

// Searches the registry for plug-in folders, in a fixed order.
void DiscoverCandidates();
// Lists the candidates (each with the maker's folder) and the BROWSE entry,
// selects entry 0 and shows its indicators.
void FillFolderList(InstallerView& view);
// After the user changed the list's selection: browses for a folder when
// the BROWSE entry was chosen, then follows the selected entry.
void HandleFolderSelection(InstallerView& view);
// Shows the indicator(s) of the plug-in module(s) the install folder gets.
void ShowBitnessIndicators(InstallerView& view);
// The payload types to install into the install folder, in order. Returns
// their number (1 or 2).
int PayloadTypesFor(int types[2]);
// Shows the install button while at least one component is ticked.
void UpdateInstallButton(InstallerView& view);
// Installs the ticked components into the selected folder. Items that cannot
// be written are offered again (Retry) or skipped (Cancel); the window
// switches to its finished state only when every chosen item is installed.
void RunInstall(InstallerView& view);
void EnterFinishedState(InstallerView& view);
