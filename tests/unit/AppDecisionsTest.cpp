#include "AddWatchRules.h"
#include "AfxLanguage.h"
#include "CSingleInstance.h"
#include "CStatusQuery.h"
#include "ColumnWidths.h"
#include "CommandRules.h"
#include "GuardText.h"
#include "MutexOutOfReach.h"
#include "SetAsideFiles.h"
#include "StartupDecision.h"
#include "WatchRowText.h"
#include "WideText.h"
#include "WindowPlacement.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(RowText, ValuesOutsideTheKnownOnesShowTheWidestMeaning) {
    const struct {
        int value;
        UINT condition;
        UINT effect;
    } cases[] = {
        {0, IDS_VALID_NEVER, IDS_EFFECT_BOTH},       {1, IDS_VALID_RUNNING, IDS_EFFECT_SAVER},
        {2, IDS_VALID_FOREGROUND, IDS_EFFECT_POWER}, {3, IDS_VALID_FOREGROUND, IDS_EFFECT_BOTH},
        {-1, IDS_VALID_FOREGROUND, IDS_EFFECT_BOTH}, {99, IDS_VALID_FOREGROUND, IDS_EFFECT_BOTH},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.condition, ConditionTextId(c.value)) << c.value;
        EXPECT_EQ(c.effect, EffectTextId(c.value)) << c.value;
    }
}

TEST(WindowPlacement, VisibleSavedPositionsStayAndTheRestIsCentred) {
    const RECT work = {0, 0, 1000, 700};
    const POINT created = {0, 0};
    const struct {
        RECT restored;
        bool onMonitor;
        RECT expected;
    } cases[] = {
        // A saved position that some monitor shows stays exactly, even partly off screen.
        {{40, 30, 640, 330}, true, {40, 30, 640, 330}},
        {{-300, -20, 300, 280}, true, {-300, -20, 300, 280}},
        // Nothing saved: the template's size where the dialog was created, centred.
        {{0, 0, 500, 300}, true, {250, 200, 750, 500}},
        // On no monitor (one since unplugged): same size, centred.
        {{5000, 4000, 5520, 4280}, false, {240, 210, 760, 490}},
        // Larger than the work area: the caption stays reachable.
        {{3000, 3000, 4200, 3900}, false, {0, 0, 1200, 900}},
    };
    for (const auto& c : cases) {
        RECT r = PlaceRestoredWindow(c.restored, created, c.onMonitor, work);
        EXPECT_EQ(c.expected.left, r.left) << c.restored.left;
        EXPECT_EQ(c.expected.top, r.top) << c.restored.left;
        EXPECT_EQ(c.expected.right, r.right) << c.restored.left;
        EXPECT_EQ(c.expected.bottom, r.bottom) << c.restored.left;
    }
    // A work area that does not start at the origin (taskbar at the top or left).
    RECT r = PlaceRestoredWindow({0, 0, 400, 200}, created, true, {100, 40, 1100, 740});
    EXPECT_EQ(400, r.left);
    EXPECT_EQ(290, r.top);
}

