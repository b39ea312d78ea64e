// What the installer flow needs of its window. The main dialog implements it
// over the folder list control, the skinned elements and the shell; tests
// implement it with a recording fake.
#pragma once

class InstallerView {
public:
    virtual ~InstallerView() = default;

    // The folder list: an ordered list of entry texts with one selection.
    virtual void AddEntry(const char* text) = 0;
    virtual void InsertEntry(int index, const char* text) = 0;
    virtual void DeleteEntry(int index) = 0;
    virtual void SelectEntry(int index) = 0;
    virtual int SelectedEntry() = 0;
    // Copies the text of entry `index` into `buffer`, cut to `capacity`.
    virtual void EntryText(int index, char* buffer, int capacity) = 0;
    // Takes the keyboard focus off the list.
    virtual void MoveFocusOffList() = 0;
    // Moves the list out of the visible area (the finished state).
    virtual void HideFolderList() = 0;

    // Elements by slot (ElementSlot). A slot without an element answers
    // HasElement false and is never asked anything else.
    virtual bool HasElement(int slot) = 0;
    virtual bool IsVisible(int slot) = 0;
    // Shows or hides an element and redraws it.
    virtual void Show(int slot, bool visible) = 0;
    // Sets the flags directly, without redrawing.
    virtual void SetFlags(int slot, bool active, bool visible) = 0;
    // The value of a selector: 0 unticked, 2 ticked.
    virtual int SelectorValue(int slot) = 0;
    // The component name of a selector.
    virtual const char* SelectorName(int slot) = 0;
    // Invalidates an element's rectangle, with erasing.
    virtual void InvalidateElement(int slot) = 0;
    // Invalidates the whole window, with erasing.
    virtual void InvalidateWindow() = 0;

    // Runs the shell's folder browser. On a pick, puts the folder's path into
    // `path` (capacity characters) and returns true; false when cancelled or
    // when the pick has no file-system path.
    virtual bool BrowseForFolder(char* path, int capacity) = 0;

    // Replaces the toolkit's regular font by a skin font of this height.
    virtual void ReplaceRegularFont(int height) = 0;

    // Tells the user that `fileName` could not be installed; true for Retry,
    // false for Cancel.
    virtual bool AskRetry(const char* fileName) = 0;
};
