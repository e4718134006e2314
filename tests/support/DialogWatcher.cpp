#include "DialogWatcher.h"

namespace {

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM param) {
    if (ClassName(child) == L"Button" && IsWindowVisible(child)) {
        reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(WindowText(child));
    }
    return TRUE;
}

SeenBox ReadBox(HWND box) {
    SeenBox seen;
    seen.caption = WindowText(box);
    // A message box shows its text in the static control with id 0xFFFF.
    if (HWND message = GetDlgItem(box, 0xFFFF)) {
        seen.text = WindowText(message);
    }
    EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&seen.buttons));
    seen.owner = GetWindow(box, GW_OWNER);
    return seen;
}

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassName(window) == L"#32770" && IsWindowVisible(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

} // namespace

DialogWatcher::DialogWatcher(DWORD processId) : processId_(processId), thread_([this] { Watch(); }) {}

DialogWatcher::~DialogWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> DialogWatcher::Boxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

void DialogWatcher::Watch() {
    while (!stop_) {
        CloseBoxesOfProcess();
        Sleep(20);
    }
}

void DialogWatcher::CloseBoxesOfProcess() {
    Search search{processId_, {}};
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
    for (HWND box : search.found) {
        SeenBox seen = ReadBox(box);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            boxes_.push_back(std::move(seen));
        }
        // Closing with IDOK is what the single OK button does; wait until the box is gone, so it
        // is never recorded twice.
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 250 && IsWindow(box); ++i) {
            Sleep(20);
        }
    }
}
