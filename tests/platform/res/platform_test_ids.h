// Resource numbers of the platform tests' resource library.
#pragma once
#define IDD_TEST_FORM        1500
#define IDC_FORM_NAME        1501
#define IDC_FORM_COUNT       1502
#define IDC_FORM_CHOICE      1503
#define IDC_FORM_CHECK       1504
#define IDC_FORM_PROGRESS    1505
#define IDC_FORM_DRAWN       1506
#define IDC_FORM_EDITCOMBO   1507
#define IDS_TEST_GREETING    1600
#define IDS_TEST_PROMPT      1601
#define IDB_TEST_RED         1700
