#include "Win32Ui.h"

#include "SystemLibraries.h"
#include "WinText.h"
#include "resource.h"

#include <commctrl.h>

namespace {

// What a dialog procedure needs; passed through the init parameter.
struct DialogData {
    std::wstring caption;
    std::wstring text;
    std::wstring edit;
    bool editable = true;
    const std::vector<std::string>* names = nullptr;
};

std::wstring windowText(HWND dialog, int id) {
    const int n = GetWindowTextLengthW(GetDlgItem(dialog, id));
    std::wstring text(size_t(n) + 1, L'\0');
    GetDlgItemTextW(dialog, id, text.data(), n + 1);
    text.resize(size_t(n));
    return text;
}

void browseForFolder(HWND dialog) {
    BROWSEINFOW info{};
    info.hwndOwner = dialog;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    if (PIDLIST_ABSOLUTE list = browseForFolder(&info)) {
        wchar_t path[MAX_PATH];
        if (pathFromIdList(list, path)) SetDlgItemTextW(dialog, IDC_FOLDER, path);
        freeIdList(list);
    }
}

void initDialog(HWND dialog, DialogData& data) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&data));
    SetWindowTextW(dialog, data.caption.c_str());
    SetDlgItemTextW(dialog, IDC_TEXT, data.text.c_str());
    SetDlgItemTextW(dialog, IDC_EDIT, data.edit.c_str());
    SetDlgItemTextW(dialog, IDC_FOLDER, data.edit.c_str());
    SendDlgItemMessageW(dialog, IDC_FOLDER, EM_SETREADONLY, !data.editable, 0);
    EnableWindow(GetDlgItem(dialog, IDC_BROWSE), data.editable);
    if (HWND icon = GetDlgItem(dialog, IDC_QUESTION_ICON))
        SendMessageW(icon, STM_SETICON, WPARAM(LoadIconW(nullptr, IDI_QUESTION)), 0);
    if (data.names) {
        for (const std::string& name : *data.names)
            SendDlgItemMessageW(dialog, IDC_FILES, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(widen(name).c_str()));
    }
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        initDialog(dialog, *reinterpret_cast<DialogData*>(lParam));
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    auto* data = reinterpret_cast<DialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
    const int id = LOWORD(wParam);
    if (id == IDC_BROWSE) {
        browseForFolder(dialog);
        return TRUE;
    }
    if (id == IDOK && data) {
        data->edit = GetDlgItem(dialog, IDC_FOLDER) ? windowText(dialog, IDC_FOLDER)
                                                    : windowText(dialog, IDC_EDIT);
    }
    if (id == IDOK || id == IDCANCEL || id == IDYES || id == IDNO || id == IDC_YESALL ||
        id == IDC_NOALL) {
        EndDialog(dialog, id);
        return TRUE;
    }
    return FALSE;
}

INT_PTR runDialog(HINSTANCE instance, int id, DialogData& data) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(id), nullptr, dialogProc,
                           reinterpret_cast<LPARAM>(&data));
}

// The progress window's Cancel button (and its close box) set the flag its
// init parameter points to; the extraction looks at it between files.
INT_PTR CALLBACK progressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    const bool cancel =
        (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE;
    if (!cancel) return FALSE;
    if (auto* flag = reinterpret_cast<bool*>(GetWindowLongPtrW(dialog, DWLP_USER))) *flag = true;
    EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
    return TRUE;
}

