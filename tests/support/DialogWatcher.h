#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

// What a user sees of one message box.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;
    HWND owner = nullptr;
};

// While it lives, watches for message boxes (dialog class #32770) of one process, records what
// each shows and closes it with OK, as a user would. Used around code that may show a box.
class DialogWatcher {
  public:
    explicit DialogWatcher(DWORD processId = GetCurrentProcessId());
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // The boxes seen so far, in the order they appeared.
    std::vector<SeenBox> Boxes() const;

  private:
    void Watch();
    void CloseBoxesOfProcess();

    DWORD processId_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::thread thread_;
};
