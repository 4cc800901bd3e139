#pragma once

// Resources of the controls' test dialog. The pictures carry the program's own
// resource numbers; the dialog and the controls without a counterpart in the
// program use numbers of their own.
#define IDD_CONTROLS_TEST 900

#define IDI_PROPERTIES 135
#define IDI_DELETE 136
#define IDI_ADD 138
#define IDB_CANCEL 139
#define IDB_OK 141
#define IDI_HIDE 147
#define IDI_BROWSE 148
#define IDCUR_HAND 156
#define IDI_UNDERSTOOD 157

#define IDC_LIST 1000
#define IDC_ADD 1001
#define IDC_DELETE 1002
#define IDC_PROPERTIES 1003
#define IDC_TITLE 1006
#define IDC_HIDE 1013
#define IDC_EMAIL 1014
#define IDC_BROWSE 901
#define IDC_UNDERSTOOD 902
#define IDC_PLAIN_LABEL 903