TEST(Startup, WhatEachStartDoes) {
    using I = InstanceState;
    using K = KeepAwakeRequest;
    using A = StartAction;
    // wnd: the running instance's window was found; other: the instance is a
    // copy from another folder; waits: one that has not shown its window yet
    // is waited for; exit: the exit code when the instance was asked nothing
    // (or gave no answer).
    const struct {
        I instance;
        bool wnd, other, uninstall;
        K::Kind keepAwake;
        bool noProcess, status;
        A action;
        bool waits;
        int exit;
    } cases[] = {
        {I::First, false, false, false, K::None, false, false, A::RunMainWindow, true, 0},
        {I::First, false, false, true, K::None, false, false, A::UninstallOnly, false, 0},
        {I::Running, false, false, false, K::None, false, false, A::EndSilently, true, 0},
        {I::Running, false, false, true, K::None, false, false, A::EndSilently, false, 0},
        {I::Running, true, false, false, K::None, false, false, A::HandOver, true, 0},
        {I::Running, true, false, true, K::None, false, false, A::CloseAndUninstall, false, 0},
        {I::First, false, false, false, K::Start, false, false, A::RunMainWindow, true, 0},
        {I::First, false, false, false, K::Stop, false, false, A::RunMainWindow, true, 0},
        {I::Running, true, false, false, K::Start, false, false, A::HandOverKeepAwake, true, 2},
        {I::Running, true, false, false, K::Stop, false, false, A::HandOverKeepAwake, true, 2},
        {I::Running, false, false, false, K::Start, false, false, A::KeepAwakeLost, true, 2},
        {I::Running, false, false, false, K::Stop, false, false, A::KeepAwakeLost, true, 2},
        {I::Running, false, false, true, K::Start, false, false, A::EndSilently, false, 0},
        {I::Running, true, false, true, K::Start, false, false, A::CloseAndUninstall, false, 0},
        {I::First, false, false, false, K::Invalid, false, false, A::RefuseKeepAwake, false, 1},
        {I::Running, true, false, false, K::Invalid, false, false, A::RefuseKeepAwake, false, 1},
        {I::Running, true, false, true, K::Invalid, false, false, A::CloseAndUninstall, false, 0},
        // A hold for a process that does not run is refused as such, before
        // anyone is asked.
        {I::First, false, false, false, K::Start, true, false, A::RefuseNoSuchProcess, false, 1},
        {I::Running, true, false, false, K::Start, true, false, A::RefuseNoSuchProcess, false, 1},
        {I::Running, true, false, true, K::Start, true, false, A::CloseAndUninstall, false, 0},
        // An instance started as administrator is out of reach for everything.
        {I::Elevated, false, false, false, K::None, false, false, A::RunsAsAdministrator, true, 2},
        {I::Elevated, false, false, true, K::None, false, false, A::RunsAsAdministrator, false, 2},
        {I::Elevated, false, false, false, K::Start, false, false, A::RunsAsAdministrator, true, 2},
        // A copy from another folder is reached through its window and named
        // where it shows none; an uninstall of this copy leaves it alone.
        {I::Running, true, true, false, K::None, false, false, A::HandOver, true, 0},
        {I::Running, true, true, false, K::Start, false, false, A::HandOverKeepAwake, true, 2},
        {I::Running, false, true, false, K::None, false, false, A::OtherCopyNotReached, true, 2},
        {I::Running, false, true, false, K::Stop, false, false, A::OtherCopyNotReached, true, 2},
        {I::Running, false, true, true, K::None, false, false, A::UninstallOnly, false, 0},
        // A status is asked for, and nothing else, also of an instance that is
        // just starting; an uninstall still comes first.
        {I::First, false, false, false, K::None, false, true, A::StatusNoInstance, true, 2},
        {I::Running, true, false, false, K::None, false, true, A::AskStatus, true, 2},
        {I::Running, true, false, false, K::Invalid, false, true, A::AskStatus, true, 2},
        {I::Running, true, true, false, K::Start, false, true, A::AskStatus, true, 2},
        {I::Running, false, false, false, K::None, false, true, A::StatusLost, true, 2},
        {I::Running, false, true, false, K::None, false, true, A::OtherCopyNotReached, true, 2},
        {I::Elevated, false, false, false, K::None, false, true, A::RunsAsAdministrator, true, 2},
        {I::Running, true, false, true, K::None, false, true, A::CloseAndUninstall, false, 0},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const auto& c = cases[i];
        StartFacts facts;
        facts.instance = c.instance;
        facts.bMainWnd = c.wnd;
        facts.bOtherCopy = c.other;
        facts.bUninstall = c.uninstall;
        facts.keepAwake = c.keepAwake;
        facts.bNoSuchProcess = c.noProcess;
        facts.bStatus = c.status;
        EXPECT_EQ(c.action, DecideStart(facts)) << "case " << i;
        EXPECT_EQ(c.waits, WaitsForMainWnd(facts)) << "case " << i;
        EXPECT_EQ(c.exit, ExitCodeOf(c.action, InstanceAnswer::NotAsked)) << "case " << i;
        // Only the instance and an uninstall hold the mutex on: a refusal
        // whose message waits must not turn the user's next start away.
        EXPECT_EQ(c.action == A::RunMainWindow || c.action == A::CloseAndUninstall ||
                      c.action == A::UninstallOnly,
                  KeepsInstanceGuard(c.action))
            << "case " << i;
    }
    // The administrator's policy refuses the start of a hold before anyone
    // is asked, and only a start: a stop, a status and an uninstall go on.
    const struct {
        I instance;
        bool wnd;
        K::Kind keepAwake;
        bool uninstall, status;
        A action;
    } forbidden[] = {
        {I::First, false, K::Start, false, false, A::RefuseByPolicy},
        {I::Running, true, K::Start, false, false, A::RefuseByPolicy},
        {I::Running, false, K::Start, false, false, A::RefuseByPolicy},
        {I::Running, true, K::Stop, false, false, A::HandOverKeepAwake},
        {I::First, false, K::None, false, false, A::RunMainWindow},
        {I::Running, true, K::Start, false, true, A::AskStatus},
        {I::Running, true, K::Start, true, false, A::CloseAndUninstall},
    };
    for (const auto& c : forbidden) {
        StartFacts facts;
        facts.instance = c.instance;
        facts.bMainWnd = c.wnd;
        facts.keepAwake = c.keepAwake;
        facts.bUninstall = c.uninstall;
        facts.bStatus = c.status;
        facts.bForbiddenByPolicy = true;
        EXPECT_EQ(c.action, DecideStart(facts)) << static_cast<int>(c.action);
        if (c.action == A::RefuseByPolicy) {
            EXPECT_FALSE(WaitsForMainWnd(facts));
            EXPECT_FALSE(KeepsInstanceGuard(c.action));
            EXPECT_EQ(kExitRefused, ExitCodeOf(c.action, InstanceAnswer::NotAsked));
        }
    }
}