// Message boxes that need an answer carry the question icon.
UINT messageType(sfxcore::MessageButtons buttons) {
    switch (buttons) {
    case sfxcore::MessageButtons::OkCancel:
        return MB_OKCANCEL | MB_ICONQUESTION;
    case sfxcore::MessageButtons::YesNo:
        return MB_YESNO | MB_ICONQUESTION;
    default:
        return MB_OK | MB_ICONINFORMATION;
    }
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

Win32Ui::~Win32Ui() {
    closeProgress();
}

bool Win32Ui::showMessage(const std::string& caption, const std::string& text,
                          sfxcore::MessageButtons buttons) {
    const int answer = MessageBoxW(nullptr, widen(text).c_str(), widen(caption).c_str(),
                                   messageType(buttons) | MB_SETFOREGROUND);
    return answer == IDOK || answer == IDYES;
}

bool Win32Ui::chooseFolder(const std::string& caption, std::string& folder, bool editable,
                           const std::vector<std::string>& names) {
    DialogData data{widen(caption), {}, widen(folder), editable, &names};
    if (runDialog(m_instance, IDD_OPTIONS, data) != IDOK) return false;
    folder = narrow(data.edit);
    return true;
}

sfxcore::OverwriteAnswer Win32Ui::askOverwrite(const std::string& caption,
                                               const std::string& path) {
    DialogData data{widen(caption), widen(path + "\nexiste déjà. Le remplacer ?"), {}};
    switch (runDialog(m_instance, IDD_OVERWRITE, data)) {
    case IDYES:
        return sfxcore::OverwriteAnswer::Yes;
    case IDNO:
        return sfxcore::OverwriteAnswer::No;
    case IDC_YESALL:
        return sfxcore::OverwriteAnswer::YesToAll;
    case IDC_NOALL:
        return sfxcore::OverwriteAnswer::NoToAll;
    default:
        return sfxcore::OverwriteAnswer::Cancel;
    }
}

std::optional<std::string> Win32Ui::askPassword(const std::string& caption,
                                                const std::string& entryName, bool wrongBefore) {
    const std::string prompt = (wrongBefore ? "Mot de passe incorrect. " : "") +
                               std::string("Mot de passe pour ") + entryName + " :";
    DialogData data{widen(caption), widen(prompt), {}};
    if (runDialog(m_instance, IDD_PASSWORD, data) != IDOK) return std::nullopt;
    return narrow(data.edit);
}

std::optional<std::string> Win32Ui::confirmCommandLine(const std::string& caption,
                                                       const std::string& command) {
    DialogData data{widen(caption), {}, widen(command)};
    if (runDialog(m_instance, IDD_COMMAND, data) != IDOK) return std::nullopt;
    return narrow(data.edit);
}

bool Win32Ui::runCommand(const std::string& command, const std::string& folder) {
    std::wstring line = widen(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        widen(folder).c_str(), &startup, &process)) {
        // Not a program: a document opens with the program associated with it.
        const auto opened =
            reinterpret_cast<INT_PTR>(shellOpen(widen(command).c_str(), widen(folder).c_str()));
        return opened > 32;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Win32Ui::progress(const std::string& caption, size_t index, size_t count,
                       const std::string& name) {
    if (!m_progress && index < count) {
        m_progressCancelled = false;
        m_progress =
            CreateDialogParamW(m_instance, MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, progressProc,
                               reinterpret_cast<LPARAM>(&m_progressCancelled));
        if (m_progress) SetWindowTextW(m_progress, widen(caption + " - extraction").c_str());
    }
    if (!m_progress) return true;
    SendDlgItemMessageW(m_progress, IDC_PROGRESS, PBM_SETRANGE32, 0, LPARAM(count));
    SendDlgItemMessageW(m_progress, IDC_PROGRESS, PBM_SETPOS, WPARAM(index), 0);
    SetDlgItemTextW(m_progress, IDC_TEXT, widen(name).c_str());
    pumpMessages();
    if (index >= count) closeProgress();
    return !m_progressCancelled;
}

void Win32Ui::closeProgress() {
    if (m_progress) DestroyWindow(m_progress);
    m_progress = nullptr;
}

// The final box comes to the front: the user may have switched to another
// window while the files were written.
void Win32Ui::info(const std::string& caption, const std::string& text) {
    closeProgress();
    MessageBoxW(nullptr, widen(text).c_str(), widen(caption).c_str(),
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
}

void Win32Ui::error(const std::string& caption, const std::string& text) {
    closeProgress();
    MessageBoxW(nullptr, widen(text).c_str(), widen(caption).c_str(),
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}
