#include "MutexOutOfReach.h"

MutexOutOfReach::MutexOutOfReach(const char* pszName) {
    SECURITY_DESCRIPTOR sd;
    ACL acl;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE);
    SECURITY_ATTRIBUTES sa = {sizeof sa, &sd, FALSE};
    m_h = CreateMutexA(&sa, FALSE, pszName);
    if (m_h && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(m_h);
        m_h = nullptr;
    }
}

MutexOutOfReach::~MutexOutOfReach() {
    if (m_h) {
        CloseHandle(m_h);
    }
}