TEST(Startup, WhatTheInstanceAnswersIsTheExitCode) {
    using A = StartAction;
    using R = InstanceAnswer;
    // result: what the instance's window returned, when the message was sent
    // at all (not: it timed out or the window had gone).
    const struct {
        A action;
        bool sent;
        DWORD_PTR result;
        R answer;
        int exit;
    } cases[] = {
        {A::HandOverKeepAwake, true, 1, R::HoldTaken, 0},
        {A::HandOverKeepAwake, true, 2, R::HoldRefused, 1},
        {A::HandOverKeepAwake, false, 1, R::Lost, 2},
        // An older copy's window knows no answer; another request's is none.
        {A::HandOverKeepAwake, true, 0, R::Lost, 2},
        {A::HandOverKeepAwake, true, 3, R::Lost, 2},
        {A::AskStatus, true, 3, R::KeptAwake, 0},
        {A::AskStatus, true, 4, R::NothingKeptAwake, 1},
        {A::AskStatus, true, 1, R::Lost, 2},
        {A::AskStatus, true, static_cast<DWORD_PTR>(-1), R::Lost, 2},
        {A::AskStatus, false, 3, R::Lost, 2},
        {A::RunMainWindow, true, 1, R::NotAsked, 0},
    };
    for (const auto& c : cases) {
        const R answer = ReadAnswer(c.action, c.sent, c.result);
        EXPECT_EQ(c.answer, answer) << static_cast<int>(c.action) << " " << c.result;
        EXPECT_EQ(c.exit, ExitCodeOf(c.action, answer)) << static_cast<int>(c.action);
    }
}

