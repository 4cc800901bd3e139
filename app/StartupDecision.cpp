#include "StartupDecision.h"

#include "CString.h"

#include <algorithm>
#include <string>

InstanceState InstanceStateOf(bool bHandle, DWORD dwLastError) {
    if (bHandle) {
        return dwLastError == ERROR_ALREADY_EXISTS ? InstanceState::Running : InstanceState::First;
    }
    // Any other failure leaves the program without a guard, as before: it
    // runs rather than not at all.
    return dwLastError == ERROR_ACCESS_DENIED ? InstanceState::Elevated : InstanceState::First;
}

namespace {

StartAction DecideStatus(const StartFacts& facts) {
    switch (facts.instance) {
    case InstanceState::First:
        return StartAction::StatusNoInstance;
    case InstanceState::Elevated:
        return StartAction::RunsAsAdministrator;
    case InstanceState::Running:
        break;
    }
    if (facts.bMainWnd) {
        return StartAction::AskStatus;
    }
    return facts.bOtherCopy ? StartAction::OtherCopyNotReached : StartAction::StatusLost;
}

} // namespace

StartAction DecideStart(const StartFacts& facts) {
    const bool bUninstall = facts.bUninstall;
    if (!bUninstall && facts.bStatus) {
        return DecideStatus(facts);
    }
    if (!bUninstall && facts.keepAwake == KeepAwakeRequest::Invalid) {
        return StartAction::RefuseKeepAwake;
    }
    // Checked here as well as by the instance: a start of the program with
    // a hold that is forbidden must not leave a program running that keeps
    // nothing awake, and the user learns why.
    if (!bUninstall && facts.keepAwake == KeepAwakeRequest::Start && facts.bForbiddenByPolicy) {
        return StartAction::RefuseByPolicy;
    }
    if (!bUninstall && facts.bNoSuchProcess) {
        return StartAction::RefuseNoSuchProcess;
    }
    switch (facts.instance) {
    case InstanceState::First:
        return bUninstall ? StartAction::UninstallOnly : StartAction::RunMainWindow;
    case InstanceState::Elevated:
        return StartAction::RunsAsAdministrator;
    case InstanceState::Running:
        break;
    }
    // The files of this copy are not another copy's to close over.
    if (bUninstall && facts.bOtherCopy) {
        return StartAction::UninstallOnly;
    }
    if (!facts.bMainWnd) {
        if (facts.bOtherCopy) {
            return StartAction::OtherCopyNotReached;
        }
        const bool bKeepAwake = !bUninstall && (facts.keepAwake == KeepAwakeRequest::Start ||
                                                facts.keepAwake == KeepAwakeRequest::Stop);
        return bKeepAwake ? StartAction::KeepAwakeLost : StartAction::EndSilently;
    }
    if (bUninstall) {
        return StartAction::CloseAndUninstall;
    }
    return facts.keepAwake == KeepAwakeRequest::None ? StartAction::HandOver
                                                     : StartAction::HandOverKeepAwake;
}

bool WaitsForMainWnd(const StartFacts& facts) {
    if (!facts.bUninstall && facts.bStatus) {
        return true;
    }
    return !facts.bUninstall && facts.keepAwake != KeepAwakeRequest::Invalid &&
           !facts.bNoSuchProcess &&
           !(facts.keepAwake == KeepAwakeRequest::Start && facts.bForbiddenByPolicy);
}

bool IsUninstallCommandLine(const char* pszCmdLine) {
    CString args(pszCmdLine);
    args.MakeUpper();
    return args.Find("/UNINSTALL") >= 0;
}

bool IsStatusCommandLine(const char* pszCmdLine) {
    CString args(pszCmdLine);
    args.MakeUpper();
    const std::string text = args.GetString();
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find_first_of(" \t", at), text.size());
        if (text.compare(at, end - at, "/STATUS") == 0) {
            return true;
        }
        at = end + 1;
    }
    return false;
}

InstanceAnswer ReadAnswer(StartAction action, bool bSent, DWORD_PTR result) {
    const InstanceAnswer answer = static_cast<InstanceAnswer>(static_cast<LRESULT>(result));
    if (!bSent) {
        return InstanceAnswer::Lost;
    }
    switch (action) {
    case StartAction::HandOverKeepAwake:
        if (answer == InstanceAnswer::HoldTaken || answer == InstanceAnswer::HoldRefused) {
            return answer;
        }
        return InstanceAnswer::Lost;
    case StartAction::AskStatus:
        if (answer == InstanceAnswer::KeptAwake || answer == InstanceAnswer::NothingKeptAwake) {
            return answer;
        }
        return InstanceAnswer::Lost;
    default:
        return InstanceAnswer::NotAsked;
    }
}

StartExitCode ExitCodeOf(StartAction action, InstanceAnswer answer) {
    switch (action) {
    case StartAction::RunMainWindow:
    case StartAction::UninstallOnly:
    case StartAction::EndSilently:
    case StartAction::HandOver:
    case StartAction::CloseAndUninstall:
        return kExitDone;
    case StartAction::RefuseKeepAwake:
    case StartAction::RefuseNoSuchProcess:
    case StartAction::RefuseByPolicy:
        return kExitRefused;
    case StartAction::KeepAwakeLost:
    case StartAction::RunsAsAdministrator:
    case StartAction::OtherCopyNotReached:
    case StartAction::StatusNoInstance:
    case StartAction::StatusLost:
        return kExitNotReached;
    case StartAction::HandOverKeepAwake:
    case StartAction::AskStatus:
        break;
    }
    switch (answer) {
    case InstanceAnswer::HoldTaken:
    case InstanceAnswer::KeptAwake:
        return kExitDone;
    case InstanceAnswer::HoldRefused:
    case InstanceAnswer::NothingKeptAwake:
        return kExitRefused;
    case InstanceAnswer::NotAsked:
    case InstanceAnswer::Lost:
        break;
    }
    return kExitNotReached;
}

bool KeepsInstanceGuard(StartAction action) {
    return action == StartAction::RunMainWindow || action == StartAction::CloseAndUninstall ||
           action == StartAction::UninstallOnly;
}
