#pragma once

#include "CWinApp.h"

class CSingleInstance;

// The program: one instance at a time, handing over to the running one, or
// removing its files on request.
class CWatchApp : public CWinApp {
public:
    explicit CWatchApp(CSingleInstance& instance) : m_instance(instance) {}

    // Runs the whole life of the program; always FALSE, so the process ends.
    BOOL InitInstance() override;
    // Asks whether to delete the two configuration files, and does so on Yes,
    // once the instance that was told to close has ended.
    void Uninstall(bool bOwnerClosing);

private:
    CSingleInstance& m_instance;
};
