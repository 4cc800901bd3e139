// Registers itself to start with Windows; the exit code is the registry status.
#include "CAutoRun.h"

int main() {
    return static_cast<int>(CAutoRun("Velatrix").Enable());
}