TEST(Startup, TheStatusIsTheTipInOneLine) {
    using D = CWatchGuard::Display;
    D held;
    held.bGuarding = held.bScreen = true;
    held.detail = TipDetail::MinutesLeft;
    held.nMinutesLeft = 30;
    D until;
    until.bGuarding = until.bComputerOnly = true;
    until.detail = TipDetail::UntilTime;
    until.nUntilMinute = 17 * 60 + 30;
    D watched;
    watched.bGuarding = watched.bScreen = watched.bHours = true;
    watched.detail = TipDetail::WatchedAlias;
    watched.strAlias = "Editor, Player";
    watched.nHoursEnd = 18 * 60;
    D paused;
    paused.bPaused = true;
    paused.nBatteryPercent = 15;
    paused.nBatteryFloor = 20;
    const struct {
        D display;
        const char* line;
    } cases[] = {
        {D(), "Qorvane: nothing is kept awake"},
        {held, "Qorvane (guarding...); Keeping awake: 30 min left"},
        {until, "Qorvane (keeping the computer awake...); Keeping the computer awake until 17:30"},
        {watched, "Qorvane (guarding...); Working hours until 18:00; Editor, Player"},
        {paused, "Qorvane (paused...); On battery at 15%, floor 20%: paused"},
    };
    const LANGID language = AfxGetResourceLanguage();
    AfxSetResourceLanguage(AFX_LANG_ENGLISH);
    for (const auto& c : cases)
        EXPECT_STREQ(c.line, GuardStatusLine(c.display).GetString());
    AfxSetResourceLanguage(language);
}

// What comes back to the asker's window may come from any program.
TEST(Startup, AStatusLineSentBackIsCheckedAndKeptToOneLine) {
    wchar_t text[] = L"Qorvane\n(guarding)\0rest";
    const ULONG_PTR kTag = 0x51565354;
    const struct {
        ULONG_PTR tag;
        DWORD bytes;
        bool ok;
        const wchar_t* line;
    } cases[] = {
        {kTag, sizeof text, true, L"Qorvane (guarding)"},
        {kTag, 7 * sizeof(wchar_t), true, L"Qorvane"}, // no terminator: the size ends it
        {kTag, 7 * sizeof(wchar_t) + 1, false, L""},   // half a character
        {kTag, 0, false, L""},
        {kTag, 8192, false, L""},
        {kTag + 1, sizeof text, false, L""},
    };
    for (const auto& c : cases) {
        const COPYDATASTRUCT data = {c.tag, c.bytes, text};
        std::wstring line;
        EXPECT_EQ(c.ok, CStatusQuery::ReadLine(&data, &line)) << c.bytes;
        EXPECT_EQ(std::wstring(c.line), line) << c.bytes;
    }
    std::wstring line;
    EXPECT_FALSE(CStatusQuery::ReadLine(nullptr, &line));
}

TEST(Startup, AMutexOutOfReachMeansAnInstanceRunsAsAdministrator) {
    EXPECT_EQ(InstanceState::First, InstanceStateOf(true, ERROR_SUCCESS));
    EXPECT_EQ(InstanceState::Running, InstanceStateOf(true, ERROR_ALREADY_EXISTS));
    EXPECT_EQ(InstanceState::Elevated, InstanceStateOf(false, ERROR_ACCESS_DENIED));
    EXPECT_EQ(InstanceState::First, InstanceStateOf(false, ERROR_INVALID_HANDLE))
        << "a name taken by another kind of object: run unguarded, as before";
    const MutexOutOfReach elevated("Qorvane.Test.OutOfReach");
    ASSERT_NE(nullptr, elevated.Get());
    CSingleInstance guard("Qorvane.Test.OutOfReach");
    EXPECT_TRUE(guard.IsAlreadyRunning());
    EXPECT_EQ(InstanceState::Elevated, guard.GetState());
}

