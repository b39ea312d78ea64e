#include "tests/discovery/FakeView.h"

#include "platform/Text.h"

namespace test {

FakeView::FakeView() {
    for (int slot = 0; slot <= kIndicator64; ++slot)
        elements[slot].exists = true;
    elements[kExitButton].visible = elements[kIndicator32].visible = elements[kIndicator64].visible = false;
    elements[kFinishedPicture].visible = elements[kFinishedPicture].active = false;
    elements[kFirstSelector] = {true, true, true, 2, "TrazelKundor"};
    elements[kFirstSelector + 1] = {true, true, true, 2, "PresetsTrazels"};
}

std::vector<std::string> FakeView::TakeLog() {
    std::vector<std::string> taken;
    taken.swap(log);
    return taken;
}

void FakeView::AddEntry(const char* text) {
    entries.push_back(text);
    log.push_back(std::string("add ") + text);
}

void FakeView::InsertEntry(int index, const char* text) {
    entries.insert(entries.begin() + index, text);
    log.push_back("insert " + std::to_string(index) + " " + text);
}

void FakeView::DeleteEntry(int index) {
    entries.erase(entries.begin() + index);
    log.push_back("delete " + std::to_string(index));
}

void FakeView::SelectEntry(int index) {
    selected = index;
    log.push_back("select " + std::to_string(index));
}

void FakeView::EntryText(int index, char* buffer, int capacity) {
    CopyText(buffer, capacity, index >= 0 && index < int(entries.size()) ? entries[index].c_str() : "");
}

void FakeView::Show(int slot, bool visible) {
    elements[slot].visible = elements[slot].active = visible;
    log.push_back((visible ? "show " : "hide ") + std::to_string(slot));
}

void FakeView::SetFlags(int slot, bool active, bool visible) {
    elements[slot].active = active;
    elements[slot].visible = visible;
    log.push_back("flags " + std::to_string(slot) + (active ? " active" : "") + (visible ? " visible" : ""));
}

bool FakeView::BrowseForFolder(char* path, int capacity) {
    std::string answer = browseAnswers.empty() ? "" : browseAnswers.front();
    if (!browseAnswers.empty())
        browseAnswers.pop_front();
    log.push_back("browse");
    if (answer.empty())
        return false;
    CopyText(path, capacity, answer.c_str());
    return true;
}

bool FakeView::AskRetry(const char* fileName) {
    bool retry = !retryAnswers.empty() && retryAnswers.front();
    if (!retryAnswers.empty())
        retryAnswers.pop_front();
    log.push_back(std::string("ask ") + fileName);
    if (onAsk)
        onAsk();
    return retry;
}

}  // namespace test
