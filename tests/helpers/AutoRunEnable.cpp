// Registers itself to start with Windows under the Run key given as the
// argument (a path below HKEY_CURRENT_USER); the exit code is the registry
// status.
#include "CAutoRun.h"

int main(int argc, char** argv) {
    if (argc < 2)
        return ERROR_INVALID_PARAMETER;
    const RegistryKeyPath key = {HKEY_CURRENT_USER, argv[1]};
    return static_cast<int>(CAutoRun("Velatrix", key, key).Enable());
}
