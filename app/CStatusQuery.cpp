#include "CStatusQuery.h"

#include "GuardText.h"
#include "WideText.h"

namespace {

// The class the instance checks before it sends anything back: its line goes
// to an asker's window, not to whatever window a handle names.
const char kReplyClass[] = "Qorvane.StatusReply";
const wchar_t kReplyClassWide[] = L"Qorvane.StatusReply";
// WM_COPYDATA's tag of a status line.
const ULONG_PTR kLineTag = 0x51565354;
// A line far longer than any tip: no one sends that much for a status.
const DWORD kMaxLineBytes = 4096;
// The instance answers at once; a busy one (a watch cycle over many
// processes) within this.
const UINT kAnswerWaitMs = 5000;
// The asker is waiting in its send when the line goes back.
const UINT kReplyWaitMs = 2000;

bool RegisterReplyClass() {
    static const bool s_bRegistered = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kReplyClass;
        return RegisterClassA(&wc) != 0;
    }();
    return s_bRegistered;
}

// The significant bits of a window handle, however the other bitness
// extended them.
DWORD LowHandle(HWND hWnd) {
    return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hWnd));
}

} // namespace

CStatusQuery::CStatusQuery() {
    if (RegisterReplyClass() && CreateEx(0, kReplyClass, "", 0, RECT(), HWND_MESSAGE, 0)) {
        // An asker run as administrator hears the instance all the same:
        // WM_COPYDATA from a program of lower integrity is dropped otherwise.
        ChangeWindowMessageFilterEx(m_hWnd, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    }
}

CStatusQuery::~CStatusQuery() {
    DestroyWindow();
}

UINT CStatusQuery::Message() {
    static const UINT s_uMessage = RegisterWindowMessageA("Qorvane.Status");
    return s_uMessage;
}

InstanceAnswer CStatusQuery::Ask(HWND hMainWnd, std::wstring* pLine) {
    if (!m_hWnd) {
        return InstanceAnswer::Lost;
    }
    m_hAsked = hMainWnd;
    m_bHasLine = false;
    DWORD_PTR result = 0;
    const bool bSent =
        SendMessageTimeoutW(hMainWnd, Message(), reinterpret_cast<WPARAM>(m_hWnd), 0,
                            SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerWaitMs, &result) != 0;
    m_hAsked = nullptr;
    const InstanceAnswer answer = ReadAnswer(StartAction::AskStatus, bSent, result);
    if (answer == InstanceAnswer::Lost || !m_bHasLine) {
        return InstanceAnswer::Lost;
    }
    *pLine = m_line;
    return answer;
}

LRESULT CStatusQuery::Answer(HWND hMainWnd, WPARAM wParam, const CWatchGuard::Display& display) {
    // A window handle has 32 significant bits, sign-extended in a 64-bit
    // process: the asker may be of the other bitness.
    HWND hReply = reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(wParam)));
    wchar_t szClass[32] = L"";
    if (!IsWindow(hReply) || !GetClassNameW(hReply, szClass, 32) ||
        lstrcmpW(szClass, kReplyClassWide) != 0) {
        return static_cast<LRESULT>(InstanceAnswer::Lost);
    }
    const std::wstring line = WideFromAnsi(GuardStatusLine(display));
    COPYDATASTRUCT data = {};
    data.dwData = kLineTag;
    data.cbData = static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(line.c_str());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hReply, WM_COPYDATA, reinterpret_cast<WPARAM>(hMainWnd),
                             reinterpret_cast<LPARAM>(&data), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             kReplyWaitMs, &result) ||
        result != TRUE) {
        return static_cast<LRESULT>(InstanceAnswer::Lost);
    }
    return static_cast<LRESULT>(display.bGuarding ? InstanceAnswer::KeptAwake
                                                  : InstanceAnswer::NothingKeptAwake);
}

bool CStatusQuery::ReadLine(const COPYDATASTRUCT* pData, std::wstring* pLine) {
    if (!pData || pData->dwData != kLineTag || !pData->lpData || pData->cbData == 0 ||
        pData->cbData % sizeof(wchar_t) != 0 || pData->cbData > kMaxLineBytes) {
        return false;
    }
    const wchar_t* pText = static_cast<const wchar_t*>(pData->lpData);
    const size_t nUnits = pData->cbData / sizeof(wchar_t);
    std::wstring line;
    for (size_t i = 0; i < nUnits && pText[i] != L'\0'; ++i) {
        line += pText[i] < L' ' || pText[i] == 0x7F ? L' ' : pText[i];
    }
    *pLine = line;
    return true;
}

LRESULT CStatusQuery::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<HWND>(wParam),
                          reinterpret_cast<const COPYDATASTRUCT*>(lParam))
                   ? TRUE
                   : FALSE;
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

bool CStatusQuery::OnCopyData(HWND hSender, const COPYDATASTRUCT* pData) {
    // Only the window asked, only while it is asked, and only once.
    if (m_bHasLine || !m_hAsked || LowHandle(hSender) != LowHandle(m_hAsked)) {
        return false;
    }
    m_bHasLine = ReadLine(pData, &m_line);
    return m_bHasLine;
}
