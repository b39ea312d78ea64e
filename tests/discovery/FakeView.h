// A recording view for the installer flow: a folder list, elements by slot,
// a folder browser and a retry question whose answers the test sets. Every
// call that changes something is logged in order.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "installer/InstallerState.h"
#include "installer/InstallerView.h"

namespace test {

class FakeView : public InstallerView {
public:
    struct Element {
        bool exists = false;
        bool visible = true;
        bool active = true;
        int value = 0;
        std::string name;
    };

    FakeView();

    std::vector<std::string> entries;
    int selected = -1;
    Element elements[kElementSlots];
    std::deque<std::string> browseAnswers;  // "" cancels
    std::deque<bool> retryAnswers;           // true: Retry
    std::function<void()> onAsk;             // runs while the question is open
    std::vector<std::string> log;

    // The log since the last call, emptied.
    std::vector<std::string> TakeLog();

    void AddEntry(const char* text) override;
    void InsertEntry(int index, const char* text) override;
    void DeleteEntry(int index) override;
    void SelectEntry(int index) override;
    int SelectedEntry() override { return selected; }
    void EntryText(int index, char* buffer, int capacity) override;
    void MoveFocusOffList() override { log.push_back("focus"); }
    void HideFolderList() override { log.push_back("hide list"); }
    bool HasElement(int slot) override { return elements[slot].exists; }
    bool IsVisible(int slot) override { return elements[slot].visible; }
    void Show(int slot, bool visible) override;
    void SetFlags(int slot, bool active, bool visible) override;
    int SelectorValue(int slot) override { return elements[slot].value; }
    const char* SelectorName(int slot) override { return elements[slot].name.c_str(); }
    void InvalidateElement(int slot) override { log.push_back("invalidate " + std::to_string(slot)); }
    void InvalidateWindow() override { log.push_back("invalidate window"); }
    bool BrowseForFolder(char* path, int capacity) override;
    void ReplaceRegularFont(int height) override { log.push_back("font " + std::to_string(height)); }
    bool AskRetry(const char* fileName) override;
};

}  // namespace test
