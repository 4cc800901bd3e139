#pragma once

#include "CWnd.h"

// A static text control.
class CStatic : public CWnd {};
