#pragma once
// Resource ids: dialogs, icon, bitmap and string. Shared by the resource
// script and the code, so plain #defines.

#define IDD_ABOUT 100
#define IDD_MAIN 102
#define IDD_CLOCK 132
#define IDD_TAX_RATES 133
#define IDD_HEADER 134
#define IDD_DISPLAY 135
#define IDD_REPORTS 136
#define IDD_GOODS_CHECK 137
#define IDD_SERVICE_DATE 142
#define IDD_CONTROL_SALE 143
#define IDD_FISCAL 144

#define IDI_APP 128
#define IDB_PRINTER 158
#define IDS_ABOUTBOX 101

#define IDM_ABOUTBOX 0x0010
