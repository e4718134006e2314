#include "Application.h"

#include "Exception.h"
#include "ModuleFileName.h"

#include <vector>

namespace {

constexpr char applicationWindowClass[] = "TApplicationWindow";
TApplication::InitProc initProc = nullptr;

void RegisterApplicationWindowClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = applicationWindowClass;
    // A second registration fails with ERROR_CLASS_ALREADY_EXISTS, which is fine.
    RegisterClassA(&windowClass);
}

HWND CreateApplicationWindow(const AnsiString& title) {
    RegisterApplicationWindowClass();
    // Never shown: it owns the application's boxes and carries the title.
    return CreateWindowExA(0, applicationWindowClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0,
                           0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

} // namespace

AnsiString DefaultTitleFromPath(const AnsiString& exePath) {
    std::vector<char> converted(static_cast<size_t>(exePath.Length()) + 1);
    OemToCharA(exePath.c_str(), converted.data());
    AnsiString title(converted.data());
    title = title.SubString(title.LastDelimiter("\\") + 1, title.Length());
    const int dot = title.Pos(".");
    if (dot > 0) {
        title = title.SubString(1, dot - 1);
    }
    if (title.Length() > 1) {
        std::string text = title.str();
        CharLowerA(&text[1]);
        title = AnsiString(std::move(text));
    }
    return title;
}

AnsiString ExceptionBoxText(const AnsiString& message) {
    if (!message.IsEmpty() && static_cast<unsigned char>(message[message.Length()]) > '.') {
        return message + ".";
    }
    return message;
}

TApplication::TApplication() = default;

HWND TApplication::Handle() const {
    if (!window_.valid()) {
        window_ = UniqueWindow(CreateApplicationWindow(DefaultTitleFromPath(ModuleFileName())));
    }
    return window_.get();
}

void TApplication::Initialize() {
    if (initProc) {
        initProc();
    }
}

void TApplication::SetInitProc(InitProc proc) {
    initProc = proc;
}

AnsiString TApplication::ExeName() const {
    return ModuleFileName();
}

AnsiString TApplication::Title() const {
    if (const HWND window = Handle()) {
        std::vector<char> buffer(256); // the title is read back at most 255 characters long
        const int length = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
        return AnsiString(buffer.data(), length);
    }
    return DefaultTitleFromPath(ModuleFileName()).SubString(1, 255);
}

void TApplication::ShowException(const AnsiString& message) const noexcept {
    try {
        MessageBoxA(Handle(), ExceptionBoxText(message).c_str(), Title().c_str(), MB_OK | MB_ICONHAND);
    } catch (const Exception&) {
        // No memory left for the period or the title: the bare message still reaches the user.
        MessageBoxA(window_.get(), message.c_str(), nullptr, MB_OK | MB_ICONHAND);
    }
}

TApplication& Application() {
    static TApplication application;
    return application;
}