TEST(Startup, OnlyTheProgramsOwnFilesSetAsideBySetupAreLeftovers) {
    const struct {
        const wchar_t* name;
        bool leftover;
    } cases[] = {
        {L"TessikDLL.dll.123456.old", true},
        {L"Murvel.exe.7.old", true},
        {L"murvel.EXE.7.OLD", true},
        {L"TessikDLL.dll.old", false},
        {L"TessikDLL.dll.1.old.txt", false},
        {L"Tessik.dat.1.old", false},
        {L"xMurvel.exe.1.old", false},
        {L"Murvel.exe", false},
        {L"notes.old", false},
        {L"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.leftover, IsSetAsideName(c.name)) << static_cast<int>(c.name[0]);
}

TEST(Startup, UninstallKeywordInAnyCaseAnywhere) {
    EXPECT_TRUE(IsUninstallCommandLine("/UNINSTALL"));
    EXPECT_TRUE(IsUninstallCommandLine("/uninstall"));
    EXPECT_TRUE(IsUninstallCommandLine("-x /UnInstall now"));
    EXPECT_TRUE(IsUninstallCommandLine("/uninstallation"));
    EXPECT_FALSE(IsUninstallCommandLine(""));
    EXPECT_FALSE(IsUninstallCommandLine("uninstall"));
    EXPECT_FALSE(IsUninstallCommandLine("/UN INSTALL"));
    // "/STATUS" is a word of its own.
    EXPECT_TRUE(IsStatusCommandLine("/status"));
    EXPECT_TRUE(IsStatusCommandLine("-x\t/Status now"));
    EXPECT_FALSE(IsStatusCommandLine("/STATUSBAR"));
    EXPECT_FALSE(IsStatusCommandLine("x/STATUS"));
    EXPECT_FALSE(IsStatusCommandLine(""));
}

TEST(CommandRules, ButtonsActOnTheirClickOnlyAndOpenDialogsKeepTheUser) {
    const HWND hButton = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    EXPECT_TRUE(IsCommandRequest(0, nullptr)) << "menu";
    EXPECT_TRUE(IsCommandRequest(1, nullptr)) << "accelerator";
    EXPECT_TRUE(IsCommandRequest(BN_CLICKED, hButton));
    EXPECT_FALSE(IsCommandRequest(BN_DOUBLECLICKED, hButton));
    EXPECT_FALSE(IsCommandRequest(BN_SETFOCUS, hButton));

    const struct {
        UINT id;
        ModalCommand expected;
    } cases[] = {
        {ID_APP_EXIT, ModalCommand::CancelDialogsThen},
        {ID_AREA_BLACK_WAKE, ModalCommand::Run},
        {ID_ADD_WATCH, ModalCommand::ShowOpenDialog},
        {IDC_DELETE_WATCH, ModalCommand::ShowOpenDialog},
        {ID_WATCH_PROPERTIES, ModalCommand::ShowOpenDialog},
        {ID_APP_ABOUT, ModalCommand::ShowOpenDialog},
        {ID_SHOW_MAIN_WND, ModalCommand::ShowOpenDialog},
        {ID_TOGGLE_MAIN_WND, ModalCommand::ShowOpenDialog},
        {ID_TOGGLE_AUTORUN, ModalCommand::ShowOpenDialog},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, DecideCommandWhileModal(c.id)) << c.id;
}

TEST(AddWatchRules, TypedPathsLoseBlanksAndOnePairOfQuotes) {
    const struct {
        const char* typed;
        const char* expected;
    } cases[] = {
        {"C:\\a b\\x.exe", "C:\\a b\\x.exe"},
        {"  \"C:\\a b\\x.exe\"  ", "C:\\a b\\x.exe"},
        {"\" C:\\x.exe \"", "C:\\x.exe"},
        {"\"\"", ""},
        {"   ", ""},
        {"\"", "\""},
        {"\"C:\\x.exe", "\"C:\\x.exe"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.expected, CleanTypedPath(c.typed)) << c.typed;
        EXPECT_EQ(WideFromAnsi(c.expected), CleanTypedPath(WideFromAnsi(c.typed))) << c.typed;
    }
}

TEST(AddWatchRules, TypedPathsTakeTheFormProcessesReport) {
    const struct {
        const wchar_t* typed;
        const wchar_t* path;
        size_t rootLength;
    } accepted[] = {
        {L"c:/Apps//app-*/x.exe", L"C:\\Apps\\app-*\\x.exe", 3},
        {L"C:\\Apps\\.\\sub\\..\\x.exe\\.", L"C:\\Apps\\x.exe", 3},
        {L"C:\\Apps. \\ tool .\\x.exe. .", L"C:\\Apps\\ tool\\x.exe", 3},
        {L"///server//share.//x.exe", L"\\\\server\\share\\x.exe", 15},
        {L"\\\\?\\C:\\Apps\\x.exe", L"C:\\Apps\\x.exe", 3},
        {L"\\\\?\\UNC\\server\\share\\x.exe", L"\\\\server\\share\\x.exe", 15},
    };
    for (const auto& c : accepted) {
        std::wstring path;
        size_t rootLength = 0;
        EXPECT_EQ(PathTextProblem::kNone, NormalizePathText(c.typed, path, &rootLength)) << c.typed;
        EXPECT_EQ(c.path, path) << c.typed;
        EXPECT_EQ(c.rootLength, rootLength) << c.typed;
    }
    using P = PathTextProblem;
    const struct {
        const wchar_t* typed;
        PathTextProblem problem;
    } refused[] = {
        {L"Apps\\x.exe", P::kNotFullPath},           {L"C:x.exe", P::kNotFullPath},
        {L"\\\\.\\pipe\\x", P::kNotFullPath},        {L"C:\\a\\x?.exe", P::kForbiddenCharacter},
        {L"C:\\a\\b:c.exe", P::kForbiddenCharacter}, {L"C:\\a\\...\\x.exe", P::kEmptyName},
        {L"C:\\a\\..\\..\\x.exe", P::kAboveRoot},    {L"C:\\Apps\\", P::kNoFileName},
        {L"\\\\server\\share", P::kNoFileName},
    };
    for (const auto& c : refused) {
        std::wstring path = L"left over";
        EXPECT_EQ(c.problem, NormalizePathText(c.typed, path)) << c.typed;
        EXPECT_EQ(L"", path) << c.typed;
    }
}

TEST(AddWatchRules, RunningListShowsEachProgramOnceByFileNameWithoutItself) {
    const std::vector<CString> running = {
        "C:\\Z\\alpha.exe", "C:\\Tools\\Murvel.exe", "C:\\A\\zeta.exe",
        "c:\\z\\ALPHA.EXE", "C:\\B\\Beta.exe",       "C:\\A\\alpha.exe",
    };
    const std::vector<CString> lines = RunningProgramLines(running, "C:\\TOOLS\\murvel.exe");
    const std::vector<std::string> expected = {"C:\\A\\alpha.exe", "C:\\Z\\alpha.exe",
                                               "C:\\B\\Beta.exe", "C:\\A\\zeta.exe"};
    ASSERT_EQ(expected.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(expected[i], lines[i].GetString()) << i;
}

TEST(ColumnWidths, DefaultsShowTheTextsAndTheFileNamesTakeTheRest) {
    // Whole and least: the alias at its design width gives way to its
    // heading first, then the effects to those most cells have.
    const std::vector<ColumnNeed> needs = {{100, 88}, {150, 150}, {96, 96}, {150, 120}};
    const struct {
        int listWidth;
        std::vector<int> expected;
    } cases[] = {
        {600, {100, 254, 96, 150}}, // room to spare: the file names take it
        {496, {100, 150, 96, 150}}, // just enough
        {490, {94, 150, 96, 150}},  {470, {88, 150, 96, 136}},
        {300, {88, 150, 96, 120}}, // too narrow: the least stays whole, the list scrolls
        {0, {88, 150, 96, 120}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, DefaultColumnWidths(needs, 1, c.listWidth)) << c.listWidth;
    const std::vector<int> whole = {100, 150, 96, 150};
    EXPECT_EQ(whole, DefaultColumnWidths(needs, 7, 900)) << "no fill column";
}

TEST(ColumnWidths, StoredWidthsTheUserCannotHaveMeantFallBack) {
    const struct {
        int stored;
        int expected;
    } cases[] = {
        {-50, 77},  {0, 77},      {3, 77},    {11, 77},    {12, 12},
        {120, 120}, {8192, 8192}, {8193, 77}, {65636, 77}, {-2147483647 - 1, 77},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, StoredOrDefaultWidth(c.stored, 77)) << c.stored;
}

TEST(MinimumClientSize, TheRowOfButtonsStandsWholeAndTheListKeepsHalf) {
    const struct {
        SIZE client;
        RECT buttons, list;
        SIZE expected;
    } cases[] = {
        // The Chinese layout: the row starts at the left edge, 6 pixels short
        // of the right one.
        {{429, 225}, {4, 189, 423, 216}, {0, 22, 428, 177}, {431, 147}},
        // The English one: room on the left that the window may give up.
        {{501, 225}, {82, 189, 495, 216}, {0, 22, 500, 177}, {425, 147}},
    };
    for (const auto& c : cases) {
        const SIZE min = MinimumClientSize(c.client, c.buttons, c.list);
        EXPECT_EQ(c.expected.cx, min.cx);
        EXPECT_EQ(c.expected.cy, min.cy);
        // At that width the row, anchored right, starts at the right margin.
        EXPECT_EQ(min.cx - (c.client.cx - c.buttons.left), c.client.cx - c.buttons.right);
    }
}

TEST(AddWatchRules, AClearedAliasFallsBackToTheFilesTitle) {
    // Longer than the MAX_PATH characters a CPathName holds.
    const std::string kDeepPath = "C:\\" + std::string(1000, 'd') + "\\editor.exe";
    const struct {
        const char* alias;
        const char* fileName;
        const char* expected;
    } cases[] = {
        {"Mine", "C:\\Apps\\editor.exe", "Mine"},
        {"", "C:\\Apps\\editor.exe", "editor"},
        {" \t ", "C:\\Apps\\editor.exe", "editor"},
        {" spaced ", "C:\\Apps\\editor.exe", " spaced "},
        {"", "present", "present"},
        {nullptr, "a.b.exe", "a.b"},
        {"", kDeepPath.c_str(), "editor"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.expected, AliasOrTitle(c.alias, c.fileName)) << c.fileName;
}

TEST(AddWatchRules, VersionFolderOfferedAsAPattern) {
    const struct {
        const char* path;
        const char* pattern; // empty: nothing to offer
        UINT codePage;
    } cases[] = {
        {"C:\\Users\\me\\AppData\\Local\\Chat\\app-1.0.9015\\Chat.exe",
         "C:\\Users\\me\\AppData\\Local\\Chat\\app-*\\Chat.exe", 936},
        {"C:\\Program Files\\WindowsApps\\Pkg_10.22091.10041.0_x64__8wekyb3d8bbwe\\App.exe",
         "C:\\Program Files\\WindowsApps\\Pkg_*_x64__8wekyb3d8bbwe\\App.exe", 936},
        {"C:\\Tools\\v2.0-beta.3\\tool.exe", "C:\\Tools\\v*-beta.3\\tool.exe", 936},
        {"C:\\App 2.0\\bin\\9.1\\app.exe", "C:\\App 2.0\\bin\\*\\app.exe", 936},
        {"C:\\App 2.0\\bin\\app.exe", "C:\\App *\\bin\\app.exe", 936},
        {"C:\\Office.16\\x.exe", "", 936},
        {"C:\\Tools\\app-1.2.exe", "", 936},
        {"\\\\10.0.0.1\\share\\app.exe", "", 936},
        {"\\\\server\\share\\1.0\\app.exe", "\\\\server\\share\\*\\app.exe", 936},
        {"1.5\\app.exe", "*\\app.exe", 936},
        // A double-byte character whose second byte is a backslash ends no
        // folder: 1.2 here is part of the file name.
        {"C:\\1.2\x95\x5C"
         "x.exe",
         "", 936},
        {"C:\\\x95\x5C"
         "1.2\\x.exe",
         "C:\\\x95\x5C*\\x.exe", 936},
        {"C:\\\xe7\xa8\x8b\xe5\xba\x8f-3.1\\x.exe", "C:\\\xe7\xa8\x8b\xe5\xba\x8f-*\\x.exe", 65001},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.pattern, VersionFolderPattern(c.path, c.codePage)) << c.path;
}
